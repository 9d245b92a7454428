#pragma once

#include <QString>

class Navigation;
class ReferenceData;
struct ReferenceNumberError;

// The error box for a Dannie.txt whose data are not complete.
QString incompleteReferenceDataMessage(const QString& fullPath);
// The error box for a number of Dannie.txt that cannot be read: the file, the line, the text.
QString malformedReferenceNumberMessage(const QString& fullPath, const ReferenceNumberError& error);

// Reads Dannie.txt of the program folder into the reference data. A file that cannot be
// opened is reported and ends the program (the values stay zero). A malformed number is
// reported with its line; then, as for data that are not complete, a box names
// the file and the program ends: grading against partial data would give every student a 1.
void loadReferenceData(ReferenceData& data, Navigation& navigation);
