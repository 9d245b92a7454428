// The papers a teacher files, read back from the PDF as a person or another program reads them:
// the protocol of one sitting and the class sheet of what the teacher's view shows, made from
// the view's buttons, to a file and to a printer; long sheets break pages between rows.

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

#include "PdfText.h"
#include "QtPrinting.h"
#include "TableCells.h"
#include "TestSupport.h"
#include "journal/ClassJournal.h"
#include "journal/ClassSheetPaper.h"
#include "journal/JournalSettings.h"
#include "journal/JournalWindow.h"
#include "journal/ProtocolPaper.h"
#include "journal/StudentGrades.h"

namespace {

struct Event {
    const char* at;
    const char* sitting;
    const char* group;
    const char* surname;
    JournalEventKind kind;
    int experiment = 0;
    double grade = 0;
    const char* evidence = "";
    const char* summary = "";
};

JournalEvents eventsOf(std::initializer_list<Event> list,
                       const QString& computer = QStringLiteral("pc-21")) {
    JournalEvents events;
    qint64 id = 0;
    for (const Event& r : list) {
        JournalEvent e;
        e.id = ++id;
        e.recordedAt = QDateTime::fromString(QString::fromLatin1(r.at), Qt::ISODate);
        e.computer = computer;
        e.sitting = QString::fromUtf8(r.sitting);
        e.group = QString::fromUtf8(r.group);
        e.surname = QString::fromUtf8(r.surname);
        e.variant = 2;
        e.kind = r.kind;
        e.experiment = r.experiment;
        if (r.kind == JournalEventKind::Graded) e.grade = float(r.grade);
        e.evidence = QString::fromUtf8(r.evidence);
        e.evidenceSummary = QString::fromUtf8(r.summary);
        events.append(e);
    }
    return events;
}

QString localTime(const char* utc, const char* format) {
    return QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate)
        .toLocalTime()
        .toString(QString::fromLatin1(format));
}

// What pdfinfo says of the file: "Pages", "Page size" and so on.
QString pdfInfo(const QString& path, const QString& field) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished(60000)) return {};
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
        if (line.startsWith(field + QLatin1Char(':'))) return line.mid(field.size() + 1).trimmed();
    return {};
}

// The pages on which text appears.
QList<int> pagesWith(const QStringList& pages, const QString& text) {
    QList<int> found;
    for (int p = 0; p < pages.size(); ++p)
        if (pages[p].contains(text)) found << p;
    return found;
}

QString lineWith(const QString& page, const QString& text) {
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (line.contains(text)) return squeezed(line).trimmed();
    return {};
}

// Runs the action of a paper button's menu ("Сохранить в PDF…" or "Печать…").
void choose(QPushButton* button, const QString& action) {
    ASSERT_NE(button->menu(), nullptr);
    for (QAction* a : button->menu()->actions())
        if (a->text() == action) return a->trigger();
    FAIL() << "no menu entry " << action.toStdString();
}

class PapersTest : public LabTest {
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
    std::unique_ptr<ClassJournal> journal;
};

// Evidence as the grading rules store it: the lines a person reads, and figures for programs.
const char* const experiment1Evidence = R"({"format": 1, "experiment": 1, "grade": 3.5,
  "summary": "Скорость в пробирке 4 ниже эталона",
  "items": [
    {"key": "tube4.concentration", "label": "Пробирка 4: концентрация C`", "entered": "0,4",
     "expected": "0,44", "counted": "5 баллов: в допуске", "verdict": "right",
     "counts": true},
    {"key": "tube4.rate", "label": "Пробирка 4: скорость V", "entered": "0,0286",
     "expected": "0,044", "counted": "2 балла: ниже эталона", "verdict": "wrong", "counts": true,
     "mistakes": ["ниже эталона"]}
  ],
  "data": {"tubes": [{"tube": 4, "referenceRate": 0.044}], "decidingTube": 4}})";

// Evidence of another form: shown as it comes, names and values.
const char* const otherEvidence = R"({
  "Пробирки": [
    {"Пробирка": 1, "C, моль/л": 0.1, "t, с": 417},
    {"Пробирка": 4, "C, моль/л": 0.4, "t, с": 133}
  ],
  "Решающая строка": 4,
  "Принято": false
})";

