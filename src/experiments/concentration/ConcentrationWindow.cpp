#include "experiments/concentration/ConcentrationWindow.h"

#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <initializer_list>
#include <optional>

#include "experiments/common/HeadingStrip.h"
#include "experiments/common/MeasurementTable.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/common/Stopwatch.h"
#include "experiments/concentration/ReferenceDataReport.h"
#include "lab/Numbers.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Layout.h"
#include "shell/Loaders.h"
#include "shell/Navigation.h"
#include "shell/WindowChrome.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"
#include "toolkit/SingleClick.h"
#include "toolkit/StaticText.h"
#include "toolkit/StringGrid.h"

namespace {
template <typename T>
T* labelled(T* widget, const QString& text, const QFont& font) {
    widget->setText(text);
    widget->setFont(font);
    return widget;
}

// The tube steps' movies differ between the variants.
QString stepMoviePath(int step, int variant) {
    if (step >= ConcentrationWindow::FirstTubeStep)
        return QStringLiteral("\\Movie\\Opyt1\\%1_%2.swf").arg(step).arg(variant);
    return QStringLiteral("\\Movie\\Opyt1\\%1.swf").arg(step);
}
}  // namespace

ConcentrationWindow::ConcentrationWindow(Session& session, Navigation& navigation,
                                         ReferenceData& referenceData, QWidget* parent)
    : ExperimentWindow(session, navigation, 1,
                       QStringLiteral("Опыт1 Влияние концентрации на скорость реакции"), parent),
      referenceData_(referenceData) {
    createControls();
    loadContents();
}

