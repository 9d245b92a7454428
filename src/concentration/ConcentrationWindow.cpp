#include "concentration/ConcentrationWindow.h"

#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <initializer_list>
#include <optional>

#include "concentration/GraphWindow.h"
#include "concentration/HeadingStrip.h"
#include "concentration/MeasurementTable.h"
#include "concentration/ReferenceData.h"
#include "movie/MoviePlayer.h"
#include "shell/Forms.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "shell/MainWindow.h"
#include "shell/Numbers.h"
#include "shell/WindowChrome.h"
#include "toolkit/Clock.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabTimer.h"
#include "toolkit/StringGrid.h"

namespace {
// The table's starting layout; the slides move it in steps of 5 pixels between these heights.
constexpr int TableTop = 369;
constexpr int TableCaptionTop = 349;
constexpr int StripTop = 370;
constexpr int ExpandedHeight = 89;
constexpr int CollapsedLimit = 20;
constexpr int SlideStep = 5;

constexpr double MsPerDay = 86400000.0;

template <typename T>
T* labelled(T* widget, const QString& text, const QFont& font) {
    widget->setText(text);
    widget->setFont(font);
    return widget;
}

QString stepMoviePath(int step, int variant) {
    if (step >= 4) return QStringLiteral("\\Movie\\Opyt1\\%1_%2.swf").arg(step).arg(variant);
    return QStringLiteral("\\Movie\\Opyt1\\%1.swf").arg(step);
}

QString stopwatchText(std::int64_t elapsedMs) {
    // Minutes and seconds of the elapsed time; hours are not shown.
    const std::int64_t seconds = (elapsedMs / 1000) % 3600;
    return QStringLiteral("%1:%2")
        .arg(int(seconds / 60), 2, 10, QLatin1Char('0'))
        .arg(int(seconds % 60), 2, 10, QLatin1Char('0'));
}
}  // namespace

TForm4::TForm4(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт1 Влияние концентрации на скорость реакции"), QSize(715, 505),
                Border::None, parent) {
    createControls();
    FormCreate();
}

