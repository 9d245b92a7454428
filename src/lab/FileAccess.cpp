#include "lab/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

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

bool probeReadable(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 && ::close(fd) == 0;
}
