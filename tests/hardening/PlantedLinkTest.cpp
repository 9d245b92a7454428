// Links planted in the data folder by someone who wants another file written: the results
// file, the lock file and the journal's files are opened without following them, the student
// reads which file was refused, and the file the link points at stays as it was.

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TestSupport.h"
#include "app/ProgramFolderLock.h"
#include "journal/ClassJournal.h"
#include "lab/ProgramDir.h"
#include "shell/Loaders.h"
#include "students/RegistrationWindow.h"

namespace {

class PlantedLinkTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        ASSERT_TRUE(elsewhere.isValid());
        victim = elsewhere.filePath(QStringLiteral("another-account.txt"));
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(victimBytes);
    }
    void plant(const QString& relative) {
        tree->remove(relative);
        ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(),
                            QFile::encodeName(tree->path(relative)).constData()),
                  0);
    }
    QByteArray victimNow() const {
        QFile f(victim);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir elsewhere;
    QString victim;
    const QByteArray victimBytes = QByteArray("grades of another account\n").repeated(40);
};

}  // namespace

TEST_F(PlantedLinkTest, AResultsFileLinkIsRefusedByNameAndItsTargetKept) {
    plant(QStringLiteral("BDStudent.rez"));
    createWindows();
    registerThroughWindow(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."));
    ASSERT_FALSE(messages->errorTexts().isEmpty());
    EXPECT_EQ(messages->errorTexts().first(),
              notAFileMessage(tree->path(QStringLiteral("BDStudent.rez"))));
    EXPECT_TRUE(programEnding());
    EXPECT_EQ(victimNow(), victimBytes);
    EXPECT_TRUE(QFileInfo(tree->path(QStringLiteral("BDStudent.rez"))).isSymLink());
}

TEST_F(PlantedLinkTest, ALockFileLinkRefusesTheStartAndItsTargetIsKept) {
    plant(QStringLiteral("reaktikum.lock"));
    ProgramFolderLock lock;
    EXPECT_FALSE(lock.acquire());
    EXPECT_EQ(messages->errorTexts(), QStringList{ProgramFolderLock::notAFileMessage()});
    EXPECT_TRUE(ProgramFolderLock::notAFileMessage().contains(ProgramFolderLock::lockFilePath()));
    EXPECT_EQ(victimNow(), victimBytes);

    // Without the link the lock is taken, in a file only its owner may read.
    tree->remove(QStringLiteral("reaktikum.lock"));
    messages->clear();
    ProgramFolderLock next;
    ASSERT_TRUE(next.acquire());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(ProgramFolderLock::lockFilePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(messages->texts().isEmpty());
}
