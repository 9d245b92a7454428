#include "movie/MoviePlayer.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <variant>

#include "lab/Clock.h"
#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {
// Screen readers meet the player as an image; its description (set by the window for each
// step) says what the movie shows.
QAccessibleInterface* playerInterface(const QString& className, QObject* object) {
    if (className != QLatin1String("MoviePlayer") || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
}
}  // namespace

MoviePlayer::MoviePlayer(QWidget* parent) : QWidget(parent) {
    static const bool accessible = (QAccessible::installFactory(playerInterface), true);
    Q_UNUSED(accessible);
    setAccessibleName(QStringLiteral("Анимация"));
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
    frameChanged();
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

int MoviePlayer::totalFrames() const {
    // The header's count, as long as the file holds that many frames. A movie cut short or with a
    // wrong count reports the frames it can show: the windows wait for currentFrame() to reach
    // totalFrames() - 1, and a count that can never be reached would leave the student stuck.
    return timeline_ ? timeline_->framesPresent() : 0;
}

int MoviePlayer::currentFrame() const {
    return timeline_ ? timeline_->frameNum() : 0;
}

void MoviePlayer::stop() {
    if (timeline_) timeline_->stop();
}

void MoviePlayer::playOn() {
    if (!timeline_ || timeline_->root().playing()) return;
    timeline_->root().setPlaying(true);
    // The next frame is due one interval from now, not at once.
    startClock();
}

int MoviePlayer::labelledFrame(const QByteArray& name) const {
    if (!timeline_) return -1;
    int frame = 0;
    for (const swf::Tag& tag : timeline_->movie().tags) {
        if (std::holds_alternative<swf::ShowFrameTag>(tag)) ++frame;
        if (const auto* label = std::get_if<swf::FrameLabelTag>(&tag); label && label->name == name)
            return frame < totalFrames() ? frame : -1;
    }
    return -1;
}

void MoviePlayer::goToFrame(int frame) {
    if (!timeline_) return;
    timeline_->gotoFrame(std::clamp(frame, 0, std::max(0, totalFrames() - 1)));
    frameChanged();
    // The next frame is due one interval from now.
    startClock();
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
    frameChanged();
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
    if (steps > 0) frameChanged();
}

void MoviePlayer::frameChanged() {
    frames_.clear();
    if (isVisible()) update();
}

QImage MoviePlayer::frameImage(double ratio) const {
    if (!timeline_ || ratio <= 0) return {};
    for (const CachedFrame& f : frames_)
        if (f.ratio == ratio) return f.image;
    // Rounded up so the image covers every device pixel the widget touches; the stage is laid
    // out over exactly those pixels, as the renderer lays it out for an image of that size.
    const QSize device(int(std::ceil(width() * ratio - 1e-6)),
                       int(std::ceil(height() * ratio - 1e-6)));
    if (device.isEmpty()) return {};
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&image);
        lastFrameWork_ = swf::renderStage(p, *timeline_, QRectF(QPointF(0, 0), QSizeF(device)));
    }
    image.setDevicePixelRatio(ratio);
    ++framesRendered_;
    if (frames_.size() >= 2) frames_.erase(frames_.begin());
    frames_.push_back({ratio, image});
    return image;
}

void MoviePlayer::resizeEvent(QResizeEvent* event) {
    frames_.clear();
    QWidget::resizeEvent(event);
}

bool MoviePlayer::event(QEvent* event) {
    // Moved to a screen of another scale: the next paint asks for the new ratio; make sure one
    // comes even where the platform repaints only what it thinks changed.
    if (event->type() == QEvent::ScreenChangeInternal) update();
    return QWidget::event(event);
}

void MoviePlayer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!timeline_) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    const QImage frame = frameImage(devicePixelRatioF());
    // Drawn with the painter in device pixels and the origin on a whole device pixel, so each
    // pixel of the frame lands on one pixel of the screen: no resampling, no blur, no double
    // edge at fractional ratios (where the widget's origin can fall between two pixels).
    const QTransform device = p.deviceTransform();
    const QPointF origin = device.map(QPointF(0, 0));
    if (device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() > 0) {
        p.setWorldTransform(QTransform::fromScale(1 / device.m11(), 1 / device.m22()));
        const QPointF snapped(std::round(origin.x()) - origin.x(),
                              std::round(origin.y()) - origin.y());
        QImage plain = frame;
        plain.setDevicePixelRatio(1);
        p.drawImage(snapped, plain);
    } else {
        p.drawImage(QPointF(0, 0), frame);
    }
}
