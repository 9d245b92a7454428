#pragma once

#include <sys/types.h>

#include <QString>

// True when an existing file can be opened for reading and writing and is not read-only.
bool probeReadWrite(const QString& path);
// True when an existing file can be opened for reading.
bool probeReadable(const QString& path);
// The same answer as probeReadWrite, without opening the file: closing any descriptor of a file
// drops every lock this process holds on it, so a file a database connection of this process may
// have open (and locked) is only asked about.
bool permitsReadWrite(const QString& path);

// What stands at a data file's place, its links not followed.
enum class DataFileKind {
    Missing,
    Regular,
    Folder,
    Other,  // a symbolic link, a pipe, a device: the program neither reads nor writes it
};
DataFileKind dataFileKind(const QString& path);

// Opens a data file without following a symbolic link at its place and without blocking on a
// pipe; refuses (-1, errno ELOOP or EINVAL) anything but a regular file. flags as for open(2);
// a file created here gets mode (the umask applies).
int openDataFile(const QString& path, int flags, mode_t mode = 0600);

// Creates an empty file only the owner may read and write; false when something already
// stands there or it cannot be made (errno says why).
bool createPrivateFile(const QString& path);

// The mode a replacement of a data file gets: its owner's only, except beside a portable
// program, where a file keeps the mode it had (existingMode, 0 when there was none).
mode_t dataFileMode(const QString& path, mode_t existingMode);

// Removes what an interrupted save of the file at path left beside it: files named like it
// followed by a dot and six characters. Links and folders of that name are left alone.
// Returns how many were removed.
int removeInterruptedSaves(const QString& path);