void ConcentrationWindow::createControls() {
    const QFont link = labFont(QStringLiteral("Arial Black"), 16, true);
    const QFont caption13 = labFont(QStringLiteral("MS Sans Serif"), 13, true);

    // The common chrome first (background, titles, "Далее", "Закончить опыт", the close glyph
    // and the movie); creation order is stacking order, later above.
    createChrome(QStringLiteral("Опыт 1"),
                 QStringLiteral("Влияние концентрации на скорость реакции"));
    graphLink = labelled(new LinkLabel(QString(), this), QStringLiteral("График"), link);
    measurementTable = new StringGrid(this);
    calculatorOkButton = new QPushButton(QStringLiteral("Ok"), this);
    actOncePerDoubleClick(calculatorOkButton);
    initialConcentrationBox = new FilteredEdit(this);
    thiosulfateVolumeBox = new FilteredEdit(this);
    mixThiosulfateVolumeBox = new FilteredEdit(this);
    mixWaterVolumeBox = new FilteredEdit(this);
    mixAcidVolumeBox = new FilteredEdit(this);
    dilutedConcentrationBox = new FilteredEdit(this);
    tableCaption = labelled(new StaticText(this), QStringLiteral("Таблица 1"), caption13);
    variantSolutionText = labelled(new StaticText(this), QString(), caption13);
    variantAcidText = labelled(new StaticText(this), QString(), caption13);
    stopwatch = new Stopwatch(this);
    stopwatch->display()->setText(QStringLiteral("....."));
    headingStrip = new HeadingStrip(concentrationHeadings(), this);
    // The movie lies under the table, the calculator and the stopwatch that cover parts of it.
    placeControls({
        {topicTitle, 239, 17, 250, 44},
        {graphLink, 106, 461, 0, 0},
        {movie, 5, 64, 705, 350},
        {measurementTable, 10, 369, 575, 89},
        {calculatorOkButton, 430, 274, 33, 25},
        {initialConcentrationBox, 321, 262, 41, 19},
        {thiosulfateVolumeBox, 388, 262, 25, 19},
        {mixThiosulfateVolumeBox, 307, 294, 25, 19},
        {mixWaterVolumeBox, 350, 294, 25, 19},
        {mixAcidVolumeBox, 395, 294, 25, 19},
        {dilutedConcentrationBox, 486, 277, 33, 19},
        {tableCaption, 11, 349, 80, 20},
        {variantSolutionText, 109, 92, 0, 0},
        {variantAcidText, 109, 112, 0, 0},
        {stopwatch->display(), 627, 284, 34, 28},
        {stopwatch->startButton(), 604, 316, 50, 25},
        {stopwatch->stopButton(), 653, 316, 50, 25},
        {headingStrip, 10, 370, 575, 16},
    });
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             graphLink, calculatorOkButton, initialConcentrationBox, thiosulfateVolumeBox,
             mixThiosulfateVolumeBox, mixWaterVolumeBox, mixAcidVolumeBox, dilutedConcentrationBox,
             variantSolutionText, variantAcidText})
        hidden->hide();

    topicTitle->setAlignment(Qt::AlignCenter);

    for (StaticText* t : {tableCaption, variantSolutionText, variantAcidText})
        t->setColors(LabColors::Navy, LabColors::White);
    // The variant texts grow with their text.
    for (StaticText* t : {variantSolutionText, variantAcidText}) t->setAutoSize(true);

    for (FilteredEdit* e : {initialConcentrationBox, thiosulfateVolumeBox, mixThiosulfateVolumeBox,
                            mixWaterVolumeBox, mixAcidVolumeBox, dilutedConcentrationBox})
        e->setFlat(true);
    dilutedConcentrationBox->setReadOnly(true);

    measurementTable->setColCount(MeasurementTable::Columns);
    measurementTable->setRowCountCells(MeasurementTable::Rows);
    measurementTable->setDefaultColWidth(48);
    measurementTable->setDefaultRowHeight(16);
    measurementTable->setColWidth(MeasurementTable::TimeColumn, 63);
    measurementTable->setColWidth(MeasurementTable::RateColumn, 125);
    measurementTable->setEditingAllowed(true);
    // 12 px: the smallest size a student reads from the back of the room; a row of 16 px
    // still holds it with room to spare.
    measurementTable->setFont(labFont(QStringLiteral("MS Sans Serif"), 12));
    measurementTable->setFrameShape(QFrame::Box);
    measurementTable->setLineWidth(1);
    measurementTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    measurementTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    measurementTable->viewport()->setCursor(Qt::PointingHandCursor);
    QPalette gridPalette = measurementTable->palette();
    gridPalette.setColor(QPalette::Base, Qt::white);
    measurementTable->setPalette(gridPalette);
    measurementTable->setSelectCellHandler(
        [](int col, int row) { return MeasurementTable::isSelectable(col, row); });
    makeNumeric(measurementTable);

    // The tube movies keep the band of the table free, so the table stays in view, its rows
    // with it, while the tubes are timed: the student sees the row the time goes into.
    // A tube movie waits at the acid until the stopwatch runs, so the reaction and the
    // stopwatch start together.
    movieEndWatch->setPlayOnWhen([this] {
        return step() >= FirstTubeStep && step() <= LastTubeStep && stopwatch->enabled();
    });

    connect(nextLink, &LinkLabel::clicked, this, &ConcentrationWindow::onNextClicked);
    connect(finishLink, &LinkLabel::clicked, this, &ConcentrationWindow::onFinishClicked);
    connect(graphLink, &LinkLabel::clicked, this, &ConcentrationWindow::onGraphClicked);
    connect(calculatorOkButton, &QPushButton::clicked, this,
            &ConcentrationWindow::onCalculatorOkClicked);
    connect(stopwatch->startButton(), &QPushButton::clicked, this,
            &ConcentrationWindow::onStartClicked);
    connect(stopwatch->stopButton(), &QPushButton::clicked, this,
            &ConcentrationWindow::onStopClicked);

    // The calculator boxes take numbers only; Enter walks on through the boxes, from the last
    // one back to the first volume.
    auto enterMovesTo = [](FilteredEdit* next) {
        return [next](unsigned char& key) {
            numericKeyFilter(key);
            if (key == KeyCode::Enter) next->setFocus(Qt::TabFocusReason);
        };
    };
    for (FilteredEdit* box : {initialConcentrationBox, thiosulfateVolumeBox,
                              mixThiosulfateVolumeBox, mixWaterVolumeBox, mixAcidVolumeBox})
        box->setTextRule(hasAtMostOneComma);
    initialConcentrationBox->setKeyPressHandler(enterMovesTo(thiosulfateVolumeBox));
    thiosulfateVolumeBox->setKeyPressHandler(enterMovesTo(mixThiosulfateVolumeBox));
    mixThiosulfateVolumeBox->setKeyPressHandler(enterMovesTo(mixWaterVolumeBox));
    mixWaterVolumeBox->setKeyPressHandler(enterMovesTo(mixAcidVolumeBox));
    mixAcidVolumeBox->setKeyPressHandler(enterMovesTo(thiosulfateVolumeBox));

    // What a screen reader says for each control.
    measurementTable->setAccessibleName(QStringLiteral("Таблица 1"));
    variantSolutionText->setAccessibleName(QStringLiteral("Раствор Na2S2O3 варианта"));
    variantAcidText->setAccessibleName(QStringLiteral("Раствор H2SO4 варианта"));
    initialConcentrationBox->setAccessibleName(
        QStringLiteral("Калькулятор: исходная концентрация"));
    thiosulfateVolumeBox->setAccessibleName(QStringLiteral("Калькулятор: объём Na2S2O3"));
    mixThiosulfateVolumeBox->setAccessibleName(QStringLiteral("Калькулятор: Na2S2O3 в смеси, мл"));
    mixWaterVolumeBox->setAccessibleName(QStringLiteral("Калькулятор: вода в смеси, мл"));
    mixAcidVolumeBox->setAccessibleName(QStringLiteral("Калькулятор: H2SO4 в смеси, мл"));
    dilutedConcentrationBox->setAccessibleName(
        QStringLiteral("Калькулятор: концентрация после разбавления"));
    // Tab follows the work: the calculator, the stopwatch, the table, then the links.
    QWidget* order[] = {initialConcentrationBox,
                        thiosulfateVolumeBox,
                        mixThiosulfateVolumeBox,
                        mixWaterVolumeBox,
                        mixAcidVolumeBox,
                        dilutedConcentrationBox,
                        calculatorOkButton,
                        stopwatch->startButton(),
                        stopwatch->stopButton(),
                        measurementTable,
                        nextLink,
                        graphLink,
                        finishLink};
    for (int i = 0; i + 1 < int(std::size(order)); ++i) setTabOrder(order[i], order[i + 1]);
    // "График" turns red under the pointer and black over the background like the chrome's links.
    BorderlessChrome graphLinkColours;
    graphLinkColours.background = background;
    graphLinkColours.links = {graphLink};
    graphLinkColours.drag = false;
    attachBorderlessChrome(graphLinkColours);
}

