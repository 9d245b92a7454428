#include "lab/Clock.h"

#include <QDateTime>
#include <chrono>
#include <thread>

#include "lab/Replaceable.h"

namespace {
class SystemClock : public LabClock {
public:
    std::uint32_t tickCount() override {
        using namespace std::chrono;
        return std::uint32_t(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    std::int64_t monotonicMs() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    double localDateTime() override {
        const QDateTime now = QDateTime::currentDateTime();
        static const QDate origin(1899, 12, 30);
        const double days = double(origin.daysTo(now.date()));
        return days + double(now.time().msecsSinceStartOfDay()) / 86400000.0;
    }
    void idle() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
};

Replaceable<LabClock, SystemClock> currentClock;
}  // namespace

LabClock& labClock() {
    return currentClock.get();
}

void setLabClock(LabClock* clock) {
    currentClock.install(clock);
}

void waitOneSecond() {
    LabClock& clock = labClock();
    const std::uint32_t s0 = clock.tickCount() / 1000;
    while (clock.tickCount() / 1000 == s0) clock.idle();
}
