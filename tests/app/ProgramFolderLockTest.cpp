// One program per program folder, tried with a real second process holding the lock.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "TestSupport.h"
#include "app/ProgramFolderLock.h"

namespace {
class ProgramFolderLockTest : public LabTest {
protected:
    void TearDown() override {
        if (holder.state() != QProcess::NotRunning) {
            holder.kill();
            holder.waitForFinished();
        }
        LabTest::TearDown();
    }
    // Starts the other program on the test's folder and waits until it holds the lock.
    void startHolder() {
        holder.start(QStringLiteral(LAB_LOCK_HOLDER), {tree->dir()});
        ASSERT_TRUE(holder.waitForStarted());
        ASSERT_TRUE(holder.waitForReadyRead(20000)) << holder.readAllStandardError().toStdString();
        ASSERT_EQ(holder.readLine().trimmed(), QByteArray("locked"));
    }
    QProcess holder;
};

const QByteArray twoStudents = QByteArray(300, '\x11') + QByteArray(300, '\x22');
}  // namespace

TEST_F(ProgramFolderLockTest, ASecondStartInTheSameFolderIsRefusedAndTouchesNothing) {
    tree->write("BDStudent.rez", twoStudents);
    startHolder();

    ProgramFolderLock second;
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.held());
    EXPECT_EQ(messages->errorTexts(),
              QStringList{QStringLiteral("Реактикум уже запущен из этой папки.")});
    EXPECT_EQ(tree->read("BDStudent.rez"), twoStudents);
    // The first one runs on, its lock intact.
    EXPECT_EQ(holder.state(), QProcess::Running);
    EXPECT_TRUE(QFile::exists(ProgramFolderLock::lockFilePath()));

    // Once it has ended normally the folder is free again.
    holder.write("\n");
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(20000));
    EXPECT_EQ(holder.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(ProgramFolderLock::lockFilePath()));
    ProgramFolderLock next;
    EXPECT_TRUE(next.acquire());
    EXPECT_TRUE(next.held());
}

TEST_F(ProgramFolderLockTest, TheLockOfACrashedRunIsTakenOver) {
    startHolder();
    holder.kill();  // no clean-up: the lock file stays behind
    ASSERT_TRUE(holder.waitForFinished(20000));
    ASSERT_TRUE(QFile::exists(ProgramFolderLock::lockFilePath()));

    ProgramFolderLock next;
    EXPECT_TRUE(next.acquire());
    EXPECT_TRUE(next.held());
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(ProgramFolderLockTest, ASecondLockInTheSameFolderIsRefusedWhileTheFirstIsHeld) {
    ProgramFolderLock first;
    ASSERT_TRUE(first.acquire());
    ProgramFolderLock second;
    EXPECT_FALSE(second.acquire());
    EXPECT_EQ(messages->errorTexts().size(), 1);
}
