// The class journal against a real PostgreSQL server that this program starts itself on
// 127.0.0.1 and sets up with setup.sql: rows arrive once, survive the server going away or
// freezing in the middle of a lesson, a whole class sending at once loses and duplicates
// nothing, and the teacher's view reads the class as the teacher.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>
#include <optional>

#include "QtPrinting.h"
#include "ServerFixture.h"
#include "journal/ClassJournal.h"
#include "journal/JournalWindow.h"
#include "journal/LocalJournal.h"
#include "journal/ServerLink.h"

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

using ServerJournalTest = ServerFixture;

void forgetConfirmations(const QString& path) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("forget"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(
            QSqlQuery(db).exec(QStringLiteral("UPDATE server_upload SET sent_through = 0")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("forget"));
}

TEST_F(ServerJournalTest, RowsArriveOnceWithNativeTypesAndTheSenderTheServerSaw) {
    auto pc = computer(QStringLiteral("pc-01"));
    gradeLesson(*pc, QStringLiteral("Ларцев О.Е."), 3);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    EXPECT_EQ(serverCount(), 4);
    // The server wrote down the login the rows came with and when they arrived; events that
    // carry no evidence leave its columns empty.
    EXPECT_EQ(serverCount(QStringLiteral("WHERE sender = 'pc01' AND received_at > now() - "
                                         "interval '1 hour' AND evidence IS NULL AND "
                                         "evidence_summary IS NULL")),
              4);

    // The types a school's own queries can count and sum with.
    EXPECT_EQ(server
                  ->scalar(database,
                           QStringLiteral(
                               "SELECT string_agg(column_name || ':' || data_type, ',' "
                               "ORDER BY column_name) FROM information_schema.columns "
                               "WHERE table_schema = 'reaktikum' AND table_name = 'journal' AND "
                               "column_name IN "
                               "('recorded_at', 'grade', 'variant', 'experiment')"))
                  .toString(),
              QStringLiteral("experiment:integer,grade:real,recorded_at:timestamp with time "
                             "zone,variant:integer"));
    EXPECT_EQ(server
                  ->scalar(database, QStringLiteral("SELECT student_surname FROM reaktikum.journal "
                                                    "WHERE event = 'registered'"))
                  .toString(),
              QStringLiteral("Ларцев О.Е."));
    EXPECT_DOUBLE_EQ(
        server->scalar(database, QStringLiteral("SELECT sum(grade) FROM reaktikum.journal"))
            .toDouble(),
        2.5 + 3.0 + 3.5);

    // The same computer after a restart sends only its new rows.
    pc.reset();
    auto restarted = computer(QStringLiteral("pc-01"));
    gradeLesson(*restarted, QStringLiteral("Сумин Г.Д."), 1);
    ASSERT_TRUE(restarted->server()->waitUntilSent(20000));
    EXPECT_EQ(serverCount(), 6);
    EXPECT_EQ(serverDuplicates(), 0);
}

TEST_F(ServerJournalTest, AResentLessonIsStoredOnce) {
    auto pc = computer(QStringLiteral("pc-02"));
    gradeLesson(*pc, QStringLiteral("Иванова А.Б."), 5);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000));
    ASSERT_EQ(serverCount(), 6);
    pc.reset();

    // The note of what the server confirmed is lost (as when the connection drops between
    // the server's commit and the note): everything is sent again.
    forgetConfirmations(dir.filePath(QStringLiteral("pc-02.sqlite")));
    {
        LocalJournal file(dir.filePath(QStringLiteral("pc-02.sqlite")));
        ASSERT_TRUE(file.open());
        ASSERT_EQ(file.unsentCount(), 6);
    }
    pc = computer(QStringLiteral("pc-02"));
    ASSERT_TRUE(pc->server()->waitUntilSent(20000));
    EXPECT_EQ(serverCount(), 6);
    EXPECT_EQ(serverDuplicates(), 0);
    // The same rows again are no conflict.
    EXPECT_EQ(server
                  ->scalar(database, QStringLiteral("SELECT count(*) FROM "
                                                    "reaktikum.journal_conflicts"))
                  .toInt(),
              0);
}

