#pragma once

#include "experiments/EquilibriumAnswers.h"
#include "experiments/ExperimentChrome.h"
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
    void onIronChlorideChosen();
    void onThiocyanateChosen();
    void onChlorideChosen();

    void setDirectionGroupsVisible(bool visible);
    void setAnswerBoxesVisible(bool visible);

    // directionGrade and answerBoxGrade of the run under way.
    EquilibriumGrading grading;

    RadioGroup* ironChlorideGroup = nullptr;  // FeCl3 added
    RadioGroup* thiocyanateGroup = nullptr;   // KSCN added
    RadioGroup* chlorideGroup = nullptr;      // KCl added
    QLineEdit* firstConcentrationBox = nullptr;
    QLineEdit* secondConcentrationBox = nullptr;
    QLineEdit* thirdConcentrationBox = nullptr;
    QLineEdit* fourthConcentrationBox = nullptr;
    QLineEdit* firstExponentBox = nullptr;
    QLineEdit* secondExponentBox = nullptr;

protected:
    void onActivated() override;

private:
    void loadContents();
    void atMovieEnd();
    void judgeDirection(int group);
    QLineEdit* answerBox(int box) const;
};
