#pragma once

#include <QString>
#include <array>

#include "experiments/common/ExperimentChrome.h"
#include "lab/TemperatureCoefficients.h"
#include "lab/VariantChoice.h"
#include "toolkit/LabWindow.h"

class FilteredEdit;
class QPushButton;
class StaticText;
class StringGrid;

// Experiment 2 window: effect of temperature on the reaction rate
class TemperatureWindow : public LabWindow, public ExperimentChrome, public TimedMeasurementParts {
    Q_OBJECT
public:
    explicit TemperatureWindow(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

    // The variant whose two texts the window shows, and the table of experiment 1, whose
    // tube 1 gives the first row; set by the composition root.
    void setVariantSource(VariantSource source) { variant_ = std::move(source); }
    void setExperiment1Table(const StringGrid* table) { experiment1Table_ = table; }

    void onNextClicked();
    void onFinishClicked();
    void onStartClicked();
    void onStopClicked();
    void onTablePressed();
    void filterAnswerKey(unsigned char& key);

    void setCoefficientInputsVisible(bool visible);
    // The column check of the measurement tables: the first empty cell of rows 1..3 shows
    // the message, takes back the step just added and focuses the table.
    bool requireColumn(int column, const QString& message);

    // Grade and the two acceptance flags, kept for the whole program run.
    TemperatureGrading grading;

    // Where the student forms one temperature coefficient from two rates of the table and
    // sees it once "ОК" accepts it.
    struct CoefficientInput {
        FilteredEdit* numeratorBox = nullptr;
        FilteredEdit* denominatorBox = nullptr;
        QPushButton* okButton = nullptr;
        StaticText* coefficientText = nullptr;
    };
    // The coefficients of 35 °C over 25 °C and of 45 °C over 35 °C.
    std::array<CoefficientInput, 2> coefficientInputs;

protected:
    void onActivated() override;

private:
    void loadContents();
    void createControls();
    void setUpTable();
    void connectHandlers();
    void loadStepMovie();
    void atMovieEnd();
    bool computeRates();
    // "ОК" of coefficient 1 or 2.
    void checkCoefficient(int coefficient);
    void finishWhenBothShown();

    VariantSource variant_;
    const StringGrid* experiment1Table_ = nullptr;
};