// Two user accounts on one computer each keep a data folder, so each has a journal whose ids
// start at 1: the server must keep both journals' rows, however alike their ids.
TEST_F(ServerJournalTest, TwoJournalsOfOneComputerBothArriveWhole) {
    auto first = journalOf(QStringLiteral("pc-09"), QStringLiteral("pc-09-first.sqlite"));
    auto second = journalOf(QStringLiteral("pc-09"), QStringLiteral("pc-09-second.sqlite"));
    gradeLesson(*first, QStringLiteral("Иванова А.Б."), 2);
    gradeLesson(*second, QStringLiteral("Петров В.Г."), 3);
    ASSERT_TRUE(first->server()->waitUntilSent(20000));
    ASSERT_TRUE(second->server()->waitUntilSent(20000));
    EXPECT_EQ(serverCount(), 3 + 4);
    EXPECT_EQ(serverCount(QStringLiteral("WHERE student_surname = 'Петров В.Г.'")), 4);
    EXPECT_EQ(server
                  ->scalar(database, QStringLiteral("SELECT count(DISTINCT journal_id) FROM "
                                                    "reaktikum.journal WHERE journal_id <> ''"))
                  .toInt(),
              2);

    // Sent again after a lost confirmation, neither journal's rows are stored twice.
    second.reset();
    forgetConfirmations(dir.filePath(QStringLiteral("pc-09-second.sqlite")));
    second = journalOf(QStringLiteral("pc-09"), QStringLiteral("pc-09-second.sqlite"));
    ASSERT_TRUE(second->server()->waitUntilSent(20000));
    EXPECT_EQ(serverCount(), 7);
    EXPECT_EQ(serverDuplicates(), 0);
}

TEST_F(ServerJournalTest, TheServerGoneMidLessonGetsEveryRowOnceWhenBack) {
    auto pc = computer(QStringLiteral("pc-03"));
    QString sitting;
    pc->registered(sitting, QStringLiteral("КРЛ-99-2"), QStringLiteral("Ларцев О.Е."), 3);
    for (int i = 0; i < 20; ++i)
        pc->graded(sitting, QStringLiteral("КРЛ-99-2"), QStringLiteral("Ларцев О.Е."), 3, 1, 4.5);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000));
    ASSERT_EQ(serverCount(), 21);

    ASSERT_TRUE(server->stop());
    QElapsedTimer clicks;
    qint64 slowest = 0;
    for (int i = 0; i < 30; ++i) {
        clicks.restart();
        pc->graded(sitting, QStringLiteral("КРЛ-99-2"), QStringLiteral("Ларцев О.Е."), 3, 2, 5);
        slowest = std::max(slowest, clicks.elapsed());
        QCoreApplication::processEvents();
    }
    // The rows wait here; the server's absence is told, to the teacher only.
    EXPECT_FALSE(pc->server()->waitUntilSent(1500));
    EXPECT_GT(pc->server()->status().waiting, 0);
    EXPECT_FALSE(pc->server()->status().fault.isEmpty());
    EXPECT_EQ(pc->local().events().size(), 51);
    std::printf("slowest click with the server down: %lld ms\n", static_cast<long long>(slowest));

    ASSERT_TRUE(server->start());
    // No new event: the retry alone brings them.
    QElapsedTimer waited;
    waited.start();
    while (serverCount() < 51 && waited.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(50);
    }
    EXPECT_EQ(serverCount(), 51);
    EXPECT_EQ(serverCount(QStringLiteral("WHERE experiment = 2")), 30);
    EXPECT_EQ(serverDuplicates(), 0);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000));
    EXPECT_TRUE(pc->server()->status().fault.isEmpty());
}

