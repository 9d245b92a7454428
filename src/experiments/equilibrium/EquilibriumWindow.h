#pragma once

#include <array>

#include "experiments/common/ExperimentWindow.h"
#include "lab/EquilibriumAnswers.h"

class QLineEdit;
class RadioGroup;

// Experiment 4 window: shift of the equilibrium of a reversible reaction
class EquilibriumWindow : public ExperimentWindow {
    Q_OBJECT
public:
    // The steps of a run, each showing the movie its number names.
    enum Step : int {
        TaskStep = 1,          // the task and the equation
        TubesStep,             // the four tubes
        DirectionsStep,        // where the equilibrium shifts: the three direction groups
        ConstantQuestionStep,  // the equilibrium constant to be written in the answer boxes
        ConstantAnswerStep,    // the boxes were right: the constant as it should be
        PrincipleStep,         // Le Chatelier's principle
    };

    EquilibriumWindow(Session& session, Navigation& navigation, QWidget* parent = nullptr);

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
    void resetRun() override;
    void atMovieEnd() override;

private:
    void loadContents();
    void judgeDirection(int group);
};
