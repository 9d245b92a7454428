#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

#include "journal/JournalSettings.h"

// A PostgreSQL server of the distribution, made for one test program: initdb into a temporary
// folder, listening on a free port of 127.0.0.1 only, run as an unprivileged user when the tests
// run as the superuser, and stopped (its folder removed) when the object goes.
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

    // A fresh database owned by the class user, and the settings a computer would carry.
    bool createDatabase(const QString& name);
    ServerSettings settings(const QString& database) const;
    static QString classUser() { return QStringLiteral("teacher"); }
    static QString classPassword() { return QStringLiteral("class-2024"); }

    // One value of a query run as the class user on a database.
    QVariant scalar(const QString& database, const QString& sql) const;

private:
    bool adminExec(const QString& sql);
    bool run(const QString& program, const QStringList& arguments, int timeoutMs = 60000);
    QString binary(const QString& name) const;

    QTemporaryDir dir_;
    QString binDir_;
    QString dataDir_;
    int port_ = 0;
    bool running_ = false;
    bool asOtherUser_ = false;
    QString error_;
};
