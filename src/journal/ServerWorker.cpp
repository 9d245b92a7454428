#include "journal/ServerWorker.h"

#include <libpq-fe.h>
#include <netdb.h>
#include <poll.h>

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "journal/LocalJournal.h"
#include "journal/ServerLink.h"

namespace {

QAtomicInt connectionSerial;

// Rows sent per transaction: a long queue after a day offline goes in bounded pieces.
constexpr int batchSize = 500;
constexpr int workerBusyTimeoutMs = 2000;
// How long a login waits for the server to answer.
constexpr int connectTimeoutMs = 5000;

// Any number will do as long as every computer takes the same lock around creating the table.
constexpr qint64 schemaLockKey = 0x52454b4a;  // "REKJ"

const char* const serverSchema =
    "CREATE TABLE IF NOT EXISTS journal ("
    " id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
    " computer text NOT NULL,"
    " journal_id text NOT NULL DEFAULT '',"
    " local_id integer NOT NULL,"
    " recorded_at timestamptz NOT NULL,"
    " sitting text NOT NULL,"
    " student_group text NOT NULL,"
    " student_surname text NOT NULL,"
    " variant integer,"
    " experiment integer,"
    " grade real,"
    " event text NOT NULL,"
    " received_at timestamptz NOT NULL DEFAULT now(),"
    " UNIQUE (computer, journal_id, local_id))";

// A table made before journals carried an id is keyed by computer and local id alone: the rows
// of a second journal on the same computer would be taken for rows already there and dropped.
// The key grows by the journal's id; rows already there keep an empty one.
const char* const serverMigration[] = {
    "ALTER TABLE journal ADD COLUMN IF NOT EXISTS journal_id text NOT NULL DEFAULT ''",
    "ALTER TABLE journal DROP CONSTRAINT IF EXISTS journal_computer_local_id_key",
    "CREATE UNIQUE INDEX IF NOT EXISTS journal_computer_journal_id_local_id_key"
    " ON journal (computer, journal_id, local_id)",
};

// What the teacher is told about a fault of the server link.
enum class ServerFault {
    Rejected,      // the login's name or password
    UnknownHost,   // no computer of that name
    NoDatabase,    // the server has no such database
    NotAnswering,  // no server reached, or one that takes no connections now
    Broken,        // anything else: the connection broke or a statement failed
};

// A fault by its SQLSTATE, which is the same whatever language the server speaks. Faults of
// a running connection (class 08 connection exceptions, 57P01 and 57P02 operator shutdowns,
// 23505 or 42P01 when the table is not what it should be) all break the send and are told
// with the server's own words.
ServerFault faultOfSqlState(const QString& state) {
    if (state.startsWith(QLatin1String("28"))) return ServerFault::Rejected;  // 28000, 28P01
    if (state == QLatin1String("3D000")) return ServerFault::NoDatabase;
    if (state == QLatin1String("57P03")) return ServerFault::NotAnswering;  // starting, stopping
    return ServerFault::Broken;
}

// Why a login the driver could not make failed. The driver passes a failed login on as libpq's
// message alone, without the SQLSTATE and in the language of the server and of this computer;
// so the login is tried again here with libpq asked for terse errors, which end in the code the
// server refused it with ("...failed: FATAL:  28P01"). A login that never reached a server
// carries no code: then either the name is unknown or nothing answered.
ServerFault loginFault(const ServerSettings& s) {
    const QByteArray host = s.host.toUtf8(), port = QByteArray::number(s.port),
                     database = s.database.toUtf8(), user = s.user.toUtf8(),
                     password = s.password.toUtf8();
    // Empty values are left to libpq's defaults (a password from ~/.pgpass), as the driver
    // leaves them.
    const char* const keys[] = {"host", "port", "dbname", "user", "password", "application_name",
                                nullptr};
    const char* const values[] = {host.constData(), port.constData(),     database.constData(),
                                  user.constData(), password.constData(), "reaktikum",
                                  nullptr};
    PGconn* conn = PQconnectStartParams(keys, values, 0);
    if (!conn) return ServerFault::Broken;
    PQsetErrorVerbosity(conn, PQERRORS_SQLSTATE);
    // connect_timeout does not bound a login driven by hand: the wait is bounded here.
    const QDeadlineTimer deadline(connectTimeoutMs);
    PostgresPollingStatusType polling =
        PQstatus(conn) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (polling != PGRES_POLLING_OK && polling != PGRES_POLLING_FAILED) {
        pollfd fd{PQsocket(conn), short(polling == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (fd.fd < 0 || ::poll(&fd, 1, int(deadline.remainingTime())) <= 0) break;
        polling = PQconnectPoll(conn);
    }
    const bool reached = polling == PGRES_POLLING_OK;
    const bool passwordMissing = PQconnectionNeedsPassword(conn);
    static const QRegularExpression stateAtLineEnd(QStringLiteral(":  ([0-9A-Z]{5})$"),
                                                   QRegularExpression::MultilineOption);
    QString state;
    for (const QRegularExpressionMatch& m :
         stateAtLineEnd.globalMatch(QString::fromUtf8(PQerrorMessage(conn))))
        state = m.captured(1);
    PQfinish(conn);

    if (!state.isEmpty()) return faultOfSqlState(state);
    if (passwordMissing) return ServerFault::Rejected;
    // The server let this login in: it refused the driver's a moment ago for a reason that is
    // gone now, and the next try will tell.
    if (reached) return ServerFault::Broken;
    // A folder is a local socket's, which needs no name looked up.
    if (!host.isEmpty() && !host.startsWith('/')) {
        addrinfo* found = nullptr;
        const int lookup = ::getaddrinfo(host.constData(), nullptr, nullptr, &found);
        if (found) ::freeaddrinfo(found);
        if (lookup != 0) return ServerFault::UnknownHost;
    }
    return ServerFault::NotAnswering;
}

QString describeServerFault(ServerFault fault, const QSqlError& error, const ServerSettings& s) {
    const QString where = QStringLiteral("%1:%2").arg(s.host).arg(s.port);
    switch (fault) {
        case ServerFault::Rejected:
            return QStringLiteral("Сервер журнала %1 отклонил имя пользователя «%2» или пароль.")
                .arg(where, s.user);
        case ServerFault::UnknownHost:
            return QStringLiteral("Сервер журнала «%1» не найден: неизвестное имя компьютера.")
                .arg(s.host);
        case ServerFault::NoDatabase:
            return QStringLiteral("На сервере журнала %1 нет базы данных «%2».")
                .arg(where, s.database);
        case ServerFault::NotAnswering:
            return QStringLiteral("Сервер журнала %1 не отвечает.").arg(where);
        case ServerFault::Broken:
            break;
    }
    return QStringLiteral("Связь с сервером журнала %1 прервалась (%2).")
        .arg(where, error.text().simplified());
}

// A failed statement or transaction in the teacher's words.
QString describeServerError(const QSqlError& error, const ServerSettings& s) {
    return describeServerFault(faultOfSqlState(error.nativeErrorCode()), error, s);
}

}  // namespace

ServerWorker::ServerWorker(ServerLink* link, const ServerSettings& settings,
                           const QString& localPath, int retryMs)
    : link_(link),
      settings_(settings),
      localPath_(localPath),
      connectionName_(
          QStringLiteral("journal-server-%1").arg(connectionSerial.fetchAndAddRelaxed(1))) {
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
    dropConnection();
    QSqlDatabase::removeDatabase(connectionName_);
}

// The next send connects afresh: after a failure the old connection may be dead.
void ServerWorker::dropConnection() {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (db.isValid()) db.close();
}

bool ServerWorker::connectServer() {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (db.isValid() && db.isOpen()) return true;
    if (!db.isValid()) db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
    db.setHostName(settings_.host);
    db.setPort(settings_.port);
    db.setDatabaseName(settings_.database);
    db.setUserName(settings_.user);
    db.setPassword(settings_.password);
    db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=reaktikum")
                             .arg(connectTimeoutMs / 1000));
    if (!db.open()) {
        reportFault(describeServerFault(loginFault(settings_), db.lastError(), settings_));
        dropConnection();
        return false;
    }
    if (!ensureSchema()) {
        dropConnection();
        return false;
    }
    return true;
}

bool ServerWorker::ensureSchema() {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT count(*) FROM information_schema.columns WHERE table_schema"
                              " = current_schema() AND table_name = 'journal' AND column_name ="
                              " 'journal_id'")) &&
        q.next() && q.value(0).toInt() > 0)
        return true;
    // Thirty computers starting together must not race each other to create or upgrade the
    // table.
    bool ok = db.transaction() &&
              q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(schemaLockKey)) &&
              q.exec(QString::fromLatin1(serverSchema));
    for (const char* statement : serverMigration)
        if (ok) ok = q.exec(QString::fromLatin1(statement));
    if (ok) ok = db.commit();
    if (!ok) {
        const QSqlError error = q.lastError().isValid() ? q.lastError() : db.lastError();
        if (db.isOpen()) db.rollback();
        reportFault(describeServerError(error, settings_));
    }
    return ok;
}

