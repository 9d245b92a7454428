#pragma once

#include <QList>

#include "lab/GradeEvidence.h"

// The grade of the catalyst experiment, free of widgets: 5 when the student picks the right
// option first, 2.5 once the wrong one has been picked in the run; recorded at the right pick.
struct CatalystGrading {
    static constexpr double FullGrade = 5;
    static constexpr double GradeAfterWrongOption = 2.5;

    double grade = FullGrade;
    bool wrongOptionChosen = false;
    // The options chosen, in order: true for the right one.
    QList<bool> answers;

    void chooseWrongOption() {
        wrongOptionChosen = true;
        grade = GradeAfterWrongOption;
        answers.append(false);
    }
    void chooseRightOption() { answers.append(true); }

    // The evidence of the grade: each option chosen, in order, right or wrong.
    GradeEvidence evidence() const;
};

// The question and its two options, as the movie of the question step shows them.
QString catalystQuestion();
QString catalystOptionText(bool right);
