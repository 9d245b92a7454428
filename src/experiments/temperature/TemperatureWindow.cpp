#include "experiments/temperature/TemperatureWindow.h"

#include <QLabel>
#include <QPushButton>
#include <optional>

#include "experiments/common/GradeMessage.h"
#include "experiments/common/HeadingStrip.h"
#include "experiments/common/MeasurementTable.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/common/Stopwatch.h"
#include "lab/Session.h"
#include "movie/MoviePlayer.h"
#include "shell/Layout.h"
#include "shell/Loaders.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/Fonts.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/Picture.h"
#include "toolkit/StaticText.h"
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

// The steps whose tube is timed with the stopwatch.
bool isTimedStep(int step) {
    return step == TemperatureWindow::At35DegreesStep || step == TemperatureWindow::At45DegreesStep;
}

FilteredEdit* makeAnswerBox(QWidget* parent) {
    auto* edit = new FilteredEdit(parent);
    edit->setFlat(true);
    return edit;
}
}  // namespace

TemperatureWindow::TemperatureWindow(Session& session, Navigation& navigation, QWidget* parent)
    : ExperimentWindow(session, navigation, 2,
                       QStringLiteral("Опыт2 Влияние температуры на скорость реакции"), parent) {
    createControls();
    connectHandlers();
    loadContents();
}

void TemperatureWindow::createControls() {
    const QFont navy13 = labFont(QStringLiteral("MS Sans Serif"), 13, true);
    const QFont result16 = labFont(QStringLiteral("MS Sans Serif"), 16, true);

    createChrome(QStringLiteral("Опыт 2"),
                 QStringLiteral("Влияние температуры на скорость реакции"));
    measurementTable = new StringGrid(this);
    tableCaption = makeStaticText(this, LabColors::Navy, navy13, false);
    variantSolutionText = makeStaticText(this, LabColors::Navy, navy13, true);
    variantAcidText = makeStaticText(this, LabColors::Navy, navy13, true);
    stopwatch = new Stopwatch(this);
    // Creation order is tab order: both pairs of boxes, then both "ОК" buttons.
    for (CoefficientInput& input : coefficientInputs) {
        input.numeratorBox = makeAnswerBox(this);
        input.denominatorBox = makeAnswerBox(this);
    }
    for (CoefficientInput& input : coefficientInputs)
        input.okButton = makeButton(this, QStringLiteral("ОК"), false);
    for (CoefficientInput& input : coefficientInputs)
        input.coefficientText = makeStaticText(this, LabColors::Black, result16, false);
    setUpTable();
    headingStrip = new HeadingStrip(temperatureHeadings(), this);
    QList<int> widths;
    for (int c = 0; c < TemperatureTable::Columns; ++c)
        widths.append(measurementTable->colWidth(c));
    headingStrip->setColumnWidths(widths);

    const auto& [first, second] = coefficientInputs;
    placeControls({
        {topicTitle, 249, 17, 246, 44},
        {movie, 4, 63, 705, 350},
        {measurementTable, 8, 384, 425, 74},
        {tableCaption, 8, 363, 80, 20},
        {variantSolutionText, 110, 252, 81, 20},
        {variantAcidText, 110, 271, 81, 20},
        {stopwatch->startButton(), 604, 279, 50, 25},
        {stopwatch->stopButton(), 653, 279, 50, 25},
        {stopwatch->display(), 628, 247, 34, 28},
        {first.numeratorBox, 324, 139, 41, 19},
        {first.denominatorBox, 324, 169, 41, 19},
        {second.numeratorBox, 324, 219, 41, 19},
        {second.denominatorBox, 324, 249, 41, 19},
        {first.okButton, 378, 150, 37, 25},
        {second.okButton, 378, 230, 37, 25},
        {first.coefficientText, 442, 152, 95, 24},
        {second.coefficientText, 440, 231, 95, 24},
        {headingStrip, 8, 385, 425, 16},
    });
    // The tube movies keep the table's band free: the table stays in view, its rows with it,
    // while the tubes are timed.

    tableCaption->setCaption(QStringLiteral("Таблица 2"));
    measurementTable->setEnabled(false);
    setCoefficientInputsVisible(false);
}

