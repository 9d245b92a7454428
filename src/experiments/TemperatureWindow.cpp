#include "experiments/TemperatureWindow.h"

#include <QLabel>
#include <QPushButton>

#include "concentration/ConcentrationWindow.h"
#include "concentration/MeasurementTable.h"
#include "experiments/ExperimentWindowParts.h"
#include "experiments/HeadingStrip14.h"
#include "movie/MoviePlayer.h"
#include "shell/Forms.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "shell/MainWindow.h"
#include "students/StudentStore.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabTimer.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/StringGrid.h"

namespace {
const QString WrongCoefficientMessage =
    QStringLiteral("Температурный коэффициент рассчитан неверно. Попробуйте еще раз");

StaticText* makeStaticText(QWidget* parent, std::uint32_t textColor, const QFont& font,
                           bool autoSize) {
    auto* text = new StaticText(parent);
    text->setColors(textColor, LabColors::White);
    text->setFont(font);
    text->setAutoSize(autoSize);
    return text;
}

FilteredEdit* makeAnswerBox(QWidget* parent) {
    auto* edit = new FilteredEdit(parent);
    edit->setFlat(true);
    return edit;
}
}  // namespace

TForm5::TForm5(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт2 Влияние температуры на скорость реакции"), QSize(715, 505),
                Border::None, parent) {
    createControls();
    connectHandlers();
    FormCreate();
}

void TForm5::createControls() {
    const QFont navy13 = labFont(QStringLiteral("MS Sans Serif"), 13, true);
    const QFont result16 = labFont(QStringLiteral("MS Sans Serif"), 16, true);

    Image1 = new Picture(this);
    Label2 =
        makeTitleLabel(this, QStringLiteral("Влияние температуры на скорость реакции"), 19, true);
    Label1 = makeTitleLabel(this, QStringLiteral("Опыт 2"), 21, false);
    Label14 = makeLinkLabel(this, QStringLiteral("Далее"));
    Label5 = makeLinkLabel(this, QStringLiteral("Закончить опыт"));
    Image3 = new Picture(this);
    Image2 = new Picture(this);
    Flash1 = new MoviePlayer(this);
    StringGrid1 = new StringGrid(this);
    StaticText1 = makeStaticText(this, LabColors::Navy, navy13, false);
    StaticText2 = makeStaticText(this, LabColors::Navy, navy13, true);
    StaticText3 = makeStaticText(this, LabColors::Navy, navy13, true);
    Button2 = makeButton(this, QStringLiteral("Старт"), true);
    Button3 = makeButton(this, QStringLiteral("Стоп"), true);
    // Sized to its text: "00:00" in this font is wider than the place the layout gives it.
    StaticText4 =
        makeStaticText(this, LabColors::Black, labFont(QStringLiteral("Arial"), 21, true), true);
    Edit1 = makeAnswerBox(this);
    Edit2 = makeAnswerBox(this);
    Edit3 = makeAnswerBox(this);
    Edit4 = makeAnswerBox(this);
    Button1 = makeButton(this, QStringLiteral("ОК"), false);
    Button4 = makeButton(this, QStringLiteral("ОК"), false);
    StaticText5 = makeStaticText(this, LabColors::Black, result16, false);
    StaticText6 = makeStaticText(this, LabColors::Black, result16, false);
    setUpTable();
    Frame14 =
        new TFrame14({StringGrid1->colWidth(0), StringGrid1->colWidth(1), StringGrid1->colWidth(2),
                      StringGrid1->colWidth(3), StringGrid1->colWidth(4)},
                     this);
    Timer1 = new LabTimer(10, this);
    Timer2 = new LabTimer(10, this);
    Timer3 = new LabTimer(1000, this);
    Timer4 = new LabTimer(10, this);

    placeControls({
        {Image1, 0, 0, 715, 505},        {Label2, 249, 17, 246, 44},
        {Label1, 15, 6, 74, 24},         {Label14, 11, 461, 62, 23},
        {Label5, 290, 461, 158, 23},     {Image3, 698, 3, 13, 13},
        {Image2, 699, 2, 13, 13},        {Flash1, 4, 63, 705, 350},
        {StringGrid1, 8, 384, 425, 74},  {StaticText1, 8, 363, 80, 20},
        {StaticText2, 110, 252, 81, 20}, {StaticText3, 110, 271, 81, 20},
        {Button2, 604, 279, 50, 25},     {Button3, 653, 279, 50, 25},
        {StaticText4, 628, 247, 34, 28}, {Edit1, 324, 139, 41, 19},
        {Edit2, 324, 169, 41, 19},       {Edit3, 324, 219, 41, 19},
        {Edit4, 324, 249, 41, 19},       {Button1, 378, 150, 37, 25},
        {Button4, 378, 230, 37, 25},     {StaticText5, 442, 152, 95, 24},
        {StaticText6, 440, 231, 95, 24}, {Frame14, 8, 385, 425, 16},
    });

    StaticText1->setCaption(QStringLiteral("Таблица 2"));
    StringGrid1->setEnabled(false);
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{Button2, Button3, StaticText4, Edit1, Edit2, Edit3, Edit4,
                                         Button1, Button4, StaticText5, StaticText6})
        hidden->hide();
    Button3->setEnabled(false);
}

