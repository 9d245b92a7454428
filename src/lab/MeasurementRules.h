#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The rules of the two timed measurement tables, free of widgets: their columns and fixed
// texts, the check that a column is filled in, and the conditional rate of a typed time. The
// checks say what they found; the windows turn that into the texts the student reads.

// "Таблица 1" of experiment 1: one row per test tube with the mixture, the concentration and
// the time the student types, and the conditional rate the window computes.
namespace MeasurementTable {
inline constexpr int Columns = 7;
inline constexpr int Rows = 5;  // the heading row and tubes 1 to 4
inline constexpr int TubeColumn = 0;
inline constexpr int ThiosulfateColumn = 1;
inline constexpr int WaterColumn = 2;
inline constexpr int AcidColumn = 3;
inline constexpr int ConcentrationColumn = 4;
inline constexpr int TimeColumn = 5;
inline constexpr int RateColumn = 6;
inline constexpr int LastRow = 4;

// Row-0 headings; the character after the C is a grave accent.
QString heading(int column);
// The fixed texts of the tube-number and volume columns of a row 1..4: the tube's number and
// its volumes of Na2S2O3, water and H2SO4 in ml.
QString fixedText(int column, int row);
// Only the student's columns, the concentration and the time, can be selected.
bool isSelectable(int column, int row);
}  // namespace MeasurementTable

// "Таблица 2" of experiment 2: the tube of experiment 1's first row at three temperatures, its
// times, its rates and the two temperature coefficients.
namespace TemperatureTable {
inline constexpr int Columns = 5;
inline constexpr int Rows = 4;  // the heading row and the three temperatures
inline constexpr int TubeColumn = 0;
inline constexpr int TimeColumn = 1;
inline constexpr int TemperatureColumn = 2;
inline constexpr int RateColumn = 3;
inline constexpr int CoefficientColumn = 4;
inline constexpr int LastRow = 3;

// Row-0 headings as the grid shows them: the Latin c in " Время, c" and the "oC" are the
// table's own spelling.
QString heading(int column);
// The temperature of a row 1..3 in °C, as the table shows it: "25", "35", "45".
QString temperatureText(int row);
}  // namespace TemperatureTable

// What the check of one column found: the first row below the heading whose cell is empty.
struct ColumnCheck {
    std::optional<int> emptyRow;
    bool complete() const { return !emptyRow; }
};
// cells holds the column's texts from row 1 on; only emptiness counts.
ColumnCheck checkColumnFilled(const QStringList& cells);

// The conditional rate of a typed time, 1/T to hundredths, as the table shows it ("8" gives
// "0,13"). nullopt for a text that is not a number and for a time that is not positive.
std::optional<QString> rateTextForTime(const QString& timeText);

// Why a typed time gives no rate the graph and the coefficients can work with.
enum class RateProblem {
    TimeNotPositive,   // not a number, or not above zero
    RateRoundsToZero,  // so long that 1/T rounds to 0
};

// The rates of a column of times, row by row from row 1, up to the first time that gives no
// usable rate.
struct RatesOutcome {
    QStringList rates;  // of every row before the failing one, or of all rows
    struct Failure {
        int row = 0;  // the tube's row, from 1
        RateProblem problem = RateProblem::TimeNotPositive;
    };
    std::optional<Failure> failure;
    bool complete() const { return !failure; }
};
RatesOutcome ratesForTimes(const QStringList& times);
