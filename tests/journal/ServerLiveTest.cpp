// The teacher's open view follows the class server: a grade made on another computer appears in
// it within two seconds without a click, also after the server restarted; the server's word
// that rows arrived tells nothing of them to whoever listens, and setup.sql run again keeps one
// such word per statement.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "ServerFixture.h"
#include "TableCells.h"
#include "journal/ClassPresenceView.h"
#include "journal/JournalFollower.h"
#include "journal/JournalWatch.h"
#include "journal/ServerLink.h"
#include "journal/ServerListener.h"

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

const QString group = QStringLiteral("КРЛ-99-1");

class ServerLiveTest : public ServerFixture {
protected:
    // The teacher's view open on the teacher's computer and logged in, listening.
    std::unique_ptr<JournalWindow> openTeachersView(ClassJournal* teachersComputer) {
        auto window = std::make_unique<JournalWindow>(teachersComputer);
        window->show();
        loginAsTeacher(*window, PostgresServer::teacherUser(),
                       PostgresServer::passwordOf(PostgresServer::teacherUser()));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return window->follower->watch()->isListening() && !window->isLoading(); },
            20000));
        // The read that follows the start of listening is over.
        QTest::qWait(JournalWatch::settleMs * 2);
        waitLoaded(*window);
        return window;
    }
    static std::optional<float> shownGrade(const JournalWindow& window, const QString& surname,
                                           int experiment) {
        for (const SittingRow& row : window.shownRows())
            if (row.surname == surname) return row.grades[std::size_t(experiment - 1)];
        return std::nullopt;
    }
};

TEST_F(ServerLiveTest, AGradeOfAnotherComputerAppearsInTheOpenViewWithoutAClick) {
    auto teachersComputer = computer(QStringLiteral("pc-00"));
    auto pupil = computer(QStringLiteral("pc-07"));
    auto neighbour = computer(QStringLiteral("pc-08"),
                              server->settings(database, PostgresServer::secondComputerUser()));
    QString pupilSitting, neighbourSitting;
    pupil->registered(pupilSitting, group, QStringLiteral("Ларцев О.Е."), 3);
    neighbour->registered(neighbourSitting, group, QStringLiteral("Сумин Г.Д."), 5);
    ASSERT_TRUE(pupil->server()->waitUntilSent(20000));
    ASSERT_TRUE(neighbour->server()->waitUntilSent(20000));

    auto window = openTeachersView(teachersComputer.get());
    ASSERT_EQ(window->shownRows().size(), 2);
    // The teacher looks at the neighbour's row.
    const int neighbourRow = window->shownRows()[0].surname == QStringLiteral("Сумин Г.Д.") ? 0 : 1;
    setCurrentCell(window->table, neighbourRow, 3);
    const int reads = window->follower->followedReads();

    pupil->entered(pupilSitting, group, QStringLiteral("Ларцев О.Е."), 3, 2);
    pupil->graded(pupilSitting, group, QStringLiteral("Ларцев О.Е."), 3, 2, 4.5);
    // Within two seconds, without a click.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return shownGrade(*window, QStringLiteral("Ларцев О.Е."), 2) == 4.5f; }, 2000))
        << "reads that followed: " << window->follower->followedReads() - reads;
    EXPECT_GT(window->follower->followedReads(), reads);
    EXPECT_EQ(window->shownRows()[window->table->currentIndex().row()].surname,
              QStringLiteral("Сумин Г.Д."));
    EXPECT_TRUE(window->faultLine->text().isEmpty()) << window->faultLine->text().toStdString();
    // «Сейчас в классе» has both computers, the pupil between experiments with his grade.
    const QList<ComputerPresence>& now = window->classNow->shown();
    ASSERT_EQ(now.size(), 2);
    EXPECT_EQ(window->classNow->lineTexts(0),
              (QStringList{QStringLiteral("pc-07"), QStringLiteral("Ларцев О.Е., КРЛ-99-1"),
                           QStringLiteral("не в опыте"), QStringLiteral("№2 — 4,5")}));
}

