#include "lab/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString overrideDir;

const QString folderName = QStringLiteral("reaktikum");
const QString settingsName = QStringLiteral("reaktikum.ini");

QString withoutTrailingSlash(QString path) {
    while (path.endsWith('/') && path.size() > 1) path.chop(1);
    return path;
}

// An XDG base folder: the variable when it holds an absolute path, else HOME + fallback.
QString xdgFolder(const char* variable, const QString& fallback) {
    const QString value = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(value)) return withoutTrailingSlash(value);
    return QDir::homePath() + fallback;
}

QStringList xdgConfigDirs() {
    QStringList dirs;
    for (const QString& dir :
         qEnvironmentVariable("XDG_CONFIG_DIRS").split(':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir)) dirs << withoutTrailingSlash(dir);
    if (dirs.isEmpty()) dirs << QStringLiteral("/etc/xdg");
    return dirs;
}

bool isInstalledLayout(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    return clean.endsWith(QStringLiteral("/lib/reaktikum")) &&
           QFileInfo::exists(clean + QStringLiteral("/../../bin/reaktikum"));
}
}  // namespace

QString programFolder() {
    if (!overrideDir.isEmpty()) return overrideDir;
    return QCoreApplication::applicationDirPath();
}

void setProgramDirForTests(const QString& dir) {
    overrideDir = withoutTrailingSlash(dir);
}

QString assetPath(const QString& relativePath) {
    QString rel = relativePath;
    rel.replace('\\', '/');
    if (!rel.startsWith('/')) rel.prepend('/');
    return programFolder() + rel;
}

bool isPortable() {
    const QString folder = programFolder();
    return QFileInfo(folder).isWritable() && !isInstalledLayout(folder);
}

QString settingsFilePath() {
    const QString besideProgram = programFolder() + '/' + settingsName;
    const QString userFile = xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")) + '/' +
                             folderName + '/' + settingsName;
    QStringList candidates{besideProgram, userFile};
    for (const QString& dir : xdgConfigDirs())
        candidates << dir + '/' + folderName + '/' + settingsName;
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile()) return path;
    return isPortable() ? besideProgram : userFile;
}

QString dataFolder() {
    const QString settingsPath = settingsFilePath();
    if (QFileInfo(settingsPath).isFile()) {
        QSettings settings(settingsPath, QSettings::IniFormat);
        const QString named = settings.value(QStringLiteral("Data/folder")).toString().trimmed();
        if (!named.isEmpty())
            return withoutTrailingSlash(
                QDir::cleanPath(QFileInfo(settingsPath).absoluteDir().absoluteFilePath(named)));
    }
    if (isPortable()) return programFolder();
    return xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) + '/' + folderName;
}

QString resultsFilePath() {
    return dataFolder() + QStringLiteral("/BDStudent.rez");
}

bool prepareDataFolder(QString* error) {
    const QString folder = dataFolder();
    if (folder == programFolder()) return true;
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("cannot create the folder ") + folder;
        return false;
    }
    QFile results(resultsFilePath());
    if (results.exists()) return true;
    // Append mode creates the file without ever truncating one another account just made.
    if (!results.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = QStringLiteral("cannot create ") + results.fileName() + ": " +
                     results.errorString();
        return false;
    }
    return true;
}
