// What the class server protects, against a real PostgreSQL server that this program starts
// and sets up with setup.sql: a computer's login may only add rows, under its own name; no
// login can hide another's rows; the script takes over the tables the program made before it;
// and no password goes to a server that cannot prove itself.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

#include "QtPrinting.h"
#include "RogueServer.h"
#include "ServerFixture.h"
#include "journal/ClassJournal.h"
#include "journal/JournalWindow.h"
#include "journal/LocalJournal.h"
#include "journal/ServerLink.h"
#include "lab/LabSettings.h"
#include "toolkit/MessageBoxes.h"

namespace {

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

using ServerSecurityTest = ServerFixture;

const QString insufficientPrivilege = QStringLiteral("42501");

QString insertRow(const QString& computer, const QString& journalId, int localId, double grade) {
    return QStringLiteral(
               "INSERT INTO reaktikum.journal (computer, journal_id, local_id, "
               "recorded_at, sitting, student_group, student_surname, variant, "
               "experiment, grade, event) VALUES ('%1', '%2', %3, "
               "'2026-09-01T08:00:00Z', 'forged', 'КРЛ-99-1', 'Подставной', 1, 1, %4,"
               " 'graded')")
        .arg(computer, journalId)
        .arg(localId)
        .arg(grade);
}

TEST_F(ServerSecurityTest, AComputersLoginMayOnlyAddRowsUnderItsOwnName) {
    auto pc = computer(QStringLiteral("pc-01"));
    gradeLesson(*pc, QStringLiteral("Ларцев О.Е."), 3);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    ASSERT_EQ(serverCount(), 4);

    const QString me = PostgresServer::computerUser();
    for (const QString& sql : {
             QStringLiteral("UPDATE reaktikum.journal SET grade = 5"),
             QStringLiteral("DELETE FROM reaktikum.journal"),
             QStringLiteral("TRUNCATE reaktikum.journal"),
             QStringLiteral("DROP TABLE reaktikum.journal"),
             QStringLiteral("SELECT grade FROM reaktikum.journal"),
             QStringLiteral("SELECT count(*) FROM reaktikum.journal_conflicts"),
             QStringLiteral("CREATE TABLE reaktikum.journal2 (id int)"),
             // The server's columns cannot be sent.
             QStringLiteral("INSERT INTO reaktikum.journal (sender, computer, local_id, "
                            "recorded_at, sitting, student_group, student_surname, event) VALUES "
                            "('pc02', 'pc-01', 99, now(), 's', 'g', 'x', 'registered')"),
             QStringLiteral("INSERT INTO reaktikum.journal (received_at, computer, local_id, "
                            "recorded_at, sitting, student_group, student_surname, event) VALUES "
                            "('2020-01-01', 'pc-01', 99, now(), 's', 'g', 'x', 'registered')"),
         })
        EXPECT_EQ(server->execAs(database, me, sql), insufficientPrivilege) << sql.toStdString();
    EXPECT_EQ(serverCount(), 4);
    EXPECT_DOUBLE_EQ(
        server->scalar(database, QStringLiteral("SELECT sum(grade) FROM reaktikum.journal"))
            .toDouble(),
        2.5 + 3.0 + 3.5);

    // Adding is allowed, and the row carries the login it came with.
    EXPECT_EQ(server->execAs(database, me, insertRow(QStringLiteral("pc-01"), QString(), 1, 4)),
              QString());
    EXPECT_EQ(serverCount(QStringLiteral("WHERE sitting = 'forged' AND sender = 'pc01'")), 1);

    // The teacher reads, and changes nothing either.
    const QString teacher = PostgresServer::teacherUser();
    EXPECT_EQ(server->execAs(database, teacher,
                             QStringLiteral("SELECT sum(grade) FROM reaktikum.journal")),
              QString());
    EXPECT_EQ(
        server->execAs(database, teacher, QStringLiteral("UPDATE reaktikum.journal SET grade = 5")),
        insufficientPrivilege);
}

// A student who learns another computer's journal id and sends rows under it first hides
// nothing: the rows are kept by login, and a row that disagrees with one its own login already
// stored is kept apart for the teacher.
TEST_F(ServerSecurityTest, NoLoginCanHideAnotherComputersRows) {
    // The real journal, written while the server was out of reach.
    ServerSettings unreachable = server->settings(database);
    unreachable.port = server->port() == 65000 ? 65001 : 65000;
    auto offline = computer(QStringLiteral("pc-01"), unreachable);
    gradeLesson(*offline, QStringLiteral("Иванова А.Б."), 3);
    offline.reset();
    LocalJournal file(dir.filePath(QStringLiteral("pc-01.sqlite")));
    ASSERT_TRUE(file.open());
    const QString journalId = file.journalId();
    ASSERT_FALSE(journalId.isEmpty());

    // Squatters: another computer's login under all four ids, and one under this computer's
    // own login (its password is on every student's computer) under id 2.
    for (int id = 1; id <= 4; ++id)
        ASSERT_EQ(server->execAs(database, PostgresServer::secondComputerUser(),
                                 insertRow(QStringLiteral("pc-01"), journalId, id, 2)),
                  QString());
    ASSERT_EQ(server->execAs(database, PostgresServer::computerUser(),
                             insertRow(QStringLiteral("pc-01"), journalId, 2, 2)),
              QString());

    auto pc = computer(QStringLiteral("pc-01"));
    ASSERT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    // Every real row is on the server: three beside the squatter's, the fourth apart.
    EXPECT_EQ(serverCount(QStringLiteral("WHERE sender = 'pc01' AND sitting <> 'forged'")), 3);
    EXPECT_EQ(serverCount(QStringLiteral("WHERE sender = 'pc02'")), 4);
    EXPECT_EQ(
        server
            ->scalar(database, QStringLiteral("SELECT count(*) FROM reaktikum.journal_conflicts c "
                                              "JOIN reaktikum.journal j ON j.id = c.conflicts_with "
                                              "WHERE c.local_id = 2 AND c.sender = 'pc01' AND "
                                              "c.student_surname = 'Иванова А.Б.' AND "
                                              "j.sitting = 'forged'"))
            .toInt(),
        1);

    // Sending again adds neither rows nor conflicts.
    pc.reset();
    {
        LocalJournal again(dir.filePath(QStringLiteral("pc-01.sqlite")));
        ASSERT_TRUE(again.open());
        ASSERT_TRUE(again.setSentThrough(0));
    }
    pc = computer(QStringLiteral("pc-01"));
    ASSERT_TRUE(pc->server()->waitUntilSent(20000));
    EXPECT_EQ(serverCount(), 3 + 1 + 4);
    EXPECT_EQ(server
                  ->scalar(database, QStringLiteral("SELECT count(*) FROM "
                                                    "reaktikum.journal_conflicts"))
                  .toInt(),
              1);

    // The teacher is told that something disagrees.
    JournalWindow window(pc.get());
    loginAsTeacher(window, PostgresServer::teacherUser(),
                   PostgresServer::passwordOf(PostgresServer::teacherUser()));
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("reaktikum.journal_conflicts")))
        << window.faultLine->text().toStdString();
}

