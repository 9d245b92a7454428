#include "concentration/GraphWindow.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "concentration/ConcentrationWindow.h"
#include "concentration/Experiment1Grade.h"
#include "concentration/MeasurementTable.h"
#include "concentration/ReferenceData.h"
#include "shell/Forms.h"
#include "shell/Loaders.h"
#include "shell/MainWindow.h"
#include "shell/Numbers.h"
#include "shell/WindowChrome.h"
#include "students/StudentStore.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabTimer.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/StringGrid.h"

namespace {
constexpr int LineSteps = 50;

// Chart texts keep their runs of blanks, which rich text would collapse.
QString keepBlanks(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
}

// An axis from 0 that holds the value with a little room, in about five steps of 1, 2, 2.5 or
// 5 times a power of ten.
using AxisScale = TForm8::AxisScale;

AxisScale niceAxisScale(double value) {
    if (!(value > 0) || !std::isfinite(value)) return {};
    const double target = value * 1.05;
    const double power = std::pow(10.0, std::floor(std::log10(target / 5)));
    AxisScale scale;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        scale.step = m * power;
        if (scale.step * 5 >= target) break;
    }
    scale.max = std::ceil(target / scale.step - 1e-9) * scale.step;
    scale.decimals = std::max(0, int(-std::floor(std::log10(scale.step) + 1e-9)) +
                                     (std::fmod(scale.step / power, 1.0) != 0 ? 1 : 0));
    return scale;
}

void applyScale(QValueAxis* axis, const AxisScale& scale) {
    axis->setTickInterval(scale.step);
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(scale.decimals) +
                         QStringLiteral("f"));
    axis->setRange(0, scale.max);
}

StringGrid* measurementGrid() {
    return Form4 ? Form4->StringGrid1 : nullptr;
}

// The number in a cell of the measurement table, or the text that is not one.
std::optional<QString> readCell(int column, int row, double* value) {
    StringGrid* grid = measurementGrid();
    const QString text = grid ? grid->cell(column, row) : QString();
    const std::optional<double> number = parseNumber(text);
    if (!number) return text;
    *value = *number;
    return std::nullopt;
}
}  // namespace

TForm8::TForm8(QWidget* parent)
    : LabWindow(QStringLiteral("График"), QSize(555, 486), Border::Tool, parent) {
    createControls();
}

void TForm8::createControls() {
    const QFont link = labFont(QStringLiteral("Arial Black"), 16, true);
    Chart1 = new QChartView(this);
    Chart1->setGeometry(0, 0, 555, 400);
    Image1 = new Picture(this);
    Image1->setGeometry(0, 400, 555, 85);
    Label14 = new LinkLabel(QStringLiteral("Далее"), this);
    Label5 = new LinkLabel(QStringLiteral("Назад"), this);
    for (LinkLabel* l : {Label14, Label5}) l->setFont(link);
    Label14->move(14, 455);
    Label5->move(480, 456);
    Label14->adjustSize();
    Label5->adjustSize();
    Label5->hide();
    Timer1 = new LabTimer(100, this);
    createChart();

    connect(Label14, &LinkLabel::clicked, this, &TForm8::Label14Click);
    connect(Label5, &LinkLabel::clicked, this, &TForm8::Label5Click);
    connect(Timer1, &LabTimer::timeout, this, &TForm8::Timer1Timer);
    // The links light up like those of the borderless windows; this window is not dragged.
    BorderlessChrome chrome;
    chrome.window = this;
    chrome.background = Image1;
    chrome.links = {Label14, Label5};
    chrome.drag = false;
    attachBorderlessChrome(chrome);
}

void TForm8::createChart() {
    auto* chart = new QChart();
    chart->setBackgroundRoundness(0);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, delphiColor(54015));
    chart->setBackgroundBrush(gradient);
    chart->setPlotAreaBackgroundVisible(false);
    chart->setAnimationOptions(QChart::GridAxisAnimations);
    // Axis numbers with the decimal comma, as every number in the windows.
    chart->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    chart->setLocalizeNumbers(true);
    chart->setTitleFont(labFont(QStringLiteral("Arial"), 15, true));
    chart->setTitleBrush(Qt::black);
    chart->setTitle(keepBlanks(QStringLiteral("  График зависимости условной скорости от ")) +
                    QStringLiteral("<br>") +
                    keepBlanks(QStringLiteral("концентрации тиосульфата натрия в растворе")));

    QLegend* legend = chart->legend();
    legend->setAlignment(Qt::AlignBottom);
    legend->setBackgroundVisible(true);
    legend->setBrush(Qt::NoBrush);
    legend->setPen(QPen(Qt::black, 1, Qt::DashDotDotLine));
    legend->setContentsMargins(33, 0, 33, 0);

    Series1 = new QLineSeries();
    Series1->setName(QStringLiteral("Эталон"));
    Series1->setPen(QPen(Qt::red, 2));
    Series1->setPointsVisible(true);
    Series1->setMarkerSize(2);
    Series2 = new QLineSeries();
    Series2->setName(QStringLiteral("Экспериментальная"));
    Series2->setPen(QPen(Qt::blue, 2));
    Series3 = new QScatterSeries();
    Series3->setName(QStringLiteral("Экспериментальная"));
    Series3->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    Series3->setMarkerSize(3);
    Series3->setColor(Qt::black);
    Series3->setBorderColor(Qt::black);
    chart->addSeries(Series1);
    chart->addSeries(Series2);
    chart->addSeries(Series3);
    for (QLegendMarker* m : legend->markers(Series3)) m->setVisible(false);

    const QFont axisFont = labFont(QStringLiteral("Arial"), 11, true);
    axisX_ = new QValueAxis();
    axisY_ = new QValueAxis();
    axisX_->setTitleText(keepBlanks(QStringLiteral("Концентрация  моль/л")));
    axisY_->setTitleText(keepBlanks(QStringLiteral("Скорость   1/с")));
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setTitleFont(axisFont);
        axis->setTitleBrush(Qt::black);
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(0);
        applyScale(axis, AxisScale{});
    }
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    for (QXYSeries* s : std::initializer_list<QXYSeries*>{Series1, Series2, Series3}) {
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
    // The view lets go of its default chart without deleting it.
    QChart* defaultChart = Chart1->chart();
    Chart1->setChart(chart);
    delete defaultChart;
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setRubberBand(QChartView::RectangleRubberBand);
}

