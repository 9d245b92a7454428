#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "lab/GradeEvidence.h"

// The answers of the equilibrium-shift experiment and its grade, free of widgets.

// Item 0 of a direction group is "-->", item 1 is "<--".
inline constexpr int DirectionGroupCount = 3;
// The right item of direction group 1..3 (FeCl3 and KSCN push to the right, KCl to the left).
int rightDirection(int group);
// All three groups hold their right item.
bool allDirectionsRight(const int chosen[DirectionGroupCount]);

// The six boxes of the equilibrium constant (four concentrations, two exponents), compared
// exactly: no trimming and no case folding, so "В" or "в " is wrong.
inline constexpr int AnswerBoxCount = 6;
inline constexpr int ConcentrationBoxCount = 4;
QString rightAnswerBoxText(int box);
bool answerBoxesRight(const QStringList& texts);

// One answer the student gave: a direction chosen in a group, or the six boxes checked.
struct EquilibriumAnswer {
    enum class Kind { Direction, AnswerBoxes };
    Kind kind = Kind::Direction;
    int group = 0;      // the direction group 1..3
    int chosen = -1;    // the item chosen in it
    QStringList boxes;  // the six texts checked
    bool right = false;
};

// The two part-grades; each drops from 5 to 4 at the first mistake of its kind and stays there
// for the rest of the program run.
struct EquilibriumGrading {
    double directionGrade = 5;
    double answerBoxGrade = 5;
    // Every answer, in the order given.
    QList<EquilibriumAnswer> answers;

    // Keeps a direction chosen in group 1..3; a wrong one lowers the direction grade.
    void chooseDirection(int group, int chosen);
    // Keeps the six boxes as checked; wrong ones lower the box grade. True when right.
    bool checkAnswerBoxes(const QStringList& texts);

    // The grade stored for the experiment: the mean of the parts to the nearest 0.1.
    double recordedGrade() const;
    // The evidence of the grade: each answer, in order, right or wrong.
    GradeEvidence evidence() const;
};