void TForm5::connectHandlers() {
    attachExperimentChrome(this, Image1, Image2, Image3, Label14, Label5);
    connect(Label14, &LinkLabel::clicked, this, &TForm5::Label14Click);
    connect(Label5, &LinkLabel::clicked, this, &TForm5::Label5Click);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm5::Button4Click);
    connect(Timer1, &LabTimer::timeout, this, &TForm5::Timer1Timer);
    connect(Timer2, &LabTimer::timeout, this, &TForm5::Timer2Timer);
    connect(Timer3, &LabTimer::timeout, this, &TForm5::Timer3Timer);
    connect(Timer4, &LabTimer::timeout, this, &TForm5::Timer4Timer);
    for (FilteredEdit* box : {Edit1, Edit2, Edit3, Edit4})
        box->setKeyPressHandler([this](unsigned char& key) { Edit1KeyPress(key); });
}

void TForm5::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
    Grading = TemperatureGrading{};
}

void TForm5::prepareRun() {
    StaticText2->show();
    StaticText3->show();
    StaticText4->hide();
    StaticText5->hide();
    StaticText6->hide();
    StringGrid1->move(StringGrid1->x(), 384);
    StringGrid1->resize(StringGrid1->width(), 74);
    StaticText1->move(StaticText1->x(), 363);
    Frame14->move(Frame14->x(), 385);
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, Button2, Button3, Button4, Edit1,
                                                      Edit2, Edit3, Edit4})
        w->hide();
    Label14->show();
    StringGrid1->setEnabled(true);
}

void TForm5::FormActivate() {
    if (Form1) {
        StaticText2->setCaption(Form1->StaticText1->text());
        StaticText3->setCaption(Form1->StaticText2->text());
    }
    if (Form4) StringGrid1->setCell(1, 1, Form4->StringGrid1->cell(5, 1));
    StringGrid1->setCell(2, 1, QStringLiteral("25"));
    StringGrid1->setCell(2, 2, QStringLiteral("35"));
    StringGrid1->setCell(2, 3, QStringLiteral("45"));
    if (Form4) StringGrid1->setCell(3, 1, Form4->StringGrid1->cell(6, 1));
    Timer4->setEnabled(true);
}

void TForm5::Label14Click() {
    LabState.MovieStep += 1;
    StaticText4->setCaption(QStringLiteral("00:00"));
    Label14->hide();
    const int step = LabState.MovieStep;
    if (step == 2 || step == 3) {
        startCollapse();
        StaticText2->hide();
        StaticText3->hide();
        StaticText4->show();
        Button2->show();
        Button3->show();
    }
    if (step == 4) {
        if (RequireColumn(1, QStringLiteral("Столбец \"Время, c\" не может быть пуст")) &&
            RequireColumn(2, QStringLiteral("Столбец \"T oC\" не может быть пуст"))) {
            Button2->hide();
            Button3->hide();
            StaticText4->hide();
            ShowCoefficientInputs(true);
            StringGrid1->setEnabled(false);
            // The student reads the rates from the table from now on; a table left collapsed
            // would hide them behind a control that no longer takes clicks.
            startExpand();
            if (computeRates()) StringGrid1->setCell(4, 1, QStringLiteral("-"));
        }
    }
    loadStepMovie();
}

void TForm5::loadStepMovie() {
    const int step = LabState.MovieStep;
    if (step == 2 || step == 3)
        LoadMovie(
            Flash1,
            QStringLiteral("\\Movie\\Opyt2\\%1_%2.swf").arg(step).arg(LabState.VariantNumber));
    else
        LoadMovie(Flash1, QStringLiteral("\\Movie\\Opyt2\\%1.swf").arg(step));
}

void TForm5::Label5Click() {
    ShowCoefficientInputs(false);
    returnToMainWindow(this);
}

void TForm5::Timer4Timer() {
    if (Flash1->FrameNum() != Flash1->TotalFrames() - 1) return;
    Flash1->Stop();
    if (LabState.MovieStep == 2 || LabState.MovieStep == 3) Label14->show();
}

void TForm5::ShowCoefficientInputs(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Edit4, Button1, Button4,
                                                      StaticText5, StaticText6})
        w->setVisible(visible);
    StaticText5->setCaption(QString());
    StaticText6->setCaption(QString());
}

// The answer boxes take what the measurement tables take: digits, the comma, Backspace, Enter.
void TForm5::Edit1KeyPress(unsigned char& key) {
    NumericKeyFilter(key);
}

void TForm5::Button1Click() {
    checkCoefficient(1);
}

void TForm5::Button4Click() {
    checkCoefficient(2);
}

void TForm5::checkCoefficient(int coefficient) {
    const bool first = coefficient == 1;
    const CoefficientCheck check =
        ::checkCoefficient((first ? Edit1 : Edit3)->text(), (first ? Edit2 : Edit4)->text(),
                           StringGrid1->cell(3, first ? 2 : 3), StringGrid1->cell(3, first ? 1 : 2),
                           first ? HalfRounding::ToEven : HalfRounding::AwayFromZero);
    switch (check.outcome) {
        case CoefficientCheck::Outcome::Accepted:
            StringGrid1->setCell(4, first ? 2 : 3, check.coefficientText);
            (first ? StaticText5 : StaticText6)->setCaption(check.coefficientText);
            if (Grading.accept(coefficient)) RecordScore(2, Grading.Grade);
            break;
        case CoefficientCheck::Outcome::Rejected:
            showMessageBox(WrongCoefficientMessage);
            Grading.reject();
            break;
        case CoefficientCheck::Outcome::Unreadable:
            break;
    }
    finishWhenBothShown();
}

void TForm5::finishWhenBothShown() {
    if (StaticText5->text().isEmpty() || StaticText6->text().isEmpty()) return;
    ShowCoefficientInputs(false);
    LabState.MovieStep += 1;
    LoadMovie(Flash1, QStringLiteral("\\Movie\\Opyt2\\5.swf"));
}
