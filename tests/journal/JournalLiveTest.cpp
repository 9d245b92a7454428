// The teacher's view of this computer's journal follows the file while it is open: a row another
// program writes appears without a click, the teacher keeps the sitting selected, the filters and
// the rows in sight; a burst of rows is read once; a file made anew is still followed.

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "TableCells.h"
#include "TestSupport.h"
#include "journal/ClassJournal.h"
#include "journal/JournalFollower.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWatch.h"
#include "journal/JournalWindow.h"

namespace {

const QString firstGroup = QStringLiteral("КРЛ-99-1");
const QString secondGroup = QStringLiteral("КРЛ-99-2");

class JournalLiveTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        // The teacher's program, and another program of this computer (a student's) writing to
        // the same file.
        teacher = std::make_unique<ClassJournal>(journalFilePath(), ServerSettings{},
                                                 QStringLiteral("pc-21"));
        student = std::make_unique<ClassJournal>(journalFilePath(), ServerSettings{},
                                                 QStringLiteral("pc-21"));
        window = std::make_unique<JournalWindow>(teacher.get());
    }
    void TearDown() override {
        window.reset();
        student.reset();
        teacher.reset();
        LabTest::TearDown();
    }

    // Opens the view as the teacher does and waits for its first rows.
    void open() {
        window->show();
        window->reload();
    }
    bool waitForRows(int count) {
        return QTest::qWaitFor([&] { return window->shownRows().size() == count; }, 5000);
    }
    QString sittingOf(int row) const { return window->shownRows().value(row).sitting; }
    // Lets any read still to come happen.
    static void settle() { QTest::qWait(JournalWatch::settleMs * 3); }

    std::unique_ptr<ClassJournal> teacher;
    std::unique_ptr<ClassJournal> student;
    std::unique_ptr<JournalWindow> window;
};

TEST_F(JournalLiveTest, RowsOfAnotherProgramAppearKeepingSelectionFiltersAndPlace) {
    // The view is open before the journal file exists.
    ASSERT_FALSE(QFile::exists(journalFilePath()));
    open();
    EXPECT_TRUE(window->shownRows().isEmpty());

    QStringList sittings;
    for (int i = 0; i < 16; ++i) {
        QString sitting;
        student->registered(sitting, i % 4 == 0 ? secondGroup : firstGroup,
                            QStringLiteral("Ученик %1").arg(i, 2, 10, QLatin1Char('0')), 1);
        sittings << sitting;
    }
    ASSERT_TRUE(waitForRows(16)) << window->shownRows().size();

    // The teacher picks the first group, scrolls down and selects a grade's cell of a sitting.
    window->groupFilter->setCurrentIndex(window->groupFilter->findText(firstGroup));
    ASSERT_EQ(window->shownRows().size(), 12);
    QScrollBar* scroll = window->table->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0) << "too few rows to scroll";
    scroll->setValue(scroll->maximum());
    const QString topSitting = sittingOf(window->table->rowAt(0));
    const int selectedRow = window->table->rowAt(window->table->viewport()->height() / 2);
    const QString selected = sittingOf(selectedRow);
    setCurrentCell(window->table, selectedRow, JournalWindow::gradeColumn(2));
    const int readsBefore = window->follower->followedReads();

    // The student grades, and a new student registers: newest first, above what is in sight.
    const SittingRow chosen = window->shownRows()[selectedRow];
    QString sitting = chosen.sitting;
    student->graded(sitting, chosen.group, chosen.surname, 1, 2, 4.5);
    QString newcomer;
    student->registered(newcomer, firstGroup, QStringLiteral("Новичок"), 2);
    ASSERT_TRUE(waitForRows(13));

    EXPECT_EQ(window->follower->followedReads(), readsBefore + 1);
    EXPECT_EQ(window->groupFilter->currentText(), firstGroup);
    EXPECT_EQ(window->shownRows()[0].surname, QStringLiteral("Новичок"));
    // The same sitting is selected, its new grade shown with its sentence.
    const int row = window->table->currentIndex().row();
    EXPECT_EQ(sittingOf(row), selected);
    EXPECT_EQ(window->table->currentIndex().column(), JournalWindow::gradeColumn(2));
    EXPECT_TRUE(window->table->selectionModel()->isRowSelected(row, {}));
    EXPECT_EQ(cellText(window->table, row, JournalWindow::gradeColumn(2)), QStringLiteral("4,5"));
    EXPECT_TRUE(window->evidenceTitle->text().contains(QStringLiteral("оценка 4,5")))
        << window->evidenceTitle->text().toStdString();
    // The rows in sight stayed in sight.
    EXPECT_EQ(sittingOf(window->table->rowAt(0)), topSitting);
}

