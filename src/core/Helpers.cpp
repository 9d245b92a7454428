#include "core/Helpers.h"

#include <cmath>

#include "toolkit/Clock.h"
#include "toolkit/StringGrid.h"

void waitOneSecond() {
    LabClock& clock = labClock();
    const std::uint32_t s0 = clock.tickCount() / 1000;
    while (clock.tickCount() / 1000 == s0) clock.idle();
}

double roundToFraction(int n, double x) {
    const double i = std::trunc(x);
    const double f = x - i;
    // The product is rounded to double before it is looked at: roundToFraction(10, 0.15) = 0.2.
    volatile double b = f * double(n);
    const double bb = b;
    double d = std::trunc(bb);
    const double c = bb - d;
    if (c >= 0.5) d += 1;
    if (c <= -0.5) d -= 1;
    return double(static_cast<long double>(i) + static_cast<long double>(d) / n);
}

void fitGridColumn(StringGrid* grid, int column) {
    const QFontMetrics metrics(grid->font());
    int max = 0;
    for (int r = 0; r < grid->rowCountCells(); ++r) {
        const int w = metrics.horizontalAdvance(grid->cell(column, r)) + 10;
        if (w > max) max = w;
    }
    grid->setColWidth(column, max + grid->gridLineWidth() + 3);
}

void clearGridCells(StringGrid* grid) {
    for (int r = 1; r < grid->rowCountCells(); ++r)
        for (int c = 1; c < grid->colCount(); ++c) grid->setCell(c, r, QString());
}
