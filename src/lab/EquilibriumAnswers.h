#pragma once

#include <QString>
#include <QStringList>

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

// The two part-grades; each drops from 5 to 4 at the first mistake of its kind and stays there
// for the rest of the program run.
struct EquilibriumGrading {
    double directionGrade = 5;
    double answerBoxGrade = 5;

    // The grade stored for the experiment: the mean of the parts to the nearest 0.1.
    double recordedGrade() const;
};
