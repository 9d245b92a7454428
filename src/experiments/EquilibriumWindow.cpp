#include "experiments/EquilibriumWindow.h"

#include <QLabel>
#include <QLineEdit>

#include "experiments/ExperimentWindowParts.h"
#include "movie/MoviePlayer.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "students/StudentStore.h"
#include "toolkit/Controls.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabTimer.h"
#include "toolkit/MessageBoxes.h"

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

TForm7::TForm7(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт 4 Смешение химического равновесия обратимой реакции"),
                QSize(715, 505), Border::None, parent) {
    Image1 = new Picture(this);
    Label1 = makeTitleLabel(this, QStringLiteral("Опыт 4"), 21, false);
    Label2 = makeTitleLabel(
        this, QStringLiteral("Смещение химического равновесия обратимой реакции"), 19, true);
    Label14 = makeLinkLabel(this, QStringLiteral("Далее"));
    Label5 = makeLinkLabel(this, QStringLiteral("Закончить опыт"));
    Image3 = new Picture(this);
    Image2 = new Picture(this);
    Flash1 = new MoviePlayer(this);
    // The movies of this window start and stop themselves.
    Flash1->setPlay(false);
    Flash1->setLoop(false);
    RadioGroup1 = makeDirectionGroup(this);
    RadioGroup2 = makeDirectionGroup(this);
    RadioGroup3 = makeDirectionGroup(this);
    Edit1 = makeAnswerBox(this, false);
    Edit2 = makeAnswerBox(this, false);
    Edit3 = makeAnswerBox(this, false);
    Edit4 = makeAnswerBox(this, false);
    Edit5 = makeAnswerBox(this, true);
    Edit6 = makeAnswerBox(this, true);
    Timer1 = new LabTimer(10, this);

    placeControls({
        {Image1, 0, 0, 715, 505},
        {Label1, 15, 6, 74, 24},
        {Label2, 208, 16, 352, 44},
        {Label14, 11, 461, 62, 23},
        {Label5, 290, 461, 158, 23},
        {Image3, 698, 3, 13, 13},
        {Image2, 699, 2, 13, 13},
        {Flash1, 5, 65, 705, 400},
        {RadioGroup1, 298, 94, 59, 54},
        {RadioGroup2, 372, 94, 59, 54},
        {RadioGroup3, 444, 94, 59, 54},
        {Edit1, 318, 194, 35, 19},
        {Edit2, 398, 194, 33, 19},
        {Edit3, 318, 237, 35, 19},
        {Edit4, 398, 237, 32, 19},
        {Edit5, 445, 182, 15, 19},
        {Edit6, 445, 225, 15, 19},
    });
    ShowDirectionGroups(false);
    ShowAnswerBoxes(false);
    // The player reaches 4 px into the link band; its bottom rows are blank, so the links
    // may lie above it and keep their tops.
    Label14->raise();
    Label5->raise();

    attachExperimentChrome(this, Image1, Image2, Image3, Label14, Label5);
    connect(Label14, &LinkLabel::clicked, this, &TForm7::Label14Click);
    connect(Label5, &LinkLabel::clicked, this, &TForm7::Label5Click);
    connect(Timer1, &LabTimer::timeout, this, &TForm7::Timer1Timer);
    connect(RadioGroup1, &RadioGroup::clicked, this, &TForm7::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::clicked, this, &TForm7::RadioGroup2Click);
    connect(RadioGroup3, &RadioGroup::clicked, this, &TForm7::RadioGroup3Click);
    FormCreate();
}

void TForm7::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
    Grading = EquilibriumGrading{};
}

void TForm7::prepareRun() {
    Label14->show();
    RadioGroup1->hide();
    RadioGroup2->hide();
    RadioGroup3->hide();
    ShowAnswerBoxes(false);
}

void TForm7::FormActivate() {
    Timer1->setEnabled(true);
}

QLineEdit* TForm7::answerBox(int box) const {
    QLineEdit* const boxes[AnswerBoxCount] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6};
    return boxes[box - 1];
}

void TForm7::ShowDirectionGroups(bool visible) {
    RadioGroup3->setVisible(visible);
    RadioGroup2->setVisible(visible);
    RadioGroup1->setVisible(visible);
}

void TForm7::ShowAnswerBoxes(bool visible) {
    for (int box = 1; box <= AnswerBoxCount; ++box) answerBox(box)->setVisible(visible);
}

void TForm7::Label14Click() {
    LabState.MovieStep += 1;
    if (LabState.MovieStep == 2 || LabState.MovieStep == 3) Label14->hide();
    if (LabState.MovieStep == 5) {
        QStringList texts;
        for (int box = 1; box <= AnswerBoxCount; ++box) texts.append(answerBox(box)->text());
        if (answerBoxesRight(texts)) {
            ShowAnswerBoxes(false);
            RecordScore(4, Grading.recordedGrade());
        } else {
            LabState.MovieStep = 4;
            showMessageBox(QStringLiteral("Вы не правы!!!"));
            Grading.AnswerBoxGrade = 4;
        }
    }
    if (LabState.MovieStep == 6) Label14->hide();
    LoadMovie(Flash1, QStringLiteral("\\Movie\\Opyt4\\%1.swf").arg(LabState.MovieStep));
}

void TForm7::Label5Click() {
    returnToMainWindow(this);
}

void TForm7::Timer1Timer() {
    if (!isVisible()) return;
    if (Flash1->FrameNum() != Flash1->TotalFrames() - 1) return;
    Flash1->Stop();
    if (LabState.MovieStep == 2) Label14->show();
    if (LabState.MovieStep == 3) ShowDirectionGroups(true);
}

void TForm7::RadioGroup1Click() {
    judgeDirection(1);
}

void TForm7::RadioGroup2Click() {
    judgeDirection(2);
}

void TForm7::RadioGroup3Click() {
    judgeDirection(3);
}

void TForm7::judgeDirection(int group) {
    RadioGroup* const groups[DirectionGroupCount] = {RadioGroup1, RadioGroup2, RadioGroup3};
    const int chosen = groups[group - 1]->itemIndex();
    if (chosen == 1 - rightDirection(group)) {
        showMessageBox(QStringLiteral("Вы не правы!!!"));
        Grading.DirectionGrade = 4;
    }
    if (chosen == rightDirection(group)) showMessageBox(QStringLiteral("Вы правы!!!"));
    const int all[DirectionGroupCount] = {RadioGroup1->itemIndex(), RadioGroup2->itemIndex(),
                                          RadioGroup3->itemIndex()};
    if (allDirectionsRight(all)) {
        ShowDirectionGroups(false);
        Label14Click();
        ShowAnswerBoxes(true);
        Label14->show();
    }
}
