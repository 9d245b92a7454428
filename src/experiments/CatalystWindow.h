#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Experiment 3 window: effect of a catalyst on the reaction rate
class TForm6 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    MoviePlayer* Flash1 = nullptr;
    Picture* Image1 = nullptr;

private:
    void FormCreate();
};
