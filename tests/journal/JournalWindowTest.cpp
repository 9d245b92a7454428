// The teacher's view: one row per sitting, newest first, filters, the export read back as a
// spreadsheet program reads it, and the way in through the results window's password.

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTableView>

#include "QtPrinting.h"
#include "TableCells.h"
#include "TestSupport.h"
#include "journal/ClassJournal.h"
#include "journal/EvidenceTable.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"
#include "journal/MoodleExport.h"
#include "journal/SharedMistakes.h"
#include "journal/StudentGrades.h"
#include "lab/CatalystGrading.h"
#include "lab/EquilibriumAnswers.h"
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

// The cells of a row the export shares; the view adds the column of shared mistakes.
QStringList rowTexts(const QTableView* table, int row) {
    QStringList cells;
    for (int c = 0; c < sittingColumnTitles().size(); ++c) cells << cellText(table, row, c);
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

// A file read by the rules Moodle's gradebook import follows (RFC 4180): ',' between fields,
// a field in double quotes may hold commas, quotes (doubled) and line breaks, records end with
// CRLF. Fails the test on a quote that stands inside an unquoted field.
QList<QStringList> readRfc4180(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false, wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            EXPECT_TRUE(field.isEmpty() && !wasQuoted) << "a stray quote at " << i;
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                   text[i + 1] == QLatin1Char('\n')) {
            record << field;
            records << record;
            record.clear();
            field.clear();
            wasQuoted = false;
            ++i;
        } else {
            EXPECT_FALSE(wasQuoted) << "text after a closing quote at " << i;
            field += c;
        }
    }
    EXPECT_FALSE(quoted) << "an unclosed quote";
    EXPECT_TRUE(field.isEmpty() && record.isEmpty()) << "the last record has no CRLF";
    return records;
}

// What a spreadsheet program shows of a cell the export kept as text: the apostrophe that
// marks a formula-like start is not part of the value.
QString shownCell(const QString& cell) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (cell.size() > 1 && cell[0] == QLatin1Char('\'') && formulaStarts.contains(cell[1]))
        return cell.mid(1);
    return cell;
}