void TemperatureWindow::connectHandlers() {
    // What a screen reader says for each control.
    const auto& [first, second] = coefficientInputs;
    measurementTable->setAccessibleName(QStringLiteral("Таблица 2"));
    variantSolutionText->setAccessibleName(QStringLiteral("Раствор Na2S2O3 варианта"));
    variantAcidText->setAccessibleName(QStringLiteral("Раствор H2SO4 варианта"));
    first.numeratorBox->setAccessibleName(QStringLiteral("Первый коэффициент, числитель"));
    first.denominatorBox->setAccessibleName(QStringLiteral("Первый коэффициент, знаменатель"));
    second.numeratorBox->setAccessibleName(QStringLiteral("Второй коэффициент, числитель"));
    second.denominatorBox->setAccessibleName(QStringLiteral("Второй коэффициент, знаменатель"));
    first.coefficientText->setAccessibleName(QStringLiteral("Первый температурный коэффициент"));
    second.coefficientText->setAccessibleName(QStringLiteral("Второй температурный коэффициент"));
    // A tube movie waits at the acid until the stopwatch runs, so the reaction and the
    // stopwatch start together.
    movieEndWatch->setPlayOnWhen([this] { return isTimedStep(step()) && stopwatch->enabled(); });
    connect(nextLink, &LinkLabel::clicked, this, &TemperatureWindow::onNextClicked);
    connect(finishLink, &LinkLabel::clicked, this, &TemperatureWindow::onFinishClicked);
    connect(stopwatch->startButton(), &QPushButton::clicked, this,
            &TemperatureWindow::onStartClicked);
    connect(stopwatch->stopButton(), &QPushButton::clicked, this,
            &TemperatureWindow::onStopClicked);
    for (int coefficient = 1; coefficient <= int(coefficientInputs.size()); ++coefficient)
        connect(coefficientInputs[coefficient - 1].okButton, &QPushButton::clicked, this,
                [this, coefficient] { checkCoefficient(coefficient); });
    for (const CoefficientInput& input : coefficientInputs)
        for (FilteredEdit* box : {input.numeratorBox, input.denominatorBox}) {
            box->setKeyPressHandler([this](unsigned char& key) { filterAnswerKey(key); });
            box->setTextRule(hasAtMostOneComma);
        }
}

void TemperatureWindow::loadContents() {
    loadPicture(navigation_, background, QStringLiteral("\\BackGround\\Opit.jpg"));
    grading = TemperatureGrading{};
}

void TemperatureWindow::resetRun() {
    variantSolutionText->show();
    variantAcidText->show();
    stopwatch->setVisible(false);
    setCoefficientInputsVisible(false);
    measurementTable->setEnabled(true);
}

void TemperatureWindow::onActivated() {
    if (variant_) {
        const VariantChoice choice = variant_();
        variantSolutionText->setCaption(choice.solution);
        variantAcidText->setCaption(choice.acid);
    }
    // Row 1 is tube 1 of experiment 1 at 25 °C: its time and rate come from Таблица 1.
    using namespace TemperatureTable;
    if (experiment1Table_)
        measurementTable->setCell(TimeColumn, 1,
                                  experiment1Table_->cell(MeasurementTable::TimeColumn, 1));
    for (int row = 1; row <= LastRow; ++row)
        measurementTable->setCell(TemperatureColumn, row, temperatureText(row));
    if (experiment1Table_)
        measurementTable->setCell(RateColumn, 1,
                                  experiment1Table_->cell(MeasurementTable::RateColumn, 1));
    ExperimentWindow::onActivated();
}

