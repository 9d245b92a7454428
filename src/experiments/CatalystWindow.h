#pragma once

#include "toolkit/LabWindow.h"

class LabTimer;
class LinkLabel;
class MoviePlayer;
class Picture;
class QLabel;
class RadioButton;

// Experiment 3 window: effect of a catalyst on the reaction rate
class TForm6 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    void Label14Click();
    void Label5Click();
    void Timer1Timer();
    void RadioButton1Click();
    void RadioButton2Click();

    // The grade to be recorded: 5, or 2.5 once the wrong option has been chosen in this
    // program run.
    double Grade = 5;

    Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    LinkLabel* Label14 = nullptr;
    LinkLabel* Label5 = nullptr;
    Picture* Image3 = nullptr;
    Picture* Image2 = nullptr;
    MoviePlayer* Flash1 = nullptr;
    RadioButton* RadioButton1 = nullptr;  // the upper option, the wrong one
    RadioButton* RadioButton2 = nullptr;  // the lower option, the right one
    LabTimer* Timer1 = nullptr;           // end-of-movie watch

protected:
    void FormActivate() override;

private:
    void FormCreate();
};
