#include "app/ProgramFolderLock.h"

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

bool ProgramFolderLock::acquire() {
    lock_ = std::make_unique<QLockFile>(lockFilePath());
    // A lock is stale only when the program that made it is gone (its process id is checked);
    // a run that lasts for hours keeps its lock.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) return true;
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
