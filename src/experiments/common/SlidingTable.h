#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>

class LabTimer;
class QWidget;

// A measurement table that slides down out of the movie's way and back up: every 10 ms the
// table, with its caption and heading strip, moves 5 px while the table loses or regains as
// much height. The two slides never run together, so the table cannot jitter.
class SlidingTable : public QObject {
    Q_OBJECT
public:
    // The collapse ends at or below collapsedLimit, the expansion back at the table's starting
    // height. The table and its companions are expected in their starting places, which
    // restore() returns them to.
    SlidingTable(QWidget* table, const QList<QWidget*>& companions, int collapsedLimit,
                 QObject* parent = nullptr);

    void collapse();
    void expand();
    // Back to the starting places at once, as a new run begins.
    void restore();

    LabTimer* collapseTimer() const { return collapseTimer_; }
    LabTimer* expandTimer() const { return expandTimer_; }

private:
    void slide(int delta);

    QWidget* table_;
    QList<QWidget*> companions_;
    int collapsedLimit_;
    QRect startingTable_;
    QList<QPoint> startingCompanions_;
    LabTimer* collapseTimer_;
    LabTimer* expandTimer_;
};
