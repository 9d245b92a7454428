#pragma once

#include <optional>

#include "toolkit/LabWindow.h"

class LabTimer;
class LinkLabel;
class Picture;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;
class QXYSeries;

// Graph window of experiment 1: the rate line against the reference, and the grade
class TForm8 : public LabWindow {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    // Whether a table text that is not a number is reported when the window is opened.
    enum class Failures { Silent, Reported };
    // Adds the measured points and shows the window modally. When a table text does not
    // convert, the window is not shown; returns false then.
    bool showGraph(Failures failures);

    Picture* Image1 = nullptr;     // bottom picture
    LinkLabel* Label14 = nullptr;  // "Далее"
    LinkLabel* Label5 = nullptr;   // "Назад"
    QChartView* Chart1 = nullptr;
    QLineSeries* Series1 = nullptr;     // "Эталон", the reference line
    QLineSeries* Series2 = nullptr;     // the student's line, growing to tube 4
    QScatterSeries* Series3 = nullptr;  // the measured points
    LabTimer* Timer1 = nullptr;         // growth of the student's line

    // The working values of the graph and the grade.
    double MeasuredC = 0;
    double MeasuredV = 0;
    double LineX = 0;

    // Adds (0, 0) and the four measured points; on a text that does not convert returns it
    // (the points added before it stay).
    std::optional<QString> FormShow();
    void Label14Click();
    void Label5Click();
    void Timer1Timer();

    // An axis from 0 with its tick step and the decimals of its labels.
    struct AxisScale {
        double step = 0.2;
        double max = 1;
        int decimals = 1;
        bool operator==(const AxisScale&) const = default;
    };

    // The text of the error box for a table text that is not a number.
    static QString invalidNumberMessage(const QString& text);

private:
    void createControls();
    void createChart();
    std::optional<QString> StartExperimentalLine();
    void DrawReferenceLine();
    std::optional<QString> GradeExperiment1();
    std::optional<QString> readTube4();
    void addPoint(QXYSeries* series, double x, double y);
    void rescaleAxes();
    int chosenVariant() const;

    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    int lineTick_ = 0;
    AxisScale scaleX_, scaleY_;
};
