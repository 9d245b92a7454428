// The class journal against a real PostgreSQL server that this program starts itself on
// 127.0.0.1: rows arrive once, survive the server going away in the middle of a lesson, and a
// whole class sending at once loses and duplicates nothing.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>
#include <optional>

#include "PostgresServer.h"
#include "QtPrinting.h"
#include "journal/ClassJournal.h"
#include "journal/JournalWindow.h"
#include "journal/LocalJournal.h"
#include "journal/ServerLink.h"

namespace {

PostgresServer* server = nullptr;
int databaseSerial = 0;

// One server for the whole program: started before the first test, stopped after the last
// (also when tests fail).
class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override { server = new PostgresServer; }
    void TearDown() override {
        delete server;
        server = nullptr;
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

// Short retries so a test need not wait the half minute a classroom waits.
constexpr int testRetryMs = 150;

class ServerJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server && server->error().isEmpty()) << server->error().toStdString();
        ASSERT_TRUE(server->start()) << server->error().toStdString();
        database = QStringLiteral("lesson%1").arg(++databaseSerial);
        ASSERT_TRUE(server->createDatabase(database));
    }

    std::unique_ptr<ClassJournal> computer(const QString& name,
                                           std::optional<ServerSettings> settings = {}) {
        return journalOf(name, name + QStringLiteral(".sqlite"), settings);
    }
    // A journal file of the named computer; one computer may hold several (one per data folder).
    std::unique_ptr<ClassJournal> journalOf(const QString& computerName, const QString& file,
                                            std::optional<ServerSettings> settings = {}) {
        return std::make_unique<ClassJournal>(dir.filePath(file),
                                              settings.value_or(server->settings(database)),
                                              computerName, testRetryMs);
    }

    qint64 serverCount(const QString& where = QString()) {
        return server->scalar(database, QStringLiteral("SELECT count(*) FROM journal ") + where)
            .toLongLong();
    }
    // Rows whose (computer, journal, local id) occur more than once: none may.
    qint64 serverDuplicates() {
        return server
            ->scalar(database,
                     QStringLiteral("SELECT count(*) FROM (SELECT computer, journal_id, local_id "
                                    "FROM journal GROUP BY 1, 2, 3 HAVING count(*) > 1) d"))
            .toLongLong();
    }

    QTemporaryDir dir;
    QString database;
};

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

void gradeLesson(ClassJournal& journal, const QString& surname, int grades) {
    QString sitting;
    journal.registered(sitting, QStringLiteral("КРЛ-99-1"), surname, 3);
    for (int i = 0; i < grades; ++i)
        journal.graded(sitting, QStringLiteral("КРЛ-99-1"), surname, 3, 1 + i % 4,
                       2.5 + (i % 6) * 0.5);
}

TEST_F(ServerJournalTest, RowsArriveOnceWithNativeTypesAndTheSchemaIsCreated) {
    auto pc = computer(QStringLiteral("pc-01"));
    gradeLesson(*pc, QStringLiteral("Ларцев О.Е."), 3);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    EXPECT_EQ(serverCount(), 4);

    // The types a school's own queries can count and sum with.
    EXPECT_EQ(server
                  ->scalar(database,
                           QStringLiteral("SELECT string_agg(column_name || ':' || data_type, ',' "
                                          "ORDER BY column_name) FROM information_schema.columns "
                                          "WHERE table_name = 'journal' AND column_name IN "
                                          "('recorded_at', 'grade', 'variant', 'experiment')"))
                  .toString(),
              QStringLiteral("experiment:integer,grade:real,recorded_at:timestamp with time "
                             "zone,variant:integer"));
    EXPECT_EQ(server
                  ->scalar(database, QStringLiteral("SELECT student_surname FROM journal "
                                                    "WHERE event = 'registered'"))
                  .toString(),
              QStringLiteral("Ларцев О.Е."));
    EXPECT_DOUBLE_EQ(
        server->scalar(database, QStringLiteral("SELECT sum(grade) FROM journal")).toDouble(),
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
                                                    "journal WHERE journal_id <> ''"))
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

