// A student opening an experiment's window is a row of the class journal; the teacher's open
// view shows the student in that experiment under «Сейчас в классе» and, once graded, between
// experiments with the grade.

#include <QTest>

#include "ExperimentTestSupport.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "journal/ClassJournal.h"
#include "journal/ClassPresenceView.h"
#include "journal/JournalWindow.h"
#include "toolkit/RadioButton.h"

namespace {

using ExperimentEntryTest = ExperimentTest;

TEST_F(ExperimentEntryTest, TheTeacherSeesWhichExperimentTheStudentIsInAndItsGrade) {
    ClassJournal* journal = lab->classJournal();
    ASSERT_NE(journal, nullptr);
    // The teacher's view is open on this computer.
    JournalWindow* view = lab->window<JournalWindow>();
    view->show();
    view->reload();
    ASSERT_EQ(view->classNow->shown().size(), 1);
    const QString computer = journal->computer();
    const QString student = QStringLiteral("Петрова А., ХТ-21");
    EXPECT_EQ(
        view->classNow->lineTexts(0),
        (QStringList{computer, student, QStringLiteral("не в опыте"), QStringLiteral("нет")}));

    auto* catalyst = lab->window<CatalystWindow>();
    startRun(catalyst, 3);
    const JournalEvents rows = journal->local().events();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.last().kind, JournalEventKind::Entered);
    EXPECT_EQ(rows.last().experiment, 3);
    EXPECT_EQ(rows.last().surname, QStringLiteral("Петрова А."));
    EXPECT_EQ(rows.last().sitting, rows.first().sitting);
    EXPECT_FALSE(rows.last().grade.has_value());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return view->classNow->lineTexts(0).value(2) == QStringLiteral("опыт 3"); }, 5000));
    EXPECT_EQ(view->classNow->lineTexts(0),
              (QStringList{computer, student, QStringLiteral("опыт 3"), QStringLiteral("нет")}));
    // The entry is no grade: the sitting's row has none.
    ASSERT_EQ(view->shownRows().size(), 1);
    EXPECT_EQ(view->shownRows()[0].total(), 0.0);

    catalyst->onNextClicked();
    catalyst->onNextClicked();
    catalyst->rightOption->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return view->classNow->lineTexts(0).value(3) == QStringLiteral("№3 — 5"); }, 5000));
    EXPECT_EQ(
        view->classNow->lineTexts(0),
        (QStringList{computer, student, QStringLiteral("не в опыте"), QStringLiteral("№3 — 5")}));
    EXPECT_EQ(view->shownRows()[0].grades[2], 5.0f);
}

}  // namespace
