#pragma once

#include <sys/types.h>

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

#include "journal/JournalSettings.h"

// A PostgreSQL server of the distribution, made for one test program: initdb into a temporary
// folder, listening on a free port of 127.0.0.1 only with TLS on a self-signed certificate that
// openssl makes here, run as an unprivileged user when the tests run as the superuser, and
// stopped (its folder removed) when the object goes. Its databases are set up as an
// administrator would, with the shipped setup.sql; logins for two computers and a teacher
// belong to the group roles it makes.
class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Why the server could not be made or started; empty when it runs.
    QString error() const { return error_; }
    bool start();
    bool stop();
    int port() const { return port_; }
    // SIGSTOP (or SIGCONT) to the server and every process of it: the connections stay open
    // and the kernel keeps acknowledging, but nothing answers.
    bool freeze(bool frozen);

    // A fresh database owned by the administrator, set up with setup.sql unless told not to.
    bool createDatabase(const QString& name, bool runSetup = true);
    // Runs setup.sql on a database as the administrator; its output on failure in error().
    bool runSetup(const QString& database);
    // The settings a computer logged in as user would carry (sslmode=require).
    ServerSettings settings(const QString& database, const QString& user = computerUser()) const;
    static QString computerUser() { return QStringLiteral("pc01"); }
    static QString secondComputerUser() { return QStringLiteral("pc02"); }
    static QString teacherUser() { return QStringLiteral("teacher"); }
    static QString passwordOf(const QString& user) { return user + QStringLiteral("-secret"); }
    // The certificate the server shows, and one of a stranger.
    QString certificatePath() const;
    QString strangerCertificatePath() const;

    // One value of a query run as the administrator.
    QVariant scalar(const QString& database, const QString& sql) const;
    // Runs a statement as a login; the SQLSTATE of its failure, or empty when it succeeded.
    QString execAs(const QString& database, const QString& user, const QString& sql) const;
    bool adminExec(const QString& sql, const QString& database = QStringLiteral("postgres"));

private:
    bool run(const QString& program, const QStringList& arguments, int timeoutMs = 60000,
             bool asServer = true);
    bool makeCertificate(const QString& name, uid_t owner, gid_t group);
    QString binary(const QString& name) const;

    QTemporaryDir dir_;
    QString binDir_;
    QString dataDir_;
    int port_ = 0;
    bool running_ = false;
    bool asOtherUser_ = false;
    QString error_;
};
