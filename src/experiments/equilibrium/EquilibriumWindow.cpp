#include "experiments/equilibrium/EquilibriumWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <optional>

#include "experiments/common/GradeMessage.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/equilibrium/DirectionArrowStyle.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Layout.h"
#include "shell/Loaders.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Picture.h"
#include "toolkit/RadioGroup.h"

namespace {
RadioGroup* makeDirectionGroup(QWidget* parent) {
    auto* group = new RadioGroup(QString(), parent);
    group->setFlat(true);
    group->setFont(labFont(QStringLiteral("MS Sans Serif"), 16, true));
    group->setAutoFillBackground(true);
    group->setStyleSheet(QStringLiteral(
        "QGroupBox { background: white; border: 1px solid #808080; margin: 0px; padding: 0px; }"
        " QRadioButton { background: white; font-weight: bold; font-size: 16px; }"));
    group->setItems({QStringLiteral("-->"), QStringLiteral("<--")});
    return group;
}

// The exponent boxes are meant to have a tiny font; the smallest readable size stands in.
QLineEdit* makeAnswerBox(QWidget* parent, bool exponent) {
    auto* box = new QLineEdit(parent);
    box->setFrame(false);
    box->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid #7a7a7a; background: white; }"));
    if (exponent) {
        box->setFont(labFont(QStringLiteral("MS Sans Serif"), 11));
        box->setTextMargins(0, 0, 0, 0);
    }
    return box;
}
}  // namespace

EquilibriumWindow::EquilibriumWindow(Session& session, Navigation& navigation, QWidget* parent)
    : ExperimentWindow(session, navigation, 4,
                       QStringLiteral("Опыт 4 Смещение химического равновесия обратимой реакции"),
                       parent) {
    createChrome(QStringLiteral("Опыт 4"),
                 QStringLiteral("Смещение химического равновесия обратимой реакции"));
    // The movies of this window start and stop themselves.
    movie->setPlay(false);
    movie->setLoop(false);
    for (RadioGroup*& group : directionGroups) group = makeDirectionGroup(this);
    // The answers "-->" and "<--" are set as real arrows. The style is the window's child made
    // after the groups, so it outlives their buttons.
    auto* arrows = new DirectionArrowStyle;
    arrows->setParent(this);
    for (RadioGroup* group : directionGroups)
        for (int item = 0; item < 2; ++item) group->button(item)->setStyle(arrows);
    for (int box = 0; box < AnswerBoxCount; ++box)
        answerBoxes[box] = makeAnswerBox(this, box >= ConcentrationBoxCount);
    // A hidden window leaves its movie alone.
    movieEndWatch->setWatchingWhen([this] { return isVisible(); });

    placeControls({
        {topicTitle, 208, 16, 352, 44},
        {movie, 5, 65, 705, 350},
        {directionGroups[0], 298, 94, 59, 54},
        {directionGroups[1], 372, 94, 59, 54},
        {directionGroups[2], 444, 94, 59, 54},
        {answerBoxes[0], 318, 194, 35, 19},
        {answerBoxes[1], 398, 194, 33, 19},
        {answerBoxes[2], 318, 237, 35, 19},
        {answerBoxes[3], 398, 237, 32, 19},
        {answerBoxes[4], 445, 182, 15, 19},
        {answerBoxes[5], 445, 225, 15, 19},
    });
    setDirectionGroupsVisible(false);
    setAnswerBoxesVisible(false);

    // What a screen reader says for each control.
    directionGroups[0]->setAccessibleName(
        QStringLiteral("Смещение равновесия при добавлении FeCl3"));
    directionGroups[1]->setAccessibleName(
        QStringLiteral("Смещение равновесия при добавлении KSCN"));
    directionGroups[2]->setAccessibleName(QStringLiteral("Смещение равновесия при добавлении KCl"));
    for (RadioGroup* group : directionGroups) {
        group->button(0)->setAccessibleName(QStringLiteral("вправо"));
        group->button(1)->setAccessibleName(QStringLiteral("влево"));
    }
    answerBoxes[0]->setAccessibleName(QStringLiteral("Первая концентрация"));
    answerBoxes[1]->setAccessibleName(QStringLiteral("Вторая концентрация"));
    answerBoxes[2]->setAccessibleName(QStringLiteral("Третья концентрация"));
    answerBoxes[3]->setAccessibleName(QStringLiteral("Четвёртая концентрация"));
    answerBoxes[4]->setAccessibleName(QStringLiteral("Первый показатель степени"));
    answerBoxes[5]->setAccessibleName(QStringLiteral("Второй показатель степени"));
    connect(nextLink, &LinkLabel::clicked, this, &EquilibriumWindow::onNextClicked);
    connect(finishLink, &LinkLabel::clicked, this, &EquilibriumWindow::onFinishClicked);
    for (int group = 1; group <= DirectionGroupCount; ++group)
        connect(directionGroups[group - 1], &RadioGroup::clicked, this,
                [this, group] { judgeDirection(group); });
    loadContents();
}

