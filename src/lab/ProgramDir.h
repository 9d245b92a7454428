#pragma once

#include <QString>

// Where the program's files lie. Every path is worked out again at each use, never cached, so
// a settings file or a folder made while the program runs takes effect at once.

// The folder of the running executable (links resolved), without a trailing separator.
QString programFolder();
// Points programFolder at another folder (tests); an empty string restores the real one.
void setProgramDirForTests(const QString& dir);
// programFolder followed by a relative path written with backslashes ("\BackGround\Opit.jpg").
QString assetPath(const QString& relativePath);

// True when the program folder is a copy its user may write (a build folder, a USB stick):
// results then stay beside the program. An installed folder (PREFIX/lib/reaktikum beside
// PREFIX/bin/reaktikum) never counts, not even for root.
bool isPortable();

// The settings file reaktikum.ini: beside the program, else in $XDG_CONFIG_HOME/reaktikum/,
// else in reaktikum/ of each $XDG_CONFIG_DIRS folder (/etc/xdg); the first that exists wins.
// When none exists: the path where this user's own would be (beside a portable program, else
// under $XDG_CONFIG_HOME), so QSettings on it reads nothing and may write there. The program
// itself reads the settings of every place merged (lab/LabSettings.h).
QString settingsFilePath();

// The folder of the results file and the class journal: the folder named by folder= in the
// settings' [Data] section (relative to the settings file that names it); else the program folder
// of a portable program; else $XDG_DATA_HOME/reaktikum (~/.local/share/reaktikum).
QString dataFolder();
// dataFolder followed by "/BDStudent.rez".
QString resultsFilePath();

// Makes a data folder that lies apart from the program ready at start-up: creates it (0700) and
// an empty results file (0600) when they are missing. A portable program folder is left as it is,
// so a missing results file there is reported as before. False (and why) when that fails; the
// results file's own message then names the file when it is used.
bool prepareDataFolder(QString* error = nullptr);
