#include "app/ProgramFolderLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "lab/FileAccess.h"
#include "lab/ProgramDir.h"
#include "toolkit/MessageBoxes.h"

ProgramFolderLock::ProgramFolderLock() = default;

ProgramFolderLock::~ProgramFolderLock() = default;

QString ProgramFolderLock::lockFilePath() {
    // Beside the results file it guards: the program folder when it is portable, else the data
    // folder of this account (or the shared one the settings name).
    return dataFolder() + QStringLiteral("/reaktikum.lock");
}

QString ProgramFolderLock::alreadyRunningMessage() {
    return QStringLiteral("Реактикум уже запущен из этой папки.");
}

QString ProgramFolderLock::notAFileMessage() {
    return QStringLiteral("По адресу ") + lockFilePath() +
           QStringLiteral(
               " находится не обычный файл (символическая ссылка, папка или "
               "устройство): программа не открывает его. Выполнение программы будет "
               "остановлено!!!");
}

bool ProgramFolderLock::acquire() {
    // The lock file is written by the program: a link planted in its place would send that
    // write to another file, so anything but a regular file there is refused.
    const DataFileKind kind = dataFileKind(lockFilePath());
    if (kind == DataFileKind::Folder || kind == DataFileKind::Other) {
        showErrorBox(notAFileMessage());
        return false;
    }
    lock_ = std::make_unique<QLockFile>(lockFilePath());
    // A lock is stale only when the program that made it is gone (its process id is checked);
    // a run that lasts for hours keeps its lock.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        // Made with the umask's mode; it names the computer and the process: its owner's only.
        const int fd = openDataFile(lockFilePath(), O_RDONLY);
        if (fd >= 0) {
            ::fchmod(fd, 0600);
            ::close(fd);
        }
        return true;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        lock_.reset();
        showErrorBox(alreadyRunningMessage());
        return false;
    }
    lock_.reset();
    return true;
}

bool ProgramFolderLock::held() const {
    return lock_ && lock_->isLocked();
}
