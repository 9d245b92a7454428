#include "experiments/TemperatureWindow.h"

#include <QLabel>
#include <QPushButton>

#include "concentration/MeasurementTable.h"
#include "core/LabState.h"
#include "core/Loaders.h"
#include "experiments/ExperimentWindowParts.h"
#include "experiments/HeadingStrip.h"
#include "experiments/MovieEndWatch.h"
#include "experiments/SlidingTable.h"
#include "experiments/Stopwatch.h"
#include "movie/MoviePlayer.h"
#include "students/StudentStore.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Picture.h"
#include "toolkit/StaticText.h"
#include "toolkit/StringGrid.h"

namespace {
// The table slides between these heights.
constexpr int CollapsedHeight = 20;
constexpr int ExpandedHeight = 72;

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

TemperatureWindow::TemperatureWindow(QWidget* parent)
    : LabWindow(QStringLiteral("Опыт2 Влияние температуры на скорость реакции"), QSize(715, 505),
                Border::None, parent) {
    createControls();
    connectHandlers();
    loadContents();
}

void TemperatureWindow::createControls() {
    const QFont navy13 = labFont(QStringLiteral("MS Sans Serif"), 13, true);
    const QFont result16 = labFont(QStringLiteral("MS Sans Serif"), 16, true);

    background = new Picture(this);
    topicTitle =
        makeTitleLabel(this, QStringLiteral("Влияние температуры на скорость реакции"), 19, true);
    numberTitle = makeTitleLabel(this, QStringLiteral("Опыт 2"), 21, false);
    nextLink = makeLinkLabel(this, QStringLiteral("Далее"));
    finishLink = makeLinkLabel(this, QStringLiteral("Закончить опыт"));
    closeSpot = new Picture(this);
    closeGlyph = new Picture(this);
    movie = new MoviePlayer(this);
    measurementTable = new StringGrid(this);
    tableCaption = makeStaticText(this, LabColors::Navy, navy13, false);
    variantSolutionText = makeStaticText(this, LabColors::Navy, navy13, true);
    variantAcidText = makeStaticText(this, LabColors::Navy, navy13, true);
    startButton = makeButton(this, QStringLiteral("Старт"), true);
    stopButton = makeButton(this, QStringLiteral("Стоп"), true);
    // Sized to its text: "00:00" in this font is wider than the place the layout gives it.
    stopwatchDisplay =
        makeStaticText(this, LabColors::Black, labFont(QStringLiteral("Arial"), 21, true), true);
    firstNumeratorBox = makeAnswerBox(this);
    firstDenominatorBox = makeAnswerBox(this);
    secondNumeratorBox = makeAnswerBox(this);
    secondDenominatorBox = makeAnswerBox(this);
    firstOkButton = makeButton(this, QStringLiteral("ОК"), false);
    secondOkButton = makeButton(this, QStringLiteral("ОК"), false);
    firstCoefficientText = makeStaticText(this, LabColors::Black, result16, false);
    secondCoefficientText = makeStaticText(this, LabColors::Black, result16, false);
    setUpTable();
    headingStrip = new HeadingStrip(temperatureHeadings(), this);
    headingStrip->setColumnWidths({measurementTable->colWidth(0), measurementTable->colWidth(1),
                                   measurementTable->colWidth(2), measurementTable->colWidth(3),
                                   measurementTable->colWidth(4)});
    slidingTable = new SlidingTable(measurementTable, {tableCaption, headingStrip}, CollapsedHeight,
                                    ExpandedHeight, this);
    stopwatch = new Stopwatch(stopwatchDisplay, startButton, stopButton, this);
    movieEndWatch = new MovieEndWatch(
        movie, [this] { atMovieEnd(); }, this);

    placeControls({
        {background, 0, 0, 715, 505},
        {topicTitle, 249, 17, 246, 44},
        {numberTitle, 15, 6, 74, 24},
        {nextLink, 11, 461, 62, 23},
        {finishLink, 290, 461, 158, 23},
        {closeSpot, 698, 3, 13, 13},
        {closeGlyph, 699, 2, 13, 13},
        {movie, 4, 63, 705, 350},
        {measurementTable, 8, 384, 425, 74},
        {tableCaption, 8, 363, 80, 20},
        {variantSolutionText, 110, 252, 81, 20},
        {variantAcidText, 110, 271, 81, 20},
        {startButton, 604, 279, 50, 25},
        {stopButton, 653, 279, 50, 25},
        {stopwatchDisplay, 628, 247, 34, 28},
        {firstNumeratorBox, 324, 139, 41, 19},
        {firstDenominatorBox, 324, 169, 41, 19},
        {secondNumeratorBox, 324, 219, 41, 19},
        {secondDenominatorBox, 324, 249, 41, 19},
        {firstOkButton, 378, 150, 37, 25},
        {secondOkButton, 378, 230, 37, 25},
        {firstCoefficientText, 442, 152, 95, 24},
        {secondCoefficientText, 440, 231, 95, 24},
        {headingStrip, 8, 385, 425, 16},
    });

    tableCaption->setCaption(QStringLiteral("Таблица 2"));
    measurementTable->setEnabled(false);
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             startButton, stopButton, stopwatchDisplay, firstNumeratorBox, firstDenominatorBox,
             secondNumeratorBox, secondDenominatorBox, firstOkButton, secondOkButton,
             firstCoefficientText, secondCoefficientText})
        hidden->hide();
    stopButton->setEnabled(false);
}