TEST_F(JournalWindowTest, OneRowPerSittingNewestFirstWithTheLastGrades) {
    writeLesson();
    JournalWindow window(journal.get());
    window.reload();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Журнал класса"));
    EXPECT_TRUE(window.sourceLine->text().contains(QStringLiteral("этого компьютера")));
    EXPECT_TRUE(window.faultLine->text().isEmpty());
    ASSERT_EQ(rowCountOf(window.table), 3);
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
    EXPECT_EQ(rowCountOf(window.table), 2);
    window.computerFilter->setCurrentText(QStringLiteral("pc-22"));
    EXPECT_EQ(rowCountOf(window.table), 0);
    window.groupFilter->setCurrentIndex(0);
    ASSERT_EQ(rowCountOf(window.table), 1);
    EXPECT_EQ(cellText(window.table, 0, 3), QStringLiteral("Сумин Г.Д."));
    window.computerFilter->setCurrentIndex(0);

    const QDate second = QDateTime(QDate(2024, 3, 2), QTime(9, 0), Qt::UTC).toLocalTime().date();
    window.fromDate->setDate(second);
    window.toDate->setDate(second);
    ASSERT_EQ(rowCountOf(window.table), 1);
    EXPECT_EQ(window.shownRows()[0].surname, QStringLiteral("Сумин Г.Д."));
    window.toDate->setDate(window.toDate->minimumDate());  // the dash: no end
    EXPECT_EQ(rowCountOf(window.table), 2);
    // Reading again keeps the choices.
    window.reload();
    EXPECT_EQ(rowCountOf(window.table), 2);
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
    ASSERT_EQ(lines.size(), 1 + rowCountOf(window.table));
    EXPECT_EQ(splitCsvLine(lines[0]),
              (QStringList{"Дата и время", "Компьютер", "Группа", "Фамилия", "Вариант", "Опыт 1",
                           "Опыт 2", "Опыт 3", "Опыт 4", "Итого"}));
    for (int r = 0; r < rowCountOf(window.table); ++r)
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

// A student who types a formula as his name does not put a live formula into the teacher's
// spreadsheet: such cells, in both exports, start with an apostrophe, and the table still reads
// back.
TEST_F(JournalWindowTest, CellsThatReadAsFormulasAreKeptAsText) {
    const QStringList surnames = {
        QStringLiteral("=HYPERLINK(\"http://example.org\";\"Жми\")"),
        QStringLiteral("+79001234567"),
        QStringLiteral("-Минусов"),
        QStringLiteral("@Собакин"),
        QStringLiteral("\tТабов"),
        QStringLiteral("\rВозвратов"),
        QStringLiteral("Обычный-Дефис"),
    };
    JournalEvents events;
    for (qsizetype i = 0; i < surnames.size(); ++i) {
        JournalEvent e;
        e.recordedAt = QDateTime(QDate(2024, 3, 1), QTime(7, int(i)), Qt::UTC);
        e.computer = QStringLiteral("pc-21");
        e.sitting = QStringLiteral("f%1").arg(i);
        e.group = i == 0 ? QStringLiteral("=1+2") : QStringLiteral("КРЛ-99-1");
        e.surname = surnames[i];
        e.kind = JournalEventKind::Graded;
        e.experiment = 2;
        e.grade = 4;
        events << e;
    }
    ASSERT_TRUE(journal->local().append(events));
    JournalWindow window(journal.get());
    window.reload();
    ASSERT_EQ(rowCountOf(window.table), surnames.size());

    const QString file = tree->path(QStringLiteral("журнал.csv"));
    ASSERT_TRUE(window.exportTo(file));
    const QByteArray bytes = tree->read(QStringLiteral("журнал.csv"));
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + rowCountOf(window.table));
    for (int r = 0; r < rowCountOf(window.table); ++r) {
        const QStringList fields = splitCsvLine(lines[r + 1]);
        QStringList shown;
        for (const QString& field : fields) {
            // No field starts as a formula would.
            EXPECT_FALSE(!field.isEmpty() && QStringLiteral("=+-@\t\r").contains(field[0]))
                << r << ": " << field.toStdString();
            shown << shownCell(field);
        }
        EXPECT_EQ(shown, rowTexts(window.table, r)) << r;
    }
    EXPECT_TRUE(lines.join(QString()).contains(QStringLiteral(";'=1+2;\"'=HYPERLINK(")));
    EXPECT_TRUE(lines.join(QString()).contains(QStringLiteral(";Обычный-Дефис;")));

    const QString moodle = tree->path(QStringLiteral("moodle.csv"));
    ASSERT_TRUE(window.exportMoodleTo(moodle));
    const QList<QStringList> records =
        readRfc4180(QString::fromUtf8(tree->read(QStringLiteral("moodle.csv"))));
    ASSERT_EQ(records.size(), 1 + surnames.size());
    QStringList identifiers;
    for (qsizetype r = 1; r < records.size(); ++r) identifiers << records[r].value(0);
    for (const QString& surname : surnames) {
        const QString expected =
            surname == QStringLiteral("Обычный-Дефис") ? surname : QLatin1Char('\'') + surname;
        EXPECT_TRUE(identifiers.contains(expected)) << expected.toStdString();
    }
}

