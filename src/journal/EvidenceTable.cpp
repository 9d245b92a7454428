#include "journal/EvidenceTable.h"

#include <QHeaderView>

namespace {
enum Column { What, Entered, Expected, Counted, Columns };

QColor verdictColor(EvidenceItem::Verdict verdict) {
    switch (verdict) {
        case EvidenceItem::Verdict::Right:
            return QColor(0x00, 0x70, 0x20);
        case EvidenceItem::Verdict::Wrong:
            return QColor(0xB0, 0x00, 0x00);
        case EvidenceItem::Verdict::None:
            break;
    }
    return {};
}
}  // namespace

EvidenceTable::EvidenceTable(Reader reader, QWidget* parent) : QTableWidget(parent) {
    setColumnCount(Columns);
    setHorizontalHeaderLabels({
        QStringLiteral("Что"),
        reader == Reader::Student ? QStringLiteral("Вы ввели") : QStringLiteral("Ученик ввёл"),
        QStringLiteral("Ожидалось"),
        QStringLiteral("Засчитано"),
    });
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setWordWrap(true);
    setAccessibleName(QStringLiteral("Из чего сложилась оценка"));
    // The grid keeps the usual grey of its lines, not the colour of the window around it.
    QPalette grid = palette();
    grid.setColor(QPalette::Window, QPalette().color(QPalette::Window));
    setPalette(grid);
    QHeaderView* header = horizontalHeader();
    header->setSectionResizeMode(What, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Entered, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Expected, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Counted, QHeaderView::Stretch);
}

void EvidenceTable::setEvidence(const GradeEvidence& evidence) {
    clearContents();
    setRowCount(int(evidence.items.size()));
    for (int r = 0; r < evidence.items.size(); ++r) {
        const EvidenceItem& item = evidence.items[r];
        const QStringList texts = {item.label, item.entered, item.expected, item.counted};
        for (int c = 0; c < Columns; ++c) {
            auto* cell = new QTableWidgetItem(texts[c]);
            if (c == Entered || c == Expected) cell->setTextAlignment(Qt::AlignCenter);
            const QColor color = verdictColor(item.verdict);
            if (color.isValid() && (c == Entered || c == Counted)) cell->setForeground(color);
            setItem(r, c, cell);
        }
    }
    resizeRowsToContents();
}

void EvidenceTable::markItems(const QList<int>& items, const QString& why) {
    // The first marked line is brought into view: it is what the mark is about.
    if (!items.isEmpty() && item(items.first(), What)) {
        // The rows were just filled: their heights must be laid out before scrolling to one.
        updateGeometries();
        scrollToItem(item(items.first(), What), QAbstractItemView::PositionAtCenter);
    }
    for (int r : items) {
        if (r < 0 || r >= rowCount()) continue;
        for (int c = 0; c < Columns; ++c) {
            if (QTableWidgetItem* cell = item(r, c)) {
                cell->setBackground(QColor(0xFF, 0xF0, 0x9C));
                cell->setToolTip(why);
            }
        }
    }
}

QStringList EvidenceTable::rowTexts(int row) const {
    QStringList texts;
    for (int c = 0; c < Columns; ++c) texts << (item(row, c) ? item(row, c)->text() : QString());
    return texts;
}

int EvidenceTable::fittingHeight(int maxHeight) const {
    int height = horizontalHeader()->sizeHint().height() + 2 * frameWidth();
    for (int r = 0; r < rowCount(); ++r) height += rowHeight(r);
    return std::min(height, maxHeight);
}
