#include "lab/TemperatureCoefficients.h"

#include <QJsonArray>
#include <cmath>

#include "lab/MeasurementRules.h"
#include "lab/Numbers.h"

double roundCoefficient(double ratio, HalfRounding halves) {
    if (halves == HalfRounding::AwayFromZero) return roundToFraction(1, ratio);
    const double lower = std::floor(ratio);
    const double above = ratio - lower;
    if (above > 0.5) return lower + 1;
    if (above < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

HalfRounding coefficientHalfRounding(int coefficient) {
    return coefficient == 1 ? HalfRounding::ToEven : HalfRounding::AwayFromZero;
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

namespace {
// The rounded coefficient of two texts, or empty when they do not make one.
QString coefficientOf(const QString& numerator, const QString& denominator, HalfRounding halves) {
    const std::optional<double> a = parseNumber(numerator);
    const std::optional<double> b = parseNumber(denominator);
    if (!a || !b || *b == 0 || !std::isfinite(*a / *b)) return {};
    return formatGeneral(roundCoefficient(*a / *b, halves));
}

// How a rejected pair went wrong, in words that read the same for every student who made the
// same slip; empty when it is just other numbers.
QString mistakeOf(const CoefficientAttempt& a) {
    if (a.numeratorBox == a.denominatorRate && a.denominatorBox == a.numeratorRate)
        return QStringLiteral("числитель и знаменатель переставлены");
    if (parseNumber(a.numeratorBox) == parseNumber(a.numeratorRate) &&
        parseNumber(a.denominatorBox) == parseNumber(a.denominatorRate))
        return QStringLiteral("те же скорости, записанные не так, как в таблице");
    return {};
}

QString coefficientName(int coefficient) {
    return coefficient == 1 ? QStringLiteral("35 °C к 25 °C") : QStringLiteral("45 °C к 35 °C");
}
}  // namespace

GradeEvidence TemperatureGrading::evidence(const QStringList& times,
                                           const QStringList& rates) const {
    GradeEvidence e;
    e.experiment = 2;
    e.grade = grade;
    for (int row = 1; row <= TemperatureTable::LastRow; ++row) {
        EvidenceItem item;
        item.key = QStringLiteral("row%1.time").arg(row);
        item.label = QStringLiteral("%1 °C: время, с").arg(TemperatureTable::temperatureText(row));
        item.entered = times.value(row - 1);
        item.counted = QStringLiteral("скорость ") + rates.value(row - 1);
        e.items.append(item);
    }
    // The grade replayed: each rejected pair costs a point while there is one to lose.
    double running = 5;
    int rejected = 0;
    int tries[2] = {0, 0};
    QJsonArray attemptData;
    for (const CoefficientAttempt& a : attempts) {
        const int k = a.coefficient == 1 ? 1 : 2;
        const HalfRounding halves = coefficientHalfRounding(k);
        const QString computed = coefficientOf(a.numeratorRate, a.denominatorRate, halves);
        EvidenceItem item;
        item.key = QStringLiteral("coefficient%1").arg(k);
        item.label = QStringLiteral("Коэффициент %1 (%2), попытка %3")
                         .arg(k)
                         .arg(coefficientName(k))
                         .arg(++tries[k - 1]);
        item.entered = a.numeratorBox + QStringLiteral(" / ") + a.denominatorBox;
        item.expected =
            a.numeratorRate + QStringLiteral(" / ") + a.denominatorRate +
            (computed.isEmpty() ? QString() : QString(QStringLiteral(" = ") + computed));
        item.counts = true;
        if (a.accepted) {
            item.verdict = EvidenceItem::Verdict::Right;
            item.counted = QStringLiteral("верно, коэффициент ") + computed;
        } else {
            item.verdict = EvidenceItem::Verdict::Wrong;
            ++rejected;
            item.counted = running > 0 ? QStringLiteral("неверно, −1 балл")
                                       : QStringLiteral("неверно, оценка уже 0");
            if (running > 0) running -= 1;
            if (const QString m = mistakeOf(a); !m.isEmpty()) item.mistakes = {m};
        }
        e.items.append(item);

        QJsonObject o;
        o.insert(QStringLiteral("coefficient"), k);
        o.insert(QStringLiteral("numerator"), a.numeratorBox);
        o.insert(QStringLiteral("denominator"), a.denominatorBox);
        o.insert(QStringLiteral("expectedNumerator"), a.numeratorRate);
        o.insert(QStringLiteral("expectedDenominator"), a.denominatorRate);
        const QString given = coefficientOf(a.numeratorBox, a.denominatorBox, halves);
        o.insert(QStringLiteral("given"),
                 given.isEmpty() ? QJsonValue() : QJsonValue(*parseNumber(given)));
        o.insert(QStringLiteral("computed"),
                 computed.isEmpty() ? QJsonValue() : QJsonValue(*parseNumber(computed)));
        o.insert(QStringLiteral("accepted"), a.accepted);
        attemptData.append(o);
    }
    e.data.insert(QStringLiteral("times"), QJsonArray::fromStringList(times));
    e.data.insert(QStringLiteral("rates"), QJsonArray::fromStringList(rates));
    e.data.insert(QStringLiteral("attempts"), attemptData);
    e.data.insert(QStringLiteral("rejected"), rejected);
    e.summary = rejected == 0
                    ? QStringLiteral("Оба коэффициента рассчитаны верно с первой попытки: %1.")
                          .arg(pointsText(grade))
                    : QStringLiteral(
                          "Оба коэффициента приняты; неверных попыток — %1, каждая "
                          "стоит балл: %2.")
                          .arg(rejected)
                          .arg(pointsText(grade));
    return e;
}
