#pragma once

#include "experiments/common/ExperimentWindow.h"
#include "lab/CatalystGrading.h"

class RadioButton;

// Experiment 3 window: effect of a catalyst on the reaction rate
class CatalystWindow : public ExperimentWindow {
    Q_OBJECT
public:
    // The steps of a run, each showing the movie its number names.
    enum Step : int {
        TaskStep = 1,    // the task
        PeroxideStep,    // hydrogen peroxide alone
        QuestionStep,    // with the catalyst, and the question with its two options
        ConclusionStep,  // the right option chosen
    };

    CatalystWindow(Session& session, Navigation& navigation, QWidget* parent = nullptr);

    void onNextClicked();
    void onFinishClicked();
    void onWrongOptionClicked();
    void onRightOptionClicked();

    // The grade to be recorded: 5, or 2.5 once the wrong option has been chosen in this run.
    CatalystGrading grading;

    RadioButton* wrongOption = nullptr;  // the upper option, the wrong one
    RadioButton* rightOption = nullptr;  // the lower option, the right one

protected:
    void resetRun() override;
    void atMovieEnd() override;

private:
    void loadContents();
    void loadStepMovie();
};
