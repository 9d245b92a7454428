#pragma once

#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

#include "journal/JournalEvent.h"
#include "journal/JournalSettings.h"

class ServerConnection;
class ServerWorker;

// How the class server was last found, for the teacher's view.
struct ServerStatus {
    QDateTime lastReached;  // UTC; invalid when never reached in this run
    QString fault;          // empty while all is well
    qint64 waiting = 0;     // rows on this computer the server has not confirmed
    qint64 pass = 0;        // the sending pass that found this
};

// Sends the local journal's rows to the class's PostgreSQL server from a thread of its own,
// with its own connections to both: at start-up, after each event and, while rows wait, every
// retry interval. Each row carries its computer, its journal's id and its local id, which the
// server keeps unique, so a row sent twice (a confirmation lost with the connection) is stored
// once, and two journals of one computer never stand in for each other. The computer's login
// may only add rows: reading the class's rows is the teacher's, through ServerReader.
//
// Closing never waits for the server: the destructor cuts short whatever the link is doing
// (the statement in progress is abandoned, its rows stay waiting here) and returns at once.
class ServerLink : public QObject {
    Q_OBJECT
public:
    ServerLink(const ServerSettings& settings, const QString& localPath, int retryMs = 30000);
    ~ServerLink() override;

    const ServerSettings& settings() const { return settings_; }
    // Asks for a send soon; returns at once. Safe from any thread.
    void wake();
    ServerStatus status() const;

    // Waits (running the caller's events) until the server has confirmed every local row or
    // the time is up; true when nothing waits.
    bool waitUntilSent(int timeoutMs);

private:
    friend class ServerWorker;
    void setStatus(const ServerStatus& status);

    ServerSettings settings_;
    std::unique_ptr<ServerConnection> connection_;
    QThread thread_;
    ServerWorker* worker_ = nullptr;
    mutable QMutex statusMutex_;
    ServerStatus status_;
    std::atomic<qint64> passesStarted_ = 0;
};
