// The results file byte by byte: what every copy of the program writes and must read back;
// and what the class journal is told of each registration, grade and deletion.

#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

#include "lab/CatalystGrading.h"
#include "lab/Cp1251.h"
#include "lab/FileAccess.h"
#include "lab/Journal.h"
#include "lab/Session.h"

namespace {

const QString resultsFile = QStringLiteral("BDStudent.rez");

struct Slot {
    QString group;
    QString surname;
    float scores[4] = {0, 0, 0, 0};
};

// One 60-byte slot as laid out in the file, built here by hand: length byte and Windows-1251
// characters of the group at 0, of the surname at 15, four little-endian floats from 44.
QByteArray slotBytes(const Slot& s) {
    QByteArray out(StudentSlotSize, '\0');
    const QByteArray group = Cp1251::encode(s.group);
    const QByteArray surname = Cp1251::encode(s.surname);
    out[0] = char(group.size());
    std::memcpy(out.data() + 1, group.constData(), size_t(group.size()));
    out[15] = char(surname.size());
    std::memcpy(out.data() + 16, surname.constData(), size_t(surname.size()));
    for (int k = 0; k < 4; ++k) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &s.scores[k], 4);
        for (int b = 0; b < 4; ++b) out[44 + 4 * k + b] = char((bits >> (8 * b)) & 0xFF);
    }
    return out;
}

// A slot with the bytes that carry no meaning (past each length, the padding) zeroed:
// remnants of earlier records may stand there.
QByteArray meaningful(QByteArray slot) {
    const int group = std::min<int>(static_cast<unsigned char>(slot[0]), 14);
    const int surname = std::min<int>(static_cast<unsigned char>(slot[15]), 25);
    for (int i = 1 + group; i < 15; ++i) slot[i] = 0;
    for (int i = 16 + surname; i < 44; ++i) slot[i] = 0;
    return slot;
}

QByteArray blockOf(const QList<Slot>& slots) {
    QByteArray block;
    for (const Slot& s : slots) block += slotBytes(s);
    block.append(QByteArray(StudentBlockSize - block.size(), '\0'));
    return block;
}

QByteArray slotOf(const QByteArray& file, int block, int slot) {
    return file.mid(block * StudentBlockSize + (slot - 1) * StudentSlotSize, StudentSlotSize);
}

float scoreIn(const QByteArray& file, int block, int slot, int experiment) {
    const QByteArray s = slotOf(file, block, slot);
    std::uint32_t bits = 0;
    for (int b = 0; b < 4; ++b)
        bits |= std::uint32_t(static_cast<unsigned char>(s[44 + 4 * (experiment - 1) + b]))
                << (8 * b);
    float value = 0;
    std::memcpy(&value, &bits, 4);
    return value;
}

const QList<Slot> fiveStudents = {
    {QStringLiteral("КРЛ-01"), QStringLiteral("Первый А.А."), {5, 0, 0, 0}},
    {QStringLiteral("КРЛ-02"), QStringLiteral("Второй Б.Б."), {4, 4.5f, 0, 0}},
    {QStringLiteral("КРЛ-03"), QStringLiteral("Третий В.В."), {3, 0, 5, 0}},
    {QStringLiteral("КРЛ-04"), QStringLiteral("Четвёртый Г.Г."), {2, 0, 0, 5}},
    {QStringLiteral("КРЛ-05"), QStringLiteral("Пятый Д.Д."), {1, 1, 1, 1}},
};

// What the journal was told, one line per event.
class RecordingJournal : public Journal {
public:
    QStringList events;
    QList<GradeEvidence> evidence;  // of every grade, in order
    int sittings = 0;

