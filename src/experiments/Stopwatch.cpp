#include "experiments/Stopwatch.h"

#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "core/LabState.h"
#include "toolkit/Clock.h"
#include "toolkit/StaticText.h"

namespace {
// The moments are kept in days.
constexpr double MsPerDay = 86400000.0;
}  // namespace

Stopwatch::Stopwatch(StaticText* display, QPushButton* startButton, QPushButton* stopButton,
                     QObject* parent)
    : LabTimer(1000, parent),
      display_(display),
      startButton_(startButton),
      stopButton_(stopButton) {
    connect(this, &LabTimer::timeout, this, &Stopwatch::showElapsed);
    display_->setLiveLabel(QStringLiteral("Секундомер"));
}

void Stopwatch::start() {
    LabState.stopwatchStart = double(labClock().monotonicMs()) / MsPerDay;
    setEnabled(true);
    stopButton_->setEnabled(true);
    startButton_->setEnabled(false);
}

void Stopwatch::stop() {
    setEnabled(false);
    stopButton_->setEnabled(false);
    startButton_->setEnabled(true);
}

void Stopwatch::showElapsed() {
    const long long start = std::llround(LabState.stopwatchStart * MsPerDay);
    const long long elapsed = std::max<long long>(0, labClock().monotonicMs() - start);
    LabState.stopwatchElapsed = double(elapsed) / MsPerDay;
    display_->setCaption(stopwatchText(elapsed));
}

QString stopwatchText(long long elapsedMs) {
    if (elapsedMs < 0) elapsedMs = 0;
    const long long seconds = elapsedMs / 1000;
    return QStringLiteral("%1:%2")
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
