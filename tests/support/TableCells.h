#pragma once

// What a table view shows in a cell, read as the view draws it: the text, the tooltip, whether
// it is struck through; and the cell a click makes current.

#include <QAbstractItemModel>
#include <QFont>
#include <QTableView>

inline int rowCountOf(const QTableView* table) {
    return table->model()->rowCount();
}
inline QVariant cellData(const QTableView* table, int row, int column, int role) {
    return table->model()->index(row, column).data(role);
}
inline QString cellText(const QTableView* table, int row, int column) {
    return cellData(table, row, column, Qt::DisplayRole).toString();
}
inline QString cellToolTip(const QTableView* table, int row, int column) {
    return cellData(table, row, column, Qt::ToolTipRole).toString();
}
inline bool cellStruckOut(const QTableView* table, int row, int column) {
    return cellData(table, row, column, Qt::FontRole).value<QFont>().strikeOut();
}
inline QString headerText(const QTableView* table, int column) {
    return table->model()->headerData(column, Qt::Horizontal).toString();
}
inline void setCurrentCell(QTableView* table, int row, int column) {
    table->setCurrentIndex(table->model()->index(row, column));
}
