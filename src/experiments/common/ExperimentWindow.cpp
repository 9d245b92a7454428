#include "experiments/common/ExperimentWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "experiments/common/MovieEndWatch.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "shell/Navigation.h"
#include "toolkit/LinkLabel.h"

namespace {
constexpr int FirstStep = 1;
// Presses are taken again after this long even if the movie was never drawn (a window covered
// or minimised meanwhile).
constexpr int LongestHoldMs = 1000;

bool acceptsTyping(const QObject* widget) {
    return widget->inherits("QLineEdit") || widget->inherits("QAbstractSpinBox") ||
           widget->inherits("QPlainTextEdit") || widget->inherits("QTextEdit");
}

bool isPress(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        case QEvent::KeyPress: {
            // Keys that press a focused button or link; typed into a box they are typing.
            const int key = static_cast<const QKeyEvent*>(event)->key();
            return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
        }
        default:
            return false;
    }
}
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
    if (isVisible() && movie) holdPressesUntilShown();
}

void ExperimentWindow::holdPressesUntilShown() {
    if (!stepShown_) return;
    stepShown_ = false;
    movie->installEventFilter(this);
    qApp->installEventFilter(this);
    if (!holdLimit_) {
        holdLimit_ = new QTimer(this);
        holdLimit_->setSingleShot(true);
        connect(holdLimit_, &QTimer::timeout, this, &ExperimentWindow::releasePresses);
    }
    holdLimit_->start(LongestHoldMs);
}

void ExperimentWindow::releasePresses() {
    if (stepShown_) return;
    stepShown_ = true;
    holdLimit_->stop();
    qApp->removeEventFilter(this);
    if (movie) movie->removeEventFilter(this);
}

void ExperimentWindow::hideEvent(QHideEvent* event) {
    releasePresses();
    LabWindow::hideEvent(event);
}

bool ExperimentWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!stepShown_) {
        if (watched == movie && event->type() == QEvent::Paint) {
            releasePresses();
        } else if (isPress(event) && watched->isWidgetType() &&
                   static_cast<QWidget*>(watched)->window() == this &&
                   (event->type() != QEvent::KeyPress || !acceptsTyping(watched))) {
            return true;
        }
    }
    return LabWindow::eventFilter(watched, event);
}
