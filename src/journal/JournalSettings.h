#pragma once

#include <QString>

// Where the journal lives and which class server it reports to.

// The folder of the results file: journal.sqlite lies beside BDStudent.rez.
QString journalFolder();
QString journalFilePath();
// reaktikum.ini in the program folder.
QString journalSettingsPath();

// The [ClassJournal] section of the settings file. No host means no server: the journal stays
// on this computer. An empty password leaves it to libpq's ~/.pgpass.
struct ServerSettings {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;

    bool isSetUp() const { return !host.isEmpty() && !database.isEmpty(); }
};

ServerSettings readServerSettings(const QString& iniPath);