// Tables made by the program before the administrator's script: public.journal of the
// earliest layout (keyed by computer and local id) and of the layout with journal ids.
TEST_F(ServerSecurityTest, TheScriptMovesEarlierTablesAndCanRunAgain) {
    server->adminExec(
        QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE "
                       "rolname = 'oldclass') THEN CREATE ROLE oldclass LOGIN; END "
                       "IF; END $$"));
    const QString earliestColumns = QStringLiteral(
        "id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY, computer text NOT NULL, %1 "
        "local_id integer NOT NULL, recorded_at timestamptz NOT NULL, sitting text NOT NULL, "
        "student_group text NOT NULL, student_surname text NOT NULL, variant integer, "
        "experiment integer, grade real, event text NOT NULL, received_at timestamptz NOT NULL "
        "DEFAULT now()");
    struct Layout {
        QString columns;
        QString insertedId;
        QString expectedId;
    };
    const Layout layouts[] = {
        {earliestColumns.arg(QString()) + QStringLiteral(", UNIQUE (computer, local_id)"),
         QString(), QString()},
        {earliestColumns.arg(QStringLiteral("journal_id text NOT NULL DEFAULT '',")) +
             QStringLiteral(", UNIQUE (computer, journal_id, local_id)"),
         QStringLiteral("'j-7', "), QStringLiteral("j-7")},
    };
    int serial = 0;
    for (const Layout& layout : layouts) {
        const QString old = database + QStringLiteral("_old%1").arg(++serial);
        ASSERT_TRUE(server->createDatabase(old, false));
        ASSERT_TRUE(server->adminExec(
            QStringLiteral("CREATE TABLE journal (%1); ALTER TABLE journal OWNER TO oldclass; "
                           "INSERT INTO journal (computer, %2 local_id, recorded_at, sitting, "
                           "student_group, student_surname, variant, experiment, grade, event, "
                           "received_at) VALUES ('pc-10', %3 1, '2026-09-01T08:00:00Z', 'old', "
                           "'КРЛ-99-1', 'Сумин Г.Д.', 2, 1, 4.5, 'graded', "
                           "'2026-09-01T08:00:01Z')")
                .arg(layout.columns,
                     layout.insertedId.isEmpty() ? QString() : QStringLiteral("journal_id,"),
                     layout.insertedId),
            old));
        for (int run = 0; run < 2; ++run) {
            ASSERT_TRUE(server->runSetup(old)) << server->error().toStdString();
            EXPECT_EQ(server
                          ->scalar(old, QStringLiteral(
                                            "SELECT string_agg(concat_ws('|', sender, computer, "
                                            "journal_id, local_id, grade, received_at AT TIME "
                                            "ZONE 'UTC'), ',') FROM reaktikum.journal"))
                          .toString(),
                      QStringLiteral("oldclass|pc-10|%1|1|4.5|2026-09-01 08:00:01")
                          .arg(layout.expectedId));
            EXPECT_EQ(server
                          ->scalar(old, QStringLiteral("SELECT count(*) FROM "
                                                       "public.journal_before_setup"))
                          .toInt(),
                      1);
        }
        // The computers send from then on, beside the moved rows.
        auto pc = computer(QStringLiteral("pc-10"), server->settings(old));
        gradeLesson(*pc, QStringLiteral("Иванова А.Б."), 1);
        ASSERT_TRUE(pc->server()->waitUntilSent(20000))
            << pc->server()->status().fault.toStdString();
        EXPECT_EQ(
            server->scalar(old, QStringLiteral("SELECT count(*) FROM reaktikum.journal")).toInt(),
            3);
    }
}