void TForm4::createControls() {
    const QFont title21 = labFont(QStringLiteral("Arial"), 21, true);
    const QFont title19 = labFont(QStringLiteral("Arial"), 19, true);
    const QFont link = labFont(QStringLiteral("Arial Black"), 16, true);
    const QFont caption13 = labFont(QStringLiteral("MS Sans Serif"), 13, true);
    const QFont button13 = labFont(QStringLiteral("Arial"), 13, true);

    // Creation order is stacking order (later above) and, for the controls that take the
    // focus, tab order.
    Image1 = new Picture(this);
    Label1 = labelled(new QLabel(this), QStringLiteral("Опыт 1"), title21);
    Label2 = labelled(new QLabel(this), QStringLiteral("Влияние концентрации на скорость реакции"),
                      title19);
    Label14 = labelled(new LinkLabel(QString(), this), QStringLiteral("Далее"), link);
    Label5 = labelled(new LinkLabel(QString(), this), QStringLiteral("Закончить опыт"), link);
    Label8 = labelled(new LinkLabel(QString(), this), QStringLiteral("График"), link);
    Image3 = new Picture(this);
    Image2 = new Picture(this);
    StringGrid1 = new StringGrid(this);
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Edit1 = new FilteredEdit(this);
    Edit2 = new FilteredEdit(this);
    Edit3 = new FilteredEdit(this);
    Edit4 = new FilteredEdit(this);
    Edit5 = new FilteredEdit(this);
    Edit6 = new FilteredEdit(this);
    Flash1 = new MoviePlayer(this);
    StaticText1 = labelled(new StaticText(this), QStringLiteral("Таблица 1"), caption13);
    StaticText2 = labelled(new StaticText(this), QString(), caption13);
    StaticText3 = labelled(new StaticText(this), QString(), caption13);
    StaticText4 = labelled(new StaticText(this), QStringLiteral("....."), title21);
    Button2 = labelled(new QPushButton(this), QStringLiteral("Старт"), button13);
    Button3 = labelled(new QPushButton(this), QStringLiteral("Стоп"), button13);
    Frame13 = new TFrame13(this);
    // The movie lies under the table, the calculator and the stopwatch that cover parts of it.
    Flash1->stackUnder(StringGrid1);

    struct Place {
        QWidget* widget;
        int x, y, w, h;  // w = 0: sized to its content
        bool visible;
    };
    const std::initializer_list<Place> layout = {
        {Image1, 0, 0, 715, 505, true},
        {Label1, 15, 6, 0, 0, true},
        {Label2, 239, 17, 250, 44, true},
        {Label14, 11, 461, 0, 0, true},
        {Label5, 290, 461, 0, 0, true},
        {Label8, 106, 461, 0, 0, false},
        {Image3, 698, 3, 13, 13, true},
        {Image2, 699, 2, 13, 13, false},
        {Flash1, 5, 64, 705, 350, true},
        {StringGrid1, 10, TableTop, 575, ExpandedHeight, true},
        {Button1, 430, 274, 33, 25, false},
        {Edit1, 321, 262, 41, 19, false},
        {Edit2, 388, 262, 25, 19, false},
        {Edit3, 307, 294, 25, 19, false},
        {Edit4, 350, 294, 25, 19, false},
        {Edit5, 395, 294, 25, 19, false},
        {Edit6, 486, 277, 33, 19, false},
        {StaticText1, 11, TableCaptionTop, 80, 20, true},
        {StaticText2, 109, 92, 0, 0, false},
        {StaticText3, 109, 112, 0, 0, false},
        {StaticText4, 627, 284, 34, 28, false},
        {Button2, 604, 316, 50, 25, false},
        {Button3, 653, 316, 50, 25, false},
        {Frame13, 10, StripTop, 575, 16, true},
    };
    for (const Place& p : layout) {
        if (p.w > 0) {
            p.widget->setGeometry(p.x, p.y, p.w, p.h);
        } else {
            p.widget->move(p.x, p.y);
            p.widget->adjustSize();
        }
        p.widget->setVisible(p.visible);
    }

    for (QLabel* l : {Label1, Label2}) l->setAttribute(Qt::WA_TranslucentBackground);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);

    for (StaticText* t : {StaticText1, StaticText2, StaticText3})
        t->setColors(LabColors::Navy, LabColors::White);
    StaticText4->setColors(LabColors::Black, LabColors::White);
    // The variant texts and the stopwatch grow with their text.
    for (StaticText* t : {StaticText2, StaticText3, StaticText4}) t->setAutoSize(true);

    for (FilteredEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) e->setFlat(true);
    Edit6->setReadOnly(true);
    Button3->setEnabled(false);

    StringGrid1->setColCount(MeasurementTable::Columns);
    StringGrid1->setRowCountCells(MeasurementTable::Rows);
    StringGrid1->setDefaultColWidth(48);
    StringGrid1->setDefaultRowHeight(16);
    StringGrid1->setColWidth(5, 63);
    StringGrid1->setColWidth(6, 125);
    StringGrid1->setEditingAllowed(true);
    StringGrid1->setFont(labFont(QStringLiteral("MS Sans Serif"), 11));
    StringGrid1->setFrameShape(QFrame::Box);
    StringGrid1->setLineWidth(1);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->viewport()->setCursor(Qt::PointingHandCursor);
    QPalette gridPalette = StringGrid1->palette();
    gridPalette.setColor(QPalette::Base, Qt::white);
    StringGrid1->setPalette(gridPalette);
    StringGrid1->setSelectCellHandler(
        [](int col, int row) { return MeasurementTable::isSelectable(col, row); });
    StringGrid1->setKeyPressHandler(NumericKeyFilter);

    Timer1 = new LabTimer(10, this);
    Timer2 = new LabTimer(10, this);
    Timer3 = new LabTimer(1000, this);
    Timer4 = new LabTimer(10, this);

    connect(Label14, &LinkLabel::clicked, this, &TForm4::Label14Click);
    connect(Label5, &LinkLabel::clicked, this, &TForm4::Label5Click);
    connect(Label8, &LinkLabel::clicked, this, &TForm4::Label8Click);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm4::Button3Click);
    connect(Timer1, &LabTimer::timeout, this, &TForm4::Timer1Timer);
    connect(Timer2, &LabTimer::timeout, this, &TForm4::Timer2Timer);
    connect(Timer3, &LabTimer::timeout, this, &TForm4::Timer3Timer);
    connect(Timer4, &LabTimer::timeout, this, &TForm4::Timer4Timer);

    // The calculator boxes take numbers only; Enter walks on through the boxes, from the last
    // one back to the first volume.
    auto enterMovesTo = [](FilteredEdit* next) {
        return [next](unsigned char& key) {
            NumericKeyFilter(key);
            if (key == 13) next->setFocus(Qt::TabFocusReason);
        };
    };
    Edit1->setKeyPressHandler(enterMovesTo(Edit2));
    Edit2->setKeyPressHandler(enterMovesTo(Edit3));
    Edit3->setKeyPressHandler(enterMovesTo(Edit4));
    Edit4->setKeyPressHandler(enterMovesTo(Edit5));
    Edit5->setKeyPressHandler(enterMovesTo(Edit2));

    attachBorderlessChrome(
        {this, Image1, Image2, Image3, {Label14, Label5, Label8}, [this] { Image2Click(); }});
}