void ConcentrationWindow::loadContents() {
    loadPicture(navigation_, background, QStringLiteral("\\BackGround\\Opit.jpg"));
    loadReferenceData(referenceData_, navigation_);
    setupMeasurementTable(measurementTable);
    QList<int> widths;
    for (int c = 0; c < measurementTable->colCount(); ++c)
        widths.append(measurementTable->colWidth(c));
    headingStrip->setColumnWidths(widths);
}

void ConcentrationWindow::resetRun() {
    variantSolutionText->hide();
    variantAcidText->hide();
    for (FilteredEdit* e : {initialConcentrationBox, thiosulfateVolumeBox, mixThiosulfateVolumeBox,
                            mixWaterVolumeBox, mixAcidVolumeBox, dilutedConcentrationBox})
        e->hide();
    calculatorOkButton->hide();
    stopwatch->setVisible(false);
}

void ConcentrationWindow::onActivated() {
    if (variant_) {
        const VariantChoice choice = variant_();
        variantSolutionText->setCaption(choice.solution);
        variantAcidText->setCaption(choice.acid);
    }
    ExperimentWindow::onActivated();
}

void ConcentrationWindow::setCalculatorVisible(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             initialConcentrationBox, thiosulfateVolumeBox, mixThiosulfateVolumeBox,
             mixWaterVolumeBox, mixAcidVolumeBox, dilutedConcentrationBox, calculatorOkButton,
             variantSolutionText, variantAcidText})
        w->setVisible(visible);
}

void ConcentrationWindow::onNextClicked() {
    advanceStep();
    stopwatch->display()->setCaption(QStringLiteral("00:00"));
    if (step() == CalculatorStep) setCalculatorVisible(true);
    if (step() == TimingStep) {
        // Refused while a concentration is missing or not a number: the calculator stays for it.
        if (concentrationsReadable())
            setCalculatorVisible(false);
        else
            takeBackStep();
    }
    if (step() >= FirstTubeStep && step() <= LastTubeStep) stopwatch->setVisible(true);
    if (step() == RatesStep) {
        movieEndWatch->setEnabled(false);
        if (tableComplete())
            finishMeasurements();
        else
            takeBackStep();
    }
    loadStepMovie();
}

bool ConcentrationWindow::concentrationsReadable() {
    return requireColumn(measurementTable, MeasurementTable::ConcentrationColumn,
                         concentrationColumnMessage())
               .complete() &&
           requireNumbers(measurementTable, MeasurementTable::ConcentrationColumn);
}

bool ConcentrationWindow::tableComplete() {
    return concentrationsReadable() &&
           requireColumn(measurementTable, MeasurementTable::TimeColumn, timeColumnMessage())
               .complete();
}

// Rates, "График" and the graph window, as one unit: whatever fails ends the press silently and
// leaves what was done before it.
void ConcentrationWindow::finishMeasurements() {
    // A time that gives no rate is named; "Далее" stays for another try once it is corrected.
    if (!computeRates(measurementTable).complete()) {
        takeBackStep();
        return;
    }
    nextLink->hide();
    graphLink->show();
    if (openGraph) openGraph(GraphOpening::AfterRates);
}

void ConcentrationWindow::loadStepMovie() {
    if (step() >= RatesStep) return;
    showMovie(stepMoviePath(step(), session_.variant()));
}

void ConcentrationWindow::onFinishClicked() {
    returnToMainWindow();
}

void ConcentrationWindow::onGraphClicked() {
    if (openGraph) openGraph(GraphOpening::FromGraphLink);
}

void ConcentrationWindow::onCalculatorOkClicked() {
    std::optional<double> a[5];
    FilteredEdit* const boxes[5] = {initialConcentrationBox, thiosulfateVolumeBox,
                                    mixThiosulfateVolumeBox, mixWaterVolumeBox, mixAcidVolumeBox};
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
    dilutedConcentrationBox->setText(formatGeneral(result));
}

void ConcentrationWindow::onStartClicked() {
    if (step() >= FirstTubeStep && step() <= LastTubeStep) beginTubeReaction(movie);
    stopwatch->start();
}

void ConcentrationWindow::onStopClicked() {
    stopwatch->stop();
    // The measurement is taken: the picture stays at it and the next tube may follow.
    if (step() >= FirstTubeStep && step() <= LastTubeStep) {
        endTubeReaction(movie);
        nextLink->show();
    }
}

void ConcentrationWindow::atMovieEnd() {
    if (step() >= FirstTubeStep && step() <= LastTubeStep) nextLink->show();
}
