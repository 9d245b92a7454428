#include "toolkit/StringGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {
// The cell editor: a filtered edit that shares the grid's key handler.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new FilteredEdit(parent);
        // The cell holds what is typed at every keystroke, as the laboratory's tables always
        // did: a check run while the cell is still being edited sees the typed text.
        QPersistentModelIndex cell(index);
        QObject::connect(edit, &QLineEdit::textEdited, edit, [cell](const QString& text) {
            if (cell.isValid())
                const_cast<QAbstractItemModel*>(cell.model())->setData(cell, text, Qt::EditRole);
        });
        edit->setAutoSelect(false);
        edit->setFrame(false);
        StringGrid* grid = grid_;
        edit->setKeyPressHandler([grid](unsigned char& key) {
            if (grid->keyPressHandler()) grid->keyPressHandler()(key);
        });
        edit->setTextRule(
            [grid](const QString& text) { return !grid->textRule() || grid->textRule()(text); });
        return edit;
    }

private:
    StringGrid* grid_;
};

// A cell that tells a screen reader which column and row it belongs to: the laboratory's tables
// keep their headings in ordinary cells of the first row and column, which the table's own
// header sections (hidden) know nothing about.
class GridCell : public QTableWidgetItem {
public:
    QTableWidgetItem* clone() const override { return new GridCell(*this); }
    QVariant data(int role) const override {
        if (role != Qt::AccessibleTextRole) return QTableWidgetItem::data(role);
        auto* grid = qobject_cast<StringGrid*>(tableWidget());
        const QString own = text().trimmed();
        const QString value = own.isEmpty() ? QStringLiteral("пусто") : own;
        if (!grid) return value;
        const int c = column(), r = row();
        QStringList where;
        if (r >= grid->fixedRows() && grid->fixedRows() > 0) {
            const QString heading = grid->cell(c, 0).simplified();
            if (!heading.isEmpty()) where << heading;
        }
        if (c >= grid->fixedCols() && grid->fixedCols() > 0) {
            const QString heading = grid->cell(0, r).simplified();
            if (!heading.isEmpty()) where << heading;
        }
        return where.isEmpty() ? value
                               : where.join(QStringLiteral(", ")) + QStringLiteral(": ") + value;
    }
};
}  // namespace

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setDefaultColWidth(64);
    setDefaultRowHeight(24);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new GridDelegate(this));
    setItemPrototype(new GridCell());
    setWordWrap(false);
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setColCount(5);
    setRowCountCells(5);
}

void StringGrid::setColCount(int n) {
    setColumnCount(qMax(0, n));
    restyleAll();
    updateFrozenColumn();
}

void StringGrid::setRowCountCells(int n) {
    setRowCount(qMax(0, n));
    restyleAll();
    updateFrozenColumn();
}

void StringGrid::setFixedColumnFrozen(bool on) {
    if (on == (frozenView_ != nullptr)) return;
    if (!on) {
        delete frozenView_;
        frozenView_ = nullptr;
        return;
    }
    // A second view of the same cells, showing only column 0, laid over the left edge of the
    // viewport; it scrolls up and down with the grid and never sideways.
    frozenView_ = new QTableView(this);
    frozenView_->setModel(model());
    frozenView_->setFocusPolicy(Qt::NoFocus);
    frozenView_->setSelectionMode(QAbstractItemView::NoSelection);
    frozenView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozenView_->horizontalHeader()->hide();
    frozenView_->verticalHeader()->hide();
    frozenView_->verticalHeader()->setMinimumSectionSize(1);
    frozenView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setVerticalScrollMode(verticalScrollMode());
    frozenView_->setFrameShape(QFrame::NoFrame);
    frozenView_->setWordWrap(false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozenView_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { updateFrozenColumn(); });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int row, int, int height) {
        if (frozenView_) frozenView_->setRowHeight(row, height);
    });
    viewport()->stackUnder(frozenView_);
    frozenView_->show();
    updateFrozenColumn();
}

