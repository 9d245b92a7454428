#include "lab/ResultsFile.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "lab/Cp1251.h"
#include "lab/FileAccess.h"
#include "lab/ProgramDir.h"

namespace {

// Slot offsets inside the 60-byte image of one record.
constexpr int groupOffset = 0;
constexpr int surnameOffset = groupOffset + 1 + StudentGroupCapacity;
constexpr int paddingOffset = surnameOffset + 1 + StudentSurnameCapacity;
constexpr int scoresOffset = paddingOffset + 3;
static_assert(scoresOffset + 4 * StudentExperimentCount == StudentSlotSize);

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

// Writes all of bytes or says why not: a short write (a file-size limit, a disk that fills up
// on the way) is followed by the one that returns the reason.
int writeAll(int fd, const char* data, qsizetype length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(length));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        data += n;
        length -= n;
    }
    return 0;
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

ResultsFile::ResultsFile(QString path) : path_(std::move(path)) {}

QString ResultsFile::path() const {
    return path_.isEmpty() ? resultsFilePath() : path_;
}

void ResultsFile::report(ResultsFileFailure::Kind kind, int error) const {
    if (onFailure) onFailure({kind, path(), error});
}

StudentRecord& ResultsFile::slot(int slot) {
    return table_[static_cast<std::size_t>(std::clamp(slot, 1, StudentCapacity) - 1)];
}

const StudentRecord& ResultsFile::slot(int slot) const {
    return table_[static_cast<std::size_t>(std::clamp(slot, 1, StudentCapacity) - 1)];
}

float ResultsFile::score(int slot, int experiment) const {
    if (experiment < 1 || experiment > StudentExperimentCount) return 0;
    return this->slot(slot).score(experiment);
}

QByteArray ResultsFile::image() const {
    QByteArray image(StudentBlockSize, '\0');
    for (int s = 0; s < std::clamp(count_, 0, StudentCapacity); ++s)
        putRecord(image.data() + s * StudentSlotSize, table_[static_cast<std::size_t>(s)]);
    return image;
}

bool ResultsFile::load() {
    // A table the file could not take is newer than the file: reading the file now would lose
    // a grade, or trim a full table a second time and move the current student up a row.
    if (unsaved_) return true;
    const QString path = this->path();
    const DataFileKind kind = dataFileKind(path);
    if (kind == DataFileKind::Other) {
        report(ResultsFileFailure::Kind::NotAFile);
        return false;
    }
    // A file that nobody may write cannot be opened for writing, whoever runs the program (the
    // superuser could open it all the same, and a save would then replace it).
    const int fd = kind == DataFileKind::Regular ? openDataFile(path, O_RDWR) : -1;
    struct stat st {};
    QFile file;
    if (fd < 0 || ::fstat(fd, &st) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0 && !file.isOpen()) ::close(fd);
        report(ResultsFileFailure::Kind::CannotOpen);
        // A file that exists but cannot be opened may hold grades: it is left alone, and the
        // table is not taken from it so that nothing is saved over it. A missing one is created
        // empty and the load goes on with it, so the caller can still save.
        if (kind != DataFileKind::Missing || !createPrivateFile(path)) return false;
        count_ = 0;
        return true;
    }

    // Every block is an image of the whole table, so the last whole block is the table and
    // the number of blocks is the number of students; a shorter tail is not a block.
    const qint64 blocks = file.size() / StudentBlockSize;
    std::array<StudentRecord, StudentCapacity> table = table_;
    if (blocks > 0) {
        QByteArray image;
        if (file.seek((blocks - 1) * StudentBlockSize)) image = file.read(StudentBlockSize);
        if (image.size() != StudentBlockSize) {
            report(ResultsFileFailure::Kind::Unreadable);
            return false;
        }
        for (int s = 0; s < StudentCapacity; ++s)
            getRecord(image.constData() + s * StudentSlotSize, table[static_cast<std::size_t>(s)]);
    }
    file.close();
    table_ = table;
    count_ = static_cast<int>(std::min<qint64>(blocks, StudentCapacity));
    const bool full = count_ >= StudentCapacity;
    if (full) {
        dropOldest();
        count_ = StudentCapacity - 1;
    }
    // A file shorter than the table in memory no longer holds the current student's row.
    if (current_ > count_) current_ = 0;
    // The trim happens once: the file gets the four students the table now holds, so the
    // file, the results window and the journal agree on every row. Should the file not take
    // them, the table is kept as the newer one and the failure is reported.
    if (full) save();
    return true;
}

