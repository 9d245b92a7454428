// The student at the computer keeps his row: however often the results window reads the file,
// his grades land in his row of the results file and of the window, and the journal's grade
// rows name him under his own sitting.

#include <QPushButton>
#include <QTest>

#include "TestSupport.h"
#include "app/Laboratory.h"
#include "journal/ClassJournal.h"
#include "lab/Cp1251.h"
#include "lab/Session.h"
#include "students/RegistrationWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/StringGrid.h"

namespace {

class CurrentStudentRowTest : public LabTest {
protected:
    // The registration window keeps what the last student typed: the next one erases it first.
    void registerAfterAnother(const QString& group, const QString& surname) {
        RegistrationWindow* registration = lab->window<RegistrationWindow>();
        registration->showAndActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(registration));
        for (FilteredEdit* edit : {registration->groupEdit, registration->surnameEdit}) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            ASSERT_TRUE(edit->text().isEmpty());
        }
        registration->groupEdit->setFocus();
        typeKeys(registration->groupEdit, group);
        registration->surnameEdit->setFocus();
        typeKeys(registration->surnameEdit, surname);
        QTest::mouseClick(registration->acceptLink, Qt::LeftButton);
    }
    // Opened from the main window's link and closed with its own button, as a student does.
    void openAndCloseResults() {
        ResultsWindow* window = lab->window<ResultsWindow>();
        LabWindow::resetActivation();
        window->showAndActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::mouseClick(window->closeButton, Qt::LeftButton);
        ASSERT_FALSE(window->isVisible());
    }
};

const QStringList surnames = {
    QStringLiteral("Первый А.А."),    QStringLiteral("Второй Б.Б."), QStringLiteral("Третий В.В."),
    QStringLiteral("Четвертый Г.Г."), QStringLiteral("Пятый Д.Д."),
};

}  // namespace

TEST_F(CurrentStudentRowTest, TheFifthStudentGetsEveryGradeAfterTenLooksAtTheResults) {
    createWindows();
    for (int i = 0; i < 5; ++i) {
        registerAfterAnother(QStringLiteral("КРЛ-0%1").arg(i + 1), surnames[i]);
        ASSERT_FALSE(HasFatalFailure());
    }
    for (int opening = 0; opening < 10; ++opening) {
        openAndCloseResults();
        ASSERT_FALSE(HasFatalFailure());
    }
    // What the four experiment windows hand over when a run is graded.
    const float grades[4] = {5, 4.5f, 3, 4};
    for (int k = 1; k <= 4; ++k) session().recordGrade(k, grades[k - 1]);
    EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join('\n').toStdString();

    // The file: four students, the fifth last with all four grades, the others with none.
    ResultsFile stored(tree->path(QStringLiteral("BDStudent.rez")));
    ASSERT_TRUE(stored.load());
    ASSERT_EQ(stored.count(), 4);
    for (int s = 1; s <= 4; ++s) {
        EXPECT_EQ(stored.surname(s), surnames[s]);
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(stored.score(s, k), s == 4 ? grades[k - 1] : 0.0f) << s << " " << k;
    }

    // The window: his row, his grades.
    ResultsWindow* window = lab->window<ResultsWindow>();
    LabWindow::resetActivation();
    window->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->resultsGrid->cell(2, 6), surnames[4]);
    EXPECT_EQ(window->resultsGrid->cell(3, 6), QStringLiteral("5"));
    EXPECT_EQ(window->resultsGrid->cell(4, 6), QStringLiteral("4,5"));
    EXPECT_EQ(window->resultsGrid->cell(2, 5), surnames[3]);
    EXPECT_EQ(window->resultsGrid->cell(3, 5), QStringLiteral("0"));
    window->done();

    // The journal: every grade names him, under the sitting of his registration.
    const JournalEvents rows = lab->classJournal()->local().events();
    QString sitting;
    int gradeRows = 0;
    for (const JournalEvent& e : rows) {
        if (e.kind == JournalEventKind::Registered && e.surname == surnames[4]) sitting = e.sitting;
        if (e.kind != JournalEventKind::Graded) continue;
        ++gradeRows;
        EXPECT_EQ(e.surname, surnames[4]);
        EXPECT_EQ(e.group, QStringLiteral("КРЛ-05"));
        EXPECT_EQ(e.sitting, sitting);
        EXPECT_EQ(e.grade, grades[e.experiment - 1]);
    }
    EXPECT_EQ(gradeRows, 4);
    EXPECT_FALSE(sitting.isEmpty());
}
