#pragma once

#include "experiments/common/ExperimentChrome.h"
#include "toolkit/LabWindow.h"

class RadioButton;

// Experiment 3 window: effect of a catalyst on the reaction rate
class CatalystWindow : public LabWindow, public ExperimentChrome {
    Q_OBJECT
public:
    explicit CatalystWindow(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    void onNextClicked();
    void onFinishClicked();
    void onWrongOptionClicked();
    void onRightOptionClicked();

    // The grade to be recorded: 5, or 2.5 once the wrong option has been chosen in this run.
    double grade = 5;

    RadioButton* wrongOption = nullptr;  // the upper option, the wrong one
    RadioButton* rightOption = nullptr;  // the lower option, the right one

protected:
    void onActivated() override;

private:
    void loadContents();
    void atMovieEnd();
};