void TForm4::FormCreate() {
    LoadPicture(Image1, QStringLiteral("\\BackGround\\Opit.jpg"));
    loadReferenceData();
    setupMeasurementTable(StringGrid1);
    QList<int> widths;
    for (int c = 0; c < StringGrid1->colCount(); ++c) widths.append(StringGrid1->colWidth(c));
    Frame13->setColumnWidths(widths);
}

void TForm4::prepareRun() {
    StaticText2->hide();
    StaticText3->hide();
    StaticText4->hide();
    StaticText1->move(StaticText1->x(), TableCaptionTop);
    StringGrid1->setGeometry(StringGrid1->x(), TableTop, StringGrid1->width(), ExpandedHeight);
    Frame13->move(Frame13->x(), StripTop);
    for (FilteredEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) e->hide();
    for (QPushButton* b : {Button1, Button2, Button3}) b->hide();
    Label14->show();
}

void TForm4::FormActivate() {
    if (Form1) {
        StaticText2->setCaption(Form1->StaticText1->text());
        StaticText3->setCaption(Form1->StaticText2->text());
    }
    Timer4->setEnabled(true);
}

void TForm4::SetCalculatorVisible(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Edit4, Edit5, Edit6,
                                                      Button1, StaticText2, StaticText3})
        w->setVisible(visible);
}

void TForm4::Label14Click() {
    int& step = LabState.MovieStep;
    step += 1;
    StaticText4->setCaption(QStringLiteral("00:00"));
    if (step == 2) SetCalculatorVisible(true);
    if (step == 3 && RequireColumn(StringGrid1, MeasurementTable::ConcentrationColumn,
                                   concentrationColumnMessage()))
        SetCalculatorVisible(false);
    if (step >= 4 && step <= 6) {
        StaticText4->show();
        startCollapse();
        Button2->show();
        Button3->show();
    }
    if (step == 8) {
        Timer4->setEnabled(false);
        if (RequireColumn(StringGrid1, MeasurementTable::ConcentrationColumn,
                          concentrationColumnMessage()) &&
            RequireColumn(StringGrid1, MeasurementTable::TimeColumn, timeColumnMessage()))
            runStep8();
    }
    loadStepMovie();
}

