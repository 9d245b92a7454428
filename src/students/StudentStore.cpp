#include "students/StudentStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

#include "journal/Journal.h"
#include "lab/Cp1251.h"
#include "lab/ProgramDir.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "shell/Program.h"
#include "students/StudentFileFaults.h"
#include "toolkit/MessageBoxes.h"

std::array<StudentRecord, StudentCapacity> studentTable{};
std::int32_t studentCount = 0;

namespace {

std::int32_t currentSlot = 0;

StudentSaveStep injectedFault = StudentSaveStep::None;

// Deletions reach the journal once the results file holds them.
struct PendingDeletion {
    StudentRecord record;
    bool all = false;
};
QList<PendingDeletion> pendingDeletions;

void tellJournalOfDeletions() {
    for (PendingDeletion& d : pendingDeletions) {
        const QString group = d.record.group.text();
        const QString surname = d.record.surname.text();
        if (d.all)
            journal().deletedAll(d.record.sitting, group, surname);
        else
            journal().deleted(d.record.sitting, group, surname);
    }
    pendingDeletions.clear();
}

// Slot offsets inside the 60-byte image of one record.
constexpr int groupOffset = 0;
constexpr int surnameOffset = groupOffset + 1 + StudentGroupCapacity;
constexpr int paddingOffset = surnameOffset + 1 + StudentSurnameCapacity;
constexpr int scoresOffset = paddingOffset + 3;
static_assert(scoresOffset + 4 * StudentExperimentCount == StudentSlotSize);

// Every way the results file can fail ends the same way: the message, then the program stops,
// so nobody keeps working with grades that can no longer be kept.
void reportResultsFileFailure() {
    showErrorBox(cannotOpenFileMessage(resultsFilePath()));
    LabState.startupFailed = true;
    requestMainWindowClose();
}

void putFloat(char* out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

float getFloat(const char* in) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= std::uint32_t(static_cast<unsigned char>(in[i])) << (8 * i);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <int Capacity>
void putShortString(char* out, const ShortString<Capacity>& s) {
    out[0] = static_cast<char>(s.length);
    std::memcpy(out + 1, s.chars.data(), Capacity);
}

// A length byte past the fixed area is read as the whole area, never beyond it.
template <int Capacity>
void getShortString(const char* in, ShortString<Capacity>& s) {
    s.length = std::min<std::uint8_t>(static_cast<unsigned char>(in[0]), Capacity);
    std::memcpy(s.chars.data(), in + 1, Capacity);
}

void putRecord(char* out, const StudentRecord& r) {
    putShortString(out + groupOffset, r.group);
    putShortString(out + surnameOffset, r.surname);
    std::memcpy(out + paddingOffset, r.padding.data(), r.padding.size());
    for (int k = 0; k < StudentExperimentCount; ++k)
        putFloat(out + scoresOffset + 4 * k, r.scores[static_cast<std::size_t>(k)]);
}

void getRecord(const char* in, StudentRecord& r) {
    getShortString(in + groupOffset, r.group);
    getShortString(in + surnameOffset, r.surname);
    std::memcpy(r.padding.data(), in + paddingOffset, r.padding.size());
    for (int k = 0; k < StudentExperimentCount; ++k)
        r.scores[static_cast<std::size_t>(k)] = getFloat(in + scoresOffset + 4 * k);
}

bool createEmptyResultsFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
    file.close();
    return file.error() == QFileDevice::NoError;
}

// After the rename the directory entry itself must reach the disk, or a power cut could
// bring back the old name.
void syncDirectoryOf(const QString& path) {
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

template <int Capacity>
QString ShortString<Capacity>::text() const {
    return Cp1251::decode(QByteArray(chars.data(), std::min<int>(length, Capacity)));
}

template <int Capacity>
void ShortString<Capacity>::assign(const QString& text) {
    // Cut by characters as the user sees them: a character outside the basic plane is one
    // '?' rather than two halves of a pair.
    int n = 0;
    for (char32_t c : text.toUcs4()) {
        if (n == Capacity) break;
        const unsigned char code = c <= 0xFFFF ? Cp1251::encodeChar(QChar(char16_t(c))) : '?';
        chars[static_cast<std::size_t>(n++)] = static_cast<char>(code);
    }
    length = static_cast<std::uint8_t>(n);
}

template struct ShortString<StudentGroupCapacity>;
template struct ShortString<StudentSurnameCapacity>;

StudentRecord& studentSlot(int slot) {
    return studentTable[static_cast<std::size_t>(std::clamp(slot, 1, StudentCapacity) - 1)];
}

QString studentGroup(int slot) {
    return studentSlot(slot).group.text();
}

QString studentSurname(int slot) {
    return studentSlot(slot).surname.text();
}

float studentScore(int slot, int experiment) {
    if (experiment < 1 || experiment > StudentExperimentCount) return 0;
    return studentSlot(slot).score(experiment);
}

std::int32_t currentStudent() {
    return currentSlot;
}

QByteArray studentTableImage() {
    QByteArray image(StudentBlockSize, '\0');
    for (int s = 0; s < std::clamp(studentCount, 0, StudentCapacity); ++s)
        putRecord(image.data() + s * StudentSlotSize, studentTable[static_cast<std::size_t>(s)]);
    return image;
}

bool loadStudents() {
    const QString path = resultsFilePath();
    QFile file(path);
    // A file that nobody may write cannot be opened for writing, whoever runs the program (the
    // superuser could open it all the same, and a save would then replace it).
    if (!probeReadWrite(path) || !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        reportResultsFileFailure();
        // A file that exists but cannot be opened may hold grades: it is left alone, and the
        // table is not taken from it so that nothing is saved over it. A missing one is created
        // empty and the load goes on with it, so the caller can still save.
        if (QFileInfo::exists(path) || !createEmptyResultsFile(path)) return false;
        studentCount = 0;
        return true;
    }

    // Every block is an image of the whole table, so the last whole block is the table and
    // the number of blocks is the number of students; a shorter tail is not a block.
    const qint64 blocks = file.size() / StudentBlockSize;
    std::array<StudentRecord, StudentCapacity> table = studentTable;
    if (blocks > 0) {
        QByteArray image;
        if (file.seek((blocks - 1) * StudentBlockSize)) image = file.read(StudentBlockSize);
        if (image.size() != StudentBlockSize) {
            reportResultsFileFailure();
            return false;
        }
        for (int s = 0; s < StudentCapacity; ++s)
            getRecord(image.constData() + s * StudentSlotSize, table[static_cast<std::size_t>(s)]);
    }
    studentTable = table;
    studentCount = static_cast<std::int32_t>(std::min<qint64>(blocks, StudentCapacity));
    if (studentCount >= StudentCapacity) {
        dropOldestStudent();
        studentCount = StudentCapacity - 1;
    }
    // A file shorter than the table in memory no longer holds the current student's row.
    if (currentSlot > studentCount) currentSlot = 0;
    return true;
}

bool saveStudents() {
    // The new content goes to a temporary file beside the old one, reaches the disk, and only
    // then takes the old file's name: a failure or a crash at any point leaves either the old
    // file or the new one, never a cut one. An existing file that may not be written is
    // refused, as a plain rewrite would be.
    const QString path = resultsFilePath();
    QSaveFile file(path);
    const bool mayWrite = !QFileInfo::exists(path) || probeReadWrite(path);
    bool ok = injectedFault != StudentSaveStep::Open && mayWrite && file.open(QIODevice::WriteOnly);
    if (ok) {
        const QByteArray image = studentTableImage();
        for (std::int32_t i = 0; ok && i < studentCount; ++i) {
            if (injectedFault == StudentSaveStep::Write && i + 1 == studentCount) {
                file.write(image.constData(), StudentBlockSize / 2);
                ok = false;
                break;
            }
            ok = file.write(image) == StudentBlockSize;
        }
        if (ok && injectedFault == StudentSaveStep::Commit) ok = false;
        if (!ok) file.cancelWriting();
        ok = file.commit() && ok;
    }
    if (!ok) {
        pendingDeletions.clear();
        reportResultsFileFailure();
        return false;
    }
    syncDirectoryOf(path);
    tellJournalOfDeletions();
    return true;
}

bool addStudent(const QString& group, const QString& surname) {
    if (!loadStudents()) return false;
    ++studentCount;
    currentSlot = studentCount;
    StudentRecord& record = studentSlot(studentCount);
    record.group.assign(group);
    record.surname.assign(surname);
    record.scores = {};
    const bool saved = saveStudents();
    // The journal keeps the registration even when the results file could not.
    journal().registered(record.sitting, record.group.text(), record.surname.text());
    return saved;
}

void recordScore(int experiment, double grade) {
    if (currentSlot <= 0 || currentSlot > studentCount) return;
    if (experiment < 1 || experiment > StudentExperimentCount) return;
    StudentRecord& record = studentSlot(currentSlot);
    record.score(experiment) = static_cast<float>(grade);
    saveStudents();
    journal().graded(record.sitting, record.group.text(), record.surname.text(), experiment, grade);
}

void deleteStudent(int index) {
    if (studentCount <= 0 || index < 1) return;
    index = std::min(index, studentCount);
    pendingDeletions.append({studentSlot(index), false});
    if (index == currentSlot)
        currentSlot = 0;
    else if (index < currentSlot)
        --currentSlot;
    for (int i = index; i < studentCount; ++i) {
        StudentRecord& to = studentSlot(i);
        const StudentRecord& from = studentSlot(i + 1);
        to.group = from.group;
        to.surname = from.surname;
        to.scores = from.scores;
        to.sitting = from.sitting;
    }
    --studentCount;
}

void deleteAllStudents() {
    for (int i = 1; i <= studentCount; ++i) pendingDeletions.append({studentSlot(i), true});
    if (studentCount > 0) studentCount = 0;
    currentSlot = 0;
}

void dropOldestStudent() {
    for (int s = 1; s < StudentCapacity; ++s) studentSlot(s) = studentSlot(s + 1);
    if (currentSlot > 0) --currentSlot;
}

void resetStudentTable() {
    studentTable = {};
    studentCount = 0;
    currentSlot = 0;
    injectedFault = StudentSaveStep::None;
    pendingDeletions.clear();
}

void setStudentSaveFaultForTests(StudentSaveStep step) {
    injectedFault = step;
}
