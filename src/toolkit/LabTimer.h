#pragma once

#include <QObject>
#include <QTimer>

// A window timer: an interval in milliseconds and an enabled flag. Enabling a running timer
// changes nothing; its handler runs on the message loop, also inside modal loops.
class LabTimer : public QObject {
    Q_OBJECT
public:
    explicit LabTimer(int intervalMs, QObject* parent = nullptr);

    void setEnabled(bool on);
    bool enabled() const { return timer_.isActive(); }
    void setInterval(int ms);
    int interval() const { return timer_.interval(); }
    // Runs the handler once, as a tick would (tests).
    void fire() { Q_EMIT timeout(); }

Q_SIGNALS:
    void timeout();

private:
    QTimer timer_;
};
