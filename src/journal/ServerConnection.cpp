#include "journal/ServerConnection.h"

#include <arpa/inet.h>
#include <libpq-fe.h>
#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

// What the teacher is told about a fault of the class server.
enum class ServerFault {
    Rejected,          // the login's name or password
    UnknownHost,       // no computer of that name
    NoDatabase,        // the server has no such database
    NotAnswering,      // no server reached, or one that stopped answering
    NoTls,             // the server offers no TLS
    Unverified,        // its certificate does not prove who it is
    InsecurePassword,  // it asked for the password in a way not bound to the TLS channel
    NoTable,           // setup.sql was not run in this database
    NoPrivilege,       // the login is in neither group role it needs
    Broken,            // anything else: the connection broke or a statement failed
};

const char* const setupScript = "/usr/share/reaktikum/server/setup.sql";

QString describe(ServerFault fault, const ServerSettings& s, const QString& user,
                 const QString& detail) {
    const QString where = QStringLiteral("%1:%2").arg(s.host).arg(s.port);
    switch (fault) {
        case ServerFault::Rejected:
            return QStringLiteral("Сервер журнала %1 отклонил имя пользователя «%2» или пароль.")
                .arg(where, user);
        case ServerFault::UnknownHost:
            return QStringLiteral("Сервер журнала «%1» не найден: неизвестное имя компьютера.")
                .arg(s.host);
        case ServerFault::NoDatabase:
            return QStringLiteral("На сервере журнала %1 нет базы данных «%2».")
                .arg(where, s.database);
        case ServerFault::NotAnswering:
            return QStringLiteral("Сервер журнала %1 не отвечает.").arg(where);
        case ServerFault::NoTls:
            return QStringLiteral(
                       "Сервер журнала %1 не предложил защищённое соединение (TLS); "
                       "пароль ему не отправлен.")
                .arg(where);
        case ServerFault::Unverified:
            return QStringLiteral(
                       "Сервер журнала %1 не подтвердил свою подлинность (%2); "
                       "пароль ему не отправлен.")
                .arg(where, detail);
        case ServerFault::InsecurePassword:
            return QStringLiteral(
                       "Сервер журнала %1 запросил пароль без защиты SCRAM, "
                       "привязанной к TLS; пароль ему не отправлен.")
                .arg(where);
        case ServerFault::NoTable:
            return QStringLiteral(
                       "На сервере журнала %1 в базе «%2» нет таблицы журнала: "
                       "администратору нужно выполнить команду "
                       "«psql -d %2 -f %3».")
                .arg(where, s.database, QString::fromLatin1(setupScript));
        case ServerFault::NoPrivilege:
            return QStringLiteral(
                       "У пользователя «%2» нет прав на журнал сервера %1: компьютеры "
                       "входят в роль reaktikum_computer, учителя — в "
                       "reaktikum_teacher.")
                .arg(where, user);
        case ServerFault::Broken:
            break;
    }
    return QStringLiteral("Связь с сервером журнала %1 прервалась (%2).").arg(where, detail);
}

// A fault by its SQLSTATE, which is the same whatever language the server speaks.
ServerFault faultOfSqlState(const QString& state) {
    if (state.startsWith(QLatin1String("28"))) return ServerFault::Rejected;  // 28000, 28P01
    if (state == QLatin1String("3D000")) return ServerFault::NoDatabase;
    if (state == QLatin1String("57P03")) return ServerFault::NotAnswering;  // starting, stopping
    if (state == QLatin1String("42P01") || state == QLatin1String("3F000"))
        return ServerFault::NoTable;
    if (state == QLatin1String("42501")) return ServerFault::NoPrivilege;
    if (state == QLatin1String("57014")) return ServerFault::NotAnswering;  // statement_timeout
    return ServerFault::Broken;
}

// A refusal libpq made itself, before any password left: these carry no SQLSTATE, so they are
// told apart by libpq's words.
ServerFault faultOfClientRefusal(const QString& message) {
    if (message.contains(QLatin1String("SSL was required")) ||
        message.contains(QLatin1String("does not support SSL")))
        return ServerFault::NoTls;
    if (message.contains(QLatin1String("channel binding")) ||
        message.contains(QLatin1String("authentication method requirement")))
        return ServerFault::InsecurePassword;
    if (message.contains(QLatin1String("certificate")) ||
        message.contains(QLatin1String("SSL error")))
        return ServerFault::Unverified;
    return ServerFault::Broken;
}