bool ResultsFile::writeFile(const QString& path, int* error) const {
    // The new content goes to a temporary file beside the old one, reaches the disk, and only
    // then takes the old file's name: a failure or a crash at any point leaves either the old
    // file or the new one, never a cut one. An existing file that may not be written is
    // refused, as a plain rewrite would be.
    const QByteArray native = QFile::encodeName(path);
    struct stat old {};
    const bool exists = ::lstat(native.constData(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || !probeReadWrite(path))) {
        *error = S_ISDIR(old.st_mode) ? EISDIR : EACCES;
        return false;
    }
    *error = 0;
    if (fault_ == StudentSaveStep::Open) return false;
    // mkostemp makes the file 0600 with O_EXCL, so it never opens one that stands there.
    QByteArray temporary = native + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return false;
    }
    const auto fail = [&](int reason, bool open) {
        if (open) ::close(fd);
        ::unlink(temporary.constData());
        *error = reason;
        return false;
    };
    const QByteArray bytes = image().repeated(std::max(count_, 0));
    if (fault_ == StudentSaveStep::Write) {
        writeAll(fd, bytes.constData(), bytes.size() - StudentBlockSize / 2);
        return fail(EIO, true);
    }
    if (const int reason = writeAll(fd, bytes.constData(), bytes.size())) return fail(reason, true);
    // A file system without modes (a USB stick) refuses the change; the file is usable all the
    // same.
    ::fchmod(fd, dataFileMode(path, exists ? old.st_mode : 0));
    if (::fsync(fd) != 0) return fail(errno, true);
    if (::close(fd) != 0) return fail(errno, false);
    if (fault_ == StudentSaveStep::Commit) return fail(0, false);
    if (::rename(temporary.constData(), native.constData()) != 0) return fail(errno, false);
    syncDirectoryOf(path);
    return true;
}

bool ResultsFile::save() {
    const QString path = this->path();
    if (dataFileKind(path) == DataFileKind::Other) {
        unsaved_ = true;
        report(ResultsFileFailure::Kind::NotAFile);
        return false;
    }
    int error = 0;
    if (!writeFile(path, &error)) {
        unsaved_ = true;
        report(ResultsFileFailure::Kind::CannotSave, error);
        return false;
    }
    unsaved_ = false;
    return true;
}

void ResultsFile::restore(const Snapshot& snapshot) {
    table_ = snapshot.table;
    count_ = snapshot.count;
    current_ = snapshot.current;
    unsaved_ = snapshot.unsaved;
}

ResultsFile::AddOutcome ResultsFile::add(const QString& group, const QString& surname) {
    if (!load()) return AddOutcome::NotLoaded;
    // A table the file has not taken yet may be full: the oldest student makes room, as the
    // trim of a full file would.
    if (count_ >= StudentCapacity) {
        dropOldest();
        count_ = StudentCapacity - 1;
    }
    ++count_;
    current_ = count_;
    StudentRecord& record = slot(count_);
    record.group.assign(group);
    record.surname.assign(surname);
    record.scores = {};
    record.sitting.clear();
    return save() ? AddOutcome::Saved : AddOutcome::NotSaved;
}

ResultsFile::ScoreOutcome ResultsFile::setScore(int experiment, double grade) {
    if (current_ <= 0 || current_ > count_) return ScoreOutcome::NoStudent;
    if (experiment < 1 || experiment > StudentExperimentCount) return ScoreOutcome::NoStudent;
    slot(current_).score(experiment) = static_cast<float>(grade);
    return save() ? ScoreOutcome::Saved : ScoreOutcome::NotSaved;
}

void ResultsFile::remove(int index) {
    if (count_ <= 0 || index < 1) return;
    index = std::min(index, count_);
    if (index == current_)
        current_ = 0;
    else if (index < current_)
        --current_;
    for (int i = index; i < count_; ++i) {
        StudentRecord& to = slot(i);
        const StudentRecord& from = slot(i + 1);
        to.group = from.group;
        to.surname = from.surname;
        to.scores = from.scores;
        to.sitting = from.sitting;
    }
    --count_;
}

void ResultsFile::removeAll() {
    count_ = 0;
    current_ = 0;
}

void ResultsFile::dropOldest() {
    for (int s = 1; s < StudentCapacity; ++s) slot(s) = slot(s + 1);
    if (current_ > 0) --current_;
}

void ResultsFile::replaceTable(const QList<StudentRecord>& students) {
    table_ = {};
    count_ = int(std::min<qsizetype>(students.size(), StudentCapacity));
    for (int i = 0; i < count_; ++i) table_[static_cast<std::size_t>(i)] = students[i];
    current_ = 0;
}
