#include "experiments/common/MeasurementTable.h"

#include <array>
#include <cmath>

#include "lab/Numbers.h"
#include "shell/LabState.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/StringGrid.h"

namespace {
const std::array<QString, MeasurementTable::Columns> headings = {
    QStringLiteral("№ пробирки"),
    QStringLiteral("Na2S2O3, мл"),
    QStringLiteral("H2O, мл"),
    QStringLiteral("H2SO4, мл"),
    QStringLiteral("C` Na2S2O3 моль/л"),
    QStringLiteral("Время T, с"),
    QStringLiteral("Скорость реакции, у.е."),
};
// Widths of columns 0..4; columns 5 and 6 keep the widths the window gives them.
constexpr std::array<int, 5> fixedWidths = {70, 78, 55, 65, 108};
}  // namespace

QString MeasurementTable::heading(int column) {
    return column >= 0 && column < Columns ? headings[std::size_t(column)] : QString();
}

QString MeasurementTable::fixedText(int column, int row) {
    const QString ml = QStringLiteral(" мл");
    switch (column) {
        case 0:
            return QString::number(row);
        case 1:
            return QString::number(row + 1) + ml;
        case 2:
            return QString::number(4 - row) + ml;
        case 3:
            return QStringLiteral("5 мл");
        default:
            return QString();
    }
}

bool MeasurementTable::isSelectable(int column, int /*row*/) {
    return column == ConcentrationColumn || column == TimeColumn;
}

QString concentrationColumnMessage() {
    return QStringLiteral("Столбец \"C` Na2S2O3 моль/л\" не может быть пуст");
}

QString timeColumnMessage() {
    return QStringLiteral("Столбец \"Время T, с\" не может быть пуст");
}

void numericKeyFilter(unsigned char& key) {
    const bool digit = key >= '0' && key <= '9';
    if (!digit && key != ',' && key != 8 && key != 13) key = 0;
}

std::optional<QString> rateTextForTime(const QString& timeText) {
    const std::optional<double> time = parseNumber(timeText);
    if (!time || !(*time > 0)) return std::nullopt;
    const double reciprocal = double(1.0L / static_cast<long double>(*time));
    if (!std::isfinite(reciprocal)) return std::nullopt;
    return formatGeneral(roundToFraction(100, reciprocal));
}

void setupMeasurementTable(StringGrid* grid) {
    using namespace MeasurementTable;
    for (int c = 0; c < Columns; ++c) grid->setCell(c, 0, heading(c));
    for (int r = 1; r <= LastRow; ++r)
        for (int c = 0; c <= 3; ++c) grid->setCell(c, r, fixedText(c, r));
    for (std::size_t c = 0; c < fixedWidths.size(); ++c) grid->setColWidth(int(c), fixedWidths[c]);
}

bool requireColumn(StringGrid* grid, int column, const QString& message) {
    // Every row below the heading: rows 1 to 4 of Таблица 1, rows 1 to 3 of Таблица 2.
    for (int row = 1; row < grid->rowCountCells(); ++row) {
        if (!grid->cell(column, row).isEmpty()) continue;
        showMessageBox(message);
        LabState.movieStep -= 1;
        grid->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
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

bool computeRates(StringGrid* grid, int timeColumn, int rateColumn) {
    for (int row = 1; row < grid->rowCountCells(); ++row) {
        const std::optional<QString> rate = rateTextForTime(grid->cell(timeColumn, row));
        // A rate of 0 would leave the graph and the coefficients nothing to work with.
        const bool usable = rate && parseNumber(*rate).value_or(0) != 0;
        if (!usable) {
            showMessageBox(rate ? rateRoundsToZeroMessage(row) : timeNotPositiveMessage(row));
            LabState.movieStep -= 1;
            grid->setFocus(Qt::OtherFocusReason);
            grid->selectCell(timeColumn, row);
            return false;
        }
        grid->setCell(rateColumn, row, *rate);
    }
    return true;
}
