#pragma once

#include <QString>

#include "lab/MeasurementRules.h"

class FilteredEdit;
class StringGrid;

// The measurement tables on screen: "Таблица 1" of experiment 1, whose layout is set up here,
// and the key filter, the column check and the rates both timed experiments apply to their
// tables. The rules themselves are in lab/MeasurementRules.h; this side shows their findings.

// The messages of the column check.
QString concentrationColumnMessage();
QString timeColumnMessage();

// The codes the key filters see for Backspace and Enter.
namespace KeyCode {
inline constexpr unsigned char Backspace = 8;
inline constexpr unsigned char Enter = 13;
}  // namespace KeyCode

// The numeric key filter of the tables and calculator boxes: digits, the comma, Backspace and
// Enter pass; anything else becomes 0 (discarded with a beep by the caller).
void numericKeyFilter(unsigned char& key);
// The text rule of the same fields: a number holds at most one decimal comma.
bool hasAtMostOneComma(const QString& text);
// The key filter and the text rule together, on a table or a box.
void makeNumeric(StringGrid* grid);
void makeNumeric(FilteredEdit* box);

// Writes headings, fixed texts and the widths of the fixed columns into the grid; the
// student's columns are left as they stand.
void setupMeasurementTable(StringGrid* grid);

// Checks that every row below the heading has its cell in the column filled. On the first
// empty cell shows the message and gives the grid the focus. What the caller's step does
// about it is the caller's to decide.
ColumnCheck requireColumn(StringGrid* grid, int column, const QString& message);

// The messages for a time that gives no rate: not a positive number, or so long that the rate
// rounds to 0; row is the tube's number.
QString timeNotPositiveMessage(int row);
QString rateRoundsToZeroMessage(int row);
QString rateProblemMessage(const RatesOutcome::Failure& failure);

// Checks that every row below the heading holds a number in the column. On the first cell that
// does not shows a message naming the column's heading and the row, selects the cell and
// gives the grid the focus; returns false then.
bool requireNumbers(StringGrid* grid, int column);
QString notANumberMessage(const QString& columnHeading, int row);

// Computes the rates of every row below the heading, in order, from the time column into the
// rate column. At a time that gives no usable rate it stops: shows the message naming the row
// and selects the cell; rows before it keep their new rates. What the caller's step does about
// it is the caller's to decide.
RatesOutcome computeRates(StringGrid* grid, int timeColumn = MeasurementTable::TimeColumn,
                          int rateColumn = MeasurementTable::RateColumn);
