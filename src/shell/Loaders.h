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

// What a failed save of the results file tells the student: the file, why (from errno), and
// that the old content stands and the grades wait in memory.
QString saveFailedMessage(const QString& fullPath, int error);
// What the student reads when a link or another non-file stands at the results file's place.
QString notAFileMessage(const QString& fullPath);

// A results file that cannot be opened or read, or is not a file at all, ends the program after
// the message naming it, so nobody keeps working with grades that can no longer be kept. A
// failed save is told (file and reason) and the work goes on: the table keeps the grades and
// the next save that succeeds writes them. Makes the file report its failures so.
void reportFailuresOf(ResultsFile& results, Navigation& navigation);
