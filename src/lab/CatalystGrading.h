#pragma once

// The grade of the catalyst experiment, free of widgets: 5 when the student picks the right
// option first, 2.5 once the wrong one has been picked in the run; recorded at the right pick.
struct CatalystGrading {
    static constexpr double FullGrade = 5;
    static constexpr double GradeAfterWrongOption = 2.5;

    double grade = FullGrade;
    bool wrongOptionChosen = false;

    void chooseWrongOption() {
        wrongOptionChosen = true;
        grade = GradeAfterWrongOption;
    }
};
