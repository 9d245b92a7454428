#pragma once

#include <QString>
#include <array>

#include "experiments/common/ExperimentWindow.h"
#include "lab/TemperatureCoefficients.h"
#include "lab/VariantChoice.h"

class FilteredEdit;
class QPushButton;
class StaticText;
class StringGrid;

// Experiment 2 window: effect of temperature on the reaction rate
class TemperatureWindow : public ExperimentWindow, public TimedMeasurementParts {
    Q_OBJECT
public:
    // The steps of a run, each showing the movie its number names.
    enum Step : int {
        TaskStep = 1,      // the task and the van 't Hoff rule, with the variant's texts
        At35DegreesStep,   // the tube heated to 35 °C and timed
        At45DegreesStep,   // the tube heated to 45 °C and timed
        CoefficientsStep,  // the times must be in the table: the rates and the coefficients
        ConclusionStep,    // both coefficients accepted
    };

    TemperatureWindow(Session& session, Navigation& navigation, QWidget* parent = nullptr);

    // The variant whose two texts the window shows, and the table of experiment 1, whose
    // tube 1 gives the first row; set by the composition root.
    void setVariantSource(VariantSource source) { variant_ = std::move(source); }
    void setExperiment1Table(const StringGrid* table) { experiment1Table_ = table; }

    void onNextClicked();
    void onFinishClicked();
    void onStartClicked();
    void onStopClicked();
    void filterAnswerKey(unsigned char& key);

    void setCoefficientInputsVisible(bool visible);

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
    void resetRun() override;
    void onActivated() override;
    void atMovieEnd() override;

private:
    void loadContents();
    void createControls();
    void setUpTable();
    void connectHandlers();
    void loadStepMovie();
    // The column checks of the times and temperatures: the first empty cell of rows 1..3 shows
    // its message and focuses the table.
    bool tableComplete();
    // The rates of rows 1..3 from their times; a time that gives none is named.
    bool computeRates();
    // "ОК" of coefficient 1 or 2.
    void checkCoefficient(int coefficient);
    void finishWhenBothShown();
    // The texts of a column of the table, rows 1..3.
    QStringList tableColumn(int column) const;

    VariantSource variant_;
    const StringGrid* experiment1Table_ = nullptr;
};