void EquilibriumWindow::loadContents() {
    loadPicture(navigation_, background, QStringLiteral("\\BackGround\\Opit.jpg"));
    grading = EquilibriumGrading{};
}

void EquilibriumWindow::resetRun() {
    setDirectionGroupsVisible(false);
    setAnswerBoxesVisible(false);
    // A new run starts clean: no direction chosen, empty answer boxes, the full grade again.
    for (RadioGroup* group : directionGroups) {
        const QSignalBlocker quiet(group);
        group->setItemIndex(-1);
    }
    for (QLineEdit* box : answerBoxes) box->clear();
    grading = EquilibriumGrading{};
}

void EquilibriumWindow::setDirectionGroupsVisible(bool visible) {
    for (RadioGroup* group : directionGroups) group->setVisible(visible);
}

void EquilibriumWindow::setAnswerBoxesVisible(bool visible) {
    for (QLineEdit* box : answerBoxes) box->setVisible(visible);
}

void EquilibriumWindow::onNextClicked() {
    advanceStep();
    // The tubes' movie shows "Далее" at its end; the direction groups lead on themselves.
    if (step() == TubesStep || step() == DirectionsStep) nextLink->hide();
    std::optional<GradeEvidence> graded;
    if (step() == ConstantAnswerStep) {
        QStringList texts;
        for (const QLineEdit* box : answerBoxes) texts.append(box->text());
        if (grading.checkAnswerBoxes(texts)) {
            setAnswerBoxesVisible(false);
            graded = grading.evidence();
            session_.recordGrade(4, grading.recordedGrade(), *graded);
        } else {
            setStep(ConstantQuestionStep);
            showMessageBox(QStringLiteral("Вы не правы!!!"));
        }
    }
    if (step() == PrincipleStep) nextLink->hide();
    showMovie(QStringLiteral("\\Movie\\Opyt4\\%1.swf").arg(step()));
    if (graded) showGradeMessage(*graded);
}

void EquilibriumWindow::onFinishClicked() {
    returnToMainWindow();
}

void EquilibriumWindow::atMovieEnd() {
    if (step() == TubesStep) nextLink->show();
    if (step() == DirectionsStep) setDirectionGroupsVisible(true);
}

void EquilibriumWindow::judgeDirection(int group) {
    const int chosen = directionGroups[group - 1]->itemIndex();
    grading.chooseDirection(group, chosen);
    if (chosen == 1 - rightDirection(group)) showMessageBox(QStringLiteral("Вы не правы!!!"));
    if (chosen == rightDirection(group)) showMessageBox(QStringLiteral("Вы правы!!!"));
    int all[DirectionGroupCount];
    for (int i = 0; i < DirectionGroupCount; ++i) all[i] = directionGroups[i]->itemIndex();
    if (allDirectionsRight(all)) {
        setDirectionGroupsVisible(false);
        onNextClicked();
        setAnswerBoxesVisible(true);
        nextLink->show();
    }
}
