#pragma once

class StringGrid;

// Waits until the next whole second of the tick counter (more than 0, at most 1000 ms).
void waitOneSecond();
// Rounds x to the nearest multiple of 1/n, a tie going away from zero.
double roundToFraction(int n, double x);
// Sets a column's width to fit its widest cell, header included.
void fitGridColumn(StringGrid* grid, int column);
// Blanks every cell outside row 0 and column 0.
void clearGridCells(StringGrid* grid);
