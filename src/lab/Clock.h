#pragma once

#include <cstdint>

// The program's sources of time, behind one interface so that tests run without sleeping.
class LabClock {
public:
    virtual ~LabClock() = default;
    // Milliseconds since an arbitrary start, unsigned 32-bit, wrapping like a system tick counter.
    virtual std::uint32_t tickCount() = 0;
    // A monotonic millisecond clock for measuring intervals; never jumps with the wall clock.
    virtual std::int64_t monotonicMs() = 0;
    // Local date and time as days since 30 December 1899, the time of day as the fraction.
    virtual double localDateTime() = 0;
    // Lets the clock advance while a caller waits (a no-op for the real clock).
    virtual void idle() {}
};

LabClock& labClock();
// Waits until the next whole second of the tick counter (more than 0, at most 1000 ms).
void waitOneSecond();
// Installs a clock for tests; nullptr restores the system clock.
void setLabClock(LabClock* clock);

// A clock that tests move by hand.
class ManualClock : public LabClock {
public:
    std::uint32_t tickCount() override { return std::uint32_t(ms); }
    std::int64_t monotonicMs() override { return ms; }
    double localDateTime() override { return dateTime0 + double(ms) / 86400000.0; }
    void idle() override { ms += idleStepMs; }
    void advance(std::int64_t deltaMs) { ms += deltaMs; }

    std::int64_t ms = 0;
    double dateTime0 = 46000.5;
    std::int64_t idleStepMs = 1;
};
