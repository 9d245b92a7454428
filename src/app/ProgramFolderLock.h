#pragma once

#include <QLockFile>
#include <memory>

// One running program per data folder: its results file is rewritten whole on every change,
// so two programs working on it would overwrite each other's grades. The lock is a file beside
// the results file in the data folder, held while this object lives; a lock left by a program
// that died is taken over.
class ProgramFolderLock {
public:
    ProgramFolderLock();
    ~ProgramFolderLock();
    ProgramFolderLock(const ProgramFolderLock&) = delete;
    ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

    // Takes the lock. When another program holds it, says so in an error box and returns false;
    // the caller then ends without touching any file. A folder where no lock can be made at all
    // (read-only) is no reason to refuse the start: true then, without a lock. A link, a folder
    // or a device at the lock file's place is refused with a message naming it.
    bool acquire();
    bool held() const;

    static QString lockFilePath();
    static QString alreadyRunningMessage();
    static QString notAFileMessage();

private:
    std::unique_ptr<QLockFile> lock_;
};
