#include "experiments/common/ExperimentWindow.h"

#include "experiments/common/MovieEndWatch.h"
#include "lab/Session.h"
#include "shell/Loaders.h"
#include "shell/Navigation.h"
#include "toolkit/LinkLabel.h"

namespace {
constexpr int FirstStep = 1;
}  // namespace

ExperimentWindow::ExperimentWindow(Session& session, Navigation& navigation, int experiment,
                                   const QString& caption, QWidget* parent)
    : LabWindow(caption, QSize(715, 505), Border::None, parent),
      session_(session),
      navigation_(navigation),
      experiment_(experiment) {}

void ExperimentWindow::createChrome(const QString& number, const QString& topic) {
    ExperimentChrome::createChrome(
        this, number, topic, [this] { atMovieEnd(); }, [this] { returnToMainWindow(); });
}

void ExperimentWindow::prepareRun() {
    step_ = FirstStep;
    nextLink->show();
    resetRun();
    session_.recordEntry(experiment_);
}

void ExperimentWindow::onActivated() {
    movieEndWatch->setEnabled(true);
}

void ExperimentWindow::returnToMainWindow() {
    navigation_.returnToMainWindow();
    done();
}

void ExperimentWindow::showMovie(const QString& relativePath) {
    loadMovie(navigation_, movie, relativePath);
}
