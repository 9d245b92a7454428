#pragma once

#include <QObject>
#include <QString>

class ClassJournal;
class ClassPresenceView;
class JournalWatch;
class JournalWindow;

// Keeps the teacher's view of the class up to date while it is open: when the watch says rows
// changed, the view reads them again as «Обновить» would, keeping the sitting selected, the
// filters and the part of the table in sight; a read already running is followed by one more
// rather than a second at once. While the teacher is typing a login that was not used yet,
// nothing is read. The view's «Сейчас в классе» follows every read.
//
// Listening on the class server starts once a teacher's login has been read with; it stops,
// and the login is forgotten, when the view closes.
class JournalFollower : public QObject {
    Q_OBJECT
public:
    JournalFollower(JournalWindow* window, ClassJournal* journal, ClassPresenceView* presence);

    JournalWatch* watch() const { return watch_; }
    // Reads the watch asked for that were done (for tests).
    int followedReads() const { return followedReads_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where the teacher was in the table: the sitting selected and the one at the top of sight.
    struct Place {
        QString selected;
        int column = -1;
        QString top;
        bool atTop = true;
        int horizontal = 0;
    };
    void onRowsChanged();
    void onLoaded();
    bool loginAsLoaded() const;
    Place place() const;
    void restore(const Place& place);
    QString keyOfRow(int row) const;
    int rowOfKey(const QString& key) const;

    JournalWindow* window_;
    ClassJournal* journal_;
    ClassPresenceView* presence_;
    JournalWatch* watch_;
    bool pending_ = false;
    bool following_ = false;
    Place place_;
    QString loadedUser_;
    QString loadedPassword_;
    int followedReads_ = 0;
};
