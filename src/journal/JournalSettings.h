#pragma once

#include <QString>

// Where the journal lives and which class server it reports to.

// journal.sqlite in the data folder, beside BDStudent.rez.
QString journalFilePath();

class LabSettings;

// The [ClassJournal] section of the settings file. No host means no server: the journal stays
// on this computer. An empty password leaves it to libpq's ~/.pgpass. The connection always
// uses TLS with a channel-bound password exchange; sslMode says how far the server's
// certificate is checked (require: not at all; verify-full: against sslRootCert and the host
// name).
struct ServerSettings {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;
    QString sslMode = QStringLiteral("require");
    QString sslRootCert;

    bool isSetUp() const { return !host.isEmpty() && !database.isEmpty(); }
};

ServerSettings readServerSettings(const LabSettings& settings);
