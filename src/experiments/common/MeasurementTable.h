#pragma once

#include <QString>
#include <optional>

class StringGrid;

// "Таблица 1" of experiment 1: one row per test tube with the mixture, the concentration and
// the time the student types (columns 4 and 5) and the conditional rate the window computes
// (column 6). Experiment 2 applies the key filter and the column check to its own table.

namespace MeasurementTable {
inline constexpr int Columns = 7;
inline constexpr int Rows = 5;
inline constexpr int ConcentrationColumn = 4;
inline constexpr int TimeColumn = 5;
inline constexpr int RateColumn = 6;
inline constexpr int LastRow = 4;

// Row-0 headings; the character after the C is a grave accent.
QString heading(int column);
// The fixed texts of columns 0..3 of a row 1..4: tube number and the three volumes in ml.
QString fixedText(int column, int row);
// Only the student's columns can be selected.
bool isSelectable(int column, int row);
}  // namespace MeasurementTable

// The messages of the column check.
QString concentrationColumnMessage();
QString timeColumnMessage();

// The numeric key filter of the tables and calculator boxes: digits, the comma, Backspace and
// Enter pass; anything else becomes 0 (discarded with a beep by the caller).
void numericKeyFilter(unsigned char& key);

// The conditional rate of a typed time, 1/T to hundredths, as the table shows it ("8" gives
// "0,13"). nullopt for a text that is not a number and for a time of zero.
std::optional<QString> rateTextForTime(const QString& timeText);

// Writes headings, fixed texts and the widths of columns 0..4 into the grid; the student's
// columns are left as they stand.
void setupMeasurementTable(StringGrid* grid);

// Checks that every row below the heading has its cell in the column filled. On the first
// empty cell shows the message, takes back the step the calling "Далее" has just added, gives
// the grid the focus and returns false.
bool requireColumn(StringGrid* grid, int column, const QString& message);

// The messages for a time that gives no rate: not a positive number, or so long that the rate
// rounds to 0; row is the tube's number.
QString timeNotPositiveMessage(int row);
QString rateRoundsToZeroMessage(int row);

// Computes the rates of every row below the heading, in order, from the time column into the
// rate column. At a time that gives no usable rate it stops: shows the message naming the row,
// takes back the step the calling "Далее" has just added, selects the cell and returns false;
// rows before it keep their new rates.
bool computeRates(StringGrid* grid, int timeColumn = MeasurementTable::TimeColumn,
                  int rateColumn = MeasurementTable::RateColumn);
