#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <atomic>

#include "journal/JournalEvent.h"
#include "journal/JournalSettings.h"

struct pg_conn;

// The rows a statement returned: column names, and each value as text or a null QVariant for
// SQL NULL.
struct ServerRows {
    QStringList columns;
    QList<QVariantList> values;
};

// The journal's columns of each row, found by name; evidence is left empty when a query does
// not select it.
JournalEvents eventsFromRows(const ServerRows& rows);

// One connection to the class server. Only TLS with a password exchange bound to the channel
// (SCRAM-SHA-256-PLUS) is accepted, so no password goes to a server that cannot prove it holds
// the session it asks on; every wait has a deadline, and abort() ends any wait at once from
// another thread (a program that closes never waits for the server).
//
// Used on one thread; abort() alone may come from any.
class ServerConnection {
public:
    // How long a login and a statement may take before the server counts as not answering.
    static constexpr int connectTimeoutMs = 5000;
    static constexpr int statementTimeoutMs = 15000;

    explicit ServerConnection(const ServerSettings& settings);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    // Logs in as user; an empty password is left to the account's ~/.pgpass. False, with
    // fault() set, when it cannot.
    bool open(const QString& user, const QString& password);
    bool isOpen() const { return conn_ != nullptr; }
    void close();

    // Runs one statement with its parameters as text ($1, $2, …; a null QVariant is NULL).
    // False, with fault() set and the connection dropped, when it fails.
    bool exec(const QString& sql, const QVariantList& parameters = {}, ServerRows* rows = nullptr);

    // Waits up to timeoutMs for notifications on the channels this connection listens to (after
    // a LISTEN statement) and adds their payloads to payloads, possibly none when the time is
    // up. False, with fault() set and the connection dropped, when the connection broke; false
    // without a fault once aborted.
    bool waitForNotifications(int timeoutMs, QStringList* payloads);

    // From any thread: the wait in progress ends now and every later open() or exec() fails
    // at once, without a fault.
    void abort();
    bool aborted() const { return aborted_.load(); }

    // The last failure in the teacher's words; empty after a success or an abort.
    QString fault() const { return fault_; }
    // The server's code for the last failed statement (42P01, 42501, …); empty otherwise.
    QString sqlState() const { return sqlState_; }

private:
    bool waitForSocket(bool forWriting, int timeoutMs);
    void failLogin(const QString& message, bool needsPassword, bool unknownHost);
    void failStatement(const QString& state, const QString& message);

    ServerSettings settings_;
    QString user_;
    pg_conn* conn_ = nullptr;
    int abortFd_ = -1;  // an eventfd: written once by abort()
    std::atomic<bool> aborted_ = false;
    QString fault_;
    QString sqlState_;
};