    void registered(QString& sitting, const QString& group, const QString& surname,
                    int variant) override {
        sitting = QStringLiteral("s%1").arg(++sittings);
        log(QStringLiteral("registered"), sitting, group, surname, variant);
    }
    void entered(QString& sitting, const QString& group, const QString& surname, int variant,
                 int experiment) override {
        log(QStringLiteral("entered %1").arg(experiment), sitting, group, surname, variant);
    }
    void graded(QString& sitting, const QString& group, const QString& surname, int variant,
                int experiment, double grade, const GradeEvidence& gradeEvidence) override {
        evidence.append(gradeEvidence);
        log(QStringLiteral("graded %1 %2").arg(experiment).arg(grade), sitting, group, surname,
            variant);
    }
    void deleted(QString& sitting, const QString& group, const QString& surname,
                 int variant) override {
        log(QStringLiteral("deleted"), sitting, group, surname, variant);
    }
    void deletedAll(QString& sitting, const QString& group, const QString& surname,
                    int variant) override {
        log(QStringLiteral("deletedAll"), sitting, group, surname, variant);
    }

private:
    void log(const QString& what, const QString& sitting, const QString& group,
             const QString& surname, int variant) {
        events << QStringLiteral("%1 %2 %3 %4 v%5").arg(what, sitting, group, surname).arg(variant);
    }
};

class StudentStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        write({});
        resetStudentTable();
    }
    // A new run of the program: a fresh table over the same file.
    void resetStudentTable() {
        session = std::make_unique<Session>(&journal, path());
        results().onFailure = [this](const ResultsFileFailure& f) { failures << f; };
    }
    ResultsFile& results() { return session->results(); }
    QString path() const { return dir.filePath(resultsFile); }
    QByteArray file() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QByteArray& bytes) const {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    // The results file as another copy of the program left it.
    void writeBlocks(int blocks, int tail = 0) const {
        QByteArray bytes;
        for (int b = 0; b < blocks; ++b) bytes += blockOf(fiveStudents);
        bytes.append(QByteArray(tail, 'x'));
        write(bytes);
    }
    QList<ResultsFileFailure::Kind> failureKinds() const {
        QList<ResultsFileFailure::Kind> kinds;
        for (const ResultsFileFailure& f : failures) {
            EXPECT_EQ(f.path, path());
            kinds << f.kind;
        }
        return kinds;
    }

    QTemporaryDir dir;
    RecordingJournal journal;
    std::unique_ptr<Session> session;
    QList<ResultsFileFailure> failures;
};

using Kind = ResultsFileFailure::Kind;