// The host's address, looked up on a thread of its own so that a slow name server never holds
// a closing program: the lookup is left to finish alone when the wait is cut short.
struct HostLookup {
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    bool found = false;
    std::string address;
};

std::shared_ptr<HostLookup> startLookup(const std::string& host) {
    auto lookup = std::make_shared<HostLookup>();
    std::thread([lookup, host] {
        addrinfo hints{};
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        std::string address;
        if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found) {
            char text[NI_MAXHOST] = {};
            if (::getnameinfo(found->ai_addr, found->ai_addrlen, text, sizeof text, nullptr, 0,
                              NI_NUMERICHOST) == 0)
                address = text;
        }
        if (found) ::freeaddrinfo(found);
        const std::lock_guard lock(lookup->mutex);
        lookup->done = true;
        lookup->found = !address.empty();
        lookup->address = address;
        lookup->doneChanged.notify_all();
    }).detach();
    return lookup;
}

bool isNumericAddress(const QByteArray& host) {
    unsigned char buffer[sizeof(in6_addr)];
    return ::inet_pton(AF_INET, host.constData(), buffer) == 1 ||
           ::inet_pton(AF_INET6, host.constData(), buffer) == 1;
}

}  // namespace

JournalEvents eventsFromRows(const ServerRows& rows) {
    const auto at = [&rows](const char* name) { return rows.columns.indexOf(QLatin1String(name)); };
    const int localId = at("local_id"), recordedAt = at("recorded_at"), computer = at("computer"),
              sitting = at("sitting"), group = at("student_group"), surname = at("student_surname"),
              variant = at("variant"), experiment = at("experiment"), grade = at("grade"),
              event = at("event"), evidence = at("evidence"), summary = at("evidence_summary");
    JournalEvents out;
    out.reserve(rows.values.size());
    for (const QVariantList& row : rows.values) {
        const auto text = [&row](int column) {
            return column >= 0 ? row[column].toString() : QString();
        };
        const auto number = [&row](int column) {
            return column >= 0 && !row[column].isNull() ? row[column].toInt() : 0;
        };
        JournalEvent e;
        e.id = text(localId).toLongLong();
        e.recordedAt = parseJournalTimestamp(text(recordedAt));
        e.computer = text(computer);
        e.sitting = text(sitting);
        e.group = text(group);
        e.surname = text(surname);
        e.variant = number(variant);
        e.experiment = number(experiment);
        if (grade >= 0 && !row[grade].isNull()) e.grade = row[grade].toString().toFloat();
        e.kind = eventKindFromName(text(event)).value_or(JournalEventKind::Registered);
        e.evidence = text(evidence);
        e.evidenceSummary = text(summary);
        out.append(e);
    }
    return out;
}

ServerConnection::ServerConnection(const ServerSettings& settings)
    : settings_(settings), abortFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ServerConnection::~ServerConnection() {
    close();
    if (abortFd_ >= 0) ::close(abortFd_);
}

void ServerConnection::close() {
    if (conn_) PQfinish(conn_);
    conn_ = nullptr;
}

void ServerConnection::abort() {
    aborted_.store(true);
    const uint64_t one = 1;
    if (abortFd_ >= 0) [[maybe_unused]]
        const auto written = ::write(abortFd_, &one, sizeof one);
}