void TemperatureWindow::onNextClicked() {
    advanceStep();
    stopwatch->display()->setCaption(QStringLiteral("00:00"));
    nextLink->hide();
    if (isTimedStep(step())) {
        variantSolutionText->hide();
        variantAcidText->hide();
        stopwatch->setVisible(true);
    }
    // Refused while a time or a temperature is missing or a time gives no rate: the step is
    // taken back and its movie shown again.
    if (step() == CoefficientsStep) {
        if (tableComplete() && computeRates()) {
            stopwatch->setVisible(false);
            setCoefficientInputsVisible(true);
            measurementTable->setEnabled(false);
            measurementTable->setCell(TemperatureTable::CoefficientColumn, 1, QStringLiteral("-"));
        } else {
            takeBackStep();
        }
    }
    loadStepMovie();
}

void TemperatureWindow::loadStepMovie() {
    // The timed steps' movies differ between the variants.
    if (isTimedStep(step()))
        showMovie(QStringLiteral("\\Movie\\Opyt2\\%1_%2.swf").arg(step()).arg(session_.variant()));
    else
        showMovie(QStringLiteral("\\Movie\\Opyt2\\%1.swf").arg(step()));
}

void TemperatureWindow::onFinishClicked() {
    setCoefficientInputsVisible(false);
    returnToMainWindow();
}

void TemperatureWindow::atMovieEnd() {
    if (isTimedStep(step())) nextLink->show();
}

void TemperatureWindow::setCoefficientInputsVisible(bool visible) {
    for (const CoefficientInput& input : coefficientInputs) {
        for (QWidget* w : std::initializer_list<QWidget*>{input.numeratorBox, input.denominatorBox,
                                                          input.okButton, input.coefficientText})
            w->setVisible(visible);
        input.coefficientText->setCaption(QString());
    }
}

// The answer boxes take what the measurement tables take: digits, the comma, Backspace, Enter.
void TemperatureWindow::filterAnswerKey(unsigned char& key) {
    numericKeyFilter(key);
}

void TemperatureWindow::checkCoefficient(int coefficient) {
    // Coefficient k divides the rate of tube k + 1 by that of tube k and stands in the table
    // beside the numerator's rate.
    const CoefficientInput& input = coefficientInputs[coefficient - 1];
    CoefficientAttempt attempt = {
        coefficient,
        input.numeratorBox->text(),
        input.denominatorBox->text(),
        measurementTable->cell(TemperatureTable::RateColumn, coefficient + 1),
        measurementTable->cell(TemperatureTable::RateColumn, coefficient),
    };
    const CoefficientCheck check =
        ::checkCoefficient(attempt.numeratorBox, attempt.denominatorBox, attempt.numeratorRate,
                           attempt.denominatorRate, coefficientHalfRounding(coefficient));
    attempt.accepted = check.outcome == CoefficientCheck::Outcome::Accepted;
    if (check.outcome != CoefficientCheck::Outcome::Unreadable) grading.noteAttempt(attempt);
    std::optional<GradeEvidence> graded;
    switch (check.outcome) {
        case CoefficientCheck::Outcome::Accepted:
            measurementTable->setCell(TemperatureTable::CoefficientColumn, coefficient + 1,
                                      check.coefficientText);
            input.coefficientText->setCaption(check.coefficientText);
            if (grading.accept(coefficient)) {
                graded = grading.evidence(tableColumn(TemperatureTable::TimeColumn),
                                          tableColumn(TemperatureTable::RateColumn));
                session_.recordGrade(2, grading.grade, *graded);
            }
            break;
        case CoefficientCheck::Outcome::Rejected:
            showMessageBox(WrongCoefficientMessage);
            grading.reject();
            break;
        case CoefficientCheck::Outcome::Unreadable:
            break;
    }
    finishWhenBothShown();
    if (graded) showGradeMessage(*graded);
}

QStringList TemperatureWindow::tableColumn(int column) const {
    QStringList texts;
    for (int row = 1; row <= TemperatureTable::LastRow; ++row)
        texts.append(measurementTable->cell(column, row));
    return texts;
}

void TemperatureWindow::finishWhenBothShown() {
    for (const CoefficientInput& input : coefficientInputs)
        if (input.coefficientText->text().isEmpty()) return;
    setCoefficientInputsVisible(false);
    advanceStep();
    showMovie(QStringLiteral("\\Movie\\Opyt2\\%1.swf").arg(ConclusionStep));
}