TEST_F(StudentStoreTest, ThreeStudentsGiveThreeIdenticalBlocks) {
    session->registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."));
    session->registerStudent(QStringLiteral("ХТу-12"), QStringLiteral("Сумин Г.Д."));
    session->registerStudent(QStringLiteral("Введите группу"), QStringLiteral("Введите фамилию"));

    const QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 900);
    EXPECT_EQ(bytes.mid(0, 300), bytes.mid(300, 300));
    EXPECT_EQ(bytes.mid(0, 300), bytes.mid(600, 300));
    EXPECT_EQ(slotOf(bytes, 2, 1),
              slotBytes({QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")}));
    EXPECT_EQ(slotOf(bytes, 2, 2),
              slotBytes({QStringLiteral("ХТу-12"), QStringLiteral("Сумин Г.Д.")}));
    EXPECT_EQ(slotOf(bytes, 2, 3),
              slotBytes({QStringLiteral("Введите группу"), QStringLiteral("Введите фамилию")}));
    EXPECT_EQ(results().count(), 3);
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(StudentStoreTest, TheBlockCountIsTheStudentCount) {
    const struct {
        const char* name;
        int blocks;
        int tail;
        int students;
        int firstSlotOfBlock;  // the block slot that becomes student 1
    } rows[] = {
        {"empty file", 0, 0, 0, 1},      {"one block", 1, 0, 1, 1},
        {"650 bytes", 2, 50, 2, 1},      {"three blocks", 3, 0, 3, 1},
        {"four blocks", 4, 299, 4, 1},   {"five blocks drop the oldest", 5, 0, 4, 2},
        {"eleven blocks", 11, 10, 4, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        resetStudentTable();
        writeBlocks(row.blocks, row.tail);
        EXPECT_TRUE(results().load());
        ASSERT_EQ(results().count(), row.students);
        for (int i = 1; i <= row.students; ++i) {
            const Slot& expected = fiveStudents[row.firstSlotOfBlock + i - 2];
            EXPECT_EQ(results().group(i), expected.group);
            EXPECT_EQ(results().surname(i), expected.surname);
            for (int k = 1; k <= 4; ++k) EXPECT_EQ(results().score(i, k), expected.scores[k - 1]);
        }
    }
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(StudentStoreTest, AFullFileSavesFourAndThenFiveBlocks) {
    writeBlocks(5);
    ASSERT_TRUE(results().load());
    // The trim is written back at once, so a second reading finds the same four students.
    QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 1200);
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(slotOf(bytes, 3, s), slotBytes(fiveStudents[s]));
    ASSERT_TRUE(results().load());
    EXPECT_EQ(results().surname(1), fiveStudents[1].surname);
    ASSERT_TRUE(results().save());
    bytes = file();
    ASSERT_EQ(bytes.size(), 1200);
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(slotOf(bytes, 3, s), slotBytes(fiveStudents[s]));

    ASSERT_TRUE(session->registerStudent(QStringLiteral("НОВ-1"), QStringLiteral("Новый Е.Е.")));
    bytes = file();
    ASSERT_EQ(bytes.size(), 1500);
    EXPECT_EQ(slotOf(bytes, 4, 1), slotBytes(fiveStudents[1]));
    EXPECT_EQ(meaningful(slotOf(bytes, 4, 5)),
              slotBytes({QStringLiteral("НОВ-1"), QStringLiteral("Новый Е.Е.")}));
}

TEST_F(StudentStoreTest, TextsAreCutAndKeptInTheCodePage) {
    const struct {
        const char* name;
        QString group, surname;
        QString storedGroup, storedSurname;
    } rows[] = {
        {"group of 20, surname of 30", QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФ"),
         QStringLiteral("Абвгдежзиклмнопрстуфхцчшщыэюяь"), QStringLiteral("АБВГДЕЖЗИКЛМНО"),
         QStringLiteral("Абвгдежзиклмнопрстуфхцчшщ")},
        {"exactly the capacity", QStringLiteral("Введите группу"),
         QStringLiteral("Фамилия в двадцать пять б"), QStringLiteral("Введите группу"),
         QStringLiteral("Фамилия в двадцать пять б")},
        {"characters the code page lacks", QStringLiteral("КРЛ-\U0001F600-1"),
         QStringLiteral("Ли 中 Ёж"), QStringLiteral("КРЛ-?-1"), QStringLiteral("Ли ? Ёж")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        resetStudentTable();
        write({});
        ASSERT_TRUE(session->registerStudent(row.group, row.surname));
        EXPECT_EQ(slotOf(file(), 0, 1), slotBytes({row.storedGroup, row.storedSurname}));
        ASSERT_TRUE(results().load());
        EXPECT_EQ(results().group(1), row.storedGroup);
        EXPECT_EQ(results().surname(1), row.storedSurname);
    }
}

TEST_F(StudentStoreTest, AnOverlongLengthByteStaysInsideItsField) {
    QByteArray block = blockOf(fiveStudents);
    block[0] = char(200);                        // group claims 200 characters
    block[15] = char(255);                       // surname claims 255
    std::memset(block.data() + 1, '\xC0', 14);   // "А" × 14
    std::memset(block.data() + 16, '\xE1', 25);  // "б" × 25
    write(block);
    ASSERT_TRUE(results().load());
    EXPECT_EQ(results().group(1), QString(14, QChar(u'А')));
    EXPECT_EQ(results().surname(1), QString(25, QChar(u'б')));
    EXPECT_EQ(results().group(2), fiveStudents[1].group);
}

TEST_F(StudentStoreTest, RecordScoreWritesTheCurrentStudentsSlot) {
    session->registerStudent(QStringLiteral("А-1"), QStringLiteral("Один"));
    session->registerStudent(QStringLiteral("А-2"), QStringLiteral("Два"));
    session->recordGrade(3, 4.5);
    QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 600);
    EXPECT_EQ(scoreIn(bytes, 1, 2, 3), 4.5f);
    EXPECT_EQ(scoreIn(bytes, 0, 2, 3), 4.5f);
    EXPECT_EQ(scoreIn(bytes, 1, 1, 3), 0.0f);
    for (int k : {1, 2, 4}) EXPECT_EQ(scoreIn(bytes, 1, 2, k), 0.0f);

    // Not reloaded first: the file receives the table as it is held.
    session->recordGrade(2, 4.3);
    session->recordGrade(3, 2.5);
    bytes = file();
    EXPECT_EQ(scoreIn(bytes, 1, 2, 2), 4.3f);
    EXPECT_EQ(scoreIn(bytes, 1, 2, 3), 2.5f);
}

TEST_F(StudentStoreTest, RecordScoreWithoutAStudentWritesNothing) {
    writeBlocks(2, 50);
    const QByteArray before = file();
    session->recordGrade(1, 5);
    session->recordGrade(4, 3);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(results().count(), 0);

    ASSERT_TRUE(results().load());
    results().removeAll();
    ASSERT_TRUE(results().save());
    EXPECT_EQ(file().size(), 0);
    session->recordGrade(2, 5);
    EXPECT_EQ(file().size(), 0);
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(StudentStoreTest, DeletionsKeepTheOrderOfTheOthers) {
    const struct {
        const char* name;
        int index;
        QList<int> left;  // former student numbers, in order
    } rows[] = {
        {"second of four", 2, {1, 3, 4}},
        {"the last one", 4, {1, 2, 3}},
        {"the first one", 1, {2, 3, 4}},
        {"past the end removes the last", 9, {1, 2, 3}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        resetStudentTable();
        write(blockOf(fiveStudents).repeated(4));
        ASSERT_TRUE(results().load());
        results().remove(row.index);
        ASSERT_TRUE(results().save());
        const QByteArray bytes = file();
        ASSERT_EQ(bytes.size(), 900);
        for (int i = 0; i < row.left.size(); ++i)
            EXPECT_EQ(slotOf(bytes, 2, i + 1), slotBytes(fiveStudents[row.left[i] - 1]));
    }
}

TEST_F(StudentStoreTest, DeleteAllLeavesAnEmptyFile) {
    writeBlocks(3);
    ASSERT_TRUE(results().load());
    results().removeAll();
    ASSERT_TRUE(results().save());
    EXPECT_EQ(file(), QByteArray());
    ASSERT_TRUE(results().load());
    EXPECT_EQ(results().count(), 0);
}

TEST_F(StudentStoreTest, AMissingFileIsReportedCreatedAndStillGetsTheStudent) {
    QFile::remove(path());
    EXPECT_TRUE(
        session->registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    EXPECT_EQ(failureKinds(), QList{Kind::CannotOpen});
    EXPECT_EQ(file(), blockOf({{QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")}}));
}

TEST_F(StudentStoreTest, AFileThatCannotBeReadIsNeitherEmptiedNorReplaced) {
    // A folder in the file's place exists but cannot be opened as a file.
    writeBlocks(2);
    ASSERT_TRUE(results().load());
    QFile::remove(path());
    ASSERT_TRUE(QDir(dir.path()).mkdir(resultsFile));
    EXPECT_FALSE(session->registerStudent(QStringLiteral("А"), QStringLiteral("Б")));
    EXPECT_EQ(failureKinds(), QList{Kind::CannotOpen});
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_EQ(results().count(), 2);        // the table was not taken from an unreadable file
    EXPECT_TRUE(journal.events.isEmpty());  // nobody was registered
}

TEST_F(StudentStoreTest, AFailedSaveLeavesTheOldFileWhole) {
    for (StudentSaveStep step :
         {StudentSaveStep::Open, StudentSaveStep::Write, StudentSaveStep::Commit}) {
        SCOPED_TRACE(int(step));
        resetStudentTable();
        failures.clear();
        writeBlocks(2, 7);
        const QByteArray before = file();
        results().setSaveFault(step);
        EXPECT_FALSE(session->registerStudent(QStringLiteral("А"), QStringLiteral("Б")));
        EXPECT_EQ(file(), before);
        EXPECT_EQ(failureKinds(), QList{Kind::CannotSave});
        EXPECT_EQ(QDir(dir.path()).entryList({resultsFile + QStringLiteral("*")}, QDir::Files),
                  QStringList{resultsFile});

        results().setSaveFault(StudentSaveStep::None);
        EXPECT_TRUE(results().save());
        EXPECT_EQ(file().size(), 900);
    }
}

}  // namespace

// The fifth registration fills the table; the next reading (the results window's) trims the
// oldest student, and the current student's grades follow their row down by one.
TEST_F(StudentStoreTest, TheCurrentStudentFollowsTheTrimOfAFullTable) {
    for (int i = 0; i < 5; ++i)
        session->registerStudent(fiveStudents[i].group, fiveStudents[i].surname);
    ASSERT_EQ(results().count(), 5);
    EXPECT_EQ(results().current(), 5);
    ASSERT_TRUE(results().load());
    ASSERT_EQ(results().count(), 4);
    EXPECT_EQ(results().current(), 4);
    session->recordGrade(2, 4.5);
    const QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 1200);
    EXPECT_EQ(results().surname(4), fiveStudents[4].surname);
    EXPECT_EQ(scoreIn(bytes, 3, 4, 2), 4.5f);
    EXPECT_EQ(scoreIn(bytes, 3, 3, 2), 0.0f);
    // The fifth slot is outside the count now: zero bytes, not the old fifth student.
    EXPECT_EQ(slotOf(bytes, 3, 5), QByteArray(StudentSlotSize, '\0'));
}

// Each event carries the variant chosen when it happened: a student who changes the variant
// between two experiments has each grade under its own variant.
TEST_F(StudentStoreTest, TheJournalHearsEveryEventWithTheVariantOfItsMoment) {
    session->setVariant(2);
    ASSERT_TRUE(session->registerStudent(QStringLiteral("А-1"), QStringLiteral("Один")));
    session->recordEntry(1);
    session->recordGrade(1, 4.5);
    session->setVariant(5);
    CatalystGrading catalyst;
    catalyst.chooseRightOption();
    session->recordGrade(2, 3, catalyst.evidence());
    ASSERT_TRUE(session->registerStudent(QStringLiteral("А-2"), QStringLiteral("Два")));
    const QByteArray beforeEntry = file();
    session->recordEntry(3);
    // The results file keeps grades only.
    EXPECT_EQ(file(), beforeEntry);
    session->recordGrade(3, 5);
    ASSERT_TRUE(session->deleteStudent(1));
    EXPECT_EQ(journal.events, (QStringList{
                                  QStringLiteral("registered s1 А-1 Один v2"),
                                  QStringLiteral("entered 1 s1 А-1 Один v2"),
                                  QStringLiteral("graded 1 4.5 s1 А-1 Один v2"),
                                  QStringLiteral("graded 2 3 s1 А-1 Один v5"),
                                  QStringLiteral("registered s2 А-2 Два v5"),
                                  QStringLiteral("entered 3 s2 А-2 Два v5"),
                                  QStringLiteral("graded 3 5 s2 А-2 Два v5"),
                                  QStringLiteral("deleted s1 А-1 Один v5"),
                              }));
    // A grade passes on the evidence it was given, and none when given none.
    ASSERT_EQ(journal.evidence.size(), 3);
    EXPECT_TRUE(journal.evidence[0].isEmpty());
    EXPECT_EQ(journal.evidence[1], catalyst.evidence());
    // The grade went to the second student's row, which is now the first.
    EXPECT_EQ(results().score(1, 3), 5.0f);
    EXPECT_EQ(results().score(1, 1), 0.0f);
}

TEST_F(StudentStoreTest, ADeletionTheFileDidNotTakeIsNotReported) {
    ASSERT_TRUE(session->registerStudent(QStringLiteral("А-1"), QStringLiteral("Один")));
    ASSERT_TRUE(session->registerStudent(QStringLiteral("А-2"), QStringLiteral("Два")));
    journal.events.clear();
    const QByteArray before = file();
    results().setSaveFault(StudentSaveStep::Commit);
    EXPECT_FALSE(session->deleteStudent(2));
    EXPECT_FALSE(session->deleteAllStudents());
    EXPECT_EQ(file(), before);
    EXPECT_TRUE(journal.events.isEmpty());
    EXPECT_EQ(failureKinds(), (QList{Kind::CannotSave, Kind::CannotSave}));

    results().setSaveFault(StudentSaveStep::None);
    ASSERT_TRUE(results().load());
    ASSERT_TRUE(session->deleteAllStudents());
    EXPECT_EQ(journal.events, (QStringList{QStringLiteral("deletedAll s1 А-1 Один v0"),
                                           QStringLiteral("deletedAll s2 А-2 Два v0")}));
    EXPECT_EQ(file(), QByteArray());
}

TEST_F(StudentStoreTest, AGradeOrAnEntryWithoutAStudentIsNeitherStoredNorReported) {
    writeBlocks(2);
    session->recordGrade(1, 5);
    session->recordEntry(1);
    EXPECT_TRUE(journal.events.isEmpty());
    // The student registered in this run was deleted: his later grades go nowhere.
    ASSERT_TRUE(session->registerStudent(QStringLiteral("А-1"), QStringLiteral("Один")));
    ASSERT_TRUE(session->deleteStudent(results().current()));
    const QByteArray before = file();
    journal.events.clear();
    session->recordEntry(2);
    session->recordGrade(2, 4);
    EXPECT_EQ(file(), before);
    EXPECT_TRUE(journal.events.isEmpty());
}

namespace {

// Runs body in a child process, so that a file-size limit or a mount stays there; the child's
// own assertions decide its exit code.
template <class Body>
int inChildProcess(Body body) {
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        std::fflush(stdout);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace

// However often the file is read (the results window reads it at every opening), the fifth
// student keeps his row: the trim of a full table happens once and is written back.
TEST_F(StudentStoreTest, TheCurrentStudentKeepsHisRowHoweverOftenTheFileIsRead) {
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(session->registerStudent(fiveStudents[i].group, fiveStudents[i].surname));
    for (int opening = 0; opening < 10; ++opening) ASSERT_TRUE(results().load());
    ASSERT_EQ(results().count(), 4);
    ASSERT_EQ(results().current(), 4);
    for (int k = 1; k <= 4; ++k) session->recordGrade(k, 2 + k * 0.5);
    const QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 1200);
    EXPECT_EQ(meaningful(slotOf(bytes, 3, 4)),
              slotBytes({fiveStudents[4].group, fiveStudents[4].surname, {2.5f, 3, 3.5f, 4}}));
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(meaningful(slotOf(bytes, 3, s)),
                  slotBytes({fiveStudents[s].group, fiveStudents[s].surname}));
    for (const QString& event : journal.events.mid(5))
        EXPECT_TRUE(event.contains(fiveStudents[4].surname)) << event.toStdString();
    EXPECT_TRUE(failures.isEmpty());
}

// Under a file-size limit the save's writes come up short and then fail: the old file stays
// byte for byte, the student hears why, and the table keeps the grade until a save succeeds.
TEST_F(StudentStoreTest, AFileSizeLimitLeavesTheOldFileAndTheGradeWaitsForTheNextSave) {
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(session->registerStudent(fiveStudents[i].group, fiveStudents[i].surname));
    const QByteArray before = file();
    ASSERT_EQ(before.size(), 1200);
    EXPECT_EQ(
        inChildProcess([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit usual{};
            ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &usual), 0);
            rlimit small = usual;
            small.rlim_cur = 1024;
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

            // The fifth student needs 1,500 bytes.
            EXPECT_FALSE(session->registerStudent(fiveStudents[4].group, fiveStudents[4].surname));
            session->recordGrade(3, 4.5);
            EXPECT_EQ(file(), before);
            ASSERT_EQ(failures.size(), 2);
            for (const ResultsFileFailure& f : failures) {
                EXPECT_EQ(f.kind, Kind::CannotSave);
                EXPECT_EQ(f.error, EFBIG);
                EXPECT_EQ(f.path, path());
            }
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{resultsFile});
            // Reading the file again (the results window) does not lose the grade.
            EXPECT_TRUE(results().load());
            EXPECT_EQ(results().count(), 5);
            EXPECT_EQ(results().score(5, 3), 4.5f);

            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &usual), 0);
            session->recordGrade(4, 5);
        }),
        0);
    const QByteArray after = file();
    ASSERT_EQ(after.size(), 1500);
    EXPECT_EQ(meaningful(slotOf(after, 4, 5)),
              slotBytes({fiveStudents[4].group, fiveStudents[4].surname, {0, 0, 4.5f, 5}}));
}

// Registrations the file could not take stay in the table in their order; a full table makes
// room by its oldest student, never by overwriting the newest.
TEST_F(StudentStoreTest, RegistrationsTheFileDidNotTakeKeepTheirRows) {
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(session->registerStudent(fiveStudents[i].group, fiveStudents[i].surname));
    const QByteArray before = file();
    results().setSaveFault(StudentSaveStep::Commit);
    EXPECT_FALSE(session->registerStudent(fiveStudents[4].group, fiveStudents[4].surname));
    EXPECT_FALSE(session->registerStudent(QStringLiteral("НОВ-6"), QStringLiteral("Шестой Е.Е.")));
    EXPECT_EQ(file(), before);
    ASSERT_EQ(results().count(), 5);
    EXPECT_EQ(results().current(), 5);
    EXPECT_EQ(results().surname(4), fiveStudents[4].surname);
    EXPECT_EQ(results().surname(5), QStringLiteral("Шестой Е.Е."));

    results().setSaveFault(StudentSaveStep::None);
    session->recordGrade(2, 4.5);
    const QByteArray after = file();
    ASSERT_EQ(after.size(), 1500);
    EXPECT_EQ(meaningful(slotOf(after, 4, 1)),
              slotBytes({fiveStudents[1].group, fiveStudents[1].surname}));
    EXPECT_EQ(meaningful(slotOf(after, 4, 4)),
              slotBytes({fiveStudents[4].group, fiveStudents[4].surname}));
    EXPECT_EQ(meaningful(slotOf(after, 4, 5)),
              slotBytes({QStringLiteral("НОВ-6"), QStringLiteral("Шестой Е.Е."), {0, 4.5f, 0, 0}}));
}

// A full disk (a small tmpfs, filled up) refuses the registration's save: the results file is
// left byte for byte and the failure says the disk is full. Needs the superuser for the mount.
TEST_F(StudentStoreTest, ARegistrationOnAFullDiskLeavesTheFileByteForByte) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs the superuser";
    const int code = inChildProcess([&] {
        // A mount namespace of the child's own: the mount ends with it.
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=16k") !=
                0)
            ::_exit(77);
        write({});
        resetStudentTable();
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(session->registerStudent(fiveStudents[i].group, fiveStudents[i].surname));
        const QByteArray before = file();
        {
            QFile filler(dir.filePath(QStringLiteral("filler")));
            ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
            const QByteArray page(4096, 'f');
            while (filler.write(page) == page.size() && filler.flush()) {
            }
        }
        EXPECT_FALSE(session->registerStudent(fiveStudents[2].group, fiveStudents[2].surname));
        EXPECT_EQ(file(), before);
        ASSERT_EQ(failures.size(), 1);
        EXPECT_EQ(failures[0].kind, Kind::CannotSave);
        EXPECT_EQ(failures[0].error, ENOSPC);
        EXPECT_EQ(QDir(dir.path()).entryList({resultsFile + QStringLiteral("*")}, QDir::Files),
                  QStringList{resultsFile});

        // Room again: the next save writes the student the full disk could not take.
        ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("filler"))));
        session->recordGrade(1, 5);
        const QByteArray after = file();
        ASSERT_EQ(after.size(), 900);
        EXPECT_EQ(meaningful(slotOf(after, 2, 3)),
                  slotBytes({fiveStudents[2].group, fiveStudents[2].surname, {5, 0, 0, 0}}));
    });
    if (code == 77) GTEST_SKIP() << "no tmpfs could be mounted here";
    EXPECT_EQ(code, 0);
}

