#include "lab/Experiment1Grade.h"

#include <QJsonArray>
#include <cmath>

#include "lab/Numbers.h"

namespace {
// Decimal values such as 0,0225 or 0,07 have no exact binary form: a value meant to lie on an
// edge may come out a hair outside it. Edges are therefore widened by this share of the
// reference, far below anything a student can type or measure.
constexpr double EdgeTolerance = 1e-9;
constexpr int ConcentrationStep = 10;  // percent of the reference per band
constexpr int RateStep = 20;
constexpr int DecidingTube = 4;

double upperBound(double reference, int stepPercent) {
    return reference + reference / 100 * 2 * stepPercent;
}

// 6 − i for the first band i = 1..5 whose bounds (inclusive) hold the value, else 1. Only the
// lower bound widens with i; the upper bound stays at two steps above the reference.
int partialGrade(double measured, double reference, int stepPercent) {
    const double slack = EdgeTolerance * std::fabs(reference);
    const double upper = upperBound(reference, stepPercent);
    for (int i = 1; i <= 5; ++i) {
        const double lower = reference - reference / 100 * i * stepPercent;
        if (lower - slack <= measured && measured <= upper + slack) return 6 - i;
    }
    return 1;
}

// A share of the reference as the band texts write it: 0,9 for 90 %.
QString share(int percent) {
    return formatGeneral(percent / 100.0);
}

// Where a value of band 1..5 lies, in shares of the reference: "от 0,9 до 1,2 эталона".
QString bandText(int band, double measured, double reference, int stepPercent) {
    const int upper = 100 + 2 * stepPercent;
    if (band == 5)
        return QStringLiteral("от %1 до %2 эталона").arg(share(100 - stepPercent), share(upper));
    if (band > 1)
        return QStringLiteral("от %1 до %2 эталона")
            .arg(share(100 - (6 - band) * stepPercent), share(100 - (5 - band) * stepPercent));
    if (measured > upperBound(reference, stepPercent))
        return QStringLiteral("выше %1 эталона").arg(share(upper));
    return QStringLiteral("ниже %1 эталона").arg(share(100 - 4 * stepPercent));
}

// One value of one tube: entered against the reference, its band, and for tube 4 its points.
EvidenceItem valueItem(int tube, const QString& what, const QString& key, const QString& entered,
                       double reference, int stepPercent) {
    EvidenceItem item;
    item.key = QStringLiteral("tube%1.%2").arg(tube).arg(key);
    item.label = QStringLiteral("Пробирка %1: %2").arg(tube).arg(what);
    item.entered = entered;
    item.expected = formatGeneral(reference);
    item.counts = tube == DecidingTube;
    const std::optional<double> measured = parseNumber(entered);
    if (!measured) {
        item.counted = QStringLiteral("не число");
        item.verdict = EvidenceItem::Verdict::Wrong;
        return item;
    }
    const int band = partialGrade(*measured, reference, stepPercent);
    const QString where = bandText(band, *measured, reference, stepPercent);
    if (item.counts)
        item.counted = pointsText(band) + QStringLiteral(": ") + where;
    else
        item.counted = where + QStringLiteral(" (") + pointsText(band) +
                       QStringLiteral("), в оценку не входит");
    item.verdict = band == 5 ? EvidenceItem::Verdict::Right : EvidenceItem::Verdict::Wrong;
    if (band != 5)
        item.mistakes = {*measured > reference ? QStringLiteral("выше эталона")
                                               : QStringLiteral("ниже эталона")};
    return item;
}
}  // namespace

int concentrationBand(double measured, double reference) {
    return partialGrade(measured, reference, ConcentrationStep);
}

int rateBand(double measured, double reference) {
    return partialGrade(measured, reference, RateStep);
}

Experiment1Grade computeExperiment1Grade(double measuredC, double measuredV, double referenceC,
                                         double referenceV) {
    Experiment1Grade g;
    g.concentrationGrade = concentrationBand(measuredC, referenceC);
    g.rateGrade = rateBand(measuredV, referenceV);
    g.grade = roundToFraction(10, (g.concentrationGrade + g.rateGrade) / 2.0);
    return g;
}

QString experiment1GradeMessage(double grade) {
    return gradeMessage(1, grade);
}

GradeEvidence experiment1Evidence(const Experiment1Table& table,
                                  const Experiment1Reference& reference,
                                  const Experiment1Grade& grade) {
    GradeEvidence e;
    e.experiment = 1;
    e.grade = grade.grade;
    QJsonArray tubes;
    for (int tube = 1; tube <= int(table.size()); ++tube) {
        const TubeEntry& entry = table[std::size_t(tube - 1)];
        const ReferenceData::Tube& ref = reference[std::size_t(tube - 1)];
        e.items.append(valueItem(tube, QStringLiteral("концентрация C`, моль/л"),
                                 QStringLiteral("concentration"), entry.concentration,
                                 ref.concentration, ConcentrationStep));
        EvidenceItem time;
        time.key = QStringLiteral("tube%1.time").arg(tube);
        time.label = QStringLiteral("Пробирка %1: время T, с").arg(tube);
        time.entered = entry.time;
        time.expected = formatGeneral(ref.time);
        time.counted = QStringLiteral("даёт скорость 1/T");
        e.items.append(time);
        e.items.append(valueItem(tube, QStringLiteral("скорость 1/T"), QStringLiteral("rate"),
                                 entry.rate, ref.rate, RateStep));

        const std::optional<double> c = parseNumber(entry.concentration);
        const std::optional<double> v = parseNumber(entry.rate);
        QJsonObject t;
        t.insert(QStringLiteral("tube"), tube);
        t.insert(QStringLiteral("concentration"), entry.concentration);
        t.insert(QStringLiteral("time"), entry.time);
        t.insert(QStringLiteral("rate"), entry.rate);
        t.insert(QStringLiteral("referenceConcentration"), ref.concentration);
        t.insert(QStringLiteral("referenceTime"), ref.time);
        t.insert(QStringLiteral("referenceRate"), ref.rate);
        t.insert(QStringLiteral("concentrationBand"),
                 c ? QJsonValue(concentrationBand(*c, ref.concentration)) : QJsonValue());
        t.insert(QStringLiteral("rateBand"), v ? QJsonValue(rateBand(*v, ref.rate)) : QJsonValue());
        tubes.append(t);
    }
    e.data.insert(QStringLiteral("tubes"), tubes);
    e.data.insert(QStringLiteral("decidingTube"), DecidingTube);
    e.data.insert(QStringLiteral("concentrationGrade"), grade.concentrationGrade);
    e.data.insert(QStringLiteral("rateGrade"), grade.rateGrade);

    const TubeEntry& last = table[DecidingTube - 1];
    const ReferenceData::Tube& lastRef = reference[DecidingTube - 1];
    e.summary =
        QStringLiteral(
            "Оценку решает пробирка 4: концентрация %1 при эталоне %2 — %3, скорость "
            "%4 при эталоне %5 — %6; (%7 + %8) / 2 = %9.")
            .arg(last.concentration, formatGeneral(lastRef.concentration),
                 pointsText(grade.concentrationGrade), last.rate, formatGeneral(lastRef.rate),
                 pointsText(grade.rateGrade), QString::number(grade.concentrationGrade),
                 QString::number(grade.rateGrade), formatGeneral(grade.grade));
    return e;
}
