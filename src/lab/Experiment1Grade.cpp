#include "lab/Experiment1Grade.h"

#include <cmath>

#include "lab/Numbers.h"

namespace {
// Decimal values such as 0,0225 or 0,07 have no exact binary form: a value meant to lie on an
// edge may come out a hair outside it. Edges are therefore widened by this share of the
// reference, far below anything a student can type or measure.
constexpr double EdgeTolerance = 1e-9;

// 6 − i for the first band i = 1..5 whose bounds (inclusive) hold the value, else 1. Only the
// lower bound widens with i; the upper bound stays at two steps above the reference.
int partialGrade(double measured, double reference, int stepPercent) {
    const double slack = EdgeTolerance * std::fabs(reference);
    const double upper = reference + reference / 100 * 2 * stepPercent;
    for (int i = 1; i <= 5; ++i) {
        const double lower = reference - reference / 100 * i * stepPercent;
        if (lower - slack <= measured && measured <= upper + slack) return 6 - i;
    }
    return 1;
}
}  // namespace

Experiment1Grade computeExperiment1Grade(double measuredC, double measuredV, double referenceC,
                                         double referenceV) {
    Experiment1Grade g;
    g.concentrationGrade = partialGrade(measuredC, referenceC, 10);
    g.rateGrade = partialGrade(measuredV, referenceV, 20);
    g.grade = roundToFraction(10, (g.concentrationGrade + g.rateGrade) / 2.0);
    return g;
}

QString experiment1GradeMessage(double grade) {
    return QStringLiteral("Оценка за выполнение опыта№1: ") + formatGeneral(grade) +
           QStringLiteral(" !!!!");
}
