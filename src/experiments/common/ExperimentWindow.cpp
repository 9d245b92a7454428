#include "experiments/common/ExperimentWindow.h"

#include "experiments/common/MovieEndWatch.h"
#include "shell/Program.h"
#include "toolkit/LinkLabel.h"

namespace {
constexpr int FirstStep = 1;
}  // namespace

ExperimentWindow::ExperimentWindow(const QString& caption, QWidget* parent)
    : LabWindow(caption, QSize(715, 505), Border::None, parent) {}

void ExperimentWindow::createChrome(const QString& number, const QString& topic) {
    ExperimentChrome::createChrome(
        this, number, topic, [this] { atMovieEnd(); }, [this] { returnToMainWindow(this); });
}

void ExperimentWindow::prepareRun() {
    step_ = FirstStep;
    nextLink->show();
    resetRun();
}

void ExperimentWindow::onActivated() {
    movieEndWatch->setEnabled(true);
}

void returnToMainWindow(LabWindow* window) {
    showMainWindow();
    window->closeForm();
}
