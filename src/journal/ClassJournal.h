#pragma once

#include <QString>
#include <QTimer>
#include <memory>

#include "journal/JournalEvent.h"
#include "journal/JournalSettings.h"
#include "journal/LocalJournal.h"
#include "lab/Journal.h"

class ServerLink;

// The journal the program runs with: each event goes to journal.sqlite at once, on the
// window's thread (a short transaction in write-ahead mode), and from there to the class server
// when one is set up. When the file cannot take an event (locked by another program) the event
// waits in memory and goes in with the next one; a read-only file is left alone, a corrupt one
// is kept aside under a name that says when and a fresh one begun.
// None of this is ever shown to the student.
class ClassJournal final : public Journal {
public:
    ClassJournal(const QString& journalPath, const ServerSettings& server,
                 const QString& computer = journalComputerName(), int retryMs = 30000);
    ~ClassJournal() override;

    void registered(QString& sitting, const QString& group, const QString& surname,
                    int variant) override;
    void entered(QString& sitting, const QString& group, const QString& surname, int variant,
                 int experiment) override;
    void graded(QString& sitting, const QString& group, const QString& surname, int variant,
                int experiment, double grade, const GradeEvidence& evidence = {}) override;
    void deleted(QString& sitting, const QString& group, const QString& surname,
                 int variant) override;
    void deletedAll(QString& sitting, const QString& group, const QString& surname,
                    int variant) override;

    LocalJournal& local() { return local_; }
    // nullptr when no server is set up.
    ServerLink* server() const { return server_.get(); }
    QString computer() const { return computer_; }
    // Events the file could not take yet; they are tried again with the next event and every
    // second.
    qsizetype heldEvents() const { return held_.size(); }
    // Events not yet where they are going: those held in memory and, when a server is set up,
    // the rows it has not confirmed. Every report of what waits counts both.
    qint64 waitingEvents() const;
    // Waits (running the caller's events) until no event is held and the server, when one is
    // set up, has confirmed every row, or the time is up; true only when nothing waits.
    bool waitUntilSent(int timeoutMs);

private:
    void record(QString& sitting, const QString& group, const QString& surname, int variant,
                JournalEventKind kind, int experiment = 0, std::optional<float> grade = {},
                const GradeEvidence& evidence = {});
    void writeHeld();

    QString computer_;
    LocalJournal local_;
    std::unique_ptr<ServerLink> server_;
    JournalEvents held_;
    int sinceCheckpoint_ = 0;
    QTimer retryHeld_;
};