TEST_F(ServerJournalTest, AWholeClassSendingAtOnceLosesAndDuplicatesNothing) {
    constexpr int computers = 30;
    constexpr int gradesEach = 200;
    std::vector<std::unique_ptr<ClassJournal>> classroom;
    std::vector<QString> sittings(computers);
    for (int c = 0; c < computers; ++c) {
        classroom.push_back(computer(QStringLiteral("pc-%1").arg(c + 1, 2, 10, QLatin1Char('0'))));
        classroom.back()->registered(sittings[c], QStringLiteral("КРЛ-99-%1").arg(c % 3),
                                     QStringLiteral("Ученик %1").arg(c), 3);
    }
    // The grades of every computer interleaved, while every link sends in the background.
    for (int i = 0; i < gradesEach; ++i) {
        for (int c = 0; c < computers; ++c)
            classroom[c]->graded(sittings[c], QStringLiteral("КРЛ-99-%1").arg(c % 3),
                                 QStringLiteral("Ученик %1").arg(c), 3, 1 + i % 4,
                                 3 + (i % 5) * 0.5);
        QCoreApplication::processEvents();
    }
    // A grade the file could not take at once (the link was writing) goes in within a second.
    QElapsedTimer held;
    held.start();
    const auto anyHeld = [&] {
        return std::any_of(classroom.begin(), classroom.end(),
                           [](const auto& pc) { return pc->heldEvents() > 0; });
    };
    while (anyHeld() && held.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    for (const auto& pc : classroom)
        ASSERT_EQ(pc->heldEvents(), 0) << pc->local().fault().toStdString();
    for (auto& pc : classroom)
        ASSERT_TRUE(pc->server()->waitUntilSent(60000)) << pc->computer().toStdString();
    EXPECT_EQ(serverCount(), computers * (gradesEach + 1));
    EXPECT_EQ(serverDuplicates(), 0);
    // Each computer's rows are there with the ids it gave them, none missing.
    EXPECT_EQ(server
                  ->scalar(database, QStringLiteral("SELECT count(*) FROM (SELECT computer FROM "
                                                    "reaktikum.journal GROUP BY computer HAVING "
                                                    "count(*) = %1 AND max(local_id) = %1) c")
                                         .arg(gradesEach + 1))
                  .toInt(),
              computers);
}

TEST_F(ServerJournalTest, ServerFaultsAreToldInTheTeachersViewOnly) {
    // Wrong password.
    ServerSettings wrong = server->settings(database);
    wrong.password = QStringLiteral("not-the-password");
    auto pc = computer(QStringLiteral("pc-04"), wrong);
    QString sitting;
    pc->registered(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д."), 3);
    EXPECT_FALSE(pc->server()->waitUntilSent(3000));
    EXPECT_TRUE(pc->server()->status().fault.contains(QStringLiteral("пароль")))
        << pc->server()->status().fault.toStdString();

    // Without a teacher's login the view shows this computer's rows, and what keeps them from
    // the server.
    JournalWindow window(pc.get());
    window.reload();
    EXPECT_FALSE(window.isLoading());
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("этого компьютера")));
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("пароль")))
        << window.faultLine->text().toStdString();
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("Ждут отправки: 1")));
    ASSERT_EQ(window.shownRows().size(), 1);
    EXPECT_EQ(window.shownRows()[0].surname, QStringLiteral("Сумин Г.Д."));

    // Nobody listening on the port.
    ServerSettings down = server->settings(database);
    down.port = server->port() == 65000 ? 65001 : 65000;
    auto other = computer(QStringLiteral("pc-05"), down);
    other->registered(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д."), 3);
    EXPECT_FALSE(other->server()->waitUntilSent(3000));
    EXPECT_TRUE(other->server()->status().fault.contains(QStringLiteral("не отвечает")))
        << other->server()->status().fault.toStdString();

    // A database name the server does not have.
    ServerSettings misnamed = server->settings(database);
    misnamed.database = QStringLiteral("no_such_lesson");
    auto third = computer(QStringLiteral("pc-06"), misnamed);
    third->registered(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д."), 3);
    EXPECT_FALSE(third->server()->waitUntilSent(3000));
    EXPECT_TRUE(third->server()->status().fault.contains(QStringLiteral("нет базы данных")))
        << third->server()->status().fault.toStdString();
}

// The program makes no table: one the administrator has not made is reported with the command
// that makes it, and the rows wait until it is there.
TEST_F(ServerJournalTest, AMissingTableIsReportedWithTheCommandToRun) {
    const QString bare = database + QStringLiteral("_bare");
    ASSERT_TRUE(server->createDatabase(bare, false));
    auto pc = computer(QStringLiteral("pc-11"), server->settings(bare));
    gradeLesson(*pc, QStringLiteral("Ларцев О.Е."), 1);
    EXPECT_FALSE(pc->server()->waitUntilSent(3000));
    const QString command =
        QStringLiteral("psql -d %1 -f /usr/share/reaktikum/server/setup.sql").arg(bare);
    EXPECT_TRUE(pc->server()->status().fault.contains(command))
        << pc->server()->status().fault.toStdString();
    EXPECT_FALSE(server
                     ->scalar(bare, QStringLiteral("SELECT to_regclass('journal') IS NOT NULL"
                                                   " OR to_regclass('reaktikum.journal') IS "
                                                   "NOT NULL"))
                     .toBool());
    JournalWindow window(pc.get());
    window.reload();
    EXPECT_TRUE(window.faultLine->text().contains(command));

    // Once the administrator runs it, the waiting rows go.
    ASSERT_TRUE(server->runSetup(bare)) << server->error().toStdString();
    ASSERT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    EXPECT_EQ(
        server->scalar(bare, QStringLiteral("SELECT count(*) FROM reaktikum.journal")).toInt(), 2);
}

TEST_F(ServerJournalTest, APasswordFromPgpassIsUsed) {
    QTemporaryDir home;
    const QString pgpass = home.filePath(QStringLiteral("pgpass"));
    QFile file(pgpass);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString& user : {PostgresServer::computerUser(), PostgresServer::teacherUser()})
        file.write(QStringLiteral("127.0.0.1:%1:%2:%3:%4\n")
                       .arg(server->port())
                       .arg(database, user, PostgresServer::passwordOf(user))
                       .toUtf8());
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    qputenv("PGPASSFILE", QFile::encodeName(pgpass));
    ServerSettings settings = server->settings(database);
    settings.password.clear();
    auto pc = computer(QStringLiteral("pc-06"), settings);
    gradeLesson(*pc, QStringLiteral("Иванова А.Б."), 2);
    EXPECT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    EXPECT_EQ(serverCount(), 3);

    // The teacher types the login alone; the password is in the teacher's ~/.pgpass.
    JournalWindow window(pc.get());
    loginAsTeacher(window, PostgresServer::teacherUser(), QString());
    qunsetenv("PGPASSFILE");
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("Записи сервера")))
        << window.sourceLine->text().toStdString();
    EXPECT_EQ(window.shownRows().size(), 1);
}

