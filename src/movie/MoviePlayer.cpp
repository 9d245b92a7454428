#include "movie/MoviePlayer.h"

#include <QFile>
#include <QPainter>

// Stand-in until the SWF player lands: accepts any readable file as a one-frame movie.
MoviePlayer::MoviePlayer(QWidget* parent) : QWidget(parent) {}

MoviePlayer::~MoviePlayer() = default;

bool MoviePlayer::setMovie(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    path_ = path;
    totalFrames_ = 1;
    frame_ = 0;
    playing_ = play_;
    update();
    return true;
}

int MoviePlayer::TotalFrames() const { return totalFrames_; }

int MoviePlayer::FrameNum() const { return frame_; }

void MoviePlayer::Stop() { playing_ = false; }

void MoviePlayer::setManualStepping(bool on) { manual_ = on; }

void MoviePlayer::stepFrames(int n) {
    if (totalFrames_ <= 0) return;
    for (int i = 0; i < n && playing_; ++i) {
        if (frame_ + 1 < totalFrames_)
            ++frame_;
        else if (loop_)
            frame_ = 0;
        else
            playing_ = false;
    }
}

void MoviePlayer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}