void TemperatureWindow::connectHandlers() {
    // What a screen reader says for each control.
    measurementTable->setAccessibleName(QStringLiteral("Таблица 2"));
    variantSolutionText->setAccessibleName(QStringLiteral("Раствор Na2S2O3 варианта"));
    variantAcidText->setAccessibleName(QStringLiteral("Раствор H2SO4 варианта"));
    firstNumeratorBox->setAccessibleName(QStringLiteral("Первый коэффициент, числитель"));
    firstDenominatorBox->setAccessibleName(QStringLiteral("Первый коэффициент, знаменатель"));
    secondNumeratorBox->setAccessibleName(QStringLiteral("Второй коэффициент, числитель"));
    secondDenominatorBox->setAccessibleName(QStringLiteral("Второй коэффициент, знаменатель"));
    firstCoefficientText->setAccessibleName(QStringLiteral("Первый температурный коэффициент"));
    secondCoefficientText->setAccessibleName(QStringLiteral("Второй температурный коэффициент"));
    attachExperimentChrome(this, background, closeGlyph, closeSpot, nextLink, finishLink);
    connect(nextLink, &LinkLabel::clicked, this, &TemperatureWindow::onNextClicked);
    connect(finishLink, &LinkLabel::clicked, this, &TemperatureWindow::onFinishClicked);
    connect(firstOkButton, &QPushButton::clicked, this, &TemperatureWindow::onFirstOkClicked);
    connect(startButton, &QPushButton::clicked, this, &TemperatureWindow::onStartClicked);
    connect(stopButton, &QPushButton::clicked, this, &TemperatureWindow::onStopClicked);
    connect(secondOkButton, &QPushButton::clicked, this, &TemperatureWindow::onSecondOkClicked);
    for (FilteredEdit* box :
         {firstNumeratorBox, firstDenominatorBox, secondNumeratorBox, secondDenominatorBox})
        box->setKeyPressHandler([this](unsigned char& key) { filterAnswerKey(key); });
}

void TemperatureWindow::loadContents() {
    loadPicture(background, QStringLiteral("\\BackGround\\Opit.jpg"));
    grading = TemperatureGrading{};
}

void TemperatureWindow::prepareRun() {
    variantSolutionText->show();
    variantAcidText->show();
    stopwatchDisplay->hide();
    firstCoefficientText->hide();
    secondCoefficientText->hide();
    measurementTable->move(measurementTable->x(), 384);
    measurementTable->resize(measurementTable->width(), 74);
    tableCaption->move(tableCaption->x(), 363);
    headingStrip->move(headingStrip->x(), 385);
    for (QWidget* w : std::initializer_list<QWidget*>{
             firstOkButton, startButton, stopButton, secondOkButton, firstNumeratorBox,
             firstDenominatorBox, secondNumeratorBox, secondDenominatorBox})
        w->hide();
    nextLink->show();
    measurementTable->setEnabled(true);
}

void TemperatureWindow::onActivated() {
    if (variant_) {
        const VariantChoice choice = variant_();
        variantSolutionText->setCaption(choice.solution);
        variantAcidText->setCaption(choice.acid);
    }
    if (experiment1Table_) measurementTable->setCell(1, 1, experiment1Table_->cell(5, 1));
    measurementTable->setCell(2, 1, QStringLiteral("25"));
    measurementTable->setCell(2, 2, QStringLiteral("35"));
    measurementTable->setCell(2, 3, QStringLiteral("45"));
    if (experiment1Table_) measurementTable->setCell(3, 1, experiment1Table_->cell(6, 1));
    movieEndWatch->setEnabled(true);
}

