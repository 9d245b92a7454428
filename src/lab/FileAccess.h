#pragma once

#include <QString>

// True when an existing file can be opened for reading and writing and is not read-only.
bool probeReadWrite(const QString& path);
// True when an existing file can be opened for reading.
bool probeReadable(const QString& path);
