#pragma once

#include <functional>

#include "core/VariantChoice.h"
#include "toolkit/LabWindow.h"

class FilteredEdit;
class HeadingStrip;
class MovieEndWatch;
class SlidingTable;
class Stopwatch;
class LinkLabel;
class MoviePlayer;
class Picture;
class QLabel;
class QPushButton;
class StaticText;
class StringGrid;

// Experiment 1 window: effect of concentration on the reaction rate
class ConcentrationWindow : public LabWindow {
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

    Picture* background = nullptr;
    QLabel* numberTitle = nullptr;
    QLabel* topicTitle = nullptr;
    LinkLabel* nextLink = nullptr;    // "Далее"
    LinkLabel* finishLink = nullptr;  // "Закончить опыт"
    LinkLabel* graphLink = nullptr;   // "График"
    Picture* closeSpot = nullptr;
    Picture* closeGlyph = nullptr;
    MoviePlayer* movie = nullptr;
    StringGrid* measurementTable = nullptr;     // "Таблица 1"; experiment 2 reads row 1
    QPushButton* calculatorOkButton = nullptr;  // "Ok" of the dilution calculator
    FilteredEdit* initialConcentrationBox = nullptr;
    FilteredEdit* thiosulfateVolumeBox = nullptr;
    FilteredEdit* mixThiosulfateVolumeBox = nullptr;
    FilteredEdit* mixWaterVolumeBox = nullptr;
    FilteredEdit* mixAcidVolumeBox = nullptr;
    FilteredEdit* dilutedConcentrationBox = nullptr;
    StaticText* tableCaption = nullptr;
    StaticText* variantSolutionText = nullptr;
    StaticText* variantAcidText = nullptr;
    StaticText* stopwatchDisplay = nullptr;  // stopwatch display
    QPushButton* startButton = nullptr;      // "Старт"
    QPushButton* stopButton = nullptr;       // "Стоп"
    HeadingStrip* headingStrip = nullptr;
    SlidingTable* slidingTable = nullptr;
    Stopwatch* stopwatch = nullptr;
    MovieEndWatch* movieEndWatch = nullptr;

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
