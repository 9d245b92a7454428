// The results file damaged in every way, met by the two readers of it: the registration of a
// student and the results window. A file the program can read keeps every student it holds;
// one it cannot use is reported, ends the program, and is left exactly as it was.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QTest>

#include "BadInput.h"
#include "TestSupport.h"
#include "app/Laboratory.h"
#include "lab/Cp1251.h"
#include "lab/FileAccess.h"
#include "lab/Session.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/StringGrid.h"

namespace {

const QString resultsFile = QStringLiteral("BDStudent.rez");

QByteArray slot(const QString& group, const QString& surname) {
    QByteArray out(StudentSlotSize, '\0');
    const QByteArray g = Cp1251::encode(group);
    const QByteArray s = Cp1251::encode(surname);
    out[0] = char(g.size());
    out.replace(1, g.size(), g);
    out[15] = char(s.size());
    out.replace(16, s.size(), s);
    return out;
}

QByteArray twoStudents() {
    QByteArray block = slot(QStringLiteral("КРЛ-01"), QStringLiteral("Первый А.А.")) +
                       slot(QStringLiteral("КРЛ-02"), QStringLiteral("Второй Б.Б."));
    block.append(QByteArray(StudentBlockSize - block.size(), '\0'));
    return block + block;
}

// Every length byte at its largest and grades no arithmetic can sum.
QByteArray oversizedValues() {
    QByteArray block(StudentBlockSize, '\xD6');  // Ц, all through
    for (int s = 0; s < StudentCapacity; ++s) {
        char* p = block.data() + s * StudentSlotSize;
        p[0] = char(0xFF);
        p[15] = char(0xFF);
        const quint32 bits[4] = {0x7F800000u, 0xFF800000u, 0x7FC00000u, 0x7F7FFFFFu};
        for (int k = 0; k < 4; ++k)
            for (int b = 0; b < 4; ++b) p[44 + 4 * k + b] = char((bits[k] >> (8 * b)) & 0xFF);
    }
    return block + block;
}

QString groupIn(const QByteArray& file, int block, int slotNumber) {
    const char* p =
        file.constData() + block * StudentBlockSize + (slotNumber - 1) * StudentSlotSize;
    return Cp1251::decode(QByteArray(p + 1, std::min(14, int(quint8(p[0])))));
}

struct Row {
    Damage damage;
    bool reported;     // the "cannot open" message, the program ends
    int storedBefore;  // students the file holds for the program
    // After a registration: blocks of the file, or -1 when the file must stay as it was.
    int blocksAfterRegistration;
};

const Row rows[] = {
    // A missing file is created; the student still reaches it, the next start finds him.
    {Damage::Missing, true, 0, 1},
    {Damage::Empty, false, 0, 1},
    // A block and a half: the half block is not a student.
    {Damage::Truncated, false, 1, 2},
    {Damage::RandomBytes, false, 2, 3},
    {Damage::OversizedHeader, false, 2, 3},
    {Damage::ReadOnly, true, 0, -1},
    {Damage::Directory, true, 0, -1},
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << damageName(row.damage);
}

class ResultsFileBadInputTest : public LabTest, public ::testing::WithParamInterface<Row> {
protected:
    void SetUp() override {
        LabTest::SetUp();
        tree->write(resultsFile, twoStudents());
        createWindows();
        ASSERT_TRUE(messages->texts().isEmpty());
        damage(GetParam().damage);
        before = tree->read(resultsFile);
    }

    void damage(Damage d) {
        const QString path = tree->path(resultsFile);
        switch (d) {
            case Damage::Missing:
                tree->remove(resultsFile);
                break;
            case Damage::Empty:
                tree->write(resultsFile, QByteArray());
                break;
            case Damage::Truncated:
                tree->write(resultsFile, twoStudents().left(450));
                break;
            case Damage::RandomBytes:
                tree->write(resultsFile, randomBytes(600, 1251));
                break;
            case Damage::OversizedHeader:
                tree->write(resultsFile, oversizedValues());
                break;
            case Damage::ReadOnly:
                makeReadOnly(path);
                break;
            case Damage::Directory:
                putDirectoryInPlace(*tree, resultsFile);
                break;
        }
    }

