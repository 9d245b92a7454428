#include "experiments/CatalystWindow.h"

#include <QLabel>

#include "experiments/ExperimentWindowParts.h"
#include "movie/MoviePlayer.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "students/StudentStore.h"
#include "toolkit/Controls.h"
#include "toolkit/LabTimer.h"
#include "toolkit/MessageBoxes.h"

namespace {
// A captionless option placed beside its text in the movie.
RadioButton* makeOption(QWidget* parent) {
    auto* option = new RadioButton(QString(), parent);
    option->setAutoFillBackground(true);
    option->setStyleSheet(QStringLiteral("QRadioButton { background: white; }"));
    return option;
}

constexpr double GradeAfterWrongOption = 2.5;
}  // namespace

TForm6::TForm6(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт3 Влияние катализатора на скорость реакции"), QSize(715, 505),
                Border::None, parent) {
    Image1 = new Picture(this);
    Label1 = makeTitleLabel(this, QStringLiteral("Опыт 3"), 21, false);
    Label2 =
        makeTitleLabel(this, QStringLiteral("Влияние катализатора на скорость реакции"), 19, true);
    Label14 = makeLinkLabel(this, QStringLiteral("Далее"));
    Label5 = makeLinkLabel(this, QStringLiteral("Закончить опыт"));
    Image3 = new Picture(this);
    Image2 = new Picture(this);
    Flash1 = new MoviePlayer(this);
    RadioButton1 = makeOption(this);
    RadioButton2 = makeOption(this);
    Timer1 = new LabTimer(10, this);

    placeControls({
        {Image1, 0, 0, 715, 505},
        {Label1, 15, 6, 74, 24},
        {Label2, 255, 19, 249, 44},
        {Label14, 11, 461, 62, 23},
        {Label5, 290, 461, 158, 23},
        {Image3, 698, 3, 13, 13},
        {Image2, 699, 2, 13, 13},
        {Flash1, 5, 65, 705, 350},
        {RadioButton1, 61, 190, 15, 17},
        {RadioButton2, 61, 215, 16, 17},
    });
    RadioButton1->hide();
    RadioButton2->hide();

    attachExperimentChrome(this, Image1, Image2, Image3, Label14, Label5);
    connect(Label14, &LinkLabel::clicked, this, &TForm6::Label14Click);
    connect(Label5, &LinkLabel::clicked, this, &TForm6::Label5Click);
    connect(Timer1, &LabTimer::timeout, this, &TForm6::Timer1Timer);
    connect(RadioButton1, &RadioButton::clickedOn, this, &TForm6::RadioButton1Click);
    connect(RadioButton2, &RadioButton::clickedOn, this, &TForm6::RadioButton2Click);
    FormCreate();
}

void TForm6::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
    Grade = 5;
}

void TForm6::prepareRun() {
    Label14->show();
    RadioButton1->hide();
    RadioButton2->hide();
}

void TForm6::FormActivate() {
    Timer1->setEnabled(true);
}

void TForm6::Label14Click() {
    LabState.MovieStep += 1;
    Label14->hide();
    if (LabState.MovieStep == 3) {
        RadioButton1->show();
        RadioButton2->show();
    }
    LoadMovie(Flash1, QStringLiteral("\\Movie\\Opyt3\\%1.swf").arg(LabState.MovieStep));
}

void TForm6::Label5Click() {
    returnToMainWindow(this);
}

void TForm6::Timer1Timer() {
    if (Flash1->FrameNum() != Flash1->TotalFrames() - 1) return;
    Flash1->Stop();
    if (LabState.MovieStep == 2) Label14->show();
}

void TForm6::RadioButton1Click() {
    showMessageBox(QStringLiteral("Нет, вы не правы!!!"));
    Grade = GradeAfterWrongOption;
}

void TForm6::RadioButton2Click() {
    LabState.MovieStep += 1;
    LoadMovie(Flash1, QStringLiteral("\\Movie\\Opyt3\\%1.swf").arg(LabState.MovieStep));
    RadioButton1->hide();
    RadioButton2->hide();
    RecordScore(3, Grade);
}