void StringGrid::updateFrozenColumn() {
    if (!frozenView_) return;
    frozenView_->setFont(font());
    frozenView_->setPalette(palette());
    for (int c = 0; c < columnCount(); ++c) frozenView_->setColumnHidden(c, c != 0);
    if (columnCount() > 0) frozenView_->setColumnWidth(0, columnWidth(0));
    for (int r = 0; r < rowCount(); ++r) frozenView_->setRowHeight(r, rowHeight(r));
    const QRect area = viewport()->geometry();
    frozenView_->setGeometry(area.x(), area.y(), columnCount() > 0 ? columnWidth(0) : 0,
                             area.height());
    frozenView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void StringGrid::updateGeometries() {
    QTableWidget::updateGeometries();
    updateFrozenColumn();
}

// The viewport shrinks when a scroll bar appears; the frozen column follows its height.
bool StringGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) updateFrozenColumn();
    return QTableWidget::viewportEvent(event);
}

void StringGrid::setDefaultColWidth(int width) {
    horizontalHeader()->setDefaultSectionSize(width);
    for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, width);
}

void StringGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int r = 0; r < rowCount(); ++r) setRowHeight(r, height);
}

void StringGrid::setFixed(int fixedCols, int fixedRows) {
    fixedCols_ = fixedCols;
    fixedRows_ = fixedRows;
    restyleAll();
}

void StringGrid::setEditingAllowed(bool on) {
    editing_ = on;
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed |
                             QAbstractItemView::EditKeyPressed
                       : QAbstractItemView::NoEditTriggers);
    restyleAll();
}

void StringGrid::setRowSelect(bool on) {
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

QTableWidgetItem* StringGrid::itemAt(int col, int row) {
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        it = new GridCell();
        styleItem(col, row, it);
        setItem(row, col, it);
    }
    return it;
}

void StringGrid::styleItem(int col, int row, QTableWidgetItem* it) const {
    if (isFixed(col, row)) {
        it->setFlags(Qt::ItemIsEnabled);
        it->setBackground(palette().color(QPalette::Button));
    } else {
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (editing_) flags |= Qt::ItemIsEditable;
        it->setFlags(flags);
        it->setBackground(QBrush());
    }
}

void StringGrid::restyleAll() {
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) styleItem(c, r, itemAt(c, r));
}

QString StringGrid::cell(int col, int row) const {
    const QTableWidgetItem* it = item(row, col);
    return it ? it->text() : QString();
}

void StringGrid::setCell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
    itemAt(col, row)->setText(text);
}

bool StringGrid::mayEnter(int col, int row) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return false;
    if (isFixed(col, row)) return false;
    return selectHandler_ ? selectHandler_(col, row) : true;
}

bool StringGrid::selectCell(int col, int row) {
    if (!mayEnter(col, row)) return false;
    setCurrentCell(row, col);
    return true;
}

QModelIndex StringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableWidget::moveCursor(cursorAction, modifiers);
    if (!target.isValid() || target == currentIndex()) return target;
    if (!mayEnter(target.column(), target.row())) return currentIndex();
    return target;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    if (index != currentIndex() && !mayEnter(index.column(), index.row())) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    const int code = keyEventCode(event);
    if (code > 0 && keyHandler_) {
        unsigned char key = static_cast<unsigned char>(code);
        if (filterKey(keyHandler_, key) == 0) {
            event->accept();
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!editing_ || !index.isValid() || isFixed(index.column(), index.row())) return false;
    return QTableWidget::edit(index, trigger, event);
}

void StringGrid::fitColumnToContents(int col) {
    const QFontMetrics metrics(font());
    int max = 0;
    for (int r = 0; r < rowCountCells(); ++r)
        max = std::max(max, metrics.horizontalAdvance(cell(col, r)) + 10);
    setColWidth(col, max + gridLineWidth() + 3);
}

void StringGrid::clearCells() {
    for (int r = 1; r < rowCountCells(); ++r)
        for (int c = 1; c < colCount(); ++c) setCell(c, r, QString());
}
