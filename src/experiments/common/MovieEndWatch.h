#pragma once

#include <functional>

#include "toolkit/LabTimer.h"

class MoviePlayer;

// The 10 ms watch over an experiment window's movie: on the last frame it stops the movie
// instead of letting it loop back to the first, and lets the window show what comes next; a
// movie waiting part-way for the student it plays on when the window says so.
class MovieEndWatch : public LabTimer {
    Q_OBJECT
public:
    MovieEndWatch(MoviePlayer* movie, std::function<void()> atLastFrame, QObject* parent = nullptr);

    // The watch looks only while this holds (when set).
    void setWatchingWhen(std::function<bool()> condition) { condition_ = std::move(condition); }
    // A movie that stopped itself before its last frame to wait for the student plays on while
    // this holds (when set): a tube movie waits at the acid until the stopwatch runs.
    void setPlayOnWhen(std::function<bool()> condition) { playOnWhen_ = std::move(condition); }

private:
    void check();

    MoviePlayer* movie_;
    std::function<void()> atLastFrame_;
    std::function<bool()> condition_;
    std::function<bool()> playOnWhen_;
};
