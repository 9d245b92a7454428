#pragma once

// What the server test programs share: one PostgreSQL server per program, started before the
// first case and stopped after the last (also when cases fail), a fresh database set up with
// setup.sql for each case, and computers whose journals send to it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <optional>

#include "PostgresServer.h"
#include "journal/ClassJournal.h"
#include "journal/JournalWindow.h"

inline PostgresServer* server = nullptr;

class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override { server = new PostgresServer; }
    void TearDown() override {
        delete server;
        server = nullptr;
    }
};

class ServerFixture : public ::testing::Test {
protected:
    // Short retries so a test need not wait the half minute a classroom waits.
    static constexpr int testRetryMs = 150;

    void SetUp() override {
        ASSERT_TRUE(server && server->error().isEmpty()) << server->error().toStdString();
        ASSERT_TRUE(server->start()) << server->error().toStdString();
        static int databaseSerial = 0;
        database = QStringLiteral("lesson%1").arg(++databaseSerial);
        ASSERT_TRUE(server->createDatabase(database, setUpDatabase))
            << server->error().toStdString();
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
        return server
            ->scalar(database, QStringLiteral("SELECT count(*) FROM reaktikum.journal ") + where)
            .toLongLong();
    }
    // Rows whose (sender, computer, journal, local id) occur more than once: none may.
    qint64 serverDuplicates() {
        return server
            ->scalar(database, QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM "
                                              "reaktikum.journal GROUP BY sender, computer, "
                                              "journal_id, local_id HAVING count(*) > 1) d"))
            .toLongLong();
    }

    // Logs the teacher in to the view and waits for the rows.
    static void loginAsTeacher(JournalWindow& window, const QString& user,
                               const QString& password) {
        window.teacherLogin->setText(user);
        window.teacherPassword->setText(password);
        window.loginButton->click();
        waitLoaded(window);
    }
    static void waitLoaded(JournalWindow& window) {
        QElapsedTimer waited;
        waited.start();
        while (window.isLoading() && waited.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    bool setUpDatabase = true;
    QTemporaryDir dir;
    QString database;
};

inline void gradeLesson(ClassJournal& journal, const QString& surname, int grades) {
    QString sitting;
    journal.registered(sitting, QStringLiteral("КРЛ-99-1"), surname, 3);
    for (int i = 0; i < grades; ++i)
        journal.graded(sitting, QStringLiteral("КРЛ-99-1"), surname, 3, 1 + i % 4,
                       2.5 + (i % 6) * 0.5);
}