// True when the socket is ready; false when the time is up, the wait was aborted or the socket
// is gone.
bool ServerConnection::waitForSocket(bool forWriting, int timeoutMs) {
    if (aborted()) return false;
    pollfd fds[2] = {{PQsocket(conn_), short(forWriting ? POLLOUT : POLLIN), 0},
                     {abortFd_, POLLIN, 0}};
    if (fds[0].fd < 0) return false;
    int ready = 0;
    do {
        ready = ::poll(fds, abortFd_ >= 0 ? 2 : 1, std::max(timeoutMs, 0));
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && !aborted() && fds[1].revents == 0;
}

void ServerConnection::failLogin(const QString& message, bool needsPassword, bool unknownHost) {
    close();
    if (aborted()) return;
    // With terse errors a refusal by the server ends in its code: "…failed: FATAL:  28P01".
    static const QRegularExpression stateAtLineEnd(QStringLiteral(":  ([0-9A-Z]{5})$"),
                                                   QRegularExpression::MultilineOption);
    QString state;
    for (const QRegularExpressionMatch& m : stateAtLineEnd.globalMatch(message))
        state = m.captured(1);
    ServerFault fault = ServerFault::NotAnswering;
    if (unknownHost)
        fault = ServerFault::UnknownHost;
    else if (!state.isEmpty())
        fault = faultOfSqlState(state);
    else if (needsPassword)
        fault = ServerFault::Rejected;
    else if (const ServerFault refusal = faultOfClientRefusal(message);
             refusal != ServerFault::Broken)
        fault = refusal;
    fault_ = describe(fault, settings_, user_, message.simplified());
}

void ServerConnection::failStatement(const QString& state, const QString& message) {
    close();
    if (aborted()) return;
    sqlState_ = state;
    fault_ = describe(faultOfSqlState(state), settings_, user_, message.simplified());
}

bool ServerConnection::open(const QString& user, const QString& password) {
    close();
    fault_.clear();
    sqlState_.clear();
    user_ = user;
    if (aborted()) return false;
    const QDeadlineTimer deadline(connectTimeoutMs);

    const QByteArray host = settings_.host.toUtf8();
    QByteArray hostAddress;
    // A folder is a local socket's, and a number needs no lookup.
    if (!host.isEmpty() && !host.startsWith('/') && !isNumericAddress(host)) {
        const auto lookup = startLookup(host.toStdString());
        std::unique_lock lock(lookup->mutex);
        while (!lookup->done && !aborted() && !deadline.hasExpired())
            lookup->doneChanged.wait_for(lock, std::chrono::milliseconds(50));
        if (!lookup->done) {
            lock.unlock();
            failLogin(QString(), false, false);
            return false;
        }
        if (!lookup->found) {
            lock.unlock();
            failLogin(QString(), false, true);
            return false;
        }
        hostAddress = QByteArray::fromStdString(lookup->address);
    }

    const QByteArray
        port = QByteArray::number(settings_.port),
        database = settings_.database.toUtf8(), login = user.toUtf8(), secret = password.toUtf8(),
        sslMode =
            (settings_.sslMode.isEmpty() ? QStringLiteral("require") : settings_.sslMode).toUtf8(),
        rootCert = settings_.sslRootCert.toUtf8(),
        connectTimeout = QByteArray::number(connectTimeoutMs / 1000),
        options =
            QByteArrayLiteral("-c statement_timeout=") + QByteArray::number(statementTimeoutMs);
    QList<const char*> keys, values;
    const auto set = [&](const char* key, const QByteArray& value) {
        if (value.isEmpty()) return;  // left to libpq: a password from ~/.pgpass, say
        keys << key;
        values << value.constData();
    };
    set("host", host);
    set("hostaddr", hostAddress);
    set("port", port);
    set("dbname", database);
    set("user", login);
    set("password", secret);
    set("application_name", QByteArrayLiteral("reaktikum"));
    set("sslmode", sslMode);
    set("sslrootcert", rootCert);
    // The password exchange must be bound to this TLS session: a server that asks for the
    // password in clear or as MD5, or a man in the middle, gets nothing.
    set("channel_binding", QByteArrayLiteral("require"));
    set("gssencmode", QByteArrayLiteral("disable"));
    set("connect_timeout", connectTimeout);
    // A silent network is noticed in about half a minute instead of a quarter of an hour.
    set("keepalives", QByteArrayLiteral("1"));
    set("keepalives_idle", QByteArrayLiteral("10"));
    set("keepalives_interval", QByteArrayLiteral("5"));
    set("keepalives_count", QByteArrayLiteral("3"));
    set("tcp_user_timeout", QByteArrayLiteral("20000"));
    set("options", options);
    keys << nullptr;
    values << nullptr;

    conn_ = PQconnectStartParams(keys.constData(), values.constData(), 0);
    if (!conn_) {
        fault_ = describe(ServerFault::Broken, settings_, user_, QStringLiteral("libpq"));
        return false;
    }
    // Terse errors end in the SQLSTATE the server refused the login with.
    PQsetErrorVerbosity(conn_, PQERRORS_SQLSTATE);
    PostgresPollingStatusType polling =
        PQstatus(conn_) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (polling != PGRES_POLLING_OK && polling != PGRES_POLLING_FAILED) {
        if (!waitForSocket(polling == PGRES_POLLING_WRITING, int(deadline.remainingTime()))) {
            failLogin(QString(), false, false);
            return false;
        }
        polling = PQconnectPoll(conn_);
    }
    if (polling == PGRES_POLLING_FAILED) {
        failLogin(QString::fromUtf8(PQerrorMessage(conn_)), PQconnectionNeedsPassword(conn_),
                  false);
        return false;
    }
    PQsetErrorVerbosity(conn_, PQERRORS_DEFAULT);
    // Nothing waits on a socket that cannot take more: sends are flushed by hand.
    PQsetnonblocking(conn_, 1);
    // From version 14 on the server itself ends a statement whose program has gone.
    return exec(
        QStringLiteral("SELECT set_config('client_connection_check_interval', '2000', false)"
                       " FROM pg_settings WHERE name = 'client_connection_check_interval'"));
}

bool ServerConnection::waitForNotifications(int timeoutMs, QStringList* payloads) {
    fault_.clear();
    sqlState_.clear();
    if (!conn_ || aborted()) {
        close();
        return false;
    }
    const auto take = [this, payloads] {
        bool any = false;
        while (PGnotify* notice = PQnotifies(conn_)) {
            payloads->append(QString::fromUtf8(notice->extra));
            PQfreemem(notice);
            any = true;
        }
        return any;
    };
    // Those that came in with the answer to an earlier statement are read already.
    if (take()) return true;
    if (!waitForSocket(false, timeoutMs)) {
        if (aborted()) {
            close();
            return false;
        }
        if (PQsocket(conn_) >= 0) return true;  // the time is up
        failStatement(QString(), QStringLiteral("socket"));
        return false;
    }
    // Readable: notifications, or the end of a connection the server or the network closed.
    if (!PQconsumeInput(conn_) || PQstatus(conn_) == CONNECTION_BAD) {
        failStatement(QString(), QString::fromUtf8(PQerrorMessage(conn_)));
        return false;
    }
    take();
    return true;
}

bool ServerConnection::exec(const QString& sql, const QVariantList& parameters, ServerRows* rows) {
    fault_.clear();
    sqlState_.clear();
    if (!conn_ || aborted()) {
        close();
        return false;
    }
    QList<QByteArray> texts;
    QList<const char*> values;
    texts.reserve(parameters.size());
    for (const QVariant& p : parameters) {
        texts << (p.isNull() ? QByteArray() : p.toString().toUtf8());
        values << (p.isNull() ? nullptr : texts.last().constData());
    }
    const QDeadlineTimer deadline(statementTimeoutMs + connectTimeoutMs);
    const auto broken = [this](const QString& why) {
        failStatement(QString(), why.isEmpty() ? QString::fromUtf8(PQerrorMessage(conn_)) : why);
        return false;
    };
    const auto notAnswering = [this] {
        close();
        if (!aborted()) fault_ = describe(ServerFault::NotAnswering, settings_, user_, QString());
        return false;
    };
    if (!PQsendQueryParams(conn_, sql.toUtf8().constData(), int(values.size()), nullptr,
                           values.constData(), nullptr, nullptr, 0))
        return broken(QString());
    for (;;) {
        const int flushed = PQflush(conn_);
        if (flushed == 0) break;
        if (flushed < 0) return broken(QString());
        if (!waitForSocket(true, int(deadline.remainingTime()))) return notAnswering();
    }
    QString errorState, errorMessage;
    bool failed = false;
    for (;;) {
        while (PQisBusy(conn_)) {
            if (!waitForSocket(false, int(deadline.remainingTime()))) return notAnswering();
            if (!PQconsumeInput(conn_)) return broken(QString());
        }
        PGresult* result = PQgetResult(conn_);
        if (!result) break;
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_TUPLES_OK && rows) {
            const int columns = PQnfields(result), count = PQntuples(result);
            rows->columns.clear();
            for (int c = 0; c < columns; ++c)
                rows->columns << QString::fromUtf8(PQfname(result, c));
            rows->values.clear();
            rows->values.reserve(count);
            for (int r = 0; r < count; ++r) {
                QVariantList row;
                row.reserve(columns);
                for (int c = 0; c < columns; ++c)
                    row << (PQgetisnull(result, r, c)
                                ? QVariant()
                                : QVariant(QString::fromUtf8(PQgetvalue(result, r, c))));
                rows->values << row;
            }
        } else if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && !failed) {
            failed = true;
            errorState = QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE));
            errorMessage = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
            if (errorMessage.isEmpty()) errorMessage = QString::fromUtf8(PQerrorMessage(conn_));
        }
        PQclear(result);
    }
    if (failed) {
        failStatement(errorState, errorMessage);
        return false;
    }
    return true;
}
