#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// The table of at most five students and its mirror, BDStudent.rez in the data folder: N
// blocks of 300 bytes, each block an image of the whole five-slot table, one block per student.
// Every change is written to the file at once by rewriting it whole.

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
    // scores[0] is experiment 1 … scores[3] experiment 4; 0 until a grade is recorded.
    std::array<float, StudentExperimentCount> scores{};
    // The class journal's id of this registration; kept in memory only, never in the file.
    QString sitting;

    // The grade of experiment 1..4.
    float& score(int experiment) { return scores[static_cast<std::size_t>(experiment - 1)]; }
    float score(int experiment) const { return scores[static_cast<std::size_t>(experiment - 1)]; }
};

// Tests make a save fail at a chosen step to see that the old file survives.
enum class StudentSaveStep {
    None,
    Open,    // the temporary file cannot be created
    Write,   // the last block is written only half
    Commit,  // everything is written but the file cannot take the results file's name
};

// Why the results file failed; the window layer turns it into the message the student reads.
struct ResultsFileFailure {
    enum class Kind {
        CannotOpen,  // missing, not a file that may be read and written, or cannot be opened
        Unreadable,  // opened, but its last block could not be read
        CannotSave,  // the new content could not be written; the old file stays as it was
        NotAFile,    // a symbolic link, a pipe or a device stands there: neither read nor written
    };
    Kind kind = Kind::CannotOpen;
    QString path;
    // Why a save failed (errno: ENOSPC, EFBIG, EDQUOT, EIO, EACCES, EROFS…); 0 when unknown.
    int error = 0;
};

class ResultsFile {
public:
    // The file at path; an empty path means the data folder's results file, worked out again
    // at each use so that a folder made while the program runs takes effect at once.
    explicit ResultsFile(QString path = {});

    QString path() const;
    // Called on every failure, before the operation returns false.
    std::function<void(const ResultsFileFailure&)> onFailure;

    // Slots 1..count() hold the students, oldest first.
    int count() const { return count_; }
    // The slot of the student registered at this computer in this run, whose grades the
    // experiments record; 0 when there is none (nobody registered yet, or that student's row
    // was deleted). It follows its student when deletions or a full table's trim move the rows.
    int current() const { return current_; }
    // Slot 1..5 (clamped).
    StudentRecord& slot(int slot);
    const StudentRecord& slot(int slot) const;
    QString group(int slot) const { return this->slot(slot).group.text(); }
    QString surname(int slot) const { return this->slot(slot).surname.text(); }
    // The grade of experiment 1..4 of a slot; 0 for another experiment number.
    float score(int slot, int experiment) const;

    // Replaces the table with the file's content; a file of five or more blocks leaves the four
    // newest students and is written back at once, so the next load finds the same table and
    // the current student keeps his row. A missing file is reported, created empty, and the
    // load goes on with it. False when the file's content could not be read (reported, the
    // table unchanged): the caller must then not save over the file. While the table holds
    // changes a save could not write (hasUnsavedChanges), the file is not read: the table is
    // the newer of the two, and the next save that succeeds writes it.
    bool load();
    // Rewrites the file from the table, count() blocks, atomically: every write and the flush
    // are checked before the new file takes the old one's name, so on any failure (full disk,
    // file-size limit, I/O error) the old file stays byte for byte and the failure is reported
    // with its reason. The table keeps what could not be written.
    bool save();
    bool hasUnsavedChanges() const { return unsaved_; }

    // The table as it stands, to be put back when an operation the file did not take must be
    // undone (a deletion that could not be saved).
    struct Snapshot {
        std::array<StudentRecord, StudentCapacity> table;
        int count = 0;
        int current = 0;
        bool unsaved = false;
    };
    Snapshot snapshot() const { return {table_, count_, current_, unsaved_}; }
    void restore(const Snapshot& snapshot);
    // Reloads the table, appends a student with four zero grades, makes him the current one and
    // saves. A failure is reported; the student is in the table unless the load failed.
    enum class AddOutcome { Saved, NotSaved, NotLoaded };
    AddOutcome add(const QString& group, const QString& surname);
    // Stores a grade in experiment k's slot of the current student and saves. Without a current
    // student nothing is recorded or written: a grade never goes to somebody else's row.
    enum class ScoreOutcome { Saved, NotSaved, NoStudent };
    ScoreOutcome setScore(int experiment, double grade);
    // Removes student index (1-based; an index past the end removes the last one). Does not save.
    void remove(int index);
    // Empties the table. Does not save.
    void removeAll();
    // Moves slots 2..5 down to 1..4, discarding the oldest student of a full table.
    void dropOldest();
    // Replaces the table with these students (at most five; more are ignored), with no current
    // student. Does not save.
    void replaceTable(const QList<StudentRecord>& students);

    // The file image of the table: the 300-byte block save() writes count() times. Slots past
    // the last student are zero bytes, so a deleted student cannot be read back from it.
    QByteArray image() const;

    // Every save fails at that step until set back to None (tests).
    void setSaveFault(StudentSaveStep step) { fault_ = step; }

private:
    void report(ResultsFileFailure::Kind kind, int error = 0) const;
    bool writeFile(const QString& path, int* error) const;

    QString path_;
    std::array<StudentRecord, StudentCapacity> table_{};
    int count_ = 0;
    int current_ = 0;
    bool unsaved_ = false;
    StudentSaveStep fault_ = StudentSaveStep::None;
};
