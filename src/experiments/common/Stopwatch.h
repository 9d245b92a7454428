#pragma once

#include <QString>
#include <cstdint>

#include "toolkit/LabTimer.h"

class QPushButton;
class QWidget;
class StaticText;

// The stopwatch of the experiment windows: "Старт" notes the moment on the monotonic clock,
// the display shows minutes and seconds at every tick (once a second), "Стоп" ends it. The
// stopwatch is the timer of its display, so tests can tick it by hand.
class Stopwatch : public LabTimer {
    Q_OBJECT
public:
    // Creates the display and the two buttons on the window, in that order and hidden, with
    // "Стоп" disabled; the window places them and shows them when the measuring begins.
    explicit Stopwatch(QWidget* window);

    void start();
    void stop();
    // Shows or hides the display and both buttons together.
    void setVisible(bool visible);

    StaticText* display() const { return display_; }
    QPushButton* startButton() const { return startButton_; }  // "Старт"
    QPushButton* stopButton() const { return stopButton_; }    // "Стоп"

private:
    void showElapsed();

    StaticText* display_;
    QPushButton* startButton_;
    QPushButton* stopButton_;
    std::int64_t startMs_ = 0;  // the "Старт" moment on the monotonic clock
};

// Minutes and seconds of an elapsed time, "mm:ss"; hours are not shown.
QString stopwatchText(long long elapsedMs);
