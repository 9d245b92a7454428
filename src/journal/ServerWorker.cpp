#include "journal/ServerWorker.h"

#include <QFileInfo>
#include <QVariant>

#include "journal/LocalJournal.h"
#include "journal/ServerConnection.h"
#include "journal/ServerLink.h"

namespace {

// Rows sent per statement: a long queue after a day offline goes in bounded pieces.
constexpr int batchSize = 500;
constexpr int workerBusyTimeoutMs = 2000;

// The columns a computer may send. The server adds who sent the row and when it arrived, and
// skips a row it already holds.
const QLatin1String insertColumns(
    "INSERT INTO reaktikum.journal (computer, journal_id, local_id, recorded_at, sitting,"
    " student_group, student_surname, variant, experiment, grade, event, evidence,"
    " evidence_summary) VALUES ");
constexpr int columnsPerRow = 13;

QVariant nullableText(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant nullableNumber(int value) {
    return value > 0 ? QVariant(value) : QVariant();
}

}  // namespace

ServerWorker::ServerWorker(ServerLink* link, ServerConnection* connection, const QString& localPath,
                           int retryMs)
    : link_(link), connection_(connection), localPath_(localPath) {
    retryTimer_ = new QTimer(this);
    retryTimer_->setInterval(retryMs);
    connect(retryTimer_, &QTimer::timeout, this, &ServerWorker::sendPending);
}

ServerWorker::~ServerWorker() = default;

void ServerWorker::begin() {
    // This thread may wait for the window thread's writes; no student waits for it.
    local_ = std::make_unique<LocalJournal>(localPath_, workerBusyTimeoutMs);
    sendPending();
}

void ServerWorker::finish() {
    retryTimer_->stop();
    local_.reset();
    connection_->close();
}

bool ServerWorker::connectServer() {
    if (connection_->isOpen()) return true;
    const ServerSettings& s = link_->settings();
    if (connection_->open(s.user, s.password)) return true;
    reportFault();
    return false;
}

void ServerWorker::reportFault() {
    // A link being closed has nothing to report and nothing to retry.
    if (connection_->aborted()) return;
    fault_ = connection_->fault();
    retryTimer_->start();
    reportState(local_ ? local_->unsentCount() : 0);
}

void ServerWorker::reportState(qint64 waiting) {
    ServerStatus status;
    status.fault = fault_;
    status.lastReached = lastReached_;
    status.waiting = waiting;
    status.pass = pass_;
    link_->setStatus(status);
}

// One statement for the whole batch: it stands or falls as a whole, so rows are never half
// sent; should the confirmation be lost, the server skips the rows it already holds.
bool ServerWorker::sendRows(const JournalEvents& rows, const QString& journalId) {
    QString sql = insertColumns;
    QVariantList values;
    values.reserve(rows.size() * columnsPerRow);
    for (const JournalEvent& e : rows) {
        if (!values.isEmpty()) sql += QLatin1Char(',');
        sql += QLatin1Char('(');
        for (int c = 1; c <= columnsPerRow; ++c) {
            if (c > 1) sql += QLatin1Char(',');
            sql += QLatin1Char('$') + QString::number(values.size() + c);
        }
        sql += QLatin1Char(')');
        values << e.computer << journalId << e.id << journalTimestamp(e.recordedAt) << e.sitting
               << e.group << e.surname << nullableNumber(e.variant) << nullableNumber(e.experiment)
               << (e.grade ? QVariant(QString::number(*e.grade, 'g', 9)) : QVariant())
               << eventName(e.kind) << nullableText(e.evidence) << nullableText(e.evidenceSummary);
    }
    return connection_->exec(sql, values);
}

void ServerWorker::sendPending() {
    if (!local_ || connection_->aborted()) return;
    pass_ = ++link_->passesStarted_;
    // Before the first event there is no journal to read, only a server to reach.
    if (!QFileInfo::exists(localPath_)) {
        if (connectServer()) {
            fault_.clear();
            lastReached_ = QDateTime::currentDateTimeUtc();
        }
        reportState(0);
        return;
    }
    for (;;) {
        if (local_->state() != LocalJournal::State::Ready && local_->open())
            local_->deferCheckpoints();
        bool readable = false;
        const JournalEvents rows = local_->unsentEvents(batchSize, &readable);
        if (!readable) {
            // A busy or unreadable file says nothing about what waits: try again later. The
            // window reports what is wrong with the file.
            retryTimer_->start();
            return;
        }
        if (rows.isEmpty()) {
            retryTimer_->stop();
            // Reaching the server is worth a line even with nothing to send.
            if (connectServer()) {
                fault_.clear();
                lastReached_ = QDateTime::currentDateTimeUtc();
            }
            reportState(0);
            return;
        }
        if (!connectServer()) return;
        if (!sendRows(rows, local_->journalId())) {
            // A dropped connection or a refused batch: everything waits here and goes again
            // later.
            reportFault();
            return;
        }
        fault_.clear();
        lastReached_ = QDateTime::currentDateTimeUtc();
        // Should this note be lost, the rows go again and the server skips them.
        local_->setSentThrough(rows.last().id);
        reportState(local_->unsentCount());
    }
}
