#include "concentration/Experiment1Grade.h"

#include "core/Helpers.h"
#include "core/Numbers.h"

namespace {
// 6 − i for the first band i = 1..5 whose bounds (inclusive) hold the value, else 1. Only the
// lower bound widens with i; the upper bound stays at two steps above the reference. The
// bounds are formed in extended precision in the written order, so a value exactly on a band's
// edge lands in the better band.
int partialGrade(double measured, double reference, int stepPercent) {
    const long double ref = reference;
    const long double value = measured;
    const long double upper = ref + ref / 100 * 2 * stepPercent;
    for (int i = 1; i <= 5; ++i) {
        const long double lower = ref - ref / 100 * i * stepPercent;
        if (lower <= value && value <= upper) return 6 - i;
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
