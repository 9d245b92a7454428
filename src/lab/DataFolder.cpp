#include "lab/DataFolder.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cstring>
#include <vector>

#include "lab/ProgramDir.h"

namespace {

QByteArray userName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
    return QByteArray(found->pw_name);
}

// The owner's own group: named as the owner, and nobody else listed in it.
bool isPrivateGroupOf(gid_t gid, uid_t owner) {
    const QByteArray ownerName = userName(owner);
    if (ownerName.isEmpty()) return false;
    std::vector<char> buffer(65536);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return false;
    if (ownerName != found->gr_name) return false;
    for (char** member = found->gr_mem; member && *member; ++member)
        if (ownerName != *member) return false;
    return true;
}

}  // namespace

DataFolderProblem dataFolderProblem(const QString& folder) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return DataFolderProblem::Missing;
    if (st.st_uid != ::geteuid() && st.st_uid != 0) return DataFolderProblem::OwnedByAnotherUser;
    if (st.st_mode & S_IWOTH) return DataFolderProblem::WritableByOthers;
    // With an access list the group bits are its mask: a named user or group with write
    // access shows here too.
    if ((st.st_mode & S_IWGRP) && !isPrivateGroupOf(st.st_gid, st.st_uid))
        return DataFolderProblem::WritableByGroup;
    return DataFolderProblem::None;
}

DataFolderProblem currentDataFolderProblem() {
    const QString folder = dataFolder();
    if (folder == programFolder()) return DataFolderProblem::None;
    return dataFolderProblem(folder);
}
