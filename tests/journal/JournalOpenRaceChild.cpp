// One program of the class that starts its journal at the same moment as 29 others, for the
// journal's open race test: waits for "go" on its input, records a registration and two grades
// in the journal file given as its first argument, and exits 0 only when every event is in the
// file. A class server is set up but never answers (a closed port), so the server link's
// thread opens the journal too while the others create it, as at a real lesson.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

#include "journal/ClassJournal.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString surname = QString::fromLocal8Bit(argv[2]);
    std::cout << "ready" << std::endl;
    std::string line;
    std::getline(std::cin, line);

    ServerSettings unreachable;
    unreachable.host = QStringLiteral("127.0.0.1");
    unreachable.port = 9;
    unreachable.database = QStringLiteral("class");
    unreachable.user = QStringLiteral("reaktikum");
    ClassJournal journal(path, unreachable, QStringLiteral("pc-") + surname);
    QString sitting;
    journal.registered(sitting, QStringLiteral("ГОНКА"), surname, 1);
    journal.graded(sitting, QStringLiteral("ГОНКА"), surname, 1, 1, 4.5);
    journal.graded(sitting, QStringLiteral("ГОНКА"), surname, 1, 2, 5);
    // The program's own timers try held events again; nothing else helps them in.
    QDeadlineTimer deadline(60000);
    while (journal.heldEvents() > 0 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    if (journal.heldEvents() > 0) {
        std::fprintf(stderr, "%s: %lld held: %s\n", argv[2],
                     static_cast<long long>(journal.heldEvents()),
                     qPrintable(journal.local().fault()));
        return 1;
    }
    return 0;
}