    void expectReport(bool reported) {
        EXPECT_EQ(messages->errorTexts().join("\n").toStdString(),
                  reported ? cannotOpenFileMessage(tree->path(resultsFile)).toStdString() : "");
        EXPECT_EQ(programEnding(), reported);
    }

    // Whatever is at the file's place is as it was.
    void expectUnchanged() {
        const QFileInfo info(tree->path(resultsFile));
        if (GetParam().damage == Damage::Directory) {
            EXPECT_TRUE(info.isDir());
            return;
        }
        EXPECT_EQ(tree->read(resultsFile), before);
        if (GetParam().damage == Damage::ReadOnly) {
            EXPECT_FALSE(probeReadWrite(info.filePath()));
        }
        EXPECT_EQ(QDir(tree->dir()).entryList({resultsFile + "*"}, QDir::AllEntries),
                  QStringList{resultsFile});
    }

    QByteArray before;
};

TEST_P(ResultsFileBadInputTest, RegistrationKeepsEveryStoredStudentOrTheWholeFile) {
    const Row row = GetParam();
    registerThroughWindow(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."));
    if (HasFatalFailure()) return;

    expectReport(row.reported);
    EXPECT_FALSE(lab->window<RegistrationWindow>()->isVisible());
    if (row.blocksAfterRegistration < 0) {
        expectUnchanged();
        return;
    }
    const QByteArray after = tree->read(resultsFile);
    ASSERT_EQ(after.size(), row.blocksAfterRegistration * StudentBlockSize);
    const int last = row.blocksAfterRegistration - 1;
    EXPECT_EQ(groupIn(after, last, row.blocksAfterRegistration), QStringLiteral("КРЛ-99-1"));
    // The students stored before are still there, in their order.
    const int lastBefore = int(before.size() / StudentBlockSize) - 1;
    for (int s = 1; s <= row.storedBefore; ++s)
        EXPECT_EQ(groupIn(after, last, s), groupIn(before, lastBefore, s)) << "student " << s;
}

TEST_P(ResultsFileBadInputTest, ResultsWindowShowsWhatItCanReadAndWritesNothing) {
    const Row row = GetParam();
    LabWindow::resetActivation();
    lab->window<ResultsWindow>()->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(lab->window<ResultsWindow>()));

    expectReport(row.reported);
    // The header, the two sample rows, then one row per stored student.
    EXPECT_EQ(lab->window<ResultsWindow>()->resultsGrid->rowCountCells(), 3 + row.storedBefore);
    for (int s = 1; s <= row.storedBefore; ++s) {
        EXPECT_LE(lab->window<ResultsWindow>()->resultsGrid->cell(1, 2 + s).size(),
                  StudentGroupCapacity);
        EXPECT_LE(lab->window<ResultsWindow>()->resultsGrid->cell(2, 2 + s).size(),
                  StudentSurnameCapacity);
    }
    if (row.damage == Damage::OversizedHeader) {
        // Names end at their fields' ends; the grades are shown as the file has them.
        EXPECT_EQ(lab->window<ResultsWindow>()->resultsGrid->cell(1, 3),
                  QString(StudentGroupCapacity, QChar(0x0426)));
        EXPECT_EQ(lab->window<ResultsWindow>()->resultsGrid->cell(2, 3),
                  QString(StudentSurnameCapacity, QChar(0x0426)));
        EXPECT_EQ(lab->window<ResultsWindow>()->resultsGrid->cell(3, 3), QStringLiteral("INF"));
        EXPECT_EQ(lab->window<ResultsWindow>()->resultsGrid->cell(5, 3), QStringLiteral("NAN"));
    }
    lab->window<ResultsWindow>()->done();
    if (row.damage == Damage::Missing) {
        // Created empty, as the first start of a fresh folder would find it.
        EXPECT_TRUE(QFileInfo(tree->path(resultsFile)).isFile());
        EXPECT_EQ(tree->read(resultsFile), QByteArray());
    } else {
        expectUnchanged();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDamage, ResultsFileBadInputTest, ::testing::ValuesIn(rows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(damageName(info.param.damage));
                         });

}  // namespace
