#pragma once

#include "toolkit/LabWindow.h"

class MoviePlayer;
class Picture;

// Experiment 4 window: shift of the equilibrium of a reversible reaction
class TForm7 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    MoviePlayer* Flash1 = nullptr;
    Picture* Image1 = nullptr;

private:
    void FormCreate();
};
