#pragma once

#include <QString>

#include "lab/DataFolder.h"

// What the student reads when the data folder is refused at start-up: the folder, why, and
// what to do about it.
QString dataFolderRefusalMessage(const QString& folder, DataFolderProblem problem);

// Checks this run's data folder: a folder other accounts may write is refused with the message
// above in an error box. True when the program may start.
bool acceptDataFolder();
