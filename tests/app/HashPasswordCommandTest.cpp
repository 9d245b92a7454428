// reaktikum --hash-password as an administrator runs it: the password on standard input, the
// line to paste under [Teacher] on standard output, no display needed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "lab/LabSettings.h"
#include "lab/TeacherPassword.h"

namespace {

struct CommandRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CommandRun hashPassword(const QByteArray& input) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(LAB_PROGRAM), {QStringLiteral("--hash-password")});
    if (!program.waitForStarted()) return {};
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(300000)) return {};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            program.readAllStandardOutput(), program.readAllStandardError()};
}

TEST(HashPasswordCommandTest, PrintsTheLineThatOpensTheGateForThatPasswordAlone) {
    const CommandRun run = hashPassword(QStringLiteral("Учитель химии 7\nsecond line\n").toUtf8());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << "no prompt when the input is no terminal";
    const QByteArray line = run.out.trimmed();
    EXPECT_EQ(run.out.count('\n'), 1);
    EXPECT_TRUE(line.startsWith("password_hash=pbkdf2-sha256$600000$")) << line.toStdString();

    // Pasted under [Teacher] in the system-wide file, it opens the gate for the password typed
    // (the first line, without its line end) and for nothing else.
    QTemporaryDir root;
    SettingsFiles files;
    files.systemWide = {root.filePath(QStringLiteral("reaktikum.ini"))};
    files.trustedOwner = ::getuid();
    QFile ini(files.systemWide[0]);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Teacher]\n" + line + "\n");
    ini.close();
    const TeacherPassword password = TeacherPassword::fromSettings(LabSettings(files));
    EXPECT_FALSE(password.isBuiltIn());
    EXPECT_TRUE(password.accepts(QStringLiteral("Учитель химии 7")));
    EXPECT_FALSE(password.accepts(QStringLiteral("[pkxn")));
    EXPECT_FALSE(password.accepts(QStringLiteral("second line")));
}

TEST(HashPasswordCommandTest, NoPasswordMakesNoLine) {
    for (const QByteArray& input : {QByteArray(), QByteArray("\n")}) {
        const CommandRun run = hashPassword(input);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
}

}  // namespace
