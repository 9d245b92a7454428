#include "movie/MoviePlayer.h"

#include <QPainter>
#include <algorithm>

#include "movie/Renderer.h"
#include "movie/SwfReader.h"
#include "movie/Timeline.h"
#include "toolkit/Clock.h"

MoviePlayer::MoviePlayer(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &MoviePlayer::catchUpWithClock);
}

MoviePlayer::~MoviePlayer() = default;

bool MoviePlayer::setMovie(const QString& path, QString* error) {
    swf::ReadResult r = swf::readSwfFile(path);
    if (!r.ok) {
        if (error) *error = swf::describe(r.error);
        return false;
    }
    path_ = path;
    timeline_ = std::make_unique<swf::Timeline>(std::move(r.movie), play_, loop_);
    intervalMs_ = 1000.0 / timeline_->header().framesPerSecond();
    startClock();
    update();
    return true;
}

void MoviePlayer::startClock() {
    nextDueMs_ = double(labClock().monotonicMs()) + intervalMs_;
    if (!timeline_ || manual_) {
        timer_.stop();
        return;
    }
    timer_.start(std::clamp(int(intervalMs_ / 4), 5, 20));
}

int MoviePlayer::TotalFrames() const {
    // The header's count, as long as the file holds that many frames. A movie cut short or with a
    // wrong count reports the frames it can show: the windows wait for FrameNum to reach
    // TotalFrames - 1, and a count that can never be reached would leave the student stuck.
    return timeline_ ? timeline_->framesPresent() : 0;
}

int MoviePlayer::FrameNum() const {
    return timeline_ ? timeline_->frameNum() : 0;
}

void MoviePlayer::Stop() {
    if (timeline_) timeline_->stop();
}

void MoviePlayer::setLoop(bool on) {
    loop_ = on;
    if (timeline_) timeline_->setLoop(on);
}

bool MoviePlayer::isPlaying() const {
    return timeline_ && timeline_->root().playing();
}

void MoviePlayer::setManualStepping(bool on) {
    manual_ = on;
    startClock();
}

void MoviePlayer::stepFrames(int n) {
    if (!timeline_) return;
    for (int i = 0; i < n; ++i) timeline_->tick();
    if (isVisible()) update();
}

void MoviePlayer::catchUpWithClock() {
    if (!timeline_) return;
    const double now = double(labClock().monotonicMs());
    int steps = 0;
    while (now >= nextDueMs_) {
        timeline_->tick();
        ++steps;
        nextDueMs_ += intervalMs_;
        // Never skip the last frame: it stays on show for a whole interval.
        if (timeline_->frameNum() == timeline_->framesPresent() - 1 &&
            timeline_->root().playing()) {
            nextDueMs_ = std::max(nextDueMs_, now + intervalMs_);
            break;
        }
        if (steps >= 1000) {  // hopelessly behind (a suspended process): resume from now
            nextDueMs_ = now + intervalMs_;
            break;
        }
    }
    if (steps > 0 && isVisible()) update();
}

void MoviePlayer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!timeline_) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    swf::renderStage(p, *timeline_, QRectF(rect()));
}