QString TForm8::invalidNumberMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

// Points stay sorted by ascending x: a new point goes after every point with x not above it.
void TForm8::addPoint(QXYSeries* series, double x, double y) {
    const QList<QPointF> points = series->points();
    const auto at = std::upper_bound(points.begin(), points.end(), x,
                                     [](double v, const QPointF& p) { return v < p.x(); });
    series->insert(int(at - points.begin()), QPointF(x, y));
    rescaleAxes();
}

void TForm8::rescaleAxes() {
    double maxX = 0, maxY = 0;
    for (QXYSeries* s : std::initializer_list<QXYSeries*>{Series1, Series2, Series3}) {
        for (const QPointF& p : s->points()) {
            maxX = std::max(maxX, p.x());
            maxY = std::max(maxY, p.y());
        }
    }
    // Only a scale that really changes is set, so the axes do not twitch while the line grows.
    const AxisScale x = niceAxisScale(maxX);
    const AxisScale y = niceAxisScale(maxY);
    if (!(x == scaleX_)) applyScale(axisX_, scaleX_ = x);
    if (!(y == scaleY_)) applyScale(axisY_, scaleY_ = y);
}

int TForm8::chosenVariant() const {
    return Form1 && Form1->ComboBox1 ? Form1->ComboBox1->currentIndex() + 1 : 0;
}

bool TForm8::showGraph(Failures failures) {
    if (const std::optional<QString> bad = FormShow()) {
        if (failures == Failures::Reported) showErrorBox(invalidNumberMessage(*bad));
        return false;
    }
    showModalForm();
    return true;
}

std::optional<QString> TForm8::FormShow() {
    using namespace MeasurementTable;
    addPoint(Series3, 0, 0);
    for (int row = 1; row <= LastRow; ++row) {
        if (auto bad = readCell(ConcentrationColumn, row, &MeasuredC)) return bad;
        if (auto bad = readCell(RateColumn, row, &MeasuredV)) return bad;
        addPoint(Series3, MeasuredC, MeasuredV);
    }
    return std::nullopt;
}

std::optional<QString> TForm8::readTube4() {
    using namespace MeasurementTable;
    if (auto bad = readCell(ConcentrationColumn, LastRow, &MeasuredC)) return bad;
    return readCell(RateColumn, LastRow, &MeasuredV);
}

void TForm8::Label14Click() {
    std::optional<QString> bad = StartExperimentalLine();
    if (!bad) bad = GradeExperiment1();
    if (bad) {
        showErrorBox(invalidNumberMessage(*bad));
        return;
    }
    Label14->hide();
    Label5->show();
}

std::optional<QString> TForm8::StartExperimentalLine() {
    if (auto bad = readTube4()) return bad;
    // A line without slope (a concentration of zero) is not drawn: the reference line at once.
    if (!(MeasuredC > 0) || !std::isfinite(MeasuredC) || !std::isfinite(MeasuredV)) {
        DrawReferenceLine();
        return std::nullopt;
    }
    lineTick_ = 0;
    Timer1->setEnabled(true);
    return std::nullopt;
}

// Point k of 0..50 lies at k fiftieths of the tube-4 concentration. Counting the steps rather
// than adding up fiftieths makes the line end exactly on tube 4 after 51 points.
void TForm8::Timer1Timer() {
    LineX = lineTick_ >= LineSteps ? MeasuredC : MeasuredC * lineTick_ / LineSteps;
    const double y = LineX == MeasuredC ? MeasuredV : MeasuredV / MeasuredC * LineX;
    addPoint(Series2, LineX, y);
    ++lineTick_;
    if (LineX == MeasuredC) {
        Timer1->setEnabled(false);
        DrawReferenceLine();
    }
}

void TForm8::DrawReferenceLine() {
    addPoint(Series1, 0, 0);
    const int variant = chosenVariant();
    addPoint(Series1, referenceConcentrationOfTube4(variant), referenceRateOfTube4(variant));
    LoadPicture(Image1, QStringLiteral("\\Restextout\\7.jpg"));
}

std::optional<QString> TForm8::GradeExperiment1() {
    if (auto bad = readTube4()) return bad;
    const int variant = chosenVariant();
    const Experiment1Grade g =
        computeExperiment1Grade(MeasuredC, MeasuredV, referenceConcentrationOfTube4(variant),
                                referenceRateOfTube4(variant));
    RecordScore(1, g.grade);
    showMessageBox(experiment1GradeMessage(g.grade));
    return std::nullopt;
}

void TForm8::Label5Click() {
    // The experiment window is the owner of this modal showing and is already on screen.
    if (Form4) Form4->show();
    closeForm();
}
