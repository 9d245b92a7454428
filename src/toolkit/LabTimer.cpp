#include "toolkit/LabTimer.h"

LabTimer::LabTimer(int intervalMs, QObject* parent) : QObject(parent) {
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &LabTimer::timeout);
}

void LabTimer::setEnabled(bool on) {
    if (on == timer_.isActive()) return;
    if (on)
        timer_.start();
    else
        timer_.stop();
}

void LabTimer::setInterval(int ms) {
    timer_.setInterval(ms);
}
