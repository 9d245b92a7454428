#include "journal/JournalSettings.h"

#include <QDir>

#include "lab/LabSettings.h"
#include "lab/ProgramDir.h"

QString journalFilePath() {
    return QDir(dataFolder()).filePath(QStringLiteral("journal.sqlite"));
}

ServerSettings readServerSettings(const LabSettings& settings) {
    ServerSettings s;
    const LabSettingsSection ini = settings.section(QStringLiteral("ClassJournal"));
    s.host = ini.value(QStringLiteral("host")).toString().trimmed();
    bool portOk = false;
    const int port = ini.value(QStringLiteral("port")).toString().toInt(&portOk);
    if (portOk && port > 0 && port < 65536) s.port = port;
    s.database = ini.value(QStringLiteral("database")).toString().trimmed();
    s.user = ini.value(QStringLiteral("user")).toString().trimmed();
    s.password = ini.value(QStringLiteral("password")).toString();
    const QString sslMode = ini.value(QStringLiteral("sslmode")).toString().trimmed();
    if (!sslMode.isEmpty()) s.sslMode = sslMode;
    s.sslRootCert = ini.value(QStringLiteral("sslrootcert")).toString().trimmed();
    return s;
}
