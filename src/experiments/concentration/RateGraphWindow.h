#pragma once

#include <optional>

#include "lab/VariantChoice.h"
#include "toolkit/LabWindow.h"

class LabTimer;
class LinkLabel;
class Picture;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QXYSeries;
class StringGrid;

// Graph window of experiment 1: the rate line against the reference, and the grade
class Navigation;
class ReferenceData;
class Session;

class RateGraphWindow : public LabWindow {
    Q_OBJECT
public:
    RateGraphWindow(Session& session, Navigation& navigation, const ReferenceData& referenceData,
                    QWidget* parent = nullptr);

    // Whether a table text that is not a number is reported when the window is opened.
    enum class Failures { Silent, Reported };
    // Adds the measured points and shows the window modally. When a table text does not
    // convert, the window is not shown; returns false then.
    bool showGraph(Failures failures);
    // The showing that follows the computed rates: the footer starts over, failures are silent.
    void showAfterRates();

    // Where the window reads the chosen variant and the measured points, and the experiment
    // window that "Назад" brings back; set by the composition root.
    void setVariantSource(VariantSource source) { variant_ = std::move(source); }
    void setMeasurementTable(const StringGrid* table) { measurementTable_ = table; }
    void setExperimentWindow(QWidget* window) { experimentWindow_ = window; }

    Picture* footer = nullptr;      // bottom picture
    LinkLabel* nextLink = nullptr;  // "Далее"
    LinkLabel* backLink = nullptr;  // "Назад"
    QChartView* chartView = nullptr;
    QLineSeries* referenceSeries = nullptr;     // "Эталон", the reference line
    QLineSeries* experimentalSeries = nullptr;  // the student's line, growing to tube 4
    QScatterSeries* measuredPoints = nullptr;   // the measured points
    LabTimer* lineGrowthTimer = nullptr;        // growth of the student's line

    // The working values of the graph and the grade.
    double measuredConcentration = 0;
    double measuredRate = 0;
    double lineX = 0;

    // A cell of the measurement table whose text is not a number.
    struct UnreadableCell {
        int column = 0;
        int row = 0;
    };
    // Adds (0, 0) and the four measured points; on a text that does not convert returns its
    // cell (the points added before it stay).
    std::optional<UnreadableCell> addMeasuredPoints();
    void onNextClicked();
    void onBackClicked();
    void onLineGrowthTick();

    // An axis from 0 with its tick step and the decimals of its labels.
    struct AxisScale {
        double step = 0.2;
        double max = 1;
        int decimals = 1;
        bool operator==(const AxisScale&) const = default;
    };

    // Where a box of the given size comes up while the window grades: beside the window, or
    // just below the chart when the screen has no room around it, never over the graph.
    QPoint boxPosition(QSize size) const;

    // The text of the error box for a table cell that is not a number: its column and row.
    QString invalidNumberMessage(const UnreadableCell& cell) const;

private:
    void createControls();
    void createChart();
    void startExperimentalLine();
    // The student's line is complete: the reference line, then the grade.
    void finishLines();
    void drawReferenceLine();
    void gradeExperiment();
    std::optional<UnreadableCell> readTube4();
    void addPoint(QXYSeries* series, double x, double y);
    void rescaleAxes();
    int chosenVariant() const;
    // The number in a cell of the measurement table, or the cell when its text is not one.
    std::optional<UnreadableCell> readCell(int column, int row, double* value) const;

    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    int lineTick_ = 0;
    AxisScale scaleX_, scaleY_;
    VariantSource variant_;
    Session& session_;
    Navigation& navigation_;
    const ReferenceData& referenceData_;
    const StringGrid* measurementTable_ = nullptr;
    QWidget* experimentWindow_ = nullptr;
};
