#pragma once

#include <QTableWidget>
#include <functional>

#include "toolkit/FilteredEdit.h"

// A grid of text cells addressed (column, row) like the laboratory's tables: row 0 and column
// 0 are cells too (fixed: grey, never selected or edited). A select-cell handler may refuse a
// cell; typed characters (also inside the cell editor) pass through a key handler.
class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    int colCount() const { return columnCount(); }
    int rowCountCells() const { return rowCount(); }
    void setColCount(int n);
    void setRowCountCells(int n);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);

    int colWidth(int col) const { return columnWidth(col); }
    void setColWidth(int col, int width) { setColumnWidth(col, width); }
    void setDefaultColWidth(int width);
    void setDefaultRowHeight(int height);
    int gridLineWidth() const { return 1; }
    // Sets a column's width to fit its widest cell, heading included.
    void fitColumnToContents(int col);
    // Blanks every cell outside row 0 and column 0.
    void clearCells();

    // Number of fixed rows and columns at the top and left (1 and 1 by default; 0 allowed).
    void setFixed(int fixedCols, int fixedRows);
    int fixedCols() const { return fixedCols_; }
    int fixedRows() const { return fixedRows_; }

    // Editing by typing into the selected cell (off by default).
    void setEditingAllowed(bool on);
    // Whole-row selection, as in a list of records.
    void setRowSelect(bool on);
    // Keeps column 0 in view when the grid scrolls sideways (off by default).
    void setFixedColumnFrozen(bool on);

    using SelectCellHandler = std::function<bool(int col, int row)>;
    void setSelectCellHandler(SelectCellHandler handler) { selectHandler_ = std::move(handler); }
    void setKeyPressHandler(KeyPressHandler handler) { keyHandler_ = std::move(handler); }
    // The text rule of the cell editor (see FilteredEdit::setTextRule).
    void setTextRule(TextRule rule) { textRule_ = std::move(rule); }
    const TextRule& textRule() const { return textRule_; }

    // Moves the selection to a cell, asking the select-cell handler first.
    bool selectCell(int col, int row);
    int selectedCol() const { return currentColumn(); }
    int selectedRow() const { return currentRow(); }

    const KeyPressHandler& keyPressHandler() const { return keyHandler_; }

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void updateGeometries() override;
    bool viewportEvent(QEvent* event) override;

private:
    bool isFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
    bool mayEnter(int col, int row);
    QTableWidgetItem* itemAt(int col, int row);
    void styleItem(int col, int row, QTableWidgetItem* item) const;
    void restyleAll();
    void updateFrozenColumn();

    int fixedCols_ = 1;
    int fixedRows_ = 1;
    bool editing_ = false;
    QTableView* frozenView_ = nullptr;  // column 0 drawn again over the scrolled cells
    SelectCellHandler selectHandler_;
    KeyPressHandler keyHandler_;
    TextRule textRule_;
};
