#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantList>
#include <functional>
#include <memory>

#include "journal/JournalSettings.h"
#include "journal/SharedMistakes.h"
#include "journal/SittingSummary.h"

class ServerConnection;

// Where a page of sittings begins: just after the last sitting of the page before, in the
// view's order (newest first). Empty: at the newest.
struct SittingCursor {
    QString shownAt;  // as the server printed it, to the microsecond
    QString shownId;
    QString computer;
    QString sitting;
    bool atStart() const { return shownAt.isEmpty(); }
};

// What the teacher's view asks the class server for: the sittings that pass the filter, a page
// at a time (limit 0: all of them), with the filter's choices when asked.
struct SittingQuery {
    SittingFilter filter;
    SittingCursor after;
    int limit = 500;
    // The lists of groups and computers for the filters, and the count of conflicting rows.
    bool withChoices = false;
    // The grades' evidence (for the evidence pane and the shared mistakes); without it the
    // server summarises each sitting itself, for the files and papers.
    bool withEvidence = true;
};

// What a teacher's read of the class server found.
struct ServerReading {
    bool ok = false;
    QList<SittingRow> sittings;  // newest first
    // What each sitting's evidence tells the count of shared mistakes (with withEvidence).
    QList<EvidenceMistakes> mistakes;
    bool more = false;  // the server holds further sittings past next
    SittingCursor next;
    QStringList groups;  // with withChoices
    QStringList computers;
    // Rows a login sent again under a key it had used, with other content: kept apart on the
    // server for the teacher to look into.
    qint64 conflicts = 0;
    QString fault;  // why the server could not be read, in the teacher's words
};

// The statement that reads a page of at most limit sittings and every row of each, its values
// appended to parameters ($1, $2, …).
QString sittingPageStatement(const SittingQuery& query, int limit, QVariantList* parameters);
// The same sittings summarised by the server, one row each (for the files and papers).
QString summarisedPageStatement(const SittingQuery& query, int limit, QVariantList* parameters);

// Reads the class's sittings as the teacher, with the login and password the teacher typed (or
// the teacher account's ~/.pgpass), on a connection and thread of their own: the teacher's view
// never waits behind the computer's sending thread. The filters are applied by the server, and
// only the rows of the sittings asked for are read. The connection stays open for the next page
// of the same login until disconnect(); nothing typed is kept in the reader itself.
class ServerReader : public QObject {
    Q_OBJECT
public:
    explicit ServerReader(QObject* parent = nullptr);
    // Cuts short a read in progress and waits for its thread, which ends at once.
    ~ServerReader() override;

    // Starts a read; done (and progress, with the sittings read so far and how many there are)
    // run on this object's thread, unless a later read, stop() or the reader's end came first.
    // A read in progress is abandoned.
    void read(const ServerSettings& server, const QString& user, const QString& password,
              const SittingQuery& query, std::function<void(const ServerReading&)> done,
              std::function<void(qint64 read, qint64 total)> progress = {});
    bool isReading() const { return running_ != nullptr; }
    // Abandons the read in progress: its done never runs.
    void stop();
    // Closes the connection kept for the next read: the next one logs in again.
    void disconnect();

private:
    QThread* running_ = nullptr;
    std::shared_ptr<ServerConnection> connection_;
    std::shared_ptr<ServerConnection> idle_;
    QString idleUser_;
    ServerSettings idleSettings_;
    quint64 serial_ = 0;
};