TEST_F(PapersTest, TheProtocolNamesTheSittingAndEachGradeWithItsReasons) {
    const QList<SittingRow> rows = summariseSittings(eventsOf({
        {"2024-03-01T07:05:00Z", "a", "КРЛ-99-1", "Ларцев Олег Евгеньевич",
         JournalEventKind::Registered},
        {"2024-03-01T07:20:00Z", "a", "КРЛ-99-1", "Ларцев Олег Евгеньевич",
         JournalEventKind::Graded, 1, 3.5, experiment1Evidence,
         "Скорость в пробирке 4 на 35 % ниже эталона, оценка снижена"},
        {"2024-03-01T07:40:00Z", "a", "КРЛ-99-1", "Ларцев Олег Евгеньевич",
         JournalEventKind::Graded, 3, 5, otherEvidence},
        // Recorded before evidence was kept.
        {"2024-03-01T07:50:00Z", "a", "КРЛ-99-1", "Ларцев Олег Евгеньевич",
         JournalEventKind::Graded, 4, 4.3},
    }));
    ASSERT_EQ(rows.size(), 1);
    const QString file = tree->path(QStringLiteral("protocol.pdf"));
    {
        QPdfWriter writer(file);
        ASSERT_TRUE(drawProtocol(writer, rows[0], QDateTime::currentDateTimeUtc()));
    }
    const QStringList pages = pdfPages(file);
    ASSERT_EQ(pages.size(), 1);
    const QString text = squeezed(pages[0]);
    const QStringList expectedTexts = {
        QStringLiteral("Протокол лабораторной работы"),
        QStringLiteral("Ученик: Ларцев Олег Евгеньевич"),
        QStringLiteral("Группа: КРЛ-99-1"),
        QStringLiteral("Дата и время: ") + localTime("2024-03-01T07:05:00Z", "dd.MM.yyyy HH:mm"),
        QStringLiteral("Компьютер: pc-21"),
        QStringLiteral("Вариант: 2"),
        QStringLiteral("Опыт 1. Влияние концентрации на скорость реакции"),
        QStringLiteral("Оценка: 3,5"),
        QStringLiteral("Основание: Скорость в пробирке 4 на 35 %"),
        QStringLiteral("Что Ученик ввёл Ожидалось Засчитано"),
        QStringLiteral("Опыт 2. Влияние температуры на скорость реакции"),
        QStringLiteral("Оценка: нет (опыт не выполнен)."),
        QStringLiteral("Опыт 3. Влияние катализатора на скорость реакции"),
        QStringLiteral("Опыт 4. Смещение химического равновесия обратимой реакции"),
        QStringLiteral("Основание: нет сведений."),
        QStringLiteral("Итоговая оценка: 3,2"),
        QStringLiteral("Преподаватель"),
        QStringLiteral("(подпись)"),
        QStringLiteral("(фамилия и инициалы)"),
        QStringLiteral("Лист 1 из 1"),
    };
    for (const QString& expected : expectedTexts)
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    // Each line of the evidence: what was entered, what was expected, what it counted for.
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("скорость V")),
              QStringLiteral("Пробирка 4: скорость V 0,0286 0,044 2 балла: ниже эталона"));
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("концентрация C`")),
              QStringLiteral("Пробирка 4: концентрация C` 0,4 0,44 5 баллов: в допуске"));
    // Figures meant for programs stay off the paper.
    EXPECT_FALSE(text.contains(QStringLiteral("referenceRate")));
    EXPECT_FALSE(text.contains(QStringLiteral("tube4")));
    // Evidence of another form: its names and values, with the decimal comma.
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("t, с")),
              QStringLiteral("C, моль/л t, с Пробирка"));
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("133")), QStringLiteral("0,4 133 4"));
    EXPECT_TRUE(text.contains(QStringLiteral("Решающая строка 4")));
    EXPECT_TRUE(text.contains(QStringLiteral("Принято нет")));
    // The single-precision 4.3 as a person writes it.
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("Оценка: 4")), QStringLiteral("Оценка: 4,3"));
    EXPECT_TRUE(text.indexOf(QStringLiteral("Опыт 1.")) < text.indexOf(QStringLiteral("Опыт 2.")));
    // A filed paper: A4, and the laboratory's font embedded so it prints the same anywhere.
    EXPECT_TRUE(pdfInfo(file, QStringLiteral("Page size")).contains(QStringLiteral("(A4)")));
    QFile bytes(file);
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bytes.readAll().contains("LiberationSans"));
}

