#pragma once

#include <QString>

class MoviePlayer;
class Navigation;
class Picture;
class ResultsFile;

// Shows a movie of the asset tree in a player. A file that cannot be opened for reading and
// writing, or that the player refuses, is reported and ends the program; never raises.
void loadMovie(Navigation& navigation, MoviePlayer* player, const QString& relativePath);
// Loads a picture of the asset tree; a failure is reported and ends the program.
void loadPicture(Navigation& navigation, Picture* image, const QString& relativePath);

// The start of every "cannot open" message; the path and the ending follow.
QString cannotOpenFileMessage(const QString& fullPath);

// Every way the results file can fail ends the same way: the message naming the file, then
// the program stops, so nobody keeps working with grades that can no longer be kept. Makes the
// file report its failures so.
void reportFailuresOf(ResultsFile& results, Navigation& navigation);
