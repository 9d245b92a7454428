#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Experiment 2 window: effect of temperature on the reaction rate
class TForm5 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    MoviePlayer* Flash1 = nullptr;
    Picture* Image1 = nullptr;

private:
    void FormCreate();
};