TEST_F(PapersTest, ALongProtocolRunsOnWithItsSignaturesOnTheLastPage) {
    QString tubes = QStringLiteral("{\"Замеры\": [");
    for (int i = 1; i <= 90; ++i)
        tubes += QStringLiteral("%1{\"Замер\": \"З%2\", \"t, с\": %3}")
                     .arg(i > 1 ? QStringLiteral(",") : QString())
                     .arg(i, 3, 10, QLatin1Char('0'))
                     .arg(i * 2);
    tubes += QStringLiteral("]}");
    const QByteArray evidence = tubes.toUtf8();
    const QList<SittingRow> rows = summariseSittings(eventsOf({
        {"2024-03-01T07:05:00Z", "a", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Registered},
        {"2024-03-01T07:20:00Z", "a", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Graded, 2, 5,
         evidence.constData(), "Все замеры в пределах допуска"},
    }));
    ASSERT_EQ(rows.size(), 1);
    const QString file = tree->path(QStringLiteral("long.pdf"));
    {
        QPdfWriter writer(file);
        ASSERT_TRUE(drawProtocol(writer, rows[0], QDateTime::currentDateTimeUtc()));
    }
    const QStringList pages = pdfPages(file);
    ASSERT_GE(pages.size(), 2);
    for (int p = 0; p < pages.size(); ++p)
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Лист %1 из %2").arg(p + 1).arg(pages.size())))
            << p;
    for (int i = 1; i <= 90; ++i) {
        const QString measure = QStringLiteral("З%1").arg(i, 3, 10, QLatin1Char('0'));
        const QList<int> on = pagesWith(pages, measure);
        ASSERT_EQ(on.size(), 1) << measure.toStdString();
        EXPECT_EQ(lineWith(pages[on[0]], measure), QStringLiteral("%1 %2").arg(i * 2).arg(measure))
            << measure.toStdString();
    }
    // The table's header comes again on the page it runs onto.
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Замер")));
    EXPECT_EQ(pagesWith(pages, QStringLiteral("(подпись)")), QList<int>{int(pages.size() - 1)});
}

