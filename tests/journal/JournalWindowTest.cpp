// The teacher's view: one row per sitting, newest first, filters, the export read back as a
// spreadsheet program reads it, and the way in through the results window's password.

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>

#include "QtPrinting.h"
#include "TestSupport.h"
#include "journal/ClassJournal.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"
#include "lab/Session.h"
#include "students/PasswordWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/FilteredEdit.h"

namespace {

class JournalWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        journal = std::make_unique<ClassJournal>(journalFilePath(), ServerSettings{},
                                                 QStringLiteral("pc-21"));
    }
    void TearDown() override {
        journal.reset();
        LabTest::TearDown();
    }

    // A lesson as the journal would hold it, with fixed times.
    void writeLesson() {
        struct Row {
            const char* at;
            const char* computer;
            const char* sitting;
            const char* group;
            const char* surname;
            int variant, experiment;
            double grade;
            JournalEventKind kind;
        };
        const Row rows[] = {
            {"2024-03-01T07:00:00Z", "pc-21", "a", "КРЛ-99-1", "Ларцев О.Е.", 2, 0, 0,
             JournalEventKind::Registered},
            {"2024-03-01T07:20:00Z", "pc-21", "a", "КРЛ-99-1", "Ларцев О.Е.", 2, 1, 4.5,
             JournalEventKind::Graded},
            {"2024-03-01T07:40:00Z", "pc-21", "a", "КРЛ-99-1", "Ларцев О.Е.", 2, 1, 3.5,
             JournalEventKind::Graded},
            {"2024-03-01T07:50:00Z", "pc-21", "a", "КРЛ-99-1", "Ларцев О.Е.", 2, 3, 4.3,
             JournalEventKind::Graded},
            {"2024-03-02T09:00:00Z", "pc-22", "b", "КРЛ-99-2", "Сумин Г.Д.", 5, 0, 0,
             JournalEventKind::Registered},
            {"2024-03-02T09:30:00Z", "pc-22", "b", "КРЛ-99-2", "Сумин Г.Д.", 5, 2, 5,
             JournalEventKind::Graded},
            {"2024-03-03T10:00:00Z", "pc-21", "c", "КРЛ-99-1", "Иванова; \"А.Б.\"", 1, 0, 0,
             JournalEventKind::Registered},
        };
        JournalEvents events;
        for (const Row& r : rows) {
            JournalEvent e;
            e.recordedAt = QDateTime::fromString(QString::fromLatin1(r.at), Qt::ISODate);
            e.computer = QString::fromUtf8(r.computer);
            e.sitting = QString::fromUtf8(r.sitting);
            e.group = QString::fromUtf8(r.group);
            e.surname = QString::fromUtf8(r.surname);
            e.variant = r.variant;
            e.experiment = r.experiment;
            if (r.kind == JournalEventKind::Graded) e.grade = float(r.grade);
            e.kind = r.kind;
            events.append(e);
        }
        ASSERT_TRUE(journal->local().append(events));
    }

    std::unique_ptr<ClassJournal> journal;
};

QStringList rowTexts(const QTableWidget* table, int row) {
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << (table->item(row, c) ? table->item(row, c)->text() : QString());
    return cells;
}

