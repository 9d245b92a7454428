#pragma once

#include <QString>

#include "toolkit/LabTimer.h"

class QPushButton;
class StaticText;

// The stopwatch of the experiment windows: "Старт" notes the moment on the monotonic clock,
// the display shows minutes and seconds at every tick (once a second), "Стоп" ends it. The
// stopwatch is the timer of its display, so tests can tick it by hand.
class Stopwatch : public LabTimer {
    Q_OBJECT
public:
    Stopwatch(StaticText* display, QPushButton* startButton, QPushButton* stopButton,
              QObject* parent = nullptr);

    void start();
    void stop();

private:
    void showElapsed();

    StaticText* display_;
    QPushButton* startButton_;
    QPushButton* stopButton_;
};

// Minutes and seconds of an elapsed time, "mm:ss"; hours are not shown.
QString stopwatchText(long long elapsedMs);
