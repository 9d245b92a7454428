#include "experiments/concentration/RateGraphWindow.h"

#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QGuiApplication>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QScreen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "experiments/common/GradeMessage.h"
#include "experiments/common/MeasurementTable.h"
#include "lab/Experiment1Grade.h"
#include "lab/Numbers.h"
#include "lab/ReferenceData.h"
#include "lab/Session.h"
#include "shell/Layout.h"
#include "shell/Loaders.h"
#include "shell/WindowChrome.h"
#include "toolkit/Colors.h"
#include "toolkit/Fonts.h"
#include "toolkit/LabTimer.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Picture.h"
#include "toolkit/StringGrid.h"

namespace {
constexpr int LineSteps = 50;

// Chart texts keep their runs of blanks, which rich text would collapse.
QString keepBlanks(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
}

// An axis from 0 that holds the value with a little room, in about five steps of 1, 2, 2.5 or
// 5 times a power of ten.
using AxisScale = RateGraphWindow::AxisScale;

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

// While it lives, a box that comes up is moved to where the window says, off its chart.
class BoxesBesideChart : public QObject {
public:
    explicit BoxesBesideChart(const RateGraphWindow* window) : window_(window) {
        qApp->installEventFilter(this);
    }
    ~BoxesBesideChart() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && box && box->isWindow())
            box->move(window_->boxPosition(box->size().expandedTo(box->sizeHint())));
        return QObject::eventFilter(watched, event);
    }

private:
    const RateGraphWindow* window_;
};

void applyScale(QValueAxis* axis, const AxisScale& scale) {
    axis->setTickInterval(scale.step);
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(scale.decimals) +
                         QStringLiteral("f"));
    axis->setRange(0, scale.max);
}

}  // namespace

RateGraphWindow::RateGraphWindow(Session& session, Navigation& navigation,
                                 const ReferenceData& referenceData, QWidget* parent)
    : LabWindow(QStringLiteral("График"), QSize(555, 486), Border::Tool, parent),
      session_(session),
      navigation_(navigation),
      referenceData_(referenceData) {
    createControls();
}

void RateGraphWindow::createControls() {
    const QFont link = labFont(QStringLiteral("Arial Black"), 16, true);
    chartView = new QChartView(this);
    chartView->setAccessibleName(QStringLiteral("График скорости реакции от концентрации"));
    footer = new Picture(this);
    nextLink = new LinkLabel(QStringLiteral("Далее"), this);
    backLink = new LinkLabel(QStringLiteral("Назад"), this);
    for (LinkLabel* l : {nextLink, backLink}) l->setFont(link);
    placeControls({
        {chartView, 0, 0, 555, 400},
        {footer, 0, 400, 555, 85},
        {nextLink, 14, 455, 0, 0},
        {backLink, 480, 456, 0, 0},
    });
    backLink->hide();
    lineGrowthTimer = new LabTimer(100, this);
    createChart();

    connect(nextLink, &LinkLabel::clicked, this, &RateGraphWindow::onNextClicked);
    connect(backLink, &LinkLabel::clicked, this, &RateGraphWindow::onBackClicked);
    setCloseRequestHandler([this] { onBackClicked(); });
    connect(lineGrowthTimer, &LabTimer::timeout, this, &RateGraphWindow::onLineGrowthTick);
    // The links light up like those of the borderless windows; this window is not dragged.
    BorderlessChrome chrome;
    chrome.window = this;
    chrome.background = footer;
    chrome.links = {nextLink, backLink};
    chrome.drag = false;
    attachBorderlessChrome(chrome);
}

