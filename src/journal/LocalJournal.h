#pragma once

#include <QString>

#include "journal/JournalEvent.h"

// journal.sqlite beside the results file: every registration, grade and deletion of this
// computer, one row per event, one transaction per event. Write-ahead logging keeps a write
// short and lets the server link read while the window thread writes; a process killed in the
// middle of a write leaves whole rows only.
//
// One object is one connection and belongs to the thread that created it; the server link
// opens its own. Nothing here shows a box: a fault becomes a sentence for the teacher's view.
class LocalJournal {
public:
    static constexpr int schemaVersion = 5;

    enum class State {
        Closed,
        Ready,
        ReadOnly,  // readable, not writable: rows are shown, nothing new is written
        Unusable,  // corrupt or not openable: nothing is read or written
    };

    // busyTimeoutMs: how long a write waits for a lock another connection holds.
    explicit LocalJournal(const QString& path, int busyTimeoutMs = 30);
    ~LocalJournal();
    LocalJournal(const LocalJournal&) = delete;
    LocalJournal& operator=(const LocalJournal&) = delete;

    // Opens the file, creating it when missing (its owner's only) and bringing an older one up
    // to the current schema. False when it cannot be written; fault() says why. Another
    // program holding the file at any step is "try again" (Closed), never Unusable. A link or
    // anything but a regular file at the place of the file or of its side files (-wal, -shm,
    // -journal) is refused: nothing is opened or written through it.
    bool open();
    // A file found corrupt is moved aside as journal.corrupt-YYYYMMDD-HHMMSS.sqlite (with its
    // log) and a fresh one begun, instead of being left alone as Unusable. Only the
    // connection that keeps the journal (the window thread's) does this.
    void setMovesCorruptFileAside(bool moves) { movesCorruptFileAside_ = moves; }
    // What the teacher should hear once about a file moved aside; empty afterwards.
    QString takeNotice();
    State state() const { return state_; }
    QString path() const { return path_; }
    // What went wrong last, in the teacher's words; empty while all is well.
    QString fault() const { return fault_; }

    // Writes the events in one transaction and fills in their ids; on failure nothing is
    // written and the events are left as they were.
    bool append(JournalEvents& events);

    // Every row in id order, or those after an id, at most limit of them (limit < 0: all).
    JournalEvents events(qint64 afterId = 0, int limit = -1);
    // The rows the server has not confirmed yet, oldest first; ok is false when the file could
    // not be read (nothing is known then, not "nothing waits").
    JournalEvents unsentEvents(int limit, bool* ok = nullptr);
    qint64 sentThrough();
    bool setSentThrough(qint64 id);
    qint64 unsentCount();

    // The newest sitting of this student on this computer that was not deleted, or empty.
    QString latestSitting(const QString& computer, const QString& group, const QString& surname);

    // Leaves moving the log into the database file to checkpoint(), so a write never waits for
    // the disk to catch up.
    void deferCheckpoints();
    // Moves what the log holds into the database file, on a connection of its own; safe to
    // call from any thread while others read and write.
    static void checkpoint(const QString& path);

    // The schema version the file carries (0 for a new empty file).
    int storedSchemaVersion();
    // The id this journal file got when it was made (or brought up to version 3); empty when
    // the file is not open or too old to carry one and cannot be upgraded (read-only).
    QString journalId();

private:
    bool createOrMigrate();
    // The columns a row is read from: the evidence too once the file carries it.
    QString selectedColumns();
    bool exec(const QString& sql);
    void rollbackKeepingFault();
    void noteFault(const QString& what, int nativeCode);
    bool openConnection();
    State stateAfterFailedOpen() const;
    bool refuseOddSideFiles();
    bool moveCorruptFileAside();
    bool createWhole();

    QString path_;
    QString connectionName_;
    int busyTimeoutMs_;
    State state_ = State::Closed;
    QString fault_;
    // The last fault was another connection holding the file: it is worth trying again.
    bool busy_ = false;
    int faultCode_ = 0;  // SQLite's primary code of the last fault
    QString journalId_;
    bool movesCorruptFileAside_ = false;
    QString notice_;
};

// The name of this computer as rows carry it.
QString journalComputerName();
