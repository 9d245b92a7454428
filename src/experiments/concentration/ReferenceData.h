#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// The reference data of experiment 1, Dannie.txt beside the program: first six blocks of four
// lines `t  1/t  C'` (one block per task variant, one line per test tube), then six blocks of
// three lines `T  t  1/t  γ` (the temperature series); every block is followed by one line that
// is skipped. Numbers use a full stop whatever the locale.

// ReferenceBlocks[variant 1..6][number 1..3][data line 1..4], index 0 unused on every axis so
// the indices read as the file's own numbering.
using ReferenceBlockArray = std::array<std::array<std::array<double, 5>, 4>, 7>;
// AuxiliaryBlocks[block 1..6][number 1..4][data line 1..3], index 0 unused likewise.
using AuxiliaryBlockArray = std::array<std::array<std::array<double, 4>, 5>, 7>;

// Process-wide, zero at start; filled once by loadReferenceData().
extern ReferenceBlockArray ReferenceBlocks;
extern AuxiliaryBlockArray AuxiliaryBlocks;

struct ReferenceParseResult {
    ReferenceBlockArray reference{};
    AuxiliaryBlockArray auxiliary{};
    bool ok = true;
    // Every number was there (the data did not end early, no extra line end started another
    // pass) and every value of the variant blocks is finite and not 0.
    bool complete = true;
    // Where reading stopped and why ("line 3, byte 41: '0,5' is not a number"); empty when ok.
    QString error;
};

// Reads the whole file image. Before a number blanks, tabs and line ends are skipped; a number
// ends at the first blank or control character and takes at most 64 characters; a number asked
// for at the end of the data reads as 0. After each data line the rest of the line is skipped,
// after each block one more line. Anything left after a complete pass (even one more line end)
// starts another pass, which then reads zeros. A malformed number stops the reading; the values
// read until then are kept in the result.
ReferenceParseResult parseReferenceData(const QByteArray& bytes);

// Reference rate and concentration of tube 4 for a variant 1..6 (0 outside that range).
double referenceRateOfTube4(int variant);
double referenceConcentrationOfTube4(int variant);

// The error box for a file whose data is not complete.
QString incompleteReferenceDataMessage(const QString& fullPath);

// Reads ProgramDir\Dannie.txt into ReferenceBlocks and AuxiliaryBlocks. A file that cannot be
// opened is reported and ends the program (the tables stay zero). A malformed number is
// reported as "Invalid numeric input"; then, as for data that is not complete, an error box
// names the file and the program ends after start-up.
void loadReferenceData();

// Zeroes both tables, as at program start (tests).
void resetReferenceData();
