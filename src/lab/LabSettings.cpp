#include "lab/LabSettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

#include "lab/ProgramDir.h"

namespace {
const QString folderName = QStringLiteral("reaktikum");
const QString settingsName = QStringLiteral("reaktikum.ini");
const QString teacherSection = QStringLiteral("Teacher");

QString sectionOf(const QString& key) {
    const qsizetype slash = key.indexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : key.left(slash);
}
}  // namespace

SettingsFiles standardSettingsFiles() {
    SettingsFiles files;
    files.besideProgram = programFolder() + QLatin1Char('/') + settingsName;
    // The user's own folder ($XDG_CONFIG_HOME, else ~/.config), then the system's
    // ($XDG_CONFIG_DIRS, else /etc/xdg), as Qt finds them.
    const QString userFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    files.user = userFolder + QLatin1Char('/') + folderName + QLatin1Char('/') + settingsName;
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        if (folder == userFolder) continue;
        files.systemWide << folder + QLatin1Char('/') + folderName + QLatin1Char('/') +
                                settingsName;
    }
    return files;
}

const QStringList& LabSettings::administratorSections() {
    static const QStringList sections{QStringLiteral("Data"), QStringLiteral("ClassJournal"),
                                      teacherSection};
    return sections;
}

LabSettings::LabSettings(const SettingsFiles& files) {
    readSystemWide(files);
    // The first file that sets a key keeps it: beside the program, the user's, then the
    // system's, whose keys are already in.
    QHash<QString, Entry> systemEntries;
    systemEntries.swap(entries_);
    readOwn(files.besideProgram);
    readOwn(files.user);
    for (auto it = systemEntries.cbegin(); it != systemEntries.cend(); ++it) {
        if (lockedSections_.contains(sectionOf(it.key())) || !entries_.contains(it.key()))
            entries_.insert(it.key(), it.value());
    }
}

void LabSettings::readSystemWide(const SettingsFiles& files) {
    for (const QString& path : files.systemWide) {
        if (!QFileInfo(path).isFile()) continue;
        QSettings ini(path, QSettings::IniFormat);
        const QStringList keys = ini.allKeys();
        bool teacherTrusted = true;
        if (std::any_of(keys.cbegin(), keys.cend(),
                        [](const QString& k) { return sectionOf(k) == teacherSection; }))
            teacherTrusted = trustedForTeacher(path, files.trustedOwner);
        for (const QString& key : keys) {
            const QString section = sectionOf(key);
            if (section == teacherSection && !teacherTrusted) continue;
            if (administratorSections().contains(section) && !lockedSections_.contains(section))
                lockedSections_ << section;
            // An earlier folder of $XDG_CONFIG_DIRS weighs more.
            if (!entries_.contains(key)) entries_.insert(key, {ini.value(key), path});
        }
    }
}

void LabSettings::readOwn(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    QSettings ini(path, QSettings::IniFormat);
    for (const QString& key : ini.allKeys()) {
        const QString section = sectionOf(key);
        // The teacher's gate is never opened by a file a student may write.
        if (section == teacherSection || lockedSections_.contains(section)) continue;
        if (!entries_.contains(key)) entries_.insert(key, {ini.value(key), path});
    }
}

bool LabSettings::trustedForTeacher(const QString& path, uint trustedOwner) {
    const QFileInfo info(path);
    const QFileDevice::Permissions mode = info.permissions();
    const bool othersWrite =
        mode.testFlag(QFileDevice::WriteOther) || mode.testFlag(QFileDevice::WriteGroup);
    if (info.ownerId() == trustedOwner && !othersWrite) return true;
    const QString warning =
        QStringLiteral(
            "reaktikum: раздел [Teacher] файла %1 не учтён: файл должен принадлежать "
            "root и быть закрыт для записи всем остальным.")
            .arg(path);
    warnings_ << warning;
    return false;
}

QVariant LabSettings::value(const QString& key) const {
    const auto it = entries_.constFind(key);
    return it == entries_.cend() ? QVariant() : it->value;
}

QString LabSettings::fileOf(const QString& key) const {
    const auto it = entries_.constFind(key);
    return it == entries_.cend() ? QString() : it->file;
}

LabSettingsSection LabSettings::section(const QString& name) const {
    return LabSettingsSection(*this, name);
}
