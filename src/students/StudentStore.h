#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// The process-wide table of at most five students and its mirror, BDStudent.rez in the data
// folder (resultsFilePath()): N blocks of 300 bytes, each block an image of the whole five-slot
// table, one block per student. Every change is written to the file at once by rewriting it whole.

constexpr int StudentCapacity = 5;
constexpr int StudentGroupCapacity = 14;    // characters of a group
constexpr int StudentSurnameCapacity = 25;  // characters of a surname and initials
constexpr int StudentExperimentCount = 4;
constexpr int StudentSlotSize = 60;
constexpr int StudentBlockSize = StudentSlotSize * StudentCapacity;

// A Windows-1251 short string: a length byte and a fixed area; bytes past the length carry
// no meaning but are kept as they stand, so a save writes back what a load read.
template <int Capacity>
struct ShortString {
    std::uint8_t length = 0;
    std::array<char, Capacity> chars{};

    QString text() const;
    // Keeps the first Capacity characters; characters the code page lacks become '?'.
    void assign(const QString& text);
};

struct StudentRecord {
    ShortString<StudentGroupCapacity> group;
    ShortString<StudentSurnameCapacity> surname;
    std::array<char, 3> padding{};
    // Scores[0] is experiment 1 … Scores[3] experiment 4; 0 until a grade is recorded.
    std::array<float, StudentExperimentCount> scores{};
    // The class journal's id of this registration; kept in memory only, never in the file.
    QString sitting;

    // The grade of experiment 1..4.
    float& score(int experiment) { return scores[static_cast<std::size_t>(experiment - 1)]; }
    float score(int experiment) const { return scores[static_cast<std::size_t>(experiment - 1)]; }
};

// Slots 1..studentCount are studentTable[0..studentCount-1], oldest first.
extern std::array<StudentRecord, StudentCapacity> studentTable;
extern std::int32_t studentCount;

// The slot of the student registered at this computer in this run, whose grades the experiments
// record; 0 when there is none (nobody registered yet, or that student's row was deleted).
// It follows its student when deletions or a full table's trim move the rows.
std::int32_t currentStudent();

// Slot 1..5 of the table.
StudentRecord& studentSlot(int slot);
QString studentGroup(int slot);
QString studentSurname(int slot);
float studentScore(int slot, int experiment);

// Replaces the table with the file's content; a file of five or more blocks leaves the four
// newest students. A missing file is reported, created empty and ends the program, and the
// load goes on with it. Returns false when the file's content could not be read (reported,
// the program ends, the table is unchanged); callers must then not save over the file.
bool loadStudents();
// Rewrites the file from the table, studentCount blocks, atomically: on any failure the old
// file stays as it was, the failure is reported and the program ends. Returns false then.
bool saveStudents();
// Reloads the table, appends the new student with four zero grades and saves.
bool addStudent(const QString& group, const QString& surname);
// Stores a grade in experiment k's slot of the current student and saves. Without a current
// student nothing is recorded or written: a grade never goes to somebody else's row.
void recordScore(int experiment, double grade);
// Removes student index (1-based; an index past the end removes the last one). Does not save.
void deleteStudent(int index);
// Empties the table. Does not save.
void deleteAllStudents();
// Moves slots 2..5 down to 1..4, discarding the oldest student of a full table.
void dropOldestStudent();

// The file image of the table: the 300-byte block saveStudents writes studentCount times.
// Slots past the last student are zero bytes, so a deleted student cannot be read back from it.
QByteArray studentTableImage();

// Back to the zeroed table of process start (tests).
void resetStudentTable();
