#pragma once

#include <QString>

// Where the journal lives and which class server it reports to.

// journal.sqlite in the data folder, beside BDStudent.rez.
QString journalFilePath();

class LabSettings;

// The [ClassJournal] section of the settings. No host means no server: the journal stays
// on this computer. An empty password leaves it to libpq's ~/.pgpass.
struct ServerSettings {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;

    bool isSetUp() const { return !host.isEmpty() && !database.isEmpty(); }
};

ServerSettings readServerSettings(const LabSettings& settings);
