#include "experiments/common/Stopwatch.h"

#include <QPushButton>
#include <algorithm>
#include <initializer_list>

#include "experiments/common/ExperimentChrome.h"
#include "lab/Clock.h"
#include "toolkit/Colors.h"
#include "toolkit/Fonts.h"
#include "toolkit/StaticText.h"

Stopwatch::Stopwatch(QWidget* window)
    : LabTimer(1000, window),
      display_(new StaticText(window)),
      startButton_(makeButton(window, QStringLiteral("Старт"), true)),
      stopButton_(makeButton(window, QStringLiteral("Стоп"), true)) {
    display_->setColors(LabColors::Black, LabColors::White);
    display_->setFont(labFont(QStringLiteral("Arial"), 21, true));
    // Sized to its text: "00:00" in this font is wider than the place the layouts give it.
    display_->setAutoSize(true);
    display_->setLiveLabel(QStringLiteral("Секундомер"));
    setVisible(false);
    stopButton_->setEnabled(false);
    connect(this, &LabTimer::timeout, this, &Stopwatch::showElapsed);
}

void Stopwatch::start() {
    startMs_ = labClock().monotonicMs();
    setEnabled(true);
    stopButton_->setEnabled(true);
    startButton_->setEnabled(false);
}

void Stopwatch::stop() {
    setEnabled(false);
    stopButton_->setEnabled(false);
    startButton_->setEnabled(true);
}

void Stopwatch::setVisible(bool visible) {
    for (QWidget* part : std::initializer_list<QWidget*>{display_, startButton_, stopButton_})
        part->setVisible(visible);
}

void Stopwatch::showElapsed() {
    const long long elapsed = std::max<long long>(0, labClock().monotonicMs() - startMs_);
    display_->setCaption(stopwatchText(elapsed));
}

QString stopwatchText(long long elapsedMs) {
    if (elapsedMs < 0) elapsedMs = 0;
    const long long seconds = elapsedMs / 1000;
    return QStringLiteral("%1:%2")
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