TEST_F(ServerJournalTest, TheTeachersLoginShowsTheServersRowsOfEveryComputer) {
    auto first = computer(QStringLiteral("pc-07"));
    auto second = computer(QStringLiteral("pc-08"),
                           server->settings(database, PostgresServer::secondComputerUser()));
    gradeLesson(*first, QStringLiteral("Ларцев О.Е."), 2);
    QThread::msleep(5);
    gradeLesson(*second, QStringLiteral("Сумин Г.Д."), 4);
    ASSERT_TRUE(first->server()->waitUntilSent(20000));
    ASSERT_TRUE(second->server()->waitUntilSent(20000));

    // Nobody logged in: this computer's rows alone, and the rows stay there.
    JournalWindow window(first.get());
    EXPECT_TRUE(window.loginButton->isVisibleTo(&window));
    window.reload();
    ASSERT_EQ(window.shownRows().size(), 1);
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("этого компьютера")));

    // A computer's login cannot read the class.
    loginAsTeacher(window, PostgresServer::computerUser(),
                   PostgresServer::passwordOf(PostgresServer::computerUser()));
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("нет прав")))
        << window.faultLine->text().toStdString();
    EXPECT_EQ(window.shownRows().size(), 1);

    // Nor a wrong password.
    loginAsTeacher(window, PostgresServer::teacherUser(), QStringLiteral("guess"));
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("недоступен")));
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("пароль")))
        << window.faultLine->text().toStdString();
    EXPECT_EQ(window.shownRows().size(), 1);

    // The teacher reads every computer's rows.
    loginAsTeacher(window, PostgresServer::teacherUser(),
                   PostgresServer::passwordOf(PostgresServer::teacherUser()));
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("последняя связь")));
    EXPECT_TRUE(window.faultLine->text().isEmpty()) << window.faultLine->text().toStdString();
    ASSERT_EQ(window.shownRows().size(), 2);
    // Newest first: the second computer's sitting began later.
    EXPECT_EQ(window.shownRows()[0].computer, QStringLiteral("pc-08"));
    EXPECT_EQ(window.shownRows()[0].grades[3], 4.0f);
    EXPECT_EQ(window.shownRows()[1].computer, QStringLiteral("pc-07"));
    EXPECT_EQ(window.shownRows()[1].variant, 3);

    // Refreshing reads the server again with what was typed.
    window.refreshButton->click();
    waitLoaded(window);
    EXPECT_EQ(window.shownRows().size(), 2);

    // Closing the window forgets the login: the next opening shows this computer's rows.
    window.show();
    window.hide();
    EXPECT_TRUE(window.teacherLogin->text().isEmpty());
    EXPECT_TRUE(window.teacherPassword->text().isEmpty());
    window.reload();
    EXPECT_EQ(window.shownRows().size(), 1);
}

