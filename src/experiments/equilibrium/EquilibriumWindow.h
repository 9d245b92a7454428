#pragma once

#include <array>

#include "experiments/common/ExperimentChrome.h"
#include "lab/EquilibriumAnswers.h"
#include "toolkit/LabWindow.h"

class QLineEdit;
class RadioGroup;

// Experiment 4 window: shift of the equilibrium of a reversible reaction
class EquilibriumWindow : public LabWindow, public ExperimentChrome {
    Q_OBJECT
public:
    explicit EquilibriumWindow(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    void onNextClicked();
    void onFinishClicked();

    void setDirectionGroupsVisible(bool visible);
    void setAnswerBoxesVisible(bool visible);

    // directionGrade and answerBoxGrade of the run under way.
    EquilibriumGrading grading;

    // Where the equilibrium shifts when FeCl3, KSCN and KCl are added (groups 1 to 3).
    std::array<RadioGroup*, DirectionGroupCount> directionGroups{};
    // The equilibrium constant: the four concentrations, then the two exponents.
    std::array<QLineEdit*, AnswerBoxCount> answerBoxes{};

protected:
    void onActivated() override;

private:
    void loadContents();
    void atMovieEnd();
    void judgeDirection(int group);
};
