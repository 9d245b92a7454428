#include "experiments/EquilibriumWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "core/LabState.h"
#include "core/Loaders.h"
#include "experiments/ExperimentWindowParts.h"
#include "experiments/MovieEndWatch.h"
#include "movie/MoviePlayer.h"
#include "students/StudentStore.h"
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

EquilibriumWindow::EquilibriumWindow(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт 4 Смешение химического равновесия обратимой реакции"),
                QSize(715, 505), Border::None, parent) {
    background = new Picture(this);
    numberTitle = makeTitleLabel(this, QStringLiteral("Опыт 4"), 21, false);
    topicTitle = makeTitleLabel(
        this, QStringLiteral("Смещение химического равновесия обратимой реакции"), 19, true);
    nextLink = makeLinkLabel(this, QStringLiteral("Далее"));
    finishLink = makeLinkLabel(this, QStringLiteral("Закончить опыт"));
    closeSpot = new Picture(this);
    closeGlyph = new Picture(this);
    movie = new MoviePlayer(this);
    // The movies of this window start and stop themselves.
    movie->setPlay(false);
    movie->setLoop(false);
    ironChlorideGroup = makeDirectionGroup(this);
    thiocyanateGroup = makeDirectionGroup(this);
    chlorideGroup = makeDirectionGroup(this);
    firstConcentrationBox = makeAnswerBox(this, false);
    secondConcentrationBox = makeAnswerBox(this, false);
    thirdConcentrationBox = makeAnswerBox(this, false);
    fourthConcentrationBox = makeAnswerBox(this, false);
    firstExponentBox = makeAnswerBox(this, true);
    secondExponentBox = makeAnswerBox(this, true);
    movieEndWatch = new MovieEndWatch(
        movie, [this] { atMovieEnd(); }, this);
    // A hidden window leaves its movie alone.
    movieEndWatch->setWatchingWhen([this] { return isVisible(); });

    placeControls({
        {background, 0, 0, 715, 505},
        {numberTitle, 15, 6, 74, 24},
        {topicTitle, 208, 16, 352, 44},
        {nextLink, 11, 461, 62, 23},
        {finishLink, 290, 461, 158, 23},
        {closeSpot, 698, 3, 13, 13},
        {closeGlyph, 699, 2, 13, 13},
        {movie, 5, 65, 705, 400},
        {ironChlorideGroup, 298, 94, 59, 54},
        {thiocyanateGroup, 372, 94, 59, 54},
        {chlorideGroup, 444, 94, 59, 54},
        {firstConcentrationBox, 318, 194, 35, 19},
        {secondConcentrationBox, 398, 194, 33, 19},
        {thirdConcentrationBox, 318, 237, 35, 19},
        {fourthConcentrationBox, 398, 237, 32, 19},
        {firstExponentBox, 445, 182, 15, 19},
        {secondExponentBox, 445, 225, 15, 19},
    });
    setDirectionGroupsVisible(false);
    setAnswerBoxesVisible(false);
    // The player reaches 4 px into the link band; its bottom rows are blank, so the links
    // may lie above it and keep their tops.
    nextLink->raise();
    finishLink->raise();

    // What a screen reader says for each control.
    ironChlorideGroup->setAccessibleName(
        QStringLiteral("Смещение равновесия при добавлении FeCl3"));
    thiocyanateGroup->setAccessibleName(QStringLiteral("Смещение равновесия при добавлении KSCN"));
    chlorideGroup->setAccessibleName(QStringLiteral("Смещение равновесия при добавлении KCl"));
    for (RadioGroup* group : {ironChlorideGroup, thiocyanateGroup, chlorideGroup}) {
        group->button(0)->setAccessibleName(QStringLiteral("вправо"));
        group->button(1)->setAccessibleName(QStringLiteral("влево"));
    }
    firstConcentrationBox->setAccessibleName(QStringLiteral("Первая концентрация"));
    secondConcentrationBox->setAccessibleName(QStringLiteral("Вторая концентрация"));
    thirdConcentrationBox->setAccessibleName(QStringLiteral("Третья концентрация"));
    fourthConcentrationBox->setAccessibleName(QStringLiteral("Четвёртая концентрация"));
    firstExponentBox->setAccessibleName(QStringLiteral("Первый показатель степени"));
    secondExponentBox->setAccessibleName(QStringLiteral("Второй показатель степени"));
    attachExperimentChrome(this, background, closeGlyph, closeSpot, nextLink, finishLink);
    connect(nextLink, &LinkLabel::clicked, this, &EquilibriumWindow::onNextClicked);
    connect(finishLink, &LinkLabel::clicked, this, &EquilibriumWindow::onFinishClicked);
    connect(ironChlorideGroup, &RadioGroup::clicked, this,
            &EquilibriumWindow::onIronChlorideChosen);
    connect(thiocyanateGroup, &RadioGroup::clicked, this, &EquilibriumWindow::onThiocyanateChosen);
    connect(chlorideGroup, &RadioGroup::clicked, this, &EquilibriumWindow::onChlorideChosen);
    loadContents();
}

