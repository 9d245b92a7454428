#pragma once

#include "experiments/EquilibriumAnswers.h"
#include "toolkit/LabWindow.h"

class LabTimer;
class LinkLabel;
class MoviePlayer;
class Picture;
class QLabel;
class QLineEdit;
class RadioGroup;

// Experiment 4 window: shift of the equilibrium of a reversible reaction
class TForm7 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    void Label14Click();
    void Label5Click();
    void Timer1Timer();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void RadioGroup3Click();

    void ShowDirectionGroups(bool visible);
    void ShowAnswerBoxes(bool visible);

    // DirectionGrade and AnswerBoxGrade, kept for the whole program run.
    EquilibriumGrading Grading;

    Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    LinkLabel* Label14 = nullptr;
    LinkLabel* Label5 = nullptr;
    Picture* Image3 = nullptr;
    Picture* Image2 = nullptr;
    MoviePlayer* Flash1 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;  // FeCl3 added
    RadioGroup* RadioGroup2 = nullptr;  // KSCN added
    RadioGroup* RadioGroup3 = nullptr;  // KCl added
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    LabTimer* Timer1 = nullptr;  // end-of-movie watch

protected:
    void FormActivate() override;

private:
    void FormCreate();
    void judgeDirection(int group);
    QLineEdit* answerBox(int box) const;
};
