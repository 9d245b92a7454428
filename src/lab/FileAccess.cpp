#include "lab/FileAccess.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "lab/ProgramDir.h"

bool probeReadWrite(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    const bool closed = ::close(fd) == 0;
    // The superuser may open a file without write permission for writing; a file that nobody
    // may write is read-only all the same.
    const bool writable = statted && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return closed && writable;
}

bool permitsReadWrite(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) return false;
    // Asked for the effective user, as an open would be; the superuser passes this check for
    // any file, so a file nobody may write is read-only all the same.
    const bool allowed = ::faccessat(AT_FDCWD, native.constData(), R_OK | W_OK, AT_EACCESS) == 0;
    return allowed && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

bool probeReadable(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 && ::close(fd) == 0;
}

DataFileKind dataFileKind(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return DataFileKind::Missing;
    if (S_ISREG(st.st_mode)) return DataFileKind::Regular;
    if (S_ISDIR(st.st_mode)) return DataFileKind::Folder;
    return DataFileKind::Other;
}

int openDataFile(const QString& path, int flags, mode_t mode) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // Reads and writes of a regular file never block anyway; the flag only kept a pipe from
    // holding the open.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool createPrivateFile(const QString& path) {
    const int fd = openDataFile(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    return ::close(fd) == 0;
}

mode_t dataFileMode(const QString& path, mode_t existingMode) {
    // Without an application there is no program folder to be portable (widget-free tests).
    if (existingMode == 0 || !QCoreApplication::instance()) return 0600;
    const bool besidePortableProgram =
        isPortable() &&
        QFileInfo(path).absolutePath() == QFileInfo(programFolder()).absoluteFilePath();
    if (besidePortableProgram && existingMode != 0) return existingMode & 07777;
    return 0600;
}

int removeInterruptedSaves(const QString& path) {
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    int removed = 0;
    const QStringList names = folder.entryList({info.fileName() + QStringLiteral(".??????")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QString leftover = folder.filePath(name);
        if (dataFileKind(leftover) != DataFileKind::Regular) continue;
        if (::unlink(QFile::encodeName(leftover).constData()) == 0) ++removed;
    }
    return removed;
}
