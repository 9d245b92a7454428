// Entering an experiment is a row of the journal that tells where a student is and nothing
// else: no grade, total, export or paper changes for it. «Сейчас в классе» takes each
// computer's newest sitting of the day: the student, the experiment entered and not left, the
// grades so far.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>

#include "journal/ClassPresence.h"
#include "journal/MoodleExport.h"
#include "journal/SharedMistakes.h"
#include "journal/SittingSummary.h"
#include "journal/StudentGrades.h"

namespace {

struct Row {
    int minute;  // after the lesson's start
    const char* computer;
    const char* sitting;
    JournalEventKind kind;
    int experiment = 0;
    double grade = 0;
};

// Midnight of today: every row of the lesson is today's, whenever the test runs.
const QDateTime lessonStart = QDateTime(QDate::currentDate(), QTime(0, 0)).toUTC();

JournalEvents eventsOf(std::initializer_list<Row> rows, const QDateTime& start = lessonStart) {
    JournalEvents events;
    qint64 id = 0;
    for (const Row& r : rows) {
        JournalEvent e;
        e.id = ++id;
        e.recordedAt = start.addSecs(60 * r.minute);
        e.computer = QString::fromUtf8(r.computer);
        e.sitting = QString::fromUtf8(r.sitting);
        e.group = QStringLiteral("КРЛ-99-1");
        e.surname = QStringLiteral("Ученик ") + e.sitting;
        e.variant = 2;
        e.experiment = r.experiment;
        if (r.kind == JournalEventKind::Graded) e.grade = float(r.grade);
        e.kind = r.kind;
        events.append(e);
    }
    return events;
}

JournalEvents withoutEntries(JournalEvents events) {
    events.removeIf([](const JournalEvent& e) { return e.kind == JournalEventKind::Entered; });
    return events;
}

constexpr auto Registered = JournalEventKind::Registered;
constexpr auto Entered = JournalEventKind::Entered;
constexpr auto Graded = JournalEventKind::Graded;
constexpr auto Deleted = JournalEventKind::Deleted;

TEST(ClassPresence, EntriesChangeNoGradeTotalExportOrSharedMistake) {
    const JournalEvents events = eventsOf({
        {0, "pc-1", "a", Registered},
        {1, "pc-1", "a", Entered, 1},
        {9, "pc-1", "a", Graded, 1, 4.5},
        {10, "pc-1", "a", Entered, 3},
        {11, "pc-1", "a", Entered, 1},  // back to the first, not graded again
        {12, "pc-2", "b", Registered},
        {13, "pc-2", "b", Entered, 2},
        {20, "pc-2", "b", Graded, 2, 3},
        {21, "pc-2", "b", Entered, 4},
        {22, "pc-2", "b", Deleted},
    });
    const QList<SittingRow> with = summariseSittings(events);
    const QList<SittingRow> without = summariseSittings(withoutEntries(events));
    ASSERT_EQ(with.size(), 2);
    ASSERT_EQ(without.size(), 2);
    for (int r = 0; r < with.size(); ++r) {
        EXPECT_EQ(with[r].grades, without[r].grades);
        EXPECT_EQ(with[r].total(), without[r].total());
        EXPECT_EQ(with[r].variant, without[r].variant);
        EXPECT_EQ(with[r].deleted, without[r].deleted);
        EXPECT_EQ(with[r].registeredAt, without[r].registeredAt) << r;
    }
    EXPECT_EQ(with[1].grades[0], 4.5f);
    EXPECT_FALSE(with[1].grades[2].has_value());
    EXPECT_EQ(sittingsCsv(with), sittingsCsv(without));
    EXPECT_EQ(moodleGradesCsv(gradesByStudent(with)), moodleGradesCsv(gradesByStudent(without)));
    EXPECT_EQ(findSharedMistakes(with).size(), findSharedMistakes(without).size());
}

TEST(ClassPresence, AnExperimentIsLeftWhenGradedOrAnotherIsEntered) {
    const auto inExperiment = [](std::initializer_list<Row> rows) {
        const QList<SittingRow> sittings = summariseSittings(eventsOf(rows));
        return sittings.isEmpty() ? -1 : sittings[0].inExperiment;
    };
    EXPECT_EQ(inExperiment({{0, "pc-1", "a", Registered}}), 0);
    EXPECT_EQ(inExperiment({{0, "pc-1", "a", Registered}, {1, "pc-1", "a", Entered, 2}}), 2);
    EXPECT_EQ(inExperiment({{0, "pc-1", "a", Registered},
                            {1, "pc-1", "a", Entered, 2},
                            {5, "pc-1", "a", Graded, 2, 5}}),
              0);
    EXPECT_EQ(inExperiment({{0, "pc-1", "a", Registered},
                            {1, "pc-1", "a", Entered, 2},
                            {3, "pc-1", "a", Entered, 4}}),
              4);
    // The graph window of experiment 1 grades it after experiment 1 was entered; a grade of
    // another experiment (its entry lost with an older program) does not move the student.
    EXPECT_EQ(inExperiment({{0, "pc-1", "a", Registered},
                            {1, "pc-1", "a", Entered, 3},
                            {2, "pc-1", "a", Graded, 1, 4}}),
              3);
    // Rows of a server come in any order of computers: the time decides.
    EXPECT_EQ(inExperiment({{5, "pc-1", "a", Graded, 2, 5},
                            {0, "pc-1", "a", Registered},
                            {1, "pc-1", "a", Entered, 2}}),
              0);
}

TEST(ClassPresence, EachComputerShowsItsNewestSittingOfToday) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    JournalEvents events = eventsOf({
        {0, "pc-10", "a", Registered},
        {1, "pc-10", "a", Entered, 1},
        {8, "pc-10", "a", Graded, 1, 4.5},
        {9, "pc-10", "a", Entered, 2},
        // pc-2: a first student left, the next one registered and works on experiment 3.
        {0, "pc-2", "b", Registered},
        {2, "pc-2", "b", Entered, 4},
        {20, "pc-2", "c", Registered},
        {21, "pc-2", "c", Entered, 3},
        {30, "pc-2", "c", Graded, 3, 5},
        {31, "pc-2", "c", Entered, 4},
        // pc-3's student was removed from the results window: nobody is there.
        {0, "pc-3", "d", Registered},
        {1, "pc-3", "d", Entered, 1},
        {2, "pc-3", "d", Deleted},
        // pc-4 graded and sits between experiments.
        {0, "pc-4", "e", Registered},
        {1, "pc-4", "e", Entered, 2},
        {9, "pc-4", "e", Graded, 2, 3.5},
    });
    // pc-5 worked yesterday only.
    events += eventsOf({{0, "pc-5", "f", Registered}, {1, "pc-5", "f", Entered, 1}},
                       lessonStart.addDays(-1));

    const QList<ComputerPresence> presence = classPresence(summariseSittings(events), now);
    QStringList lines;
    for (const ComputerPresence& p : presence)
        lines << QStringList{p.computer, p.surname, presenceExperimentText(p),
                             presenceGradesText(p)}
                     .join(QLatin1Char('|'));
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("pc-2|Ученик c|опыт 4|№3 — 5"),
                         QStringLiteral("pc-4|Ученик e|не в опыте|№2 — 3,5"),
                         QStringLiteral("pc-10|Ученик a|опыт 2|№1 — 4,5"),
                     }));
    // Nothing today: nobody.
    EXPECT_TRUE(classPresence(summariseSittings(events), now.addDays(3)).isEmpty());
}

}  // namespace
