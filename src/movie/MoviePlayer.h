#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "movie/Renderer.h"

// The movie player of the laboratory's windows. The windows rely on exactly these operations:
// set the movie, read the frame count and the current frame, stop, play on from a frame the
// movie stopped at, go to a labelled frame; plus the stored play and loop settings of each
// player.
//
// It plays SWF movies of the project's subset (SwfReader.h, Timeline.h, Renderer.h) with
// quality "High" (antialiased) and scale mode "ShowAll". Playback keeps real time: a timer
// checks the monotonic clock (labClock()) and advances as many frames as the elapsed time
// says, but a pass never skips its last frame, which stays on show for at least one frame
// interval.
//
// Frames are drawn at the widget's device pixel ratio (fractional ones too), so a movie is as
// sharp as the text beside it on a scaled screen: each frame is rendered once into an image of
// device pixels, kept per ratio while the frame stays on show, and drawn 1:1 onto the screen.
// A window moved to a screen of another scale gets the frame rendered anew for that ratio.
class MoviePlayer : public QWidget {
    Q_OBJECT
public:
    explicit MoviePlayer(QWidget* parent = nullptr);
    ~MoviePlayer() override;

    // Replaces the movie on show; it starts from its first frame, playing at once where play
    // is on. A file the player refuses leaves false, the reason in *error (what failed and at
    // which byte, as swf::describe words it) and the previous movie in place.
    bool setMovie(const QString& path, QString* error = nullptr);
    QString movie() const { return path_; }

    // The frames the movie can show: the header's frame count, or fewer when the file holds
    // fewer (0 without a movie).
    int totalFrames() const;
    // The frame on show, from 0.
    int currentFrame() const;
    // Halts playback on the current frame, which stays on show.
    void stop();
    // Plays on from the frame on show: a movie that stopped itself to wait for the student
    // (a tube movie waits for «Старт») goes on from there.
    void playOn();
    // The frame a label names ("acid": where a tube movie waits for «Старт»), or -1 when the
    // movie has no such label.
    int labelledFrame(const QByteArray& name) const;
    // Shows the given frame (clamped) as the movie reaches it, its actions run: a movie sent
    // back to a frame that waits for the student stops there again.
    void goToFrame(int frame);

    // The stored settings: play (start playing when a movie is set) and loop.
    void setPlay(bool on) { play_ = on; }
    bool play() const { return play_; }
    void setLoop(bool on);
    bool loop() const { return loop_; }
    bool isPlaying() const;

    // Tests step frames by hand instead of waiting for the clock: with manual stepping on, the
    // timer is off and stepFrames(n) runs n player ticks.
    void setManualStepping(bool on);
    void stepFrames(int n = 1);

    // What the playback timer does on each tick: advance to the frame the monotonic clock says
    // (tests call it after moving a ManualClock).
    void catchUpWithClock();

    // The loaded movie's timeline (null without a movie), for tests and tools.
    const swf::Timeline* timeline() const { return timeline_.get(); }

    // The frame on show as drawn for the given device pixel ratio: an image of device pixels
    // (the widget's size times the ratio, rounded up) carrying that ratio. Rendered on first
    // use and kept until the frame changes.
    QImage frameImage(double ratio) const;
    // How many frame images were rendered so far (tests see that repaints reuse them).
    int framesRendered() const { return framesRendered_; }
    // What drawing the last frame image took (its budget: Renderer.h).
    const swf::FrameWork& lastFrameWork() const { return lastFrameWork_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void startClock();
    void frameChanged();

    struct CachedFrame {
        double ratio = 0;
        QImage image;
    };

    QString path_;
    bool play_ = true;
    bool loop_ = true;
    bool manual_ = false;
    std::unique_ptr<swf::Timeline> timeline_;
    QTimer timer_;
    double intervalMs_ = 1000.0 / 12.0;
    double nextDueMs_ = 0;
    // The frame on show at the ratios it was drawn for (two screens of different scale at most
    // share one window at a time; more are dropped oldest first).
    mutable std::vector<CachedFrame> frames_;
    mutable int framesRendered_ = 0;
    mutable swf::FrameWork lastFrameWork_;
};