void TemperatureWindow::onNextClicked() {
    LabState.movieStep += 1;
    stopwatchDisplay->setCaption(QStringLiteral("00:00"));
    nextLink->hide();
    const int step = LabState.movieStep;
    if (step == 2 || step == 3) {
        slidingTable->collapse();
        variantSolutionText->hide();
        variantAcidText->hide();
        stopwatchDisplay->show();
        startButton->show();
        stopButton->show();
    }
    if (step == 4) {
        // The table is expanded first: the student reads the rates from it from now on, or
        // corrects the time that a message names.
        const bool filled =
            requireColumn(1, QStringLiteral("Столбец \"Время, c\" не может быть пуст")) &&
            requireColumn(2, QStringLiteral("Столбец \"T oC\" не может быть пуст"));
        if (filled) slidingTable->expand();
        if (filled && computeRates()) {
            startButton->hide();
            stopButton->hide();
            stopwatchDisplay->hide();
            setCoefficientInputsVisible(true);
            measurementTable->setEnabled(false);
            measurementTable->setCell(4, 1, QStringLiteral("-"));
        }
    }
    loadStepMovie();
}

void TemperatureWindow::loadStepMovie() {
    const int step = LabState.movieStep;
    if (step == 2 || step == 3)
        loadMovie(
            movie,
            QStringLiteral("\\Movie\\Opyt2\\%1_%2.swf").arg(step).arg(LabState.variantNumber));
    else
        loadMovie(movie, QStringLiteral("\\Movie\\Opyt2\\%1.swf").arg(step));
}

void TemperatureWindow::onFinishClicked() {
    setCoefficientInputsVisible(false);
    returnToMainWindow(this);
}

void TemperatureWindow::atMovieEnd() {
    if (LabState.movieStep == 2 || LabState.movieStep == 3) nextLink->show();
}

void TemperatureWindow::setCoefficientInputsVisible(bool visible) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             firstNumeratorBox, firstDenominatorBox, secondNumeratorBox, secondDenominatorBox,
             firstOkButton, secondOkButton, firstCoefficientText, secondCoefficientText})
        w->setVisible(visible);
    firstCoefficientText->setCaption(QString());
    secondCoefficientText->setCaption(QString());
}

// The answer boxes take what the measurement tables take: digits, the comma, Backspace, Enter.
void TemperatureWindow::filterAnswerKey(unsigned char& key) {
    numericKeyFilter(key);
}

void TemperatureWindow::onFirstOkClicked() {
    checkCoefficient(1);
}

void TemperatureWindow::onSecondOkClicked() {
    checkCoefficient(2);
}

void TemperatureWindow::checkCoefficient(int coefficient) {
    const bool first = coefficient == 1;
    const CoefficientCheck check = ::checkCoefficient(
        (first ? firstNumeratorBox : secondNumeratorBox)->text(),
        (first ? firstDenominatorBox : secondDenominatorBox)->text(),
        measurementTable->cell(3, first ? 2 : 3), measurementTable->cell(3, first ? 1 : 2),
        first ? HalfRounding::ToEven : HalfRounding::AwayFromZero);
    switch (check.outcome) {
        case CoefficientCheck::Outcome::Accepted:
            measurementTable->setCell(4, first ? 2 : 3, check.coefficientText);
            (first ? firstCoefficientText : secondCoefficientText)
                ->setCaption(check.coefficientText);
            if (grading.accept(coefficient)) recordScore(2, grading.grade);
            break;
        case CoefficientCheck::Outcome::Rejected:
            showMessageBox(WrongCoefficientMessage);
            grading.reject();
            break;
        case CoefficientCheck::Outcome::Unreadable:
            break;
    }
    finishWhenBothShown();
}

void TemperatureWindow::finishWhenBothShown() {
    if (firstCoefficientText->text().isEmpty() || secondCoefficientText->text().isEmpty()) return;
    setCoefficientInputsVisible(false);
    LabState.movieStep += 1;
    loadMovie(movie, QStringLiteral("\\Movie\\Opyt2\\5.swf"));
}
