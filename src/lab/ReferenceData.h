#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The reference data of experiment 1, Dannie.txt beside the program: first six blocks of four
// lines `t  1/t  C'` (one block per task variant, one line per test tube), then six blocks of
// three lines `T  t  1/t  γ` (the temperature series); every block is followed by one line that
// is skipped. Numbers use a full stop whatever the locale.

// reference[variant 1..6][number 1..3][data line 1..4], index 0 unused on every axis so the
// indices read as the file's own numbering.
using ReferenceBlockArray = std::array<std::array<std::array<double, 5>, 4>, 7>;
// auxiliary[block 1..6][number 1..4][data line 1..3], index 0 unused likewise: the temperature
// series, read to keep the file's layout and checked against the movies by the tests.
using AuxiliaryBlockArray = std::array<std::array<std::array<double, 4>, 5>, 7>;

// Where and why a number of the file could not be read.
struct ReferenceNumberError {
    enum class Kind { NotANumber, OutOfRange };
    Kind kind = Kind::NotANumber;
    int line = 0;        // 1-based
    qsizetype byte = 0;  // 1-based offset in the file
    QString text;        // the characters read as the number
    // "line 3, byte 41: '0,5' is not a number", for logs.
    QString describe() const;
};

struct ReferenceParseResult {
    ReferenceBlockArray reference{};
    AuxiliaryBlockArray auxiliary{};
    bool ok = true;
    // Every number was there (the data did not end early, no extra line end started another
    // pass) and every value of the variant blocks is finite and not 0.
    bool complete = true;
    // Where reading stopped and why; set when not ok.
    std::optional<ReferenceNumberError> error;
};

// Reads the whole file image. Before a number blanks, tabs and line ends are skipped; a number
// ends at the first blank or control character and takes at most 64 characters; a number asked
// for at the end of the data reads as 0. After each data line the rest of the line is skipped,
// after each block one more line. Blank lines and lines of blanks after a complete pass are
// ignored; anything else left starts another pass, which then reads zeros. A malformed number
// stops the reading; the values read until then are kept in the result.
ReferenceParseResult parseReferenceData(const QByteArray& bytes);

// The reference values experiment 1 is graded against, read from Dannie.txt once at start-up.
// Zero until read.
class ReferenceData {
public:
    struct Load {
        bool opened = false;  // the file is a regular file that could be read whole
        std::optional<ReferenceNumberError> malformed;
        bool complete = false;
    };
    // Reads the file; the values read until a malformed number are kept.
    Load load(const QString& path);

    // Reference rate and concentration of tube 4 for a variant 1..6 (0 outside that range).
    double rateOfTube4(int variant) const;
    double concentrationOfTube4(int variant) const;
    // The reference time, rate and concentration of a tube 1..4 for a variant 1..6 (zeros
    // outside those ranges), as experiment 1's grade shows them beside the student's.
    struct Tube {
        double time = 0;
        double rate = 0;
        double concentration = 0;
    };
    Tube tube(int variant, int tube) const;

private:
    ReferenceBlockArray reference_{};
};