TEST_F(ServerSecurityTest, AServerProvedByItsCertificateIsUsedWithVerifyFull) {
    ServerSettings verified = server->settings(database);
    verified.sslMode = QStringLiteral("verify-full");
    verified.sslRootCert = server->certificatePath();
    auto pc = computer(QStringLiteral("pc-13"), verified);
    gradeLesson(*pc, QStringLiteral("Ларцев О.Е."), 2);
    ASSERT_TRUE(pc->server()->waitUntilSent(20000)) << pc->server()->status().fault.toStdString();
    EXPECT_EQ(serverCount(), 3);
    // The link keeps its connection, and it is encrypted.
    EXPECT_GE(server
                  ->scalar(database, QStringLiteral("SELECT count(*) FROM pg_stat_ssl s JOIN "
                                                    "pg_stat_activity a USING (pid) WHERE "
                                                    "a.usename = 'pc01' AND s.ssl"))
                  .toInt(),
              1);

    // Another server's certificate proves nothing: the rows wait, the teacher is told.
    ServerSettings stranger = verified;
    stranger.sslRootCert = server->strangerCertificatePath();
    auto misled = computer(QStringLiteral("pc-14"), stranger);
    gradeLesson(*misled, QStringLiteral("Сумин Г.Д."), 1);
    EXPECT_FALSE(misled->server()->waitUntilSent(3000));
    EXPECT_TRUE(
        misled->server()->status().fault.contains(QStringLiteral("не подтвердил свою подлинность")))
        << misled->server()->status().fault.toStdString();
    EXPECT_EQ(serverCount(QStringLiteral("WHERE computer = 'pc-14'")), 0);
}

