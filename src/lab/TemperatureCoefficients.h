#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "lab/GradeEvidence.h"

// The arithmetic of the temperature experiment, free of widgets: the two temperature
// coefficients the student forms from the rates of the table, and the grade they earn. The
// rates themselves are formed as in experiment 1's table.

// How a ratio that lies exactly halfway between two integers is settled. The two coefficient
// checks differ here, and students compare their own arithmetic with what the window shows.
enum class HalfRounding { ToEven, AwayFromZero };

double roundCoefficient(double ratio, HalfRounding halves);
// Coefficient 1 (35 °C over 25 °C) settles halves to even, coefficient 2 away from zero.
HalfRounding coefficientHalfRounding(int coefficient);

struct CoefficientCheck {
    enum class Outcome {
        Unreadable,  // a box is empty or not a number, or the denominator is zero: no effect
        Accepted,
        Rejected,
    };
    Outcome outcome = Outcome::Unreadable;
    QString coefficientText;  // the rounded coefficient, when accepted
};

// Judges one coefficient: the boxes must hold exactly the texts of the two rates in the table
// (no trimming, "0,060" is not "0,06"), and must be readable numbers.
CoefficientCheck checkCoefficient(const QString& numeratorBox, const QString& denominatorBox,
                                  const QString& numeratorRate, const QString& denominatorRate,
                                  HalfRounding halves);

// One pair of boxes that "ОК" judged: what was typed and the table's rates it was held against.
// A pair that is not readable costs nothing and is not kept.
struct CoefficientAttempt {
    int coefficient = 1;  // 1: 35 °C over 25 °C; 2: 45 °C over 35 °C
    QString numeratorBox;
    QString denominatorBox;
    QString numeratorRate;
    QString denominatorRate;
    bool accepted = false;
};

// The running grade of the experiment; it lives for the whole program run, so a repeated run
// continues where the last one stopped.
struct TemperatureGrading {
    double grade = 5;
    bool firstCoefficientAccepted = false;
    bool secondCoefficientAccepted = false;

    // A rejected pair costs one point, never below zero.
    void reject();
    // Marks coefficient 1 or 2 accepted; true when both now are, and the grade is to be stored.
    bool accept(int coefficient);

    // The judged pairs, in the order they were judged.
    QList<CoefficientAttempt> attempts;
    void noteAttempt(const CoefficientAttempt& attempt) { attempts.append(attempt); }
    // The evidence of the grade: the table's times and rates of rows 1..3 as shown, and every
    // pair against the rates it should have held, with what it cost.
    GradeEvidence evidence(const QStringList& times, const QStringList& rates) const;
};
