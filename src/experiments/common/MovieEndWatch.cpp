#include "experiments/common/MovieEndWatch.h"

#include "movie/MoviePlayer.h"

MovieEndWatch::MovieEndWatch(MoviePlayer* movie, std::function<void()> atLastFrame, QObject* parent)
    : LabTimer(10, parent), movie_(movie), atLastFrame_(std::move(atLastFrame)) {
    connect(this, &LabTimer::timeout, this, &MovieEndWatch::check);
}

void MovieEndWatch::check() {
    if (condition_ && !condition_()) return;
    const int last = movie_->totalFrames() - 1;
    if (playOnWhen_ && !movie_->isPlaying() && movie_->currentFrame() < last && playOnWhen_())
        movie_->playOn();
    if (movie_->currentFrame() != last) return;
    movie_->stop();
    if (atLastFrame_) atLastFrame_();
}
