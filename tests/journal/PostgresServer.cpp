#include "PostgresServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

const char* const superUser = "postgres";
const char* const superPassword = "superuser-secret";
const char* const unprivilegedUser = "nobody";
QAtomicInt connectionSerial;

// A port of 127.0.0.1 that nothing listens on: the one the system hands out for port 0.
int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

// The newest server the distribution installed.
QString findBinDir() {
    QDir root(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toDouble() > b.toDouble(); });
    for (const QString& v : versions) {
        const QString bin = root.filePath(v + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb"))) return bin;
    }
    return {};
}

bool handTo(const QString& path, uid_t uid, gid_t gid) {
    return ::chown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

}  // namespace

PostgresServer::PostgresServer() {
    binDir_ = findBinDir();
    if (binDir_.isEmpty()) {
        error_ = QStringLiteral("no PostgreSQL server in /usr/lib/postgresql");
        return;
    }
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    dataDir_ = dir_.filePath(QStringLiteral("data"));
    const QString passwordFile = dir_.filePath(QStringLiteral("superuser-password"));
    QFile pw(passwordFile);
    if (!pw.open(QIODevice::WriteOnly) || pw.write(superPassword) < 0) {
        error_ = QStringLiteral("cannot write the password file");
        return;
    }
    pw.close();

    // The server refuses to run as the superuser: it runs as an ordinary account, which must be
    // able to reach its folder.
    asOtherUser_ = ::geteuid() == 0;
    if (asOtherUser_) {
        const passwd* account = ::getpwnam(unprivilegedUser);
        if (!account) {
            error_ = QStringLiteral("no unprivileged account to run the server");
            return;
        }
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0711);
        if (!handTo(dir_.path(), account->pw_uid, account->pw_gid) ||
            !handTo(passwordFile, account->pw_uid, account->pw_gid)) {
            error_ = QStringLiteral("cannot hand the folder to the server's account");
            return;
        }
    }
    if (!run(binary(QStringLiteral("initdb")),
             {QStringLiteral("-D"), dataDir_, QStringLiteral("-U"), QString::fromLatin1(superUser),
              QStringLiteral("--pwfile=") + passwordFile, QStringLiteral("--auth=scram-sha-256"),
              QStringLiteral("--no-sync"), QStringLiteral("--no-locale"), QStringLiteral("-E"),
              QStringLiteral("UTF8")}))
        return;
    if (!start()) return;
    if (!adminExec(
            QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(classUser(), classPassword())))
        error_ = QStringLiteral("cannot create the class user");
}

PostgresServer::~PostgresServer() {
    stop();
}

// A connection of its own each time: a restarted server has dropped every earlier one.
bool PostgresServer::adminExec(const QString& sql) {
    const QString name = QStringLiteral("pg-admin-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setUserName(QString::fromLatin1(superUser));
        db.setPassword(QString::fromLatin1(superPassword));
        ok = db.open() && QSqlQuery(db).exec(sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QString PostgresServer::binary(const QString& name) const {
    return binDir_ + QLatin1Char('/') + name;
}

bool PostgresServer::run(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(dir_.path());
    if (asOtherUser_)
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QString::fromLatin1(unprivilegedUser),
                                  QStringLiteral("--"), program} +
                          arguments);
    else
        process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error_ = QFileInfo(program).fileName() + QStringLiteral(": ") +
                 QString::fromLocal8Bit(process.readAll()).trimmed();
        return false;
    }
    return true;
}

bool PostgresServer::start() {
    if (running_) return true;
    if (port_ == 0) port_ = freePort();
    const QString options =
        QStringLiteral(
            "-p %1 -c listen_addresses=127.0.0.1 -k %2 -c fsync=off "
            "-c synchronous_commit=off -c full_page_writes=off -c max_connections=100")
            .arg(port_)
            .arg(dir_.path());
    running_ = run(
        binary(QStringLiteral("pg_ctl")),
        {QStringLiteral("-D"), dataDir_, QStringLiteral("-l"),
         dir_.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-t"),
         QStringLiteral("60"), QStringLiteral("-o"), options, QStringLiteral("start")});
    return running_;
}

bool PostgresServer::stop() {
    if (!running_) return true;
    running_ = !run(
        binary(QStringLiteral("pg_ctl")),
        {QStringLiteral("-D"), dataDir_, QStringLiteral("-m"), QStringLiteral("fast"),
         QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("stop")});
    return !running_;
}

bool PostgresServer::createDatabase(const QString& name) {
    return adminExec(QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(name, classUser()));
}

ServerSettings PostgresServer::settings(const QString& database) const {
    ServerSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port_;
    s.database = database;
    s.user = classUser();
    s.password = classPassword();
    return s;
}

QVariant PostgresServer::scalar(const QString& database, const QString& sql) const {
    const QString name = QStringLiteral("pg-probe-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setDatabaseName(database);
        db.setUserName(classUser());
        db.setPassword(classPassword());
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next()) value = q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}
