#include "PostgresServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
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
    uid_t serverUid = ::geteuid();
    gid_t serverGid = ::getegid();
    if (asOtherUser_) {
        const passwd* account = ::getpwnam(unprivilegedUser);
        if (!account) {
            error_ = QStringLiteral("no unprivileged account to run the server");
            return;
        }
        serverUid = account->pw_uid;
        serverGid = account->pw_gid;
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0711);
        if (!handTo(dir_.path(), account->pw_uid, account->pw_gid) ||
            !handTo(passwordFile, account->pw_uid, account->pw_gid)) {
            error_ = QStringLiteral("cannot hand the folder to the server's account");
            return;
        }
    }
    if (!makeCertificate(QStringLiteral("server"), serverUid, serverGid) ||
        !makeCertificate(QStringLiteral("stranger"), serverUid, serverGid))
        return;
    if (!run(binary(QStringLiteral("initdb")),
             {QStringLiteral("-D"), dataDir_, QStringLiteral("-U"), QString::fromLatin1(superUser),
              QStringLiteral("--pwfile=") + passwordFile, QStringLiteral("--auth=scram-sha-256"),
              QStringLiteral("--no-sync"), QStringLiteral("--no-locale"), QStringLiteral("-E"),
              QStringLiteral("UTF8")}))
        return;
    if (!start()) return;
    for (const QString& user : {computerUser(), secondComputerUser(), teacherUser()})
        if (!adminExec(
                QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(user, passwordOf(user)))) {
            error_ = QStringLiteral("cannot create the login ") + user;
            return;
        }
}

// A self-signed certificate for 127.0.0.1 and localhost, its key readable by the server alone.
bool PostgresServer::makeCertificate(const QString& name, uid_t owner, gid_t group) {
    const QString key = dir_.filePath(name + QStringLiteral(".key"));
    const QString certificate = dir_.filePath(name + QStringLiteral(".crt"));
    if (!run(QStringLiteral("openssl"),
             {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
              QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"), key,
              QStringLiteral("-out"), certificate, QStringLiteral("-days"), QStringLiteral("2"),
              QStringLiteral("-subj"), QStringLiteral("/CN=") + name, QStringLiteral("-addext"),
              QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost")},
             60000, false))
        return false;
    ::chmod(QFile::encodeName(key).constData(), 0600);
    if (asOtherUser_ && !(handTo(key, owner, group) && handTo(certificate, owner, group))) {
        error_ = QStringLiteral("cannot hand the certificate to the server's account");
        return false;
    }
    return true;
}

QString PostgresServer::certificatePath() const {
    return dir_.filePath(QStringLiteral("server.crt"));
}

QString PostgresServer::strangerCertificatePath() const {
    return dir_.filePath(QStringLiteral("stranger.crt"));
}

PostgresServer::~PostgresServer() {
    stop();
}

// A connection of its own each time: a restarted server has dropped every earlier one.
bool PostgresServer::adminExec(const QString& sql, const QString& database) {
    const QString name = QStringLiteral("pg-admin-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setDatabaseName(database);
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

bool PostgresServer::run(const QString& program, const QStringList& arguments, int timeoutMs,
                         bool asServer) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(dir_.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGPASSWORD"), QString::fromLatin1(superPassword));
    process.setProcessEnvironment(environment);
    if (asOtherUser_ && asServer)
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
            "-c synchronous_commit=off -c full_page_writes=off -c max_connections=100 "
            "-c ssl=on -c ssl_cert_file=%3 -c ssl_key_file=%4")
            .arg(port_)
            .arg(dir_.path(), certificatePath(), dir_.filePath(QStringLiteral("server.key")));
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

bool PostgresServer::createDatabase(const QString& name, bool setUp) {
    return adminExec(QStringLiteral("CREATE DATABASE %1").arg(name)) && (!setUp || runSetup(name));
}

bool PostgresServer::runSetup(const QString& database) {
    // As an administrator would, with psql; then the logins join the roles it made.
    return run(binary(QStringLiteral("psql")),
               {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"),
                QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port_),
                QStringLiteral("-U"), QString::fromLatin1(superUser), QStringLiteral("-d"),
                database, QStringLiteral("-f"), QStringLiteral(LAB_SERVER_SETUP_SQL)},
               60000, false) &&
           adminExec(QStringLiteral("SET client_min_messages = warning; "
                                    "GRANT reaktikum_computer TO %1, %2; "
                                    "GRANT reaktikum_teacher TO %3")
                         .arg(computerUser(), secondComputerUser(), teacherUser()));
}

ServerSettings PostgresServer::settings(const QString& database, const QString& user) const {
    ServerSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port_;
    s.database = database;
    s.user = user;
    s.password = passwordOf(user);
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
        db.setUserName(QString::fromLatin1(superUser));
        db.setPassword(QString::fromLatin1(superPassword));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next()) value = q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

QString PostgresServer::execAs(const QString& database, const QString& user,
                               const QString& sql) const {
    const QString name = QStringLiteral("pg-as-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    QString state;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(port_);
        db.setDatabaseName(database);
        db.setUserName(user);
        db.setPassword(passwordOf(user));
        if (!db.open()) {
            state = QStringLiteral("login: ") + db.lastError().text();
        } else {
            QSqlQuery q(db);
            if (!q.exec(sql)) {
                state = q.lastError().nativeErrorCode();
                if (state.isEmpty()) state = q.lastError().text();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return state;
}

bool PostgresServer::freeze(bool frozen) {
    QFile pidFile(dataDir_ + QStringLiteral("/postmaster.pid"));
    if (!pidFile.open(QIODevice::ReadOnly)) return false;
    const pid_t postmaster = pidFile.readLine().trimmed().toInt();
    if (postmaster <= 0) return false;
    // The postmaster and its children: the backends serving the connections.
    QList<pid_t> pids{postmaster};
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid) continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        // pid (name) state ppid …: the name may hold spaces, so read after its last ')'.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == postmaster) pids << pid;
    }
    bool ok = true;
    for (const pid_t pid : pids) ok = ::kill(pid, frozen ? SIGSTOP : SIGCONT) == 0 && ok;
    return ok;
}
