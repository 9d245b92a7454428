#pragma once

#include <QString>

// Whether a data folder is safe to keep grades in: no other account may write it, or it could
// rewrite, replace or plant any file there (the results, the journal and its triggers).
enum class DataFolderProblem {
    None,
    Missing,             // not there, or not a folder
    OwnedByAnotherUser,  // its owner (not this account, not the superuser) may write it
    WritableByGroup,     // its group has other members (a group-writable mode or a default ACL)
    WritableByOthers,    // every account may write it
};

// Looks at folder itself (a link to it is followed; the folder is what the files go in). A
// group-writable folder is accepted when its group is the owner's own private group with no
// other member, as user-private-group systems make them.
DataFolderProblem dataFolderProblem(const QString& folder);

// The same for this run's data folder; None for a portable program, whose folder is its
// user's to choose (a USB stick has no modes at all).
DataFolderProblem currentDataFolderProblem();
