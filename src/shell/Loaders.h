#pragma once

#include <QString>

class MoviePlayer;
class Picture;

// Shows a movie of the asset tree in a player. A file that cannot be opened for reading and
// writing, or that the player refuses, is reported and ends the program; never raises.
void loadMovie(MoviePlayer* player, const QString& relativePath);
// Loads a picture of the asset tree; a failure is reported and ends the program.
void loadPicture(Picture* image, const QString& relativePath);

// True when an existing file can be opened for reading and writing and is not read-only.
bool probeReadWrite(const QString& path);

// The start of every "cannot open" message; the path and the ending follow.
QString cannotOpenFileMessage(const QString& fullPath);