// A link planted at the results file's place, or a pipe: neither is read or written through,
// the failure names the file, and the file the link points at stays as it was.
TEST_F(StudentStoreTest, ALinkOrAPipeInTheFilesPlaceIsRefusedAndNothingIsWritten) {
    const QString victim = dir.filePath(QStringLiteral("other-account.rez"));
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(blockOf(fiveStudents).repeated(2));
    }
    const QByteArray victimBefore = [&] {
        QFile f(victim);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    QFile::remove(path());
    ASSERT_EQ(
        ::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(path()).constData()), 0);
    EXPECT_FALSE(session->registerStudent(QStringLiteral("А-1"), QStringLiteral("Один")));
    EXPECT_FALSE(results().save());
    EXPECT_EQ(failureKinds(), (QList{Kind::NotAFile, Kind::NotAFile}));
    EXPECT_EQ(QFileInfo(path()).symLinkTarget(), victim);
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), victimBefore);

    // A pipe would hold an ordinary open for ever; it is refused at once and left in place.
    failures.clear();
    resetStudentTable();
    QFile::remove(path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(path()).constData(), 0600), 0);
    EXPECT_FALSE(session->registerStudent(QStringLiteral("А-1"), QStringLiteral("Один")));
    EXPECT_EQ(failureKinds(), QList{Kind::NotAFile});
    EXPECT_EQ(dataFileKind(path()), DataFileKind::Other);
    EXPECT_TRUE(journal.events.isEmpty());
}