// Moodle's gradebook import reads the file: UTF-8 without a byte-order mark, a header row, one
// identifier, the four experiments and the total, the feedback; the README maps the same columns.
TEST_F(JournalWindowTest, TheMoodleFileReadsByMoodlesRules) {
    writeLesson();
    JournalWindow window(journal.get());
    window.reload();
    window.groupFilter->setCurrentText(QStringLiteral("КРЛ-99-1"));
    const QString file = tree->path(QStringLiteral("moodle.csv"));
    window.askMoodlePath = [&] { return file; };
    window.moodleButton->click();
    const QByteArray bytes = tree->read(QStringLiteral("moodle.csv"));
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    EXPECT_FALSE(utf8.hasError());
    const QList<QStringList> records = readRfc4180(text);
    const QStringList header = {"Ученик", "Опыт 1", "Опыт 2", "Опыт 3", "Опыт 4", "Итого", "Отзыв"};
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0], header);
    for (const QStringList& record : records) EXPECT_EQ(record.size(), header.size());
    // One row per student of the view, alphabetical; the decimal point; an empty cell for none.
    EXPECT_EQ(records[1], (QStringList{"Иванова; \"А.Б.\"", "", "", "", "", "0", ""}));
    EXPECT_EQ(records[2], (QStringList{"Ларцев О.Е.", "3.5", "", "4.3", "", "2", ""}));

    // The feedback is the evidence's sentences, one per graded experiment; quotes and commas
    // stay inside their field.
    SittingRow sitting;
    sitting.surname = QStringLiteral("Сумин, \"Г.Д.\"");
    sitting.grades = {4.5f, std::nullopt, 5.0f, std::nullopt};
    sitting.evidenceSummaries[0] =
        QStringLiteral("Скорость в пробирке 4 в допуске, концентрация ниже");
    sitting.evidenceSummaries[2] = QStringLiteral("Катализатор выбран с первой попытки.");
    const QList<QStringList> withFeedback =
        readRfc4180(QString::fromUtf8(moodleGradesCsv(gradesByStudent({sitting}))));
    ASSERT_EQ(withFeedback.size(), 2);
    EXPECT_EQ(withFeedback[1],
              (QStringList{"Сумин, \"Г.Д.\"", "4.5", "", "5", "", "2.4",
                           "Опыт 1: Скорость в пробирке 4 в допуске, концентрация ниже. "
                           "Опыт 3: Катализатор выбран с первой попытки."}));

    // The README tells how to map each of these columns in Moodle.
    QFile readme(QStringLiteral(LAB_TEST_DATA_DIR "/../../README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(readme.readAll());
    const qsizetype moodleSection = guide.indexOf(QStringLiteral("Экспорт для Moodle"));
    ASSERT_GE(moodleSection, 0);
    for (const QString& title : moodleColumnTitles())
        EXPECT_TRUE(guide.indexOf(QStringLiteral("«%1»").arg(title), moodleSection) > 0)
            << title.toStdString();
}

// A deletion belongs to the sitting it removes; one of a student this journal never saw makes
// no sitting up, and a sitting removed from the results window shows as removed in the table.
TEST_F(JournalWindowTest, DeletionsAreShownAsTheyHappened) {
    {
        // Another copy of the program registered this student; this journal never saw him.
        Session elsewhere;
        ASSERT_TRUE(
            elsewhere.registerStudent(QStringLiteral("КРЛ-99-3"), QStringLiteral("Чужой А.А.")));
    }
    setSessionJournal(journal.get());
    ASSERT_TRUE(results().load());
    ASSERT_TRUE(session().registerStudent(QStringLiteral("КРЛ-99-1"), QStringLiteral("Свой Б.Б.")));
    session().recordGrade(3, 5);
    ASSERT_EQ(results().count(), 2);
    ASSERT_TRUE(session().deleteStudent(1));  // Чужой
    ASSERT_TRUE(session().deleteStudent(1));  // Свой

    const JournalEvents events = journal->local().events();
    ASSERT_EQ(events.size(), 4);
    EXPECT_EQ(events[2].kind, JournalEventKind::Deleted);
    EXPECT_EQ(events[2].surname, QStringLiteral("Чужой А.А."));
    EXPECT_TRUE(events[2].sitting.isEmpty());
    EXPECT_EQ(events[3].sitting, events[0].sitting);

    // A journal kept by an earlier version made a sitting up for such a deletion: no row either.
    JournalEvent madeUp = events[2];
    madeUp.sitting = QStringLiteral("0b7e1c9e-made-up");
    madeUp.recordedAt = events[2].recordedAt.addSecs(1);
    JournalEvents later{madeUp};
    ASSERT_TRUE(journal->local().append(later));

    JournalWindow window(journal.get());
    window.reload();
    ASSERT_EQ(rowCountOf(window.table), 1);
    EXPECT_EQ(cellText(window.table, 0, 3), QStringLiteral("Свой Б.Б."));
    EXPECT_EQ(cellText(window.table, 0, 7), QStringLiteral("5"));
    for (int c = 0; c < window.table->model()->columnCount(); ++c) {
        EXPECT_TRUE(cellStruckOut(window.table, 0, c)) << c;
        EXPECT_EQ(cellToolTip(window.table, 0, c), QStringLiteral("Удалён из окна результатов"));
    }
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

// The evidence of experiment 4 for a student who typed these boxes first and then the right ones.
GradeEvidence constantEvidence(const QStringList& firstBoxes) {
    EquilibriumGrading grading;
    grading.chooseDirection(1, 0);
    grading.chooseDirection(2, 0);
    grading.chooseDirection(3, 1);
    grading.checkAnswerBoxes(firstBoxes);
    grading.checkAnswerBoxes({"в", "г", "а", "б", "3", "3"});
    return grading.evidence();
}

GradeEvidence catalystEvidence(bool wrongFirst) {
    CatalystGrading grading;
    if (wrongFirst) grading.chooseWrongOption();
    grading.chooseRightOption();
    return grading.evidence();
}

SittingRow gradedRow(const QString& group, const QString& surname, const GradeEvidence& e) {
    SittingRow row;
    row.group = group;
    row.surname = surname;
    row.grades[std::size_t(e.experiment - 1)] = float(e.grade);
    row.evidence[std::size_t(e.experiment - 1)] = e.toJson();
    return row;
}

// "Many" is at least three students and at least half of those of the group whose grade in
// the experiment carries evidence; a student who sat twice counts once.
TEST(SharedMistakes, ManyIsThreeStudentsAndHalfOfTheGroup) {
    const QString group = QStringLiteral("КРЛ-99-1");
    const auto students = [&](int wrong, int right) {
        QList<SittingRow> rows;
        for (int i = 0; i < wrong + right; ++i)
            rows << gradedRow(group, QStringLiteral("Ученик %1").arg(i),
                              catalystEvidence(i < wrong));
        return rows;
    };
    const auto marked = [](const QList<SittingRow>& rows) {
        int n = 0;
        for (const auto& found : findSharedMistakes(rows)) n += found.isEmpty() ? 0 : 1;
        return n;
    };
    EXPECT_EQ(marked(students(3, 0)), 3);
    EXPECT_EQ(marked(students(2, 0)), 0);  // fewer than three
    EXPECT_EQ(marked(students(3, 4)), 0);  // three of seven is less than half
    EXPECT_EQ(marked(students(4, 4)), 4);  // four of eight is half
    const QList<QList<SharedMistake>> found = findSharedMistakes(students(3, 3));
    ASSERT_EQ(found[0].size(), 1);
    EXPECT_EQ(found[0][0], (SharedMistake{3, "catalyst", "Как влияет катализатор",
                                          "выбрано «Катализатор замедляет реакцию»", 3, 6}));
    EXPECT_TRUE(found[5].isEmpty());

    // One student twice and one other: two students, not three.
    QList<SittingRow> twice = students(2, 0);
    twice << gradedRow(group, QStringLiteral("Ученик 0"), catalystEvidence(true));
    EXPECT_EQ(marked(twice), 0);
    // Other groups do not add up; grades without evidence neither count nor dilute.
    QList<SittingRow> mixed = students(3, 0);
    mixed << gradedRow(QStringLiteral("КРЛ-99-2"), QStringLiteral("Ученик 9"),
                       catalystEvidence(true));
    for (int i = 0; i < 5; ++i) {
        SittingRow old;
        old.group = group;
        old.surname = QStringLiteral("Старый %1").arg(i);
        old.grades[2] = 5.0f;
        mixed << old;
    }
    const QList<QList<SharedMistake>> mixedFound = findSharedMistakes(mixed);
    EXPECT_EQ(mixedFound[0].size(), 1);
    EXPECT_TRUE(mixedFound[3].isEmpty());
    // Different wrong boxes are different mistakes.
    const QList<SittingRow> boxes = {
        gradedRow(group, "А", constantEvidence({"б", "г", "а", "б", "3", "3"})),
        gradedRow(group, "Б", constantEvidence({"а", "г", "а", "б", "3", "3"})),
        gradedRow(group, "В", constantEvidence({"г", "г", "а", "б", "3", "3"})),
    };
    EXPECT_EQ(marked(boxes), 0);
}

TEST_F(JournalWindowTest, GradesSharingAMistakeWithManyOfTheGroupAreMarkedAndExplained) {
    // Group 1: three of four students first wrote "б" into box 1 of the constant; group 2: two
    // students did the same, too few to tell anything.
    const QStringList slipped = {"б", "г", "а", "б", "3", "3"};
    const struct {
        const char* group;
        const char* surname;
        bool slip;
    } students[] = {
        {"КРЛ-99-1", "Астахов А.", true}, {"КРЛ-99-1", "Белова Б.", true},
        {"КРЛ-99-1", "Волков В.", true},  {"КРЛ-99-1", "Громова Г.", false},
        {"КРЛ-99-2", "Данилов Д.", true}, {"КРЛ-99-2", "Егорова Е.", true},
    };
    JournalEvents events;
    int minute = 0;
    for (const auto& s : students) {
        const GradeEvidence e =
            constantEvidence(s.slip ? slipped : QStringList{"в", "г", "а", "б", "3", "3"});
        JournalEvent registered;
        registered.recordedAt = QDateTime(QDate(2024, 3, 1), QTime(8, minute++), Qt::UTC);
        registered.computer = QStringLiteral("pc-21");
        registered.sitting = QString::fromUtf8(s.surname);
        registered.group = QString::fromUtf8(s.group);
        registered.surname = QString::fromUtf8(s.surname);
        registered.variant = 1;
        JournalEvent graded = registered;
        graded.recordedAt = registered.recordedAt.addSecs(30);
        graded.kind = JournalEventKind::Graded;
        graded.experiment = 4;
        graded.grade = float(e.grade);
        graded.evidence = e.toJson();
        graded.evidenceSummary = e.summary;
        events << registered << graded;
    }
    ASSERT_TRUE(journal->local().append(events));

    JournalWindow window(journal.get());
    window.reload();
    ASSERT_EQ(rowCountOf(window.table), 6);
    const int mark = window.sharedMistakeColumn();
    EXPECT_EQ(headerText(window.table, mark), QStringLiteral("Частая ошибка"));
    // Newest first: Егорова, Данилов, Громова, Волков, Белова, Астахов.
    QStringList marks;
    for (int r = 0; r < 6; ++r) marks << cellText(window.table, r, mark);
    EXPECT_EQ(marks, (QStringList{"", "", "", "опыт 4", "опыт 4", "опыт 4"}));
    const QString why = QStringLiteral(
        "Опыт 4, «Константа равновесия» — поле 1 — «б»: так ошиблись 3 из 4 учеников группы");
    EXPECT_EQ(cellToolTip(window.table, 5, mark), why);

    // The teacher selects Астахов's grade: the sentence, the hint and the marked line.
    setCurrentCell(window.table, 5, JournalWindow::gradeColumn(4));
    EXPECT_EQ(window.evidenceTitle->text(),
              QStringLiteral("Астахов А., КРЛ-99-1 — опыт 4, оценка 4,5"));
    EXPECT_EQ(window.evidenceText->toPlainText(),
              constantEvidence(slipped).summary + QStringLiteral("\n") + why +
                  QStringLiteral(" — проверьте эталон или вопрос."));
    ASSERT_EQ(window.evidenceTable->rowCount(), 5);
    EXPECT_EQ(window.evidenceTable->rowTexts(3),
              (QStringList{"Константа равновесия, попытка 1", "б·г^3 / а·б^3", "в·г^3 / а·б^3",
                           "неверно (поля 1): за константу 4"}));
    EXPECT_EQ(window.evidenceTable->item(3, 0)->toolTip(), why);
    EXPECT_TRUE(window.evidenceTable->item(0, 0)->toolTip().isEmpty());
    // Громова's grade shares nothing.
    setCurrentCell(window.table, 2, JournalWindow::gradeColumn(4));
    EXPECT_FALSE(window.evidenceText->toPlainText().contains(QStringLiteral("проверьте")));

    // Filtering down to group 2 still judges each group by all of its rows.
    window.groupFilter->setCurrentIndex(window.groupFilter->findText(QStringLiteral("КРЛ-99-2")));
    ASSERT_EQ(rowCountOf(window.table), 2);
    EXPECT_TRUE(cellText(window.table, 0, mark).isEmpty());
    // The export keeps its columns.
    EXPECT_EQ(sittingsCsv(window.shownRows()).count("\r\n"), 3);
    EXPECT_FALSE(
        QString::fromUtf8(sittingsCsv(window.shownRows())).contains(QStringLiteral("Частая")));
}

}  // namespace