// A server that stops answering in the middle of a send (frozen, so the kernel keeps the
// connection alive and no timeout of the network fires) holds neither the teacher's view nor a
// program that closes; the rows it did not confirm stay waiting and arrive once afterwards.
TEST_F(ServerJournalTest, AFrozenServerHoldsNeitherTheViewNorTheClosingProgram) {
    auto pc = computer(QStringLiteral("pc-12"));
    gradeLesson(*pc, QStringLiteral("Ларцев О.Е."), 3);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();

    ASSERT_TRUE(server->freeze(true));
    struct Thaw {
        ~Thaw() { server->freeze(false); }
    } thaw;
    QString sitting;
    for (int i = 0; i < 200; ++i)
        pc->graded(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."), 3, 1, 5);
    // The link is now in the middle of sending to the frozen server.
    QThread::msleep(300);
    QCoreApplication::processEvents();

    // The teacher's view reads on a thread of its own: it answers at once.
    QElapsedTimer clock;
    auto window = std::make_unique<JournalWindow>(pc.get());
    clock.start();
    window->teacherLogin->setText(PostgresServer::teacherUser());
    window->teacherPassword->setText(PostgresServer::passwordOf(PostgresServer::teacherUser()));
    window->loginButton->click();
    QCoreApplication::processEvents();
    EXPECT_LT(clock.elapsed(), 1000) << "the view waited for the server";
    EXPECT_TRUE(window->isLoading());

    // The program closes: its windows, then the journal and its link.
    clock.restart();
    window.reset();
    pc.reset();
    // By design at most 2 s; the slack is for a loaded machine.
    EXPECT_LT(clock.elapsed(), 5000);
    std::printf("closed with the server frozen in %lld ms\n",
                static_cast<long long>(clock.elapsed()));

    server->freeze(false);
    auto again = computer(QStringLiteral("pc-12"));
    ASSERT_TRUE(again->server()->waitUntilSent(20000))
        << again->server()->status().fault.toStdString();
    EXPECT_EQ(serverCount(), 4 + 200);
    EXPECT_EQ(serverDuplicates(), 0);
}

}  // namespace