TEST_F(JournalLiveTest, AtTheTopTheNewestRowsComeIntoSight) {
    QString sitting;
    for (int i = 0; i < 14; ++i)
        student->registered(sitting, firstGroup, QStringLiteral("Ученик %1").arg(i), 1);
    open();
    ASSERT_EQ(window->shownRows().size(), 14);
    ASSERT_EQ(window->table->verticalScrollBar()->value(), 0);
    student->registered(sitting, firstGroup, QStringLiteral("Новичок"), 1);
    ASSERT_TRUE(waitForRows(15));
    EXPECT_EQ(window->table->rowAt(0), 0);
    EXPECT_EQ(window->shownRows()[0].surname, QStringLiteral("Новичок"));
    // Nothing was selected, and nothing is.
    EXPECT_TRUE(!window->table->selectionModel()->hasSelection());
}

// A class's rows written in one go are one read, not one per row; a closed view reads nothing.
TEST_F(JournalLiveTest, ABurstOfRowsIsReadOnceAndAClosedViewReadsNothing) {
    QString sitting;
    student->registered(sitting, firstGroup, QStringLiteral("Первый"), 1);
    open();
    settle();
    const int before = window->follower->followedReads();
    // Written without returning to the event loop, as a program busy writing does.
    for (int i = 0; i < 30; ++i) {
        QString other;
        student->registered(other, firstGroup, QStringLiteral("Ученик %1").arg(i), 1);
        student->graded(other, firstGroup, QStringLiteral("Ученик %1").arg(i), 1, 1, 4);
    }
    ASSERT_TRUE(waitForRows(31));
    settle();
    EXPECT_EQ(window->follower->followedReads(), before + 1);

    window->hide();
    student->registered(sitting, firstGroup, QStringLiteral("После закрытия"), 1);
    settle();
    EXPECT_EQ(window->follower->followedReads(), before + 1);
    EXPECT_EQ(window->shownRows().size(), 31);
}

// Watching a file that SQLite or another program replaces: the old file's watch goes with it,
// the new one is watched again, and so is a write-ahead log made anew.
TEST(JournalWatchTest, AFileReplacedOrMadeAnewIsStillWatched) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    const auto append = [](const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(bytes);
    };
    JournalWatch watch;
    QSignalSpy changed(&watch, &JournalWatch::rowsChanged);
    watch.watchFile(path);
    // Each step is told once its burst has settled; whatever else comes of it is let go.
    const auto told = [&changed](const char* step) {
        const bool got = changed.count() > 0 || changed.wait(5000);
        QTest::qWait(JournalWatch::settleMs * 3);
        changed.clear();
        EXPECT_TRUE(got) << step;
    };

    append(path, "made");
    told("the file made");
    append(path, "row");
    told("a row written");
    append(path + QStringLiteral(".new"), "fresh");
    ASSERT_EQ(std::rename(QFile::encodeName(path + QStringLiteral(".new")).constData(),
                          QFile::encodeName(path).constData()),
              0);
    told("the file replaced");
    append(path, "row of the new file");
    told("a row of the new file");
    append(path + QStringLiteral("-wal"), "log");
    told("the log made");
    ASSERT_TRUE(QFile::remove(path + QStringLiteral("-wal")));
    told("the log removed");
    append(path + QStringLiteral("-wal"), "log again");
    told("the log made again");
    append(path + QStringLiteral("-wal"), "more");
    told("a row in the new log");
}

}  // namespace
