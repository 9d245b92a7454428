#include "app/HashPasswordCommand.h"

#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstring>

#include "lab/TeacherPassword.h"

namespace {
void say(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

// The first line of standard input, without its line end.
QByteArray readLine() {
    QByteArray line;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) line += char(c);
    if (line.endsWith('\r')) line.chop(1);
    return line;
}

// Turns the terminal's echo off while it lives, so that the password is not shown.
class HiddenInput {
public:
    HiddenInput() : terminal_(::isatty(STDIN_FILENO) == 1) {
        if (!terminal_ || ::tcgetattr(STDIN_FILENO, &saved_) != 0) {
            terminal_ = false;
            return;
        }
        termios quiet = saved_;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    ~HiddenInput() {
        if (!terminal_) return;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
        say(QStringLiteral("\n"));
    }
    bool isTerminal() const { return terminal_; }

private:
    bool terminal_;
    termios saved_{};
};
}  // namespace

bool isHashPasswordCall(int argc, char** argv) {
    return argc == 2 && std::strcmp(argv[1], "--hash-password") == 0;
}

int runHashPassword() {
    QByteArray typed;
    {
        HiddenInput hidden;
        if (hidden.isTerminal()) say(QStringLiteral("Пароль учителя: "));
        typed = readLine();
    }
    const QString password = QString::fromLocal8Bit(typed);
    if (password.isEmpty()) {
        say(QStringLiteral("reaktikum: пароль не введён, строка не составлена.\n"));
        return 1;
    }
    const QString line =
        QStringLiteral("password_hash=") + PasswordHash::make(password).toString() + '\n';
    std::fputs(line.toLatin1().constData(), stdout);
    std::fflush(stdout);
    return 0;
}