// The server goes away in the middle of a lesson and comes back: the view listens again by
// itself, tells the teacher nothing of it, and the grades made meanwhile and after appear.
TEST_F(ServerLiveTest, TheViewListensAgainAfterTheServerRestarts) {
    auto teachersComputer = computer(QStringLiteral("pc-00"));
    auto pupil = computer(QStringLiteral("pc-07"));
    QString sitting;
    pupil->registered(sitting, group, QStringLiteral("Ларцев О.Е."), 3);
    ASSERT_TRUE(pupil->server()->waitUntilSent(20000));
    auto window = openTeachersView(teachersComputer.get());
    ASSERT_EQ(window->shownRows().size(), 1);

    QSignalSpy listening(window->follower->watch()->listener(), &ServerListener::listening);
    ASSERT_TRUE(server->stop());
    pupil->graded(sitting, group, QStringLiteral("Ларцев О.Е."), 3, 1, 3.5);
    ASSERT_TRUE(server->start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening.count() > 0; }, 40000));
    ASSERT_TRUE(pupil->server()->waitUntilSent(20000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return shownGrade(*window, QStringLiteral("Ларцев О.Е."), 1) == 3.5f; }, 20000));

    pupil->graded(sitting, group, QStringLiteral("Ларцев О.Е."), 3, 3, 5);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return shownGrade(*window, QStringLiteral("Ларцев О.Е."), 3) == 5.0f; }, 20000));
    EXPECT_FALSE(window->faultLine->text().contains(QStringLiteral("прервалась")))
        << window->faultLine->text().toStdString();

    // Closing the view stops listening and forgets the login.
    window->hide();
    EXPECT_FALSE(window->follower->watch()->listener()->isRunning());
    EXPECT_TRUE(window->follower->watch()->listener()->user().isEmpty());
}

// Any login that can connect may listen, a computer's too: what it hears says that rows came,
// not whose or which. setup.sql run again keeps a single notifying trigger.
TEST_F(ServerLiveTest, TheNotificationCarriesNothingOfTheRows) {
    ServerListener listener;
    QStringList payloads;
    QObject::connect(&listener, &ServerListener::notified,
                     [&](const QString& payload) { payloads << payload; });
    listener.listen(server->settings(database), PostgresServer::computerUser(),
                    PostgresServer::passwordOf(PostgresServer::computerUser()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener.isListening(); }, 20000))
        << listener.fault().toStdString();

    auto other = computer(QStringLiteral("pc-08"),
                          server->settings(database, PostgresServer::secondComputerUser()));
    gradeLesson(*other, QStringLiteral("Сумин Г.Д."), 2);
    ASSERT_TRUE(other->server()->waitUntilSent(20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !payloads.isEmpty(); }, 5000));
    for (const QString& payload : payloads) {
        EXPECT_TRUE(payload.isEmpty()) << payload.toStdString();
        EXPECT_FALSE(payload.contains(QStringLiteral("Сумин")));
        EXPECT_FALSE(payload.contains(QStringLiteral("КРЛ")));
    }

    ASSERT_TRUE(server->runSetup(database)) << server->error().toStdString();
    ASSERT_TRUE(server->runSetup(database)) << server->error().toStdString();
    EXPECT_EQ(server
                  ->scalar(database,
                           QStringLiteral("SELECT string_agg(tgname, ',' ORDER BY tgname) FROM "
                                          "pg_trigger WHERE tgrelid = 'reaktikum.journal'::regclass"
                                          " AND NOT tgisinternal"))
                  .toString(),
              QStringLiteral("accept_journal_row,keep_sitting,notify_journal_rows"));
    payloads.clear();
    QString sitting;
    other->graded(sitting, QStringLiteral("КРЛ-99-1"), QStringLiteral("Сумин Г.Д."), 3, 4, 5);
    ASSERT_TRUE(other->server()->waitUntilSent(20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !payloads.isEmpty(); }, 5000));
    // Rows reach the server in one statement or in several, as the sender finds them, and a
    // notification of the rows before may still be on its way: each says only that rows came.
    for (const QString& payload : payloads) EXPECT_TRUE(payload.isEmpty()) << payload.toStdString();
}

// A login that fails is not tried again and again on its own.
TEST_F(ServerLiveTest, ARefusedLoginIsGivenUp) {
    ServerListener listener;
    QSignalSpy failed(&listener, &ServerListener::failed);
    listener.listen(server->settings(database), PostgresServer::teacherUser(),
                    QStringLiteral("guess"));
    ASSERT_TRUE(failed.wait(20000));
    EXPECT_FALSE(listener.isRunning());
    EXPECT_TRUE(listener.fault().contains(QStringLiteral("пароль")))
        << listener.fault().toStdString();
}

}  // namespace
