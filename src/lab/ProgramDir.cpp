#include "lab/ProgramDir.h"

#include <errno.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>

#include "lab/FileAccess.h"
#include "lab/LabSettings.h"

namespace {
QString overrideDir;

const QString folderName = QStringLiteral("reaktikum");
const QString settingsName = QStringLiteral("reaktikum.ini");

QString withoutTrailingSlash(QString path) {
    while (path.endsWith('/') && path.size() > 1) path.chop(1);
    return path;
}

// The XDG base folders as Qt finds them: the user's own first ($XDG_CONFIG_HOME, else
// ~/.config), then the system's ($XDG_CONFIG_DIRS, else /etc/xdg).
QString userConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QStringList systemConfigFolders() {
    QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    dirs.removeAll(userConfigFolder());
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
    const QString userFile = userConfigFolder() + '/' + folderName + '/' + settingsName;
    QStringList candidates{besideProgram, userFile};
    for (const QString& dir : systemConfigFolders())
        candidates << dir + '/' + folderName + '/' + settingsName;
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile()) return path;
    return isPortable() ? besideProgram : userFile;
}

QString dataFolder() {
    const LabSettings settings;
    const QString named = settings.value(QStringLiteral("Data/folder")).toString().trimmed();
    if (!named.isEmpty()) {
        const QString settingsPath = settings.fileOf(QStringLiteral("Data/folder"));
        return withoutTrailingSlash(
            QDir::cleanPath(QFileInfo(settingsPath).absoluteDir().absoluteFilePath(named)));
    }
    if (isPortable()) return programFolder();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + '/' + folderName;
}

QString resultsFilePath() {
    return dataFolder() + QStringLiteral("/BDStudent.rez");
}

bool prepareDataFolder(QString* error) {
    const QString folder = dataFolder();
    if (folder == programFolder()) return true;
    // The folder is its user's alone when the program makes it; one that exists is left as it
    // is (a folder others may write is refused at start-up).
    const QByteArray native = QFile::encodeName(folder);
    if (!QFileInfo(folder).isDir() &&
        (!QDir().mkpath(QFileInfo(folder).absolutePath()) ||
         (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST))) {
        if (error) *error = QStringLiteral("cannot create the folder ") + folder;
        return false;
    }
    // Made without truncating or following anything that stands there: one another start just
    // made, or a link, is left to the results file's own checks.
    const QString results = resultsFilePath();
    if (dataFileKind(results) != DataFileKind::Missing) return true;
    if (!createPrivateFile(results) && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("cannot create ") + results + ": " +
                     QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    return true;
}
