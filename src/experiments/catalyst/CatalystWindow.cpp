#include "experiments/catalyst/CatalystWindow.h"

#include <QLabel>
#include <QSignalBlocker>

#include "experiments/common/GradeMessage.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Layout.h"
#include "shell/Loaders.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Picture.h"
#include "toolkit/RadioButton.h"

namespace {
// A captionless option placed beside its text in the movie.
RadioButton* makeOption(QWidget* parent) {
    auto* option = new RadioButton(QString(), parent);
    option->setAutoFillBackground(true);
    option->setStyleSheet(QStringLiteral("QRadioButton { background: white; }"));
    return option;
}
}  // namespace

CatalystWindow::CatalystWindow(Session& session, Navigation& navigation, QWidget* parent)
    : ExperimentWindow(session, navigation, 3,
                       QStringLiteral("Опыт3 Влияние катализатора на скорость реакции"), parent) {
    createChrome(QStringLiteral("Опыт 3"),
                 QStringLiteral("Влияние катализатора на скорость реакции"));
    wrongOption = makeOption(this);
    rightOption = makeOption(this);

    placeControls({
        {topicTitle, 255, 19, 249, 44},
        {movie, 5, 65, 705, 350},
        {wrongOption, 61, 190, 15, 17},
        {rightOption, 61, 215, 16, 17},
    });
    wrongOption->hide();
    rightOption->hide();

    wrongOption->setAccessibleName(QStringLiteral("Верхний ответ"));
    rightOption->setAccessibleName(QStringLiteral("Нижний ответ"));
    connect(nextLink, &LinkLabel::clicked, this, &CatalystWindow::onNextClicked);
    connect(finishLink, &LinkLabel::clicked, this, &CatalystWindow::onFinishClicked);
    connect(wrongOption, &RadioButton::clickedOn, this, &CatalystWindow::onWrongOptionClicked);
    connect(rightOption, &RadioButton::clickedOn, this, &CatalystWindow::onRightOptionClicked);
    loadContents();
}

void CatalystWindow::loadContents() {
    loadPicture(navigation_, background, QStringLiteral("\\BackGround\\Opit.jpg"));
    grading = {};
}

void CatalystWindow::resetRun() {
    wrongOption->hide();
    rightOption->hide();
    // A new run starts clean: no answer chosen, so the right one at once earns the full grade.
    for (RadioButton* option : {wrongOption, rightOption}) {
        const QSignalBlocker quiet(option);
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    grading = {};
}

void CatalystWindow::onNextClicked() {
    advanceStep();
    nextLink->hide();
    if (step() == QuestionStep) {
        wrongOption->show();
        rightOption->show();
    }
    loadStepMovie();
}

void CatalystWindow::loadStepMovie() {
    showMovie(QStringLiteral("\\Movie\\Opyt3\\%1.swf").arg(step()));
}

void CatalystWindow::onFinishClicked() {
    returnToMainWindow();
}

void CatalystWindow::atMovieEnd() {
    if (step() == PeroxideStep) nextLink->show();
}

void CatalystWindow::onWrongOptionClicked() {
    showMessageBox(QStringLiteral("Нет, вы не правы!!!"));
    grading.chooseWrongOption();
}

void CatalystWindow::onRightOptionClicked() {
    advanceStep();
    loadStepMovie();
    wrongOption->hide();
    rightOption->hide();
    grading.chooseRightOption();
    const GradeEvidence evidence = grading.evidence();
    session_.recordGrade(3, grading.grade, evidence);
    showGradeMessage(evidence);
}