void RateGraphWindow::createChart() {
    auto* chart = new QChart();
    chart->setBackgroundRoundness(0);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, colorFromBgr(54015));
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

    referenceSeries = new QLineSeries();
    referenceSeries->setName(QStringLiteral("Эталон"));
    referenceSeries->setPen(QPen(Qt::red, 2));
    referenceSeries->setPointsVisible(true);
    referenceSeries->setMarkerSize(2);
    experimentalSeries = new QLineSeries();
    experimentalSeries->setName(QStringLiteral("Экспериментальная"));
    experimentalSeries->setPen(QPen(Qt::blue, 2));
    measuredPoints = new QScatterSeries();
    measuredPoints->setName(QStringLiteral("Экспериментальная"));
    measuredPoints->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    measuredPoints->setMarkerSize(3);
    measuredPoints->setColor(Qt::black);
    measuredPoints->setBorderColor(Qt::black);
    chart->addSeries(referenceSeries);
    chart->addSeries(experimentalSeries);
    chart->addSeries(measuredPoints);
    for (QLegendMarker* m : legend->markers(measuredPoints)) m->setVisible(false);

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
    for (QXYSeries* s :
         std::initializer_list<QXYSeries*>{referenceSeries, experimentalSeries, measuredPoints}) {
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
    }
    // The view lets go of its default chart without deleting it.
    QChart* defaultChart = chartView->chart();
    chartView->setChart(chart);
    delete defaultChart;
    chartView->setRenderHint(QPainter::Antialiasing);
    chartView->setRubberBand(QChartView::RectangleRubberBand);
}

QString RateGraphWindow::invalidNumberMessage(const UnreadableCell& cell) const {
    const QString heading = measurementTable_ ? measurementTable_->cell(cell.column, 0) : QString();
    return notANumberMessage(heading, cell.row);
}

// Points stay sorted by ascending x: a new point goes after every point with x not above it.
void RateGraphWindow::addPoint(QXYSeries* series, double x, double y) {
    const QList<QPointF> points = series->points();
    const auto at = std::upper_bound(points.begin(), points.end(), x,
                                     [](double v, const QPointF& p) { return v < p.x(); });
    series->insert(int(at - points.begin()), QPointF(x, y));
    rescaleAxes();
}

