#pragma once

#include <QString>

#include "experiments/common/ExperimentChrome.h"
#include "toolkit/LabWindow.h"

class Navigation;
class QTimer;
class Session;

// The frame every experiment window is built on: a borderless 715 × 505 window with the chrome
// and its step movie, the step the run has reached and the reset at the start of a run.
//
// A run goes step by step, mostly on "Далее"; each window names its steps, and a step's
// number names the movie it shows. The step belongs to the window: each experiment keeps its
// own, and a new run starts again at the first.
class ExperimentWindow : public LabWindow, public ExperimentChrome {
    Q_OBJECT
public:
    // Puts the window into the starting state of a new run, at the first step with "Далее" on
    // show; the composition root calls it before it loads the first movie and shows the window.
    // The class journal hears that the current student entered the experiment.
    void prepareRun();
    // The experiment 1..4 the window runs.
    int experiment() const { return experiment_; }

    // The step of the run under way: 1 at its start, 0 before the first run.
    int step() const { return step_; }
    // Sets the step without showing its movie: a refused answer goes back to the step that
    // asked for it, and tests begin a run part-way.
    void setStep(int step) { step_ = step; }
    // False from a step's change until its movie is first drawn. Presses made meanwhile (the
    // rest of a quick series of clicks that the change kept waiting) are ignored: they were
    // aimed at the step before.
    bool isStepShown() const { return stepShown_; }

protected:
    // The session receives the entries and the grades; the navigation leads back to the main
    // window and ends the program when a file is missing.
    ExperimentWindow(Session& session, Navigation& navigation, int experiment,
                     const QString& caption, QWidget* parent);

    // Creates the chrome as the window's first children (see ExperimentChrome): its movie's
    // last frame calls atMovieEnd(); the close glyph, Escape and a close from the window manager
    // lead back to the main window.
    void createChrome(const QString& number, const QString& topic);

    // The window's own controls back to their starting state, as prepareRun() begins a run.
    virtual void resetRun() = 0;
    // The movie of the current step has come to rest on its last frame.
    virtual void atMovieEnd() = 0;

    // Coming back to the window, the watch for the movie's last frame starts again; a window
    // that does more calls this at the end.
    void onActivated() override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // "Далее" goes one step on; a check that refuses the step just begun takes it back.
    void advanceStep() { ++step_; }
    void takeBackStep() { --step_; }

    // Leaves the experiment: the main window comes back first, so it takes the activation, then
    // this window hides.
    void returnToMainWindow();
    // Shows the movie of the asset tree; a missing one is reported and ends the program.
    void showMovie(const QString& relativePath);

    Session& session_;
    Navigation& navigation_;

private:
    void holdPressesUntilShown();
    void releasePresses();

    int experiment_;
    int step_ = 0;
    bool stepShown_ = true;
    QTimer* holdLimit_ = nullptr;
};