TEST_F(PapersTest, TheViewMakesTheProtocolOfTheSelectedSitting) {
    JournalEvents lesson = eventsOf({
        {"2024-03-01T07:00:00Z", "a", "КРЛ-99-1", "Ларцев О.Е.", JournalEventKind::Registered},
        {"2024-03-01T07:20:00Z", "a", "КРЛ-99-1", "Ларцев О.Е.", JournalEventKind::Graded, 1, 4.5},
        {"2024-03-02T09:00:00Z", "b", "КРЛ-99-2", "Сумин Г.Д.", JournalEventKind::Registered},
        {"2024-03-02T09:30:00Z", "b", "КРЛ-99-2", "Сумин Г.Д.", JournalEventKind::Graded, 2, 5},
    });
    ASSERT_TRUE(journal->local().append(lesson));
    JournalWindow window(journal.get());
    window.reload();
    ASSERT_EQ(rowCountOf(window.table), 2);
    // Nothing selected: nothing to make a protocol of.
    EXPECT_FALSE(window.protocolButton->isEnabled());
    QString suggested;
    const QString file = tree->path(QStringLiteral("protocol.pdf"));
    window.askPdfPath = [&](const QString& name) {
        suggested = name;
        return file;
    };
    window.table->selectRow(1);  // the older sitting
    ASSERT_TRUE(window.protocolButton->isEnabled());
    choose(window.protocolButton, QStringLiteral("Сохранить в PDF…"));
    EXPECT_EQ(suggested, QStringLiteral("Протокол Ларцев О.Е. %1.pdf")
                             .arg(localTime("2024-03-01T07:00:00Z", "dd.MM.yyyy")));
    QString text = squeezed(pdfPages(file).join(QString()));
    EXPECT_TRUE(text.contains(QStringLiteral("Ученик: Ларцев О.Е.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Оценка: 4,5")));
    EXPECT_FALSE(text.contains(QStringLiteral("Сумин")));

    // The same paper on a printer: here one that prints into a file.
    const QString printed = tree->path(QStringLiteral("printed.pdf"));
    window.table->selectRow(0);
    window.askPrinter = [&](QPrinter& printer) {
        printer.setOutputFileName(printed);
        return true;
    };
    choose(window.protocolButton, QStringLiteral("Печать…"));
    text = squeezed(pdfPages(printed).join(QString()));
    EXPECT_TRUE(text.contains(QStringLiteral("Ученик: Сумин Г.Д.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Группа: КРЛ-99-2")));
    EXPECT_TRUE(pdfInfo(printed, QStringLiteral("Page size")).contains(QStringLiteral("(A4)")));

    // A cancelled dialog prints nothing; a folder that cannot take the file is said in the view.
    QFile::remove(printed);
    window.askPrinter = [](QPrinter&) { return false; };
    choose(window.protocolButton, QStringLiteral("Печать…"));
    EXPECT_FALSE(QFile::exists(printed));
    EXPECT_FALSE(window.saveProtocolTo(tree->path(QStringLiteral("no-such-folder/p.pdf"))));
    EXPECT_TRUE(window.faultLine->text().contains(QStringLiteral("Не удалось сохранить")));
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(PapersTest, TheClassSheetListsEachStudentOfTheViewOnceInAlphabeticalOrder) {
    JournalEvents lesson = eventsOf({
        // Sat twice: the later grade of each experiment counts.
        {"2024-03-01T10:00:00Z", "s1", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Registered},
        {"2024-03-01T10:10:00Z", "s1", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Graded, 1, 3},
        {"2024-03-01T10:20:00Z", "s1", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Graded, 3, 2.5},
        {"2024-03-05T10:00:00Z", "s2", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Registered},
        {"2024-03-05T10:10:00Z", "s2", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Graded, 1, 4.5},
        {"2024-03-05T10:20:00Z", "s2", "КРЛ-99-1", "Сумин Г.Д.", JournalEventKind::Graded, 2, 5},
        {"2024-03-02T10:00:00Z", "e", "КРЛ-99-1", "Ёлкина Е.Е.", JournalEventKind::Registered},
        {"2024-03-02T10:10:00Z", "e", "КРЛ-99-1", "Ёлкина Е.Е.", JournalEventKind::Graded, 4, 4},
        // Removed from the results window after his grades: he still counts.
        {"2024-03-03T10:00:00Z", "a", "КРЛ-99-1", "Андреев А.А.", JournalEventKind::Registered},
        {"2024-03-03T10:10:00Z", "a", "КРЛ-99-1", "Андреев А.А.", JournalEventKind::Graded, 2, 3.5},
        {"2024-03-03T11:00:00Z", "a", "КРЛ-99-1", "Андреев А.А.", JournalEventKind::DeletedAll},
        // A registration removed before any grade: a mistake, not a student.
        {"2024-03-03T10:01:00Z", "x", "КРЛ-99-1", "Ошибкин", JournalEventKind::Registered},
        {"2024-03-03T10:02:00Z", "x", "КРЛ-99-1", "Ошибкин", JournalEventKind::Deleted},
        // Another group: not in the view.
        {"2024-03-03T10:00:00Z", "b", "КРЛ-99-2", "Борисов Б.Б.", JournalEventKind::Registered},
    });
    ASSERT_TRUE(journal->local().append(lesson));
    JournalWindow window(journal.get());
    window.reload();
    window.groupFilter->setCurrentText(QStringLiteral("КРЛ-99-1"));
    QString suggested;
    const QString file = tree->path(QStringLiteral("sheet.pdf"));
    window.askPdfPath = [&](const QString& name) {
        suggested = name;
        return file;
    };
    choose(window.classSheetButton, QStringLiteral("Сохранить в PDF…"));
    EXPECT_EQ(suggested, QStringLiteral("Ведомость КРЛ-99-1.pdf"));

    const QStringList pages = pdfPages(file);
    ASSERT_EQ(pages.size(), 1);
    const QString text = squeezed(pages[0]);
    EXPECT_TRUE(text.contains(QStringLiteral("Ведомость лабораторных работ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Группа: КРЛ-99-1")));
    EXPECT_TRUE(text.contains(QStringLiteral("Период: %1 — %2")
                                  .arg(localTime("2024-03-01T10:00:00Z", "dd.MM.yyyy"),
                                       localTime("2024-03-05T10:00:00Z", "dd.MM.yyyy"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Учеников: 3")));
    EXPECT_TRUE(text.contains(QStringLiteral("№ Ученик Опыт 1 Опыт 2 Опыт 3 Опыт 4 Итого")));
    // Alphabetical (Ё among the Е, not before А as its code would put it): numbered rows with the
    // grades and the total of each.
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("Андреев")),
              QStringLiteral("1 Андреев А.А. 3,5 0,9"));
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("Ёлкина")), QStringLiteral("2 Ёлкина Е.Е. 4 1"));
    EXPECT_EQ(lineWith(pages[0], QStringLiteral("Сумин")),
              QStringLiteral("3 Сумин Г.Д. 4,5 5 2,5 3"));
    EXPECT_FALSE(text.contains(QStringLiteral("Ошибкин")));
    EXPECT_FALSE(text.contains(QStringLiteral("Борисов")));
    EXPECT_TRUE(text.contains(QStringLiteral("Преподаватель")));
    EXPECT_TRUE(text.contains(QStringLiteral("(подпись)")));

    // The date the view is bounded by begins the sheet's period; on a printer as in the file.
    const QDate day = QDateTime::fromString(QStringLiteral("2024-03-02T10:00:00Z"), Qt::ISODate)
                          .toLocalTime()
                          .date();
    window.fromDate->setDate(day);
    const QString printed = tree->path(QStringLiteral("printed.pdf"));
    window.askPrinter = [&](QPrinter& printer) {
        printer.setOutputFileName(printed);
        return true;
    };
    choose(window.classSheetButton, QStringLiteral("Печать…"));
    const QString printedText = squeezed(pdfPages(printed).join(QString()));
    // The open end of the view is the day of its latest sitting.
    EXPECT_TRUE(printedText.contains(QStringLiteral("Период: %1 — %2")
                                         .arg(day.toString(QStringLiteral("dd.MM.yyyy")),
                                              localTime("2024-03-05T10:00:00Z", "dd.MM.yyyy"))))
        << printedText.toStdString();
    EXPECT_TRUE(printedText.contains(QStringLiteral("Учеников: 3")));  // Сумин's later sitting
    EXPECT_TRUE(printedText.contains(QStringLiteral("3 Сумин Г.Д. 4,5 5 2,4")));
}

TEST_F(PapersTest, AClassSheetOfManyStudentsBreaksPagesOnlyBetweenRows) {
    // Every seventh name is long enough to take two lines of its cell.
    JournalEvents events;
    const int count = 130;
    for (int i = 1; i <= count; ++i) {
        const QString tag = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        JournalEvent e;
        e.recordedAt = QDateTime(QDate(2024, 3, 1), QTime(8, 0), Qt::UTC).addSecs(i);
        e.computer = QStringLiteral("pc-%1").arg(i % 12);
        e.sitting = QStringLiteral("s") + tag;
        e.group = QStringLiteral("КРЛ-99-1");
        e.surname = i % 7 == 0 ? QStringLiteral(
                                     "Уч%1 Константинопольская-Преображенская Александра "
                                     "Вениаминовна Конец%1")
                                     .arg(tag)
                               : QStringLiteral("Уч%1 Конец%1").arg(tag);
        e.id = i * 2;
        e.kind = JournalEventKind::Registered;
        events << e;
        e.id = i * 2 + 1;
        e.kind = JournalEventKind::Graded;
        e.experiment = 1 + i % 4;
        e.grade = 1 + i % 5;
        events << e;
    }
    ClassSheet sheet;
    sheet.students = gradesByStudent(summariseSittings(events));
    ASSERT_EQ(sheet.students.size(), count);
    sheet.from = QDate(2024, 3, 1);
    sheet.to = sheet.from;
    sheet.madeAt = QDateTime::currentDateTimeUtc();
    const QString file = tree->path(QStringLiteral("many.pdf"));
    {
        QPdfWriter writer(file);
        ASSERT_TRUE(drawClassSheet(writer, sheet));
    }
    const QStringList pages = pdfPages(file);
    ASSERT_GE(pages.size(), 3);
    EXPECT_EQ(pdfInfo(file, QStringLiteral("Pages")), QString::number(pages.size()));
    for (int p = 0; p < pages.size(); ++p) {
        // Every page: the header row again, and its place in the paper.
        EXPECT_TRUE(squeezed(pages[p]).contains(QStringLiteral("Ученик Опыт 1 Опыт 2"))) << p;
        EXPECT_TRUE(
            pages[p].contains(QStringLiteral("Лист %1 из %2").arg(p + 1).arg(pages.size())));
    }
    for (int i = 1; i <= count; ++i) {
        const QString tag = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        const QList<int> first = pagesWith(pages, QStringLiteral("Уч") + tag);
        const QList<int> last = pagesWith(pages, QStringLiteral("Конец") + tag);
        ASSERT_EQ(first.size(), 1) << tag.toStdString();
        // The whole row on one page: its first and its last word, its number and its grade.
        EXPECT_EQ(last, first) << tag.toStdString();
        const QString line = lineWith(pages[first[0]], QStringLiteral("Уч") + tag);
        EXPECT_TRUE(line.startsWith(QString::number(i) + QLatin1Char(' '))) << line.toStdString();
        EXPECT_TRUE(line.contains(QStringLiteral(" %1 ").arg(1 + i % 5))) << line.toStdString();
    }
    // The signature closes the last page.
    EXPECT_EQ(pagesWith(pages, QStringLiteral("(подпись)")), QList<int>{int(pages.size() - 1)});
}

}  // namespace