void RateGraphWindow::rescaleAxes() {
    double maxX = 0, maxY = 0;
    for (QXYSeries* s :
         std::initializer_list<QXYSeries*>{referenceSeries, experimentalSeries, measuredPoints}) {
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

int RateGraphWindow::chosenVariant() const {
    return variant_ ? variant_().number : 0;
}

std::optional<RateGraphWindow::UnreadableCell> RateGraphWindow::readCell(int column, int row,
                                                                         double* value) const {
    const QString text = measurementTable_ ? measurementTable_->cell(column, row) : QString();
    const std::optional<double> number = parseNumber(text);
    if (!number) return UnreadableCell{column, row};
    *value = *number;
    return std::nullopt;
}

bool RateGraphWindow::showGraph(Failures failures) {
    if (const std::optional<UnreadableCell> bad = addMeasuredPoints()) {
        if (failures == Failures::Reported) showErrorBox(invalidNumberMessage(*bad));
        return false;
    }
    exec();
    return true;
}

void RateGraphWindow::showAfterRates() {
    loadPicture(navigation_, footer, QStringLiteral("\\Restextout\\6.jpg"));
    showGraph(Failures::Silent);
}

std::optional<RateGraphWindow::UnreadableCell> RateGraphWindow::addMeasuredPoints() {
    using namespace MeasurementTable;
    addPoint(measuredPoints, 0, 0);
    for (int row = 1; row <= LastRow; ++row) {
        if (auto bad = readCell(ConcentrationColumn, row, &measuredConcentration)) return bad;
        if (auto bad = readCell(RateColumn, row, &measuredRate)) return bad;
        addPoint(measuredPoints, measuredConcentration, measuredRate);
    }
    return std::nullopt;
}

std::optional<RateGraphWindow::UnreadableCell> RateGraphWindow::readTube4() {
    using namespace MeasurementTable;
    if (auto bad = readCell(ConcentrationColumn, LastRow, &measuredConcentration)) return bad;
    return readCell(RateColumn, LastRow, &measuredRate);
}

void RateGraphWindow::onNextClicked() {
    if (const std::optional<UnreadableCell> bad = readTube4()) {
        showErrorBox(invalidNumberMessage(*bad));
        return;
    }
    nextLink->hide();
    backLink->show();
    startExperimentalLine();
}

void RateGraphWindow::startExperimentalLine() {
    // A line without slope (a concentration of zero) is not drawn: the reference line at once.
    if (!(measuredConcentration > 0) || !std::isfinite(measuredConcentration) ||
        !std::isfinite(measuredRate)) {
        finishLines();
        return;
    }
    lineTick_ = 0;
    lineGrowthTimer->setEnabled(true);
}

// Point k of 0..50 lies at k fiftieths of the tube-4 concentration. Counting the steps rather
// than adding up fiftieths makes the line end exactly on tube 4 after 51 points.
void RateGraphWindow::onLineGrowthTick() {
    lineX = lineTick_ >= LineSteps ? measuredConcentration
                                   : measuredConcentration * lineTick_ / LineSteps;
    const double y = lineX == measuredConcentration ? measuredRate
                                                    : measuredRate / measuredConcentration * lineX;
    addPoint(experimentalSeries, lineX, y);
    ++lineTick_;
    if (lineX == measuredConcentration) {
        lineGrowthTimer->setEnabled(false);
        finishLines();
    }
}

void RateGraphWindow::finishLines() {
    drawReferenceLine();
    // The grade comes once both lines are on the chart, beside it rather than over it.
    chartView->repaint();
    const BoxesBesideChart beside(this);
    gradeExperiment();
}

void RateGraphWindow::drawReferenceLine() {
    addPoint(referenceSeries, 0, 0);
    const int variant = chosenVariant();
    addPoint(referenceSeries, referenceData_.concentrationOfTube4(variant),
             referenceData_.rateOfTube4(variant));
    loadPicture(navigation_, footer, QStringLiteral("\\Restextout\\7.jpg"));
}

QPoint RateGraphWindow::boxPosition(QSize size) const {
    const QRect frame = frameGeometry();
    const QRect chart(chartView->mapToGlobal(QPoint(0, 0)), chartView->size());
    const QRect area = screen()->availableGeometry();
    constexpr int Gap = 8;
    const int besideY = frame.top() + (frame.height() - size.height()) / 2;
    const int centredX = frame.left() + (frame.width() - size.width()) / 2;
    const QPoint around[] = {
        {frame.right() + 1 + Gap, besideY},
        {frame.left() - Gap - size.width(), besideY},
        {centredX, frame.bottom() + 1 + Gap},
        {centredX, frame.top() - Gap - size.height()},
    };
    for (const QPoint& at : around)
        if (area.contains(QRect(at, size))) return at;
    // No room around the window: over the footer, just below the chart.
    const int x =
        std::clamp(centredX, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    const int y = std::clamp(chart.bottom() + 1, area.top(),
                             std::max(area.top(), area.bottom() + 1 - size.height()));
    return {x, y};
}

void RateGraphWindow::gradeExperiment() {
    const int variant = chosenVariant();
    const Experiment1Grade g = computeExperiment1Grade(measuredConcentration, measuredRate,
                                                       referenceData_.concentrationOfTube4(variant),
                                                       referenceData_.rateOfTube4(variant));
    // The evidence: the whole table as the student sees it against the variant's references.
    Experiment1Table table;
    Experiment1Reference reference;
    for (int row = 1; row <= MeasurementTable::LastRow; ++row) {
        const auto cell = [this, row](int column) {
            return measurementTable_ ? measurementTable_->cell(column, row) : QString();
        };
        table[std::size_t(row - 1)] = {cell(MeasurementTable::ConcentrationColumn),
                                       cell(MeasurementTable::TimeColumn),
                                       cell(MeasurementTable::RateColumn)};
        reference[std::size_t(row - 1)] = referenceData_.tube(variant, row);
    }
    const GradeEvidence evidence = experiment1Evidence(table, reference, g);
    session_.recordGrade(1, g.grade, evidence);
    showGradeMessage(evidence);
}

void RateGraphWindow::onBackClicked() {
    // Leaving while the line still grows: it is completed at once, so the grade is not lost.
    if (lineGrowthTimer->enabled()) {
        lineGrowthTimer->setEnabled(false);
        lineTick_ = LineSteps;
        onLineGrowthTick();
    }
    // The experiment window is the owner of this modal showing and is already on screen.
    if (experimentWindow_) experimentWindow_->show();
    done();
}
