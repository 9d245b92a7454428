#pragma once

#include <functional>

#include "experiments/common/ExperimentWindow.h"
#include "lab/VariantChoice.h"

class ReferenceData;

class FilteredEdit;
class LinkLabel;
class QPushButton;

// Experiment 1 window: effect of concentration on the reaction rate
class ConcentrationWindow : public ExperimentWindow, public TimedMeasurementParts {
    Q_OBJECT
public:
    // The steps of a run; each but the last shows the movie its number names.
    enum Step : int {
        TaskStep = 1,    // the task and the equation
        CalculatorStep,  // the four tubes and the dilution calculator
        TimingStep,      // how to time a tube; the concentrations must be in the table
        FirstTubeStep,   // tubes 1 to 4 in turn, timed with the stopwatch
        LastTubeStep = FirstTubeStep + 3,
        RatesStep,  // no movie: the rates, "График" and the graph window
    };

    ConcentrationWindow(Session& session, Navigation& navigation, ReferenceData& referenceData,
                        QWidget* parent = nullptr);

    // The variant whose two texts the window shows beside the calculator.
    void setVariantSource(VariantSource source) { variant_ = std::move(source); }

    // The graph window is opened after the rates are computed (silent about a table text that
    // is not a number) and from "График" (reporting it); set by the composition root.
    enum class GraphOpening { AfterRates, FromGraphLink };
    std::function<void(GraphOpening)> openGraph;

    LinkLabel* graphLink = nullptr;             // "График"
    QPushButton* calculatorOkButton = nullptr;  // "Ok" of the dilution calculator
    FilteredEdit* initialConcentrationBox = nullptr;
    FilteredEdit* thiosulfateVolumeBox = nullptr;
    FilteredEdit* mixThiosulfateVolumeBox = nullptr;
    FilteredEdit* mixWaterVolumeBox = nullptr;
    FilteredEdit* mixAcidVolumeBox = nullptr;
    FilteredEdit* dilutedConcentrationBox = nullptr;

    void onNextClicked();
    void onFinishClicked();
    void onGraphClicked();
    void onCalculatorOkClicked();
    void onStartClicked();
    void onStopClicked();

    void setCalculatorVisible(bool visible);

protected:
    void resetRun() override;
    void onActivated() override;
    void atMovieEnd() override;

private:
    void createControls();
    // Its pictures, and the reference data of Dannie.txt for the grade.
    void loadContents();
    void loadStepMovie();
    // Whether every concentration is filled in and a number; names the first that is not.
    bool concentrationsReadable();
    // Whether the student's two columns are filled in, the concentrations with numbers.
    bool tableComplete();
    void finishMeasurements();

    VariantSource variant_;

    ReferenceData& referenceData_;
};