// Rates, "График" and the graph window, as one unit: whatever fails ends the press silently and
// leaves what was done before it.
void TForm4::runStep8() {
    Label14->hide();
    if (!computeRates(StringGrid1)) return;
    Label8->show();
    if (!Form8) return;
    LoadPicture(Form8->Image1, QStringLiteral("\\Restextout\\6.jpg"));
    Form8->showGraph(TForm8::Failures::Silent);
}

void TForm4::loadStepMovie() {
    const int step = LabState.MovieStep;
    if (step >= 8) return;
    LoadMovie(Flash1, stepMoviePath(step, LabState.VariantNumber));
}

void TForm4::Label5Click() {
    if (Form1) Form1->showForm();
    closeForm();
}

void TForm4::Image2Click() {
    closeForm();
    if (Form1) Form1->showForm();
}

void TForm4::Label8Click() {
    if (Form8) Form8->showGraph(TForm8::Failures::Reported);
}

void TForm4::Button1Click() {
    std::optional<double> a[5];
    FilteredEdit* const boxes[5] = {Edit1, Edit2, Edit3, Edit4, Edit5};
    for (int i = 0; i < 5; ++i) {
        a[i] = parseNumber(boxes[i]->text());
        if (!a[i]) return;
    }
    // C' = C × V(Na2S2O3) / (V(Na2S2O3) + V(H2O) + V(H2SO4))
    const long double denominator =
        static_cast<long double>(*a[4]) + (*a[3] + static_cast<long double>(*a[2]));
    if (denominator == 0) return;
    const double result = double(static_cast<long double>(*a[1]) * *a[0] / denominator);
    if (!std::isfinite(result)) return;
    Edit6->setText(formatGeneral(result));
}

void TForm4::Button2Click() {
    LabState.StopwatchStart = double(labClock().monotonicMs()) / MsPerDay;
    Timer3->setEnabled(true);
    Button3->setEnabled(true);
    Button2->setEnabled(false);
}

void TForm4::Timer3Timer() {
    const std::int64_t start = std::llround(LabState.StopwatchStart * MsPerDay);
    const std::int64_t elapsed = std::max<std::int64_t>(0, labClock().monotonicMs() - start);
    LabState.StopwatchElapsed = double(elapsed) / MsPerDay;
    StaticText4->setCaption(stopwatchText(elapsed));
}

void TForm4::Button3Click() {
    Timer3->setEnabled(false);
    startExpand();
    Button3->setEnabled(false);
    Button2->setEnabled(true);
}

// The two slides never run together: each start stops the other, so the table cannot jitter.
void TForm4::startCollapse() {
    Timer2->setEnabled(false);
    Timer1->setEnabled(true);
}

void TForm4::startExpand() {
    Timer1->setEnabled(false);
    Timer2->setEnabled(true);
}

void TForm4::Timer1Timer() {
    if (StringGrid1->height() <= CollapsedLimit)
        Timer1->setEnabled(false);
    else
        slideTable(SlideStep);
}

void TForm4::Timer2Timer() {
    if (StringGrid1->height() >= ExpandedHeight)
        Timer2->setEnabled(false);
    else
        slideTable(-SlideStep);
}

void TForm4::slideTable(int delta) {
    StaticText1->move(StaticText1->x(), StaticText1->y() + delta);
    StringGrid1->setGeometry(StringGrid1->x(), StringGrid1->y() + delta, StringGrid1->width(),
                             StringGrid1->height() - delta);
    Frame13->move(Frame13->x(), Frame13->y() + delta);
}

void TForm4::Timer4Timer() {
    if (Flash1->FrameNum() != Flash1->TotalFrames() - 1) return;
    // Stopped on its last frame instead of looping back to the first.
    Flash1->Stop();
    const int step = LabState.MovieStep;
    if (step >= 4 && step <= 7) Label14->show();
}
