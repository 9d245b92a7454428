#include "experiments/common/MeasurementTable.h"

#include <array>

#include "lab/Numbers.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/StringGrid.h"

namespace {
// Widths of the tube-number, volume and concentration columns; the time and rate columns keep
// the widths the window gives them.
constexpr std::array<int, MeasurementTable::ConcentrationColumn + 1> fixedWidths = {70, 78, 55, 65,
                                                                                    108};

// The cells of a column from row 1 to the grid's last row.
QStringList cellsBelowHeading(const StringGrid* grid, int column) {
    QStringList cells;
    for (int row = 1; row < grid->rowCountCells(); ++row) cells.append(grid->cell(column, row));
    return cells;
}
}  // namespace

QString concentrationColumnMessage() {
    return QStringLiteral("Столбец \"C` Na2S2O3 моль/л\" не может быть пуст");
}

QString timeColumnMessage() {
    return QStringLiteral("Столбец \"Время T, с\" не может быть пуст");
}

void numericKeyFilter(unsigned char& key) {
    const bool digit = key >= '0' && key <= '9';
    if (!digit && key != ',' && key != KeyCode::Backspace && key != KeyCode::Enter) key = 0;
}

bool hasAtMostOneComma(const QString& text) {
    return text.count(QLatin1Char(',')) <= 1;
}

void makeNumeric(StringGrid* grid) {
    grid->setKeyPressHandler(numericKeyFilter);
    grid->setTextRule(hasAtMostOneComma);
}

void makeNumeric(FilteredEdit* box) {
    box->setKeyPressHandler(numericKeyFilter);
    box->setTextRule(hasAtMostOneComma);
}

QString notANumberMessage(const QString& columnHeading, int row) {
    return QStringLiteral("В столбце \"%1\" для пробирки %2 записано не число.")
        .arg(columnHeading.simplified())
        .arg(row);
}

bool requireNumbers(StringGrid* grid, int column) {
    for (int row = 1; row < grid->rowCountCells(); ++row) {
        if (parseNumber(grid->cell(column, row))) continue;
        showMessageBox(notANumberMessage(grid->cell(column, 0), row));
        grid->setFocus(Qt::OtherFocusReason);
        grid->selectCell(column, row);
        return false;
    }
    return true;
}

void setupMeasurementTable(StringGrid* grid) {
    using namespace MeasurementTable;
    for (int c = 0; c < Columns; ++c) grid->setCell(c, 0, heading(c));
    for (int r = 1; r <= LastRow; ++r)
        for (int c = TubeColumn; c <= AcidColumn; ++c) grid->setCell(c, r, fixedText(c, r));
    for (std::size_t c = 0; c < fixedWidths.size(); ++c) grid->setColWidth(int(c), fixedWidths[c]);
}

ColumnCheck requireColumn(StringGrid* grid, int column, const QString& message) {
    // Every row below the heading: rows 1 to 4 of Таблица 1, rows 1 to 3 of Таблица 2.
    const ColumnCheck check = checkColumnFilled(cellsBelowHeading(grid, column));
    if (!check.complete()) {
        showMessageBox(message);
        grid->setFocus(Qt::OtherFocusReason);
    }
    return check;
}

QString timeNotPositiveMessage(int row) {
    return QStringLiteral("Время для пробирки %1 должно быть положительным числом.").arg(row);
}

QString rateRoundsToZeroMessage(int row) {
    return QStringLiteral(
               "Время для пробирки %1 слишком велико: скорость реакции округляется "
               "до 0.")
        .arg(row);
}

QString rateProblemMessage(const RatesOutcome::Failure& failure) {
    switch (failure.problem) {
        case RateProblem::TimeNotPositive:
            return timeNotPositiveMessage(failure.row);
        case RateProblem::RateRoundsToZero:
            return rateRoundsToZeroMessage(failure.row);
    }
    return QString();
}

RatesOutcome computeRates(StringGrid* grid, int timeColumn, int rateColumn) {
    const RatesOutcome outcome = ratesForTimes(cellsBelowHeading(grid, timeColumn));
    for (qsizetype i = 0; i < outcome.rates.size(); ++i)
        grid->setCell(rateColumn, int(i) + 1, outcome.rates[i]);
    if (outcome.failure) {
        showMessageBox(rateProblemMessage(*outcome.failure));
        grid->setFocus(Qt::OtherFocusReason);
        grid->selectCell(timeColumn, outcome.failure->row);
    }
    return outcome;
}