// The files the program writes are its user's alone, and what an interrupted save left is
// cleared away without touching anything else of that name.
TEST_F(StudentStoreTest, SavedFilesAreTheOwnersOnlyAndLeftoversOfASaveAreCleared) {
    QFile::remove(path());
    ASSERT_TRUE(results().load());  // a missing file is made
    EXPECT_EQ(modeOf(path()), 0600u);
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0644), 0);
    ASSERT_TRUE(session->registerStudent(QStringLiteral("А-1"), QStringLiteral("Один")));
    EXPECT_EQ(modeOf(path()), 0600u);

    const QStringList leftovers = {resultsFile + QStringLiteral(".aB3xYz"),
                                   resultsFile + QStringLiteral(".000000")};
    for (const QString& name : leftovers) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("cut");
    }
    const QString keptLink = dir.filePath(resultsFile + QStringLiteral(".linked"));
    ASSERT_EQ(::symlink("elsewhere", QFile::encodeName(keptLink).constData()), 0);
    const QString keptOther = dir.filePath(resultsFile + QStringLiteral(".backup-copy"));
    QFile(keptOther).open(QIODevice::WriteOnly);
    EXPECT_EQ(removeInterruptedSaves(path()), 2);
    EXPECT_EQ(dataFileKind(keptLink), DataFileKind::Other);
    EXPECT_TRUE(QFile::exists(keptOther));
    for (const QString& name : leftovers) EXPECT_FALSE(QFile::exists(dir.filePath(name)));
    EXPECT_EQ(file().size(), StudentBlockSize);
}
