// A program killed in the middle of saving grades must leave a results file that reads whole:
// the content before that save or the content after it, never a cut one.

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include "TestSupport.h"
#include "lab/ProgramDir.h"
#include "lab/ResultsFile.h"

namespace {

const char* loopDirVariable = "LAB_STUDENT_SAVE_LOOP_DIR";

// The two tables the saving process alternates between: two and three students.
void setTable(ResultsFile& file, int students) {
    const QStringList surnames = {QStringLiteral("Ларцев О.Е."), QStringLiteral("Сумин Г.Д."),
                                  QStringLiteral("Иванова А.Б.")};
    QList<StudentRecord> table(students);
    for (int i = 1; i <= students; ++i) {
        table[i - 1].group.assign(QStringLiteral("КРЛ-99-%1").arg(i));
        table[i - 1].surname.assign(surnames[i - 1]);
        table[i - 1].score(i) = 4.5f;
    }
    file.replaceTable(table);
}

class StudentFileCrashTest : public LabTest {};

// Run only as the child of the test below: saves for ever, one line on stdout per save.
TEST(StudentSaveLoop, DISABLED_Child) {
    const QString dir = qEnvironmentVariable(loopDirVariable);
    ASSERT_FALSE(dir.isEmpty());
    setProgramDirForTests(dir);
    ResultsFile file;
    for (int n = 0;; ++n) {
        setTable(file, n % 2 == 0 ? 3 : 2);
        ASSERT_TRUE(file.save());
        std::fputs("saved\n", stdout);
        std::fflush(stdout);
    }
}

TEST_F(StudentFileCrashTest, AKilledSaveLeavesTheOldOrTheNewFile) {
    ResultsFile file;
    setTable(file, 2);
    ASSERT_TRUE(file.save());
    const QByteArray two = tree->read(QStringLiteral("BDStudent.rez"));
    setTable(file, 3);
    ASSERT_TRUE(file.save());
    const QByteArray three = tree->read(QStringLiteral("BDStudent.rez"));
    ASSERT_EQ(two.size(), 600);
    ASSERT_EQ(three.size(), 900);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(loopDirVariable), tree->dir());
    int killedMidway = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        QProcess child;
        startChildTest(child, env, QStringLiteral("StudentSaveLoop.DISABLED_Child"));
        ASSERT_TRUE(child.waitForStarted());
        // Kill after a varying number of finished saves, so the kill lands at varying points
        // of the next one.
        const int saves = 1 + round % 5;
        int seen = 0;
        while (seen < saves && child.state() == QProcess::Running) {
            if (!child.canReadLine()) child.waitForReadyRead(1000);
            while (child.canReadLine()) {
                child.readLine();
                ++seen;
            }
        }
        child.kill();
        child.waitForFinished();
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
            << "the saving process stopped by itself";
        const QByteArray bytes = tree->read(QStringLiteral("BDStudent.rez"));
        EXPECT_TRUE(bytes == two || bytes == three) << "file of " << bytes.size() << " bytes";
        killedMidway += seen >= saves;
    }
    EXPECT_EQ(killedMidway, 40);
}

}  // namespace