// Splits one line of the export as a spreadsheet program does: ';' between fields, quoted
// fields with doubled quotes.
QStringList splitCsvLine(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

TEST_F(JournalWindowTest, OneRowPerSittingNewestFirstWithTheLastGrades) {
    writeLesson();
    JournalWindow window(journal.get());
    window.reload();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Журнал класса"));
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("этого компьютера")));
    EXPECT_TRUE(window.faultLine->text().isEmpty());
    ASSERT_EQ(window.table->rowCount(), 3);
    EXPECT_EQ(rowTexts(window.table, 0).mid(1, 4),
              (QStringList{"pc-21", "КРЛ-99-1", "Иванова; \"А.Б.\"", "1"}));
    // The later grade of experiment 1 replaces the earlier one; 4.3 reads as the results window
    // shows it; the total is the mean of four, 0 for none, to the nearest tenth.
    const QStringList first = rowTexts(window.table, 2);
    EXPECT_EQ(first.mid(1), (QStringList{"pc-21", "КРЛ-99-1", "Ларцев О.Е.", "2", "3,5", "",
                                         "4,30000019073486", "", "2"}));
    EXPECT_EQ(first[0], QDateTime(QDate(2024, 3, 1), QTime(7, 0), Qt::UTC)
                            .toLocalTime()
                            .toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    EXPECT_EQ(rowTexts(window.table, 1).value(9), QStringLiteral("1,3"));
}

TEST_F(JournalWindowTest, FiltersByGroupDateAndComputer) {
    writeLesson();
    JournalWindow window(journal.get());
    window.reload();
    ASSERT_EQ(window.groupFilter->count(), 3);  // all, КРЛ-99-1, КРЛ-99-2
    window.groupFilter->setCurrentText(QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(window.table->rowCount(), 2);
    window.computerFilter->setCurrentText(QStringLiteral("pc-22"));
    EXPECT_EQ(window.table->rowCount(), 0);
    window.groupFilter->setCurrentIndex(0);
    ASSERT_EQ(window.table->rowCount(), 1);
    EXPECT_EQ(window.table->item(0, 3)->text(), QStringLiteral("Сумин Г.Д."));
    window.computerFilter->setCurrentIndex(0);

    const QDate second = QDateTime(QDate(2024, 3, 2), QTime(9, 0), Qt::UTC).toLocalTime().date();
    window.fromDate->setDate(second);
    window.toDate->setDate(second);
    ASSERT_EQ(window.table->rowCount(), 1);
    EXPECT_EQ(window.shownRows()[0].surname, QStringLiteral("Сумин Г.Д."));
    window.toDate->setDate(window.toDate->minimumDate());  // the dash: no end
    EXPECT_EQ(window.table->rowCount(), 2);
    // Reading again keeps the choices.
    window.reload();
    EXPECT_EQ(window.table->rowCount(), 2);
}

TEST_F(JournalWindowTest, TheExportReadsBackAsTheRowsShown) {
    writeLesson();
    JournalWindow window(journal.get());
    window.reload();
    window.groupFilter->setCurrentText(QStringLiteral("КРЛ-99-1"));
    const QString file = tree->path(QStringLiteral("журнал.csv"));
    window.askExportPath = [&] { return file; };
    window.exportButton->click();

    QFile csv(file);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + window.table->rowCount());
    EXPECT_EQ(splitCsvLine(lines[0]),
              (QStringList{"Дата и время", "Компьютер", "Группа", "Фамилия", "Вариант", "Опыт 1",
                           "Опыт 2", "Опыт 3", "Опыт 4", "Итого"}));
    for (int r = 0; r < window.table->rowCount(); ++r)
        EXPECT_EQ(splitCsvLine(lines[r + 1]), rowTexts(window.table, r)) << r;
    EXPECT_TRUE(lines[2].contains(QStringLiteral(";3,5;;4,30000019073486;;2")));

    // Cancelling the dialog writes nothing.
    QFile::remove(file);
    window.askExportPath = [] { return QString(); };
    window.exportButton->click();
    EXPECT_FALSE(QFile::exists(file));
    // A folder that cannot take the file: said in the window, no box.
    EXPECT_FALSE(window.exportTo(tree->path(QStringLiteral("no-such-folder/журнал.csv"))));
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("Не удалось сохранить")));
    EXPECT_TRUE(messages->texts().isEmpty());
}

