// Thirty programs of a class start one new journal file at the same moment: whoever opens it
// while another is still creating it must wait and try again, never give the file up. Every
// event of every program is in the file exactly once, round after round.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <vector>

namespace {

constexpr int programs = 30;

int rounds() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("LAB_JOURNAL_RACE_ROUNDS", &ok);
    return ok && n > 0 ? n : 100;
}

// What the file holds: "surname event experiment" -> how many rows.
QHash<QString, int> rowsOf(const QString& path) {
    QHash<QString, int> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(
                QStringLiteral("SELECT student_surname, event, coalesce(experiment, 0) FROM "
                               "journal"));
            while (q.next())
                ++rows[QStringLiteral("%1 %2 %3")
                           .arg(q.value(0).toString(), q.value(1).toString())
                           .arg(q.value(2).toInt())];
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("check");
    return rows;
}

// The threads' stacks of a program that hangs, when a debugger is at hand.
QString stacksOf(qint64 pid) {
    const QString gdb = QStandardPaths::findExecutable(QStringLiteral("gdb"));
    if (gdb.isEmpty()) return QStringLiteral("(no gdb to show it)");
    QProcess debugger;
    debugger.setProcessChannelMode(QProcess::MergedChannels);
    debugger.start(gdb, {QStringLiteral("-p"), QString::number(pid), QStringLiteral("-batch"),
                         QStringLiteral("-ex"), QStringLiteral("thread apply all bt")});
    if (!debugger.waitForFinished(60000)) debugger.kill();
    return QString::fromLocal8Bit(debugger.readAll());
}

TEST(JournalOpenRaceTest, ThirtyProgramsCreatingOneJournalKeepEveryEventOnce) {
    int argc = 1;
    char name[] = "JournalOpenRaceTest";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    const int total = rounds();
    for (int round = 0; round < total; ++round) {
        SCOPED_TRACE(round);
        for (const QString& file : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.filePath(file));
        std::vector<std::unique_ptr<QProcess>> children;
        for (int p = 0; p < programs; ++p) {
            auto child = std::make_unique<QProcess>();
            child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child->start(QStringLiteral(LAB_RACE_CHILD),
                         {path, QStringLiteral("Ученик-%1").arg(p)});
            children.push_back(std::move(child));
        }
        // All wait at the start line; then all are let go at once.
        for (auto& child : children) {
            ASSERT_TRUE(child->waitForReadyRead(60000));
            ASSERT_EQ(child->readLine().trimmed(), QByteArray("ready"));
        }
        // Written through at once: a process's input otherwise waits in its buffer until that
        // process is waited for, and the programs would start one after another.
        for (auto& child : children) child->write("go\n");
        for (auto& child : children) {
            ASSERT_TRUE(child->waitForBytesWritten(10000));
            child->closeWriteChannel();
        }
        int failed = 0;
        for (auto& child : children) {
            if (!child->waitForFinished(120000)) {
                ADD_FAILURE() << "a program has not ended in two minutes; where it stands:\n"
                              << stacksOf(child->processId()).toStdString();
                for (auto& other : children) {
                    other->kill();
                    other->waitForFinished(10000);
                }
                return;
            }
            failed += child->exitStatus() != QProcess::NormalExit || child->exitCode() != 0;
        }
        EXPECT_EQ(failed, 0) << "programs that kept events back";

        const QHash<QString, int> rows = rowsOf(path);
        int missingOrTwice = 0;
        for (int p = 0; p < programs; ++p) {
            const QString surname = QStringLiteral("Ученик-%1").arg(p);
            for (const char* event : {" registered 0", " graded 1", " graded 2"})
                missingOrTwice += rows.value(surname + QLatin1String(event)) != 1;
        }
        EXPECT_EQ(missingOrTwice, 0);
        EXPECT_EQ(rows.size(), programs * 3);
        if (HasFailure()) break;
    }
}

}  // namespace
