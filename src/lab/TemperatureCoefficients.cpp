#include "lab/TemperatureCoefficients.h"

#include <cmath>

#include "lab/Numbers.h"

double roundCoefficient(double ratio, HalfRounding halves) {
    if (halves == HalfRounding::AwayFromZero) return roundToFraction(1, ratio);
    const double lower = std::floor(ratio);
    const double above = ratio - lower;
    if (above > 0.5) return lower + 1;
    if (above < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

CoefficientCheck checkCoefficient(const QString& numeratorBox, const QString& denominatorBox,
                                  const QString& numeratorRate, const QString& denominatorRate,
                                  HalfRounding halves) {
    CoefficientCheck result;
    const std::optional<double> a = parseNumber(numeratorBox);
    const std::optional<double> b = parseNumber(denominatorBox);
    if (!a || !b || *b == 0) return result;
    const double ratio = *a / *b;
    if (!std::isfinite(ratio)) return result;
    if (numeratorBox == numeratorRate && denominatorBox == denominatorRate) {
        result.outcome = CoefficientCheck::Outcome::Accepted;
        result.coefficientText = formatGeneral(roundCoefficient(ratio, halves));
    } else {
        result.outcome = CoefficientCheck::Outcome::Rejected;
    }
    return result;
}

void TemperatureGrading::reject() {
    if (grade > 0) grade -= 1;
}

bool TemperatureGrading::accept(int coefficient) {
    if (coefficient == 1) {
        firstCoefficientAccepted = true;
        return secondCoefficientAccepted;
    }
    secondCoefficientAccepted = true;
    return firstCoefficientAccepted;
}