// A spreadsheet program reads the export with the Cyrillic and the decimal commas intact.
TEST_F(JournalWindowTest, LibreOfficeReadsTheExport) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    writeLesson();
    JournalWindow window(journal.get());
    window.reload();
    const QString file = tree->path(QStringLiteral("class.csv"));
    ASSERT_TRUE(window.exportTo(file));
    // Read as a Russian spreadsheet (';', UTF-8, comma decimals) and written back as plain
    // text with ',' so the test can see the cells LibreOffice made of it.
    QProcess convert;
    convert.setProcessChannelMode(QProcess::MergedChannels);
    const QString profile = QStringLiteral("-env:UserInstallation=file://") + tree->dir() +
                            QStringLiteral("/lo-profile");
    convert.start(
        office, {profile, QStringLiteral("--headless"),
                 QStringLiteral("--infilter=CSV:59,34,76,1,,1049"), QStringLiteral("--convert-to"),
                 QStringLiteral("xlsx"), QStringLiteral("--outdir"), tree->dir(), file});
    ASSERT_TRUE(convert.waitForFinished(120000));
    const QString xlsx = tree->path(QStringLiteral("class.xlsx"));
    // An installed LibreOffice that cannot read the export is a fault, not a reason to skip.
    ASSERT_TRUE(QFile::exists(xlsx)) << convert.readAll().toStdString();
    QProcess back;
    back.start(office, {profile, QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                        QStringLiteral("csv:Text - txt - csv (StarCalc):124,34,76,1"),
                        QStringLiteral("--outdir"), tree->path(QStringLiteral("out")), xlsx});
    ASSERT_TRUE(back.waitForFinished(120000));
    QFile out(tree->path(QStringLiteral("out/class.csv")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    // Text cells come back quoted, numbers bare.
    const QStringList lines =
        QString::fromUtf8(out.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(
        QStringLiteral("\"Дата и время\"|\"Компьютер\"|\"Группа\"|\"Фамилия\"")))
        << lines[0].toStdString();
    // Grades came back as numbers: 3,5 read as three and a half, not as text.
    EXPECT_TRUE(lines[3].contains(
        QStringLiteral("|\"КРЛ-99-1\"|\"Ларцев О.Е.\"|2|3.5||4.30000019073486||2")))
        << lines[3].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\"Иванова; \"\"А.Б.\"\"\"")))
        << lines[1].toStdString();
}

TEST_F(JournalWindowTest, TheJournalButtonOpensTheViewOnlyWithThePassword) {
    createWindows();
    ResultsWindow* results = lab->window<ResultsWindow>();
    EXPECT_EQ(results->journalButton->text(), QStringLiteral("Журнал"));
    EXPECT_TRUE(results->rect().contains(results->journalButton->geometry()));
    int opened = 0;
    results->showJournalWindow = [&] { ++opened; };

    // Wrong password: the window stays shut.
    bool asked = false;
    results->askPassword = [&] {
        asked = true;
        return false;
    };
    results->journalButton->click();
    EXPECT_TRUE(asked);
    EXPECT_EQ(opened, 0);

    // The right one opens it once.
    PasswordWindow* password = lab->window<PasswordWindow>();
    results->askPassword = [password] { return password->ask(); };
    LabWindow::setModalHook([password](LabWindow&) {
        password->passwordEdit->setText(QStringLiteral("[pkxn"));
        password->onOkClicked();
    });
    results->journalButton->click();
    EXPECT_EQ(opened, 1);
}

TEST_F(JournalWindowTest, TheProgramRecordsIntoItsJournalAndShowsIt) {
    createWindows();
    ASSERT_NE(lab->classJournal(), nullptr);
    ASSERT_TRUE(
        session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е.")));
    session().recordGrade(3, 5);
    JournalWindow* window = lab->window<JournalWindow>();
    window->reload();
    ASSERT_EQ(window->shownRows().size(), 1);
    EXPECT_EQ(window->shownRows()[0].grades[2], 5.0f);
    EXPECT_TRUE(QFile::exists(tree->path(QStringLiteral("journal.sqlite"))));
}

}  // namespace
