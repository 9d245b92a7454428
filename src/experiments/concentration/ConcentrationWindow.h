#pragma once

#include <functional>

#include "experiments/common/ExperimentChrome.h"
#include "lab/VariantChoice.h"
#include "toolkit/LabWindow.h"

class FilteredEdit;
class LinkLabel;
class QPushButton;

// Experiment 1 window: effect of concentration on the reaction rate
class ConcentrationWindow : public LabWindow,
                            public ExperimentChrome,
                            public TimedMeasurementParts {
    Q_OBJECT
public:
    explicit ConcentrationWindow(QWidget* parent = nullptr);

    // Puts the window into the starting state of a new run (called by the main window before
    // it loads the first movie and shows this window).
    void prepareRun();

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
    void onCloseGlyphClicked();
    void onCalculatorOkClicked();
    void onStartClicked();
    void onStopClicked();

    void setCalculatorVisible(bool visible);

protected:
    void onActivated() override;

private:
    void createControls();
    void loadContents();
    void loadStepMovie();
    void atMovieEnd();
    void finishMeasurements();

    VariantSource variant_;
};
