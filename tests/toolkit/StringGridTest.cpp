// The string grid's helpers for fitting and clearing its cells.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "toolkit/StringGrid.h"

TEST(GridHelpers, FitColumnToItsWidestCellHeaderIncluded) {
    StringGrid grid;
    grid.setColCount(3);
    grid.setRowCountCells(3);
    const QFontMetrics fm(grid.font());
    grid.setCell(1, 0, QStringLiteral(" Группа "));
    grid.setCell(1, 2, QStringLiteral("КРЛ-99-2 and a long name"));
    grid.fitColumnToContents(1);
    EXPECT_EQ(grid.colWidth(1),
              fm.horizontalAdvance(QStringLiteral("КРЛ-99-2 and a long name")) + 14);
    // An empty column gets the margins only.
    grid.fitColumnToContents(2);
    EXPECT_EQ(grid.colWidth(2), 14);
}

TEST(GridHelpers, ClearBlanksEverythingButTheFirstRowAndColumn) {
    StringGrid grid;
    grid.setColCount(3);
    grid.setRowCountCells(3);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) grid.setCell(c, r, QString("%1%2").arg(c).arg(r));
    grid.clearCells();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(grid.cell(c, r).isEmpty(), r >= 1 && c >= 1) << c << "," << r;
    EXPECT_EQ(grid.rowCountCells(), 3);
}