// A class server set up by an earlier version keeps the rows it has and takes the rows of two
// journals of one computer from then on.
TEST_F(ServerJournalTest, AServerTableOfTheEarlierLayoutIsUpgradedKeepingItsRows) {
    server->scalar(
        database,
        QStringLiteral("CREATE TABLE journal (id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
                       " computer text NOT NULL, local_id integer NOT NULL, recorded_at "
                       "timestamptz NOT NULL, sitting text NOT NULL, student_group text NOT NULL,"
                       " student_surname text NOT NULL, variant integer, experiment integer,"
                       " grade real, event text NOT NULL, received_at timestamptz NOT NULL "
                       "DEFAULT now(), UNIQUE (computer, local_id))"));
    server->scalar(database, QStringLiteral("INSERT INTO journal (computer, local_id, "
                                            "recorded_at, sitting, student_group, "
                                            "student_surname, variant, experiment, grade, event)"
                                            " VALUES ('pc-10', 1, '2026-09-01T08:00:00Z', 'old',"
                                            " 'КРЛ-99-1', 'Сумин Г.Д.', 2, 1, 4.5, 'graded')"));
    ASSERT_EQ(serverCount(), 1);

    auto first = journalOf(QStringLiteral("pc-10"), QStringLiteral("pc-10-first.sqlite"));
    auto second = journalOf(QStringLiteral("pc-10"), QStringLiteral("pc-10-second.sqlite"));
    gradeLesson(*first, QStringLiteral("Иванова А.Б."), 1);
    gradeLesson(*second, QStringLiteral("Петров В.Г."), 1);
    ASSERT_TRUE(first->server()->waitUntilSent(20000))
        << first->server()->status().fault.toStdString();
    ASSERT_TRUE(second->server()->waitUntilSent(20000));
    EXPECT_EQ(serverCount(), 1 + 2 + 2);
    EXPECT_EQ(serverCount(QStringLiteral("WHERE sitting = 'old' AND journal_id = ''")), 1);
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
                                                    "journal GROUP BY computer HAVING "
                                                    "count(*) = %1 AND max(local_id) = %1) c")
                                         .arg(gradesEach + 1))
                  .toInt(),
              computers);
}

TEST_F(ServerJournalTest, ServerFaultsAreToldInTheTeachersView) {
    // Wrong password.
    ServerSettings wrong = server->settings(database);
    wrong.password = QStringLiteral("not-the-password");
    auto pc = computer(QStringLiteral("pc-04"), wrong);
    QString sitting;
    pc->registered(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д."), 3);
    EXPECT_FALSE(pc->server()->waitUntilSent(3000));
    EXPECT_TRUE(pc->server()->status().fault.contains(QStringLiteral("пароль")))
        << pc->server()->status().fault.toStdString();

    JournalWindow window(pc.get());
    window.reload();
    QElapsedTimer waited;
    waited.start();
    while (window.isLoading() && waited.elapsed() < 10000) QCoreApplication::processEvents();
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("недоступен")));
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("пароль")));
    // The local rows stand in for the server's.
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

TEST_F(ServerJournalTest, APasswordFromPgpassIsUsed) {
    QTemporaryDir home;
    const QString pgpass = home.filePath(QStringLiteral("pgpass"));
    QFile file(pgpass);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("127.0.0.1:%1:%2:%3:%4\n")
                   .arg(server->port())
                   .arg(database, PostgresServer::classUser(), PostgresServer::classPassword())
                   .toUtf8());
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    qputenv("PGPASSFILE", QFile::encodeName(pgpass));
    ServerSettings settings = server->settings(database);
    settings.password.clear();
    auto pc = computer(QStringLiteral("pc-06"), settings);
    gradeLesson(*pc, QStringLiteral("Иванова А.Б."), 2);
    EXPECT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    qunsetenv("PGPASSFILE");
    EXPECT_EQ(serverCount(), 3);
}

TEST_F(ServerJournalTest, TheTeachersViewShowsTheServersRowsOfEveryComputer) {
    auto first = computer(QStringLiteral("pc-07"));
    auto second = computer(QStringLiteral("pc-08"));
    gradeLesson(*first, QStringLiteral("Ларцев О.Е."), 2);
    QThread::msleep(5);
    gradeLesson(*second, QStringLiteral("Сумин Г.Д."), 4);
    ASSERT_TRUE(first->server()->waitUntilSent(20000));
    ASSERT_TRUE(second->server()->waitUntilSent(20000));

    JournalWindow window(first.get());
    window.reload();
    QElapsedTimer waited;
    waited.start();
    while (window.isLoading() && waited.elapsed() < 10000) QCoreApplication::processEvents();
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("последняя связь")));
    EXPECT_TRUE(window.faultLine->text().isEmpty()) << window.faultLine->text().toStdString();
    ASSERT_EQ(window.shownRows().size(), 2);
    // Newest first: the second computer's sitting began later.
    EXPECT_EQ(window.shownRows()[0].computer, QStringLiteral("pc-08"));
    EXPECT_EQ(window.shownRows()[0].grades[3], 4.0f);
    EXPECT_EQ(window.shownRows()[1].computer, QStringLiteral("pc-07"));
    EXPECT_EQ(window.shownRows()[1].variant, 3);
}

}  // namespace