void EquilibriumWindow::loadContents() {
    loadPicture(background, QStringLiteral("\\BackGround\\Opit.jpg"));
    grading = EquilibriumGrading{};
}

void EquilibriumWindow::prepareRun() {
    nextLink->show();
    ironChlorideGroup->hide();
    thiocyanateGroup->hide();
    chlorideGroup->hide();
    setAnswerBoxesVisible(false);
    // A new run starts clean: no direction chosen, empty answer boxes, the full grade again.
    for (RadioGroup* group : {ironChlorideGroup, thiocyanateGroup, chlorideGroup}) {
        const QSignalBlocker quiet(group);
        group->setItemIndex(-1);
    }
    for (int box = 1; box <= AnswerBoxCount; ++box) answerBox(box)->clear();
    grading = EquilibriumGrading{};
}

void EquilibriumWindow::onActivated() {
    movieEndWatch->setEnabled(true);
}

QLineEdit* EquilibriumWindow::answerBox(int box) const {
    QLineEdit* const boxes[AnswerBoxCount] = {firstConcentrationBox, secondConcentrationBox,
                                              thirdConcentrationBox, fourthConcentrationBox,
                                              firstExponentBox,      secondExponentBox};
    return boxes[box - 1];
}

void EquilibriumWindow::setDirectionGroupsVisible(bool visible) {
    chlorideGroup->setVisible(visible);
    thiocyanateGroup->setVisible(visible);
    ironChlorideGroup->setVisible(visible);
}

void EquilibriumWindow::setAnswerBoxesVisible(bool visible) {
    for (int box = 1; box <= AnswerBoxCount; ++box) answerBox(box)->setVisible(visible);
}

void EquilibriumWindow::onNextClicked() {
    LabState.movieStep += 1;
    if (LabState.movieStep == 2 || LabState.movieStep == 3) nextLink->hide();
    if (LabState.movieStep == 5) {
        QStringList texts;
        for (int box = 1; box <= AnswerBoxCount; ++box) texts.append(answerBox(box)->text());
        if (answerBoxesRight(texts)) {
            setAnswerBoxesVisible(false);
            recordScore(4, grading.recordedGrade());
        } else {
            LabState.movieStep = 4;
            showMessageBox(QStringLiteral("Вы не правы!!!"));
            grading.answerBoxGrade = 4;
        }
    }
    if (LabState.movieStep == 6) nextLink->hide();
    loadMovie(movie, QStringLiteral("\\Movie\\Opyt4\\%1.swf").arg(LabState.movieStep));
}

void EquilibriumWindow::onFinishClicked() {
    returnToMainWindow(this);
}

void EquilibriumWindow::atMovieEnd() {
    if (LabState.movieStep == 2) nextLink->show();
    if (LabState.movieStep == 3) setDirectionGroupsVisible(true);
}

void EquilibriumWindow::onIronChlorideChosen() {
    judgeDirection(1);
}

void EquilibriumWindow::onThiocyanateChosen() {
    judgeDirection(2);
}

void EquilibriumWindow::onChlorideChosen() {
    judgeDirection(3);
}

void EquilibriumWindow::judgeDirection(int group) {
    RadioGroup* const groups[DirectionGroupCount] = {ironChlorideGroup, thiocyanateGroup,
                                                     chlorideGroup};
    const int chosen = groups[group - 1]->itemIndex();
    if (chosen == 1 - rightDirection(group)) {
        showMessageBox(QStringLiteral("Вы не правы!!!"));
        grading.directionGrade = 4;
    }
    if (chosen == rightDirection(group)) showMessageBox(QStringLiteral("Вы правы!!!"));
    const int all[DirectionGroupCount] = {
        ironChlorideGroup->itemIndex(), thiocyanateGroup->itemIndex(), chlorideGroup->itemIndex()};
    if (allDirectionsRight(all)) {
        setDirectionGroupsVisible(false);
        onNextClicked();
        setAnswerBoxesVisible(true);
        nextLink->show();
    }
}
