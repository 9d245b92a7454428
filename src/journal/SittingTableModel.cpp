#include "journal/SittingTableModel.h"

#include <QColor>
#include <QFont>

#include "toolkit/Colors.h"

namespace {
// The grades of experiments 1..4 and the total, centred, follow the columns of who and where.
constexpr int firstCentredColumn = 4;
}  // namespace

SittingTableModel::SittingTableModel(QObject* parent) : QAbstractTableModel(parent) {
    titles_ = sittingColumnTitles();
    titles_ << QStringLiteral("Частая ошибка");
}

void SittingTableModel::setRows(const QList<SittingRow>& rows,
                                const QList<QList<SharedMistake>>& mistakes, bool more) {
    beginResetModel();
    rows_ = rows;
    cells_.clear();
    for (const SittingRow& row : rows_) cells_ << sittingCells(row);
    mistakes_ = mistakes;
    more_ = more;
    fetching_ = false;
    endResetModel();
}

void SittingTableModel::appendRows(const QList<SittingRow>& rows,
                                   const QList<QList<SharedMistake>>& mistakes, bool more) {
    fetching_ = false;
    more_ = more;
    if (!rows.isEmpty()) {
        beginInsertRows({}, int(rows_.size()), int(rows_.size() + rows.size() - 1));
        rows_ += rows;
        for (const SittingRow& row : rows) cells_ << sittingCells(row);
        mistakes_ = mistakes;
        endInsertRows();
    }
    // A page read later may make a mistake shared that was not before.
    if (!rows_.isEmpty())
        Q_EMIT dataChanged(index(0, mistakeColumn()), index(rowCount() - 1, mistakeColumn()));
}

void SittingTableModel::fetchFailed() {
    fetching_ = false;
    more_ = false;
}

int SittingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int SittingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(titles_.size());
}

QVariant SittingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return titles_.value(section);
    return {};
}

QString SittingTableModel::mistakeMark(int row) const {
    QStringList experiments;
    for (const SharedMistake& m : mistakes_.value(row))
        if (!experiments.contains(QString::number(m.experiment)))
            experiments << QString::number(m.experiment);
    if (experiments.isEmpty()) return {};
    return (experiments.size() == 1 ? QStringLiteral("опыт ") : QStringLiteral("опыты ")) +
           experiments.join(QStringLiteral(", "));
}

QVariant SittingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const SittingRow& row = rows_[index.row()];
    const bool mark = index.column() == mistakeColumn();
    // A sitting removed from the results window stays in the journal, struck through.
    const QString removed = QStringLiteral("Удалён из окна результатов");
    switch (role) {
        case Qt::DisplayRole:
            return mark ? mistakeMark(index.row()) : cells_[index.row()].value(index.column());
        case Qt::TextAlignmentRole:
            if (index.column() >= firstCentredColumn) return int(Qt::AlignCenter);
            return {};
        case Qt::FontRole:
            if (row.deleted) {
                QFont font;
                font.setStrikeOut(true);
                return font;
            }
            return {};
        case Qt::ForegroundRole:
            if (row.deleted) return QColor(0x60, 0x60, 0x60);
            if (mark && !mistakes_.value(index.row()).isEmpty()) return colorFromBgr(0x0000C0);
            return {};
        case Qt::ToolTipRole: {
            QStringList why;
            if (mark)
                for (const SharedMistake& m : mistakes_.value(index.row()))
                    why << sharedMistakeText(m);
            if (row.deleted) why.prepend(removed);
            if (why.isEmpty()) return {};
            return why.join(QLatin1Char('\n'));
        }
        case Qt::AccessibleDescriptionRole:
            if (row.deleted) return removed;
            return {};
        default:
            return {};
    }
}

bool SittingTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && more_ && !fetching_ && fetchPage;
}

void SittingTableModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    fetching_ = true;
    fetchPage();
}
