#include "lab/MeasurementRules.h"

#include <array>
#include <cmath>

#include "lab/Numbers.h"

namespace {
const std::array<QString, MeasurementTable::Columns> concentrationHeadings = {
    QStringLiteral("№ пробирки"),
    QStringLiteral("Na2S2O3, мл"),
    QStringLiteral("H2O, мл"),
    QStringLiteral("H2SO4, мл"),
    QStringLiteral("C` Na2S2O3 моль/л"),
    QStringLiteral("Время T, с"),
    QStringLiteral("Скорость реакции, у.е."),
};

const std::array<QString, TemperatureTable::Columns> temperatureHeadings = {
    QStringLiteral(" № пробирки"),
    QStringLiteral(" Время, c"),
    QStringLiteral(" T oC"),
    QStringLiteral(" Vусл = 1/Время"),
    QStringLiteral(" Температурный коэфф-т"),
};

// Each tube holds 5 ml of acid and 5 ml of thiosulfate and water together, tube 1 with 2 ml of
// thiosulfate and every further tube one ml more.
constexpr int AcidMl = 5;
constexpr int ThiosulfateAndWaterMl = 5;
int thiosulfateMl(int tube) {
    return tube + 1;
}

const std::array<QString, TemperatureTable::LastRow> temperatures = {
    QStringLiteral("25"), QStringLiteral("35"), QStringLiteral("45")};
}  // namespace

QString MeasurementTable::heading(int column) {
    return column >= 0 && column < Columns ? concentrationHeadings[std::size_t(column)] : QString();
}

QString MeasurementTable::fixedText(int column, int row) {
    const QString ml = QStringLiteral(" мл");
    switch (column) {
        case TubeColumn:
            return QString::number(row);
        case ThiosulfateColumn:
            return QString::number(thiosulfateMl(row)) + ml;
        case WaterColumn:
            return QString::number(ThiosulfateAndWaterMl - thiosulfateMl(row)) + ml;
        case AcidColumn:
            return QString::number(AcidMl) + ml;
        default:
            return QString();
    }
}

bool MeasurementTable::isSelectable(int column, int /*row*/) {
    return column == ConcentrationColumn || column == TimeColumn;
}

QString TemperatureTable::heading(int column) {
    return column >= 0 && column < Columns ? temperatureHeadings[std::size_t(column)] : QString();
}

QString TemperatureTable::temperatureText(int row) {
    return row >= 1 && row <= LastRow ? temperatures[std::size_t(row - 1)] : QString();
}

ColumnCheck checkColumnFilled(const QStringList& cells) {
    for (qsizetype i = 0; i < cells.size(); ++i)
        if (cells[i].isEmpty()) return {int(i) + 1};
    return {};
}

std::optional<QString> rateTextForTime(const QString& timeText) {
    const std::optional<double> time = parseNumber(timeText);
    if (!time || !(*time > 0)) return std::nullopt;
    const double reciprocal = double(1.0L / static_cast<long double>(*time));
    if (!std::isfinite(reciprocal)) return std::nullopt;
    return formatGeneral(roundToFraction(100, reciprocal));
}

RatesOutcome ratesForTimes(const QStringList& times) {
    RatesOutcome outcome;
    for (qsizetype i = 0; i < times.size(); ++i) {
        const std::optional<QString> rate = rateTextForTime(times[i]);
        if (!rate) {
            outcome.failure = RatesOutcome::Failure{int(i) + 1, RateProblem::TimeNotPositive};
            return outcome;
        }
        // A rate of 0 would leave the graph and the coefficients nothing to work with.
        if (parseNumber(*rate).value_or(0) == 0) {
            outcome.failure = RatesOutcome::Failure{int(i) + 1, RateProblem::RateRoundsToZero};
            return outcome;
        }
        outcome.rates.append(*rate);
    }
    return outcome;
}
