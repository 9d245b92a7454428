#include "experiments/common/ExperimentWindow.h"

#include "experiments/common/MovieEndWatch.h"
#include "shell/Loaders.h"
#include "shell/Navigation.h"
#include "toolkit/LinkLabel.h"

namespace {
constexpr int FirstStep = 1;
}  // namespace

ExperimentWindow::ExperimentWindow(Session& session, Navigation& navigation, const QString& caption,
                                   QWidget* parent)
    : LabWindow(caption, QSize(715, 505), Border::None, parent),
      session_(session),
      navigation_(navigation) {}

void ExperimentWindow::createChrome(const QString& number, const QString& topic) {
    ExperimentChrome::createChrome(
        this, number, topic, [this] { atMovieEnd(); }, [this] { returnToMainWindow(); });
}

void ExperimentWindow::prepareRun() {
    step_ = FirstStep;
    nextLink->show();
    resetRun();
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
