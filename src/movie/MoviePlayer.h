#pragma once

#include <QString>
#include <QWidget>
#include <memory>

// The movie player that stands where the laboratory's windows place their Flash1 control.
// The windows rely on exactly these operations: set the movie, read the frame count and the
// current frame, stop; plus the stored play and loop settings of each player.
class MoviePlayer : public QWidget {
    Q_OBJECT
public:
    explicit MoviePlayer(QWidget* parent = nullptr);
    ~MoviePlayer() override;

    // Replaces the movie on show; it starts from its first frame, playing at once where play
    // is on. A file the player refuses leaves false and the reason in *error.
    bool setMovie(const QString& path, QString* error = nullptr);
    QString movie() const { return path_; }

    int TotalFrames() const;
    int FrameNum() const;
    // Halts playback on the current frame, which stays on show.
    void Stop();

    // The stored settings: play (start playing when a movie is set) and loop.
    void setPlay(bool on) { play_ = on; }
    bool play() const { return play_; }
    void setLoop(bool on) { loop_ = on; }
    bool loop() const { return loop_; }
    bool isPlaying() const { return playing_; }

    // Tests step frames by hand instead of waiting for the clock.
    void setManualStepping(bool on);
    void stepFrames(int n = 1);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString path_;
    bool play_ = true;
    bool loop_ = true;
    bool playing_ = false;
    bool manual_ = false;
    int totalFrames_ = 0;
    int frame_ = 0;
};