void ServerWorker::reportFault(const QString& fault) {
    fault_ = fault;
    retryTimer_->start();
    ServerStatus status;
    status.fault = fault_;
    status.lastReached = lastReached_;
    status.waiting = local_ ? local_->unsentCount() : 0;
    status.pass = pass_;
    link_->setStatus(status);
}

void ServerWorker::reportState(qint64 waiting) {
    ServerStatus status;
    status.fault = fault_;
    status.lastReached = lastReached_;
    status.waiting = waiting;
    status.pass = pass_;
    link_->setStatus(status);
}

void ServerWorker::sendPending() {
    if (!local_) return;
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
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        QSqlQuery insert(db);
        bool ok = db.transaction() &&
                  insert.prepare(QStringLiteral(
                      "INSERT INTO journal (computer, journal_id, local_id, recorded_at,"
                      " sitting, student_group, student_surname, variant, experiment, grade,"
                      " event) VALUES (?, ?, ?, CAST(? AS timestamptz), ?, ?, ?, ?, ?, ?, ?)"
                      " ON CONFLICT (computer, journal_id, local_id) DO NOTHING"));
        const QString journalId = local_->journalId();
        for (const JournalEvent& e : rows) {
            if (!ok) break;
            insert.addBindValue(e.computer);
            insert.addBindValue(journalId);
            insert.addBindValue(static_cast<int>(e.id));
            insert.addBindValue(journalTimestamp(e.recordedAt));
            insert.addBindValue(e.sitting);
            insert.addBindValue(e.group);
            insert.addBindValue(e.surname);
            insert.addBindValue(nullableInt(e.variant));
            insert.addBindValue(nullableInt(e.experiment));
            insert.addBindValue(e.grade ? QVariant(*e.grade)
                                        : QVariant(QMetaType(QMetaType::Float)));
            insert.addBindValue(eventName(e.kind));
            ok = insert.exec();
        }
        if (ok) ok = db.commit();
        if (!ok) {
            // A dropped connection or a refused row: everything waits here and goes again
            // later; rows that did arrive are skipped then by their key.
            const QSqlError error =
                insert.lastError().isValid() ? insert.lastError() : db.lastError();
            if (db.isOpen()) db.rollback();
            dropConnection();
            reportFault(describeServerError(error, settings_));
            return;
        }
        fault_.clear();
        lastReached_ = QDateTime::currentDateTimeUtc();
        // Should this note be lost, the rows go again and the server skips them.
        local_->setSentThrough(rows.last().id);
        reportState(local_->unsentCount());
    }
}

JournalEvents ServerWorker::fetchAll(bool* ok) {
    JournalEvents out;
    *ok = false;
    if (!connectServer()) return out;
    QSqlQuery q(QSqlDatabase::database(connectionName_, false));
    q.setForwardOnly(true);
    const bool ran = q.exec(QStringLiteral(
        "SELECT local_id, to_char(recorded_at AT TIME ZONE 'UTC',"
        " 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'), computer, sitting, student_group,"
        " student_surname, variant, experiment, grade, event FROM journal ORDER BY id"));
    if (!ran) {
        const QSqlError error = q.lastError();
        dropConnection();
        reportFault(describeServerError(error, settings_));
        return out;
    }
    while (q.next()) out.append(eventFromQuery(q));
    *ok = true;
    fault_.clear();
    lastReached_ = QDateTime::currentDateTimeUtc();
    reportState(local_ ? local_->unsentCount() : 0);
    return out;
}
