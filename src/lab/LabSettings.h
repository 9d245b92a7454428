#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

// Every place reaktikum.ini may lie, in the order a key that a class does not depend on is
// looked for.
struct SettingsFiles {
    QString besideProgram;   // in the program folder
    QString user;            // $XDG_CONFIG_HOME/reaktikum/reaktikum.ini
    QStringList systemWide;  // reaktikum/reaktikum.ini of each $XDG_CONFIG_DIRS folder, in order
    // Who must own a system-wide file for its [Teacher] section to count: root. Tests name
    // themselves, so that the rule is tried on files they can make.
    uint trustedOwner = 0;
};

// The files of this computer: beside the running program, the user's, the system's.
SettingsFiles standardSettingsFiles();

class LabSettingsSection;

// reaktikum.ini read from every place it may be and merged key by key.
//
// The sections a class depends on ([Data], [ClassJournal], [Teacher]) belong to the
// administrator: when a system-wide file has such a section, the section is taken from the
// system-wide files alone, so the user's or the program folder's file can neither change, drop
// nor add to it. [Teacher] is only ever read from a system-wide file, and only from one that
// root owns and nobody else may write; another is ignored, with a warning. Any
// other key, and a class section the system-wide files leave out, comes from the file beside
// the program, then the user's, then the system's. Among system-wide files the first
// $XDG_CONFIG_DIRS folder wins, key by key.
class LabSettings {
public:
    explicit LabSettings(const SettingsFiles& files = standardSettingsFiles());

    // A key written "Section/key"; an invalid QVariant when no file sets it.
    QVariant value(const QString& key) const;
    // The file the key's value came from (a relative folder in it is taken from its folder);
    // empty when no file sets it.
    QString fileOf(const QString& key) const;
    // One section, read like a QSettings group.
    LabSettingsSection section(const QString& name) const;
    // What was ignored and why, for standard error (TeacherPassword::fromSettings writes it
    // there once at start-up; the folders read the settings at every use).
    const QStringList& warnings() const { return warnings_; }

    // The sections only the system-wide files set when they have them.
    static const QStringList& administratorSections();

private:
    struct Entry {
        QVariant value;
        QString file;
    };
    void readSystemWide(const SettingsFiles& files);
    void readOwn(const QString& path);
    bool trustedForTeacher(const QString& path, uint trustedOwner);

    QHash<QString, Entry> entries_;
    QStringList lockedSections_;
    QStringList warnings_;
};

class LabSettingsSection {
public:
    // Keeps its own (shared) copy of the settings: safe to take from a temporary.
    LabSettingsSection(const LabSettings& settings, const QString& name)
        : settings_(settings), prefix_(name + QLatin1Char('/')) {}
    QVariant value(const QString& key) const { return settings_.value(prefix_ + key); }
    QString fileOf(const QString& key) const { return settings_.fileOf(prefix_ + key); }

private:
    LabSettings settings_;
    QString prefix_;
};