TEST_F(ServerSecurityTest, AServerThatAsksForThePasswordInClearNeverGetsIt) {
    MessageRecorder boxes;
    struct Case {
        RogueServer::Request request;
        QString sslMode;
        QString told;
    };
    // As set up (TLS required), and as an administrator might weaken it: the password
    // exchange must still be bound to TLS.
    const Case cases[] = {
        {RogueServer::Request::ClearText, QStringLiteral("require"),
         QStringLiteral("не предложил защищённое соединение")},
        {RogueServer::Request::ClearText, QStringLiteral("disable"),
         QStringLiteral("без защиты SCRAM")},
        {RogueServer::Request::Md5, QStringLiteral("prefer"), QStringLiteral("без защиты SCRAM")},
    };
    int serial = 0;
    for (const Case& c : cases) {
        RogueServer rogue(c.request);
        ASSERT_GT(rogue.port(), 0);
        ServerSettings settings = server->settings(database);
        settings.port = rogue.port();
        settings.sslMode = c.sslMode;
        auto pc = computer(QStringLiteral("pc-2%1").arg(++serial), settings);
        gradeLesson(*pc, QStringLiteral("Ларцев О.Е."), 1);
        EXPECT_FALSE(pc->server()->waitUntilSent(2000));
        EXPECT_GE(rogue.connections(), 1);
        EXPECT_FALSE(rogue.received().contains(settings.password.toUtf8()))
            << c.sslMode.toStdString();
        // No password message ('p') of any kind was sent.
        EXPECT_FALSE(rogue.received().startsWith('p')) << c.sslMode.toStdString();
        const QString fault = pc->server()->status().fault;
        EXPECT_TRUE(fault.contains(c.told)) << fault.toStdString();

        // Told in the teacher's view, and never in a box in front of the student.
        JournalWindow window(pc.get());
        window.reload();
        EXPECT_TRUE(window.faultLine->text().contains(c.told));
        pc.reset();
    }
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(QLatin1Char('\n')).toStdString();
}

// How far the server's certificate is checked comes from the settings file; left out, TLS is
// still required.
TEST(ServerSettingsTest, TheSettingsFileSaysHowTheServerIsChecked) {
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("reaktikum.ini"));
    const auto write = [&ini](const QByteArray& text) {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    write(
        "[ClassJournal]\nhost=192.168.1.10\ndatabase=reaktikum\nuser=pc01\n"
        "password=a password for pc01\nsslmode=verify-full\n"
        "sslrootcert=/etc/reaktikum/server.crt\n");
    const auto fromFile = [&ini] {
        SettingsFiles files;
        files.besideProgram = ini;
        return readServerSettings(LabSettings(files));
    };
    ServerSettings s = fromFile();
    EXPECT_TRUE(s.isSetUp());
    EXPECT_EQ(s.port, 5432);
    EXPECT_EQ(s.user, QStringLiteral("pc01"));
    EXPECT_EQ(s.sslMode, QStringLiteral("verify-full"));
    EXPECT_EQ(s.sslRootCert, QStringLiteral("/etc/reaktikum/server.crt"));

    write("[ClassJournal]\nhost=192.168.1.10\ndatabase=reaktikum\nuser=pc01\nsslmode=\n");
    s = fromFile();
    EXPECT_EQ(s.sslMode, QStringLiteral("require"));
    EXPECT_TRUE(s.sslRootCert.isEmpty());
}

}  // namespace
