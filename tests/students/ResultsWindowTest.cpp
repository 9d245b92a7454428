// The results window and its password gate, driven with the mouse and keyboard: every deletion
// and the journal ask for the password, and an answer counts for that one action.

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QtEndian>

#include "TestSupport.h"
#include "app/Laboratory.h"
#include "lab/Cp1251.h"
#include "lab/Session.h"
#include "lab/TeacherPassword.h"
#include "students/PasswordWindow.h"
#include "students/ResultsWindow.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/StringGrid.h"

namespace {

const QString resultsFile = QStringLiteral("BDStudent.rez");

struct Student {
    QString group;
    QString surname;
    QList<double> grades;
};

class ResultsWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        results = std::make_unique<ResultsWindow>(session());
        password = std::make_unique<PasswordWindow>();
        results->askPassword = [this] { return password->ask(); };
    }
    void TearDown() override {
        results.reset();
        password.reset();
        LabTest::TearDown();
    }

    // The results file as earlier runs of the program left it.
    void storeStudents(const QList<Student>& students) {
        // Another run of the program: the window must read them from the file.
        Session earlier;
        for (const Student& s : students) {
            earlier.registerStudent(s.group, s.surname);
            for (int k = 0; k < s.grades.size(); ++k) earlier.recordGrade(k + 1, s.grades[k]);
        }
    }
    // Opened coming from another window, as the main window's link does.
    void open() {
        LabWindow::resetActivation();
        results->showAndActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(results.get()));
    }
    QStringList row(int r) const {
        QStringList cells;
        for (int c = 0; c < 8; ++c) cells << results->resultsGrid->cell(c, r);
        return cells;
    }
    void clickRow(int r) {
        StringGrid* grid = results->resultsGrid;
        const QRect cell = grid->visualRect(grid->model()->index(r, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    // Each showing of the password window types one of the answers and presses "OK", waiting
    // out the second a wrong answer costs; an empty answer closes the window instead.
    void answerPasswords(QStringList answers) {
        LabWindow::setModalHook([this, answers](LabWindow& w) mutable {
            ASSERT_EQ(&w, password.get());
            ++passwordShown;
            while (!answers.isEmpty()) {
                const QString answer = answers.takeFirst();
                if (answer.isEmpty()) {
                    password->close();
                    return;
                }
                waitOutWrongAnswer();
                password->passwordEdit->selectAll();
                typeKeys(password->passwordEdit, answer);
                QTest::mouseClick(password->okButton, Qt::LeftButton);
                captions << password->windowTitle();
                if (!password->isVisible()) return;
                inlineLines << password->wrongLine->text();
            }
            password->close();
        });
    }
    // The lab clock moves past the second after a wrong answer; the window frees "OK" again.
    void waitOutWrongAnswer() {
        if (password->okButton->isEnabled()) return;
        clock.advance(1000);
        ASSERT_TRUE(QTest::qWaitFor([this] { return password->okButton->isEnabled(); }));
    }
    int storedCount() const { return int(tree->read(resultsFile).size() / StudentBlockSize); }

    std::unique_ptr<ResultsWindow> results;
    std::unique_ptr<PasswordWindow> password;
    int passwordShown = 0;
    QStringList captions;
    QStringList inlineLines;
};

const QList<Student> threeStudents = {
    {QStringLiteral("КРЛ-01"), QStringLiteral("Первый А.А."), {5, 4}},
    {QStringLiteral("КРЛ-02"), QStringLiteral("Второй Б.Б."), {4.5, 4.3, 5, 5}},
    {QStringLiteral("КРЛ-03"), QStringLiteral("Третий В.В."), {}},
};

TEST_F(ResultsWindowTest, TheGridShowsTheSamplesAndEveryStoredStudent) {
    storeStudents(threeStudents);
    open();
    EXPECT_EQ(results->resultsGrid->rowCountCells(), 6);
    EXPECT_EQ(row(0), (QStringList{"№", " Группа ", " Фамилия ", " Опыт1 ", " Опыт2 ", " Опыт3 ",
                                   " Опыт4 ", " ИТОГО "}));
    EXPECT_EQ(row(1), (QStringList{"1", "КРЛ-99-2", "Ларцев О.Е.", "5", "5", "5", "5", "5"}));
    EXPECT_EQ(row(2), (QStringList{"2", "КРЛ-99-1", "Сумин Г.Д.", "5", "5", "5", "5", "5"}));
    EXPECT_EQ(row(3), (QStringList{"3", "КРЛ-01", "Первый А.А.", "5", "4", "0", "0", "2,3"}));
    EXPECT_EQ(row(4), (QStringList{"4", "КРЛ-02", "Второй Б.Б.", "4,5", "4,30000019073486", "5",
                                   "5", "4,7"}));
    EXPECT_EQ(row(5), (QStringList{"5", "КРЛ-03", "Третий В.В.", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(results->resultsGrid->colWidth(0), 30);
    // Fitted columns are wide enough for their longest text.
    const QFontMetrics metrics(results->resultsGrid->font());
    EXPECT_GT(results->resultsGrid->colWidth(4), metrics.horizontalAdvance(row(4)[4]));
    EXPECT_TRUE(results->closeButton->hasFocus());
}

TEST_F(ResultsWindowTest, EachShowingReadsTheFileAgain) {
    const struct {
        const char* name;
        int blocks;
        int rows;
    } cases[] = {{"empty file", 0, 3}, {"two students", 2, 5}, {"five blocks", 5, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QList<Student> students;
        for (int i = 1; i <= c.blocks; ++i)
            students.append({QStringLiteral("Г-%1").arg(i), QStringLiteral("Ф%1").arg(i), {}});
        storeStudents(students);
        // The whole table repeated: five blocks are five students.
        if (c.blocks == 5) tree->write(resultsFile, tree->read(resultsFile).right(300).repeated(5));
        open();
        ASSERT_EQ(results->resultsGrid->rowCountCells(), c.rows);
        if (c.blocks == 5) {
            EXPECT_EQ(row(3).mid(0, 2), (QStringList{"3", "Г-2"}));
            EXPECT_EQ(row(6).mid(0, 2), (QStringList{"6", "Г-5"}));
        }
        results->onCloseClicked();
        EXPECT_FALSE(results->isVisible());
    }
}

TEST_F(ResultsWindowTest, DeletingAStudentTakesTheRightPassword) {
    storeStudents(threeStudents);
    open();
    clickRow(4);
    EXPECT_EQ(results->selectedStudent, 2);
    answerPasswords({QStringLiteral("[PKXN"), QStringLiteral("[pkxn ")});  // then closed
    QTest::mouseClick(results->deleteRowButton, Qt::LeftButton);
    EXPECT_EQ(captions, (QStringList{"Неверный пароль", "Неверный пароль"}));
    EXPECT_EQ(inlineLines, (QStringList{"Неверный пароль", "Неверный пароль"}));
    // Nothing typed stays behind for the next person at the computer.
    EXPECT_EQ(password->passwordEdit->text(), QString());
    EXPECT_EQ(storedCount(), 3);
    EXPECT_EQ(results->resultsGrid->rowCountCells(), 6);

    captions.clear();
    answerPasswords({QStringLiteral("[pkxn")});
    QTest::mouseClick(results->deleteRowButton, Qt::LeftButton);
    EXPECT_EQ(captions, QStringList{"Введите пароль"});
    EXPECT_EQ(storedCount(), 2);
    ASSERT_EQ(results->resultsGrid->rowCountCells(), 5);
    EXPECT_EQ(row(4).mid(0, 3), (QStringList{"4", "КРЛ-03", "Третий В.В."}));
    EXPECT_EQ(password->passwordEdit->text(), QString());
    EXPECT_EQ(passwordShown, 2);
}

TEST_F(ResultsWindowTest, TheRightPasswordCountsForOneActionOnly) {
    storeStudents(threeStudents);
    open();
    int journalOpened = 0;
    results->showJournalWindow = [&] { ++journalOpened; };
    clickRow(2);  // a sample row: the deletion deletes nothing
    EXPECT_EQ(results->selectedStudent, 0);
    answerPasswords({QStringLiteral("[pkxn")});
    QTest::mouseClick(results->deleteRowButton, Qt::LeftButton);
    EXPECT_EQ(storedCount(), 3);

    // The next action asks again; closing the password window deletes nothing.
    clickRow(5);
    answerPasswords({QString()});
    QTest::mouseClick(results->deleteRowButton, Qt::LeftButton);
    EXPECT_EQ(passwordShown, 2);
    EXPECT_EQ(storedCount(), 3);
    QTest::mouseClick(results->deleteAllButton, Qt::LeftButton);
    QTest::mouseClick(results->journalButton, Qt::LeftButton);
    EXPECT_EQ(passwordShown, 4);
    EXPECT_EQ(storedCount(), 3);
    EXPECT_EQ(journalOpened, 0);

    // «Отмена» cancels as well, even with the right password typed.
    LabWindow::setModalHook([this](LabWindow&) {
        QTest::keyClicks(password->passwordEdit, QStringLiteral("[pkxn"));
        QTest::mouseClick(password->cancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(results->deleteAllButton, Qt::LeftButton);
    EXPECT_EQ(storedCount(), 3);

    // The journal opened with the password leaves the gate shut behind it.
    answerPasswords({QStringLiteral("[pkxn")});
    QTest::mouseClick(results->journalButton, Qt::LeftButton);
    EXPECT_EQ(journalOpened, 1);
    answerPasswords({QString()});
    QTest::mouseClick(results->deleteAllButton, Qt::LeftButton);
    EXPECT_EQ(storedCount(), 3);
}

TEST_F(ResultsWindowTest, WithTheAdministratorsHashTheBuiltInPasswordOpensNothing) {
    const QString ours = QStringLiteral("Бутлеров-1861");
    password = std::make_unique<PasswordWindow>(
        TeacherPassword(PasswordHash::make(ours, 1000).toString()));
    storeStudents(threeStudents);
    open();
    answerPasswords({QStringLiteral("[pkxn")});
    QTest::mouseClick(results->deleteAllButton, Qt::LeftButton);
    EXPECT_EQ(captions, QStringList{"Неверный пароль"});
    EXPECT_EQ(storedCount(), 3);

    answerPasswords({QStringLiteral("[pkxn"), ours});
    QTest::mouseClick(results->deleteAllButton, Qt::LeftButton);
    EXPECT_EQ(storedCount(), 0);
}

TEST_F(ResultsWindowTest, DeleteAllLeavesTheSamplesAndAnEmptyFile) {
    storeStudents(threeStudents);
    open();
    answerPasswords({QStringLiteral("[pkxn")});
    QTest::mouseClick(results->deleteAllButton, Qt::LeftButton);
    EXPECT_EQ(tree->read(resultsFile), QByteArray());
    EXPECT_EQ(results->resultsGrid->rowCountCells(), 3);
    EXPECT_EQ(row(2)[2], QStringLiteral("Сумин Г.Д."));
    EXPECT_EQ(session().results().count(), 0);
}

TEST_F(ResultsWindowTest, BothWindowsAreYellow) {
    storeStudents(threeStudents);
    open();
    clickRow(4);
    password->showAndActivate();
    QTest::keyClicks(password->passwordEdit, QStringLiteral("abc"));
    const QString dir = qEnvironmentVariable("LAB_SCREENSHOT_DIR");
    for (QWidget* w :
         {static_cast<QWidget*>(results.get()), static_cast<QWidget*>(password.get())}) {
        const QImage shot = w->grab().toImage();
        if (!dir.isEmpty())
            shot.save(dir + QStringLiteral("/%1.png").arg(w->metaObject()->className()));
        EXPECT_EQ(shot.pixelColor(w->width() - 2, 2), QColor(255, 224, 0));
    }
}

TEST_F(ResultsWindowTest, ThePasswordIsShownAsStarsAndAnsweredFromTheKeyboard) {
    open();
    QList<bool> answers;
    QStringList shown;
    const auto ask = [&](const std::function<void()>& keys) {
        LabWindow::setModalHook([&, keys](LabWindow&) {
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return QApplication::activeWindow() == password.get(); }));
            EXPECT_TRUE(password->passwordEdit->hasFocus());
            keys();
            if (password->isVisible()) password->close();
        });
        answers << password->ask();
    };
    // A wrong answer with Enter: the window says so and holds the next try for a second.
    ask([&] {
        typeKeys(password->passwordEdit, QStringLiteral("хзлчт"));
        shown << password->passwordEdit->displayText();
        QTest::keyClick(password->passwordEdit, Qt::Key_Return);
        shown << password->windowTitle() << password->wrongLine->text();
        EXPECT_FALSE(password->okButton->isEnabled());
        QTest::keyClicks(password->passwordEdit, QStringLiteral("[pkxn"));
        QTest::keyClick(password->passwordEdit, Qt::Key_Return);
        EXPECT_TRUE(password->isVisible()) << "a try within the second is not taken";
        clock.advance(999);
        QTest::qWait(100);
        EXPECT_FALSE(password->okButton->isEnabled());
        clock.advance(1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return password->okButton->isEnabled(); }));
        // Typing replaces the wrong answer.
        EXPECT_TRUE(password->passwordEdit->hasFocus());
        QTest::keyClicks(password->passwordEdit, QStringLiteral("[pkxn"));
        shown << password->passwordEdit->displayText();
        QTest::keyClick(password->passwordEdit, Qt::Key_Enter);
    });
    EXPECT_EQ(shown, (QStringList{"*****", "Неверный пароль", "Неверный пароль", "*****"}));
    // Escape cancels, even with the right password typed; so does Enter on «Отмена».
    ask([&] {
        EXPECT_EQ(password->windowTitle(), QStringLiteral("Введите пароль"));
        EXPECT_EQ(password->wrongLine->text(), QString());
        QTest::keyClicks(password->passwordEdit, QStringLiteral("[pkxn"));
        QTest::keyClick(password->passwordEdit, Qt::Key_Escape);
    });
    ask([&] {
        QTest::keyClicks(password->passwordEdit, QStringLiteral("[pkxn"));
        QTest::keyClick(password.get(), Qt::Key_Tab);
        QTest::keyClick(password.get(), Qt::Key_Tab);
        EXPECT_TRUE(password->cancelButton->hasFocus());
        QTest::keyClick(password->cancelButton, Qt::Key_Return);
    });
    // "OK" reached with Tab takes Enter and the space bar.
    ask([&] {
        QTest::keyClicks(password->passwordEdit, QStringLiteral("[pkxn"));
        QTest::keyClick(password.get(), Qt::Key_Tab);
        EXPECT_TRUE(password->okButton->hasFocus());
        QTest::keyClick(password->okButton, Qt::Key_Space);
    });
    EXPECT_EQ(answers, (QList<bool>{true, false, false, true}));
    EXPECT_FALSE(password->isVisible());
}

TEST_F(ResultsWindowTest, DeleteInThePasswordFieldDeletesInsteadOfTyping) {
    LabWindow::setModalHook([this](LabWindow&) {
        QTest::keyClicks(password->passwordEdit, QStringLiteral("x[pkxn"));
        QTest::keyClick(password->passwordEdit, Qt::Key_Home);
        QTest::keyClick(password->passwordEdit, Qt::Key_Delete);
        EXPECT_EQ(password->passwordEdit->displayText(), QStringLiteral("*****"));
        QTest::mouseClick(password->okButton, Qt::LeftButton);
        if (password->isVisible()) password->close();
    });
    EXPECT_TRUE(password->ask());
    EXPECT_FALSE(password->isVisible());
}

TEST_F(ResultsWindowTest, EnterClosesTheResultsUnlessAButtonHasTheFocusAndEscapeCloses) {
    storeStudents(threeStudents);
    open();
    EXPECT_TRUE(results->closeButton->isDefault());
    // Enter on a focused button presses that button: "Удалить все" asks for the password.
    results->deleteAllButton->setFocus();
    answerPasswords({QString()});
    QTest::keyClick(results->deleteAllButton, Qt::Key_Return);
    EXPECT_EQ(passwordShown, 1);
    EXPECT_TRUE(results->isVisible());
    // Enter in the table presses the default button, "Закрыть".
    clickRow(4);
    QTest::keyClick(results->resultsGrid, Qt::Key_Return);
    EXPECT_FALSE(results->isVisible());
    open();
    QTest::keyClick(results->resultsGrid, Qt::Key_Escape);
    EXPECT_FALSE(results->isVisible());
    EXPECT_EQ(storedCount(), 3);
}

// Grades of this run go to the student registered at this computer, wherever deletions move
// that row, and to nobody once it is deleted.
TEST_F(ResultsWindowTest, GradesFollowTheCurrentStudentOrGoNowhere) {
    storeStudents({threeStudents[0], threeStudents[1]});
    session().registerStudent(QStringLiteral("КРЛ-09"),
                              QStringLiteral("Текущий Г.Г."));  // this run's student
    open();

    // Without a selected row "Удалить строку" does nothing, not even ask for the password.
    answerPasswords({QStringLiteral("[pkxn")});
    QTest::mouseClick(results->deleteRowButton, Qt::LeftButton);
    EXPECT_EQ(passwordShown, 0);
    EXPECT_EQ(storedCount(), 3);

    clickRow(3);  // the oldest student
    QTest::mouseClick(results->deleteRowButton, Qt::LeftButton);
    ASSERT_EQ(storedCount(), 2);
    EXPECT_EQ(results->resultsGrid->currentRow(), -1);  // the selection went with the row
    EXPECT_TRUE(results->resultsGrid->selectedItems().isEmpty());
    session().recordGrade(2, 4.5);
    QByteArray bytes = tree->read(resultsFile);
    // Slot 2 of the last block is this run's student, with the grade; slot 1 keeps its own.
    const QByteArray block = bytes.right(StudentBlockSize);
    EXPECT_EQ(Cp1251::decode(block.mid(60 + 1, 6)), QStringLiteral("КРЛ-09"));
    EXPECT_EQ(qFromLittleEndian<float>(block.constData() + 60 + 48), 4.5f);
    EXPECT_EQ(qFromLittleEndian<float>(block.constData() + 48), 4.3f);
    // Past the last student the block is zero bytes: the deleted student cannot be read back.
    EXPECT_EQ(block.mid(120), QByteArray(180, '\0'));

    // Deleting this run's own row: later grades are recorded nowhere.
    clickRow(4);
    answerPasswords({QStringLiteral("[pkxn")});
    QTest::mouseClick(results->deleteRowButton, Qt::LeftButton);
    ASSERT_EQ(storedCount(), 1);
    bytes = tree->read(resultsFile);
    for (int k = 1; k <= 4; ++k) session().recordGrade(k, 5);
    EXPECT_EQ(tree->read(resultsFile), bytes);
    EXPECT_EQ(row(3).mid(0, 4), (QStringList{"3", "КРЛ-02", "Второй Б.Б.", "4,5"}));
    EXPECT_EQ(bytes.mid(60), QByteArray(240, '\0'));
}

TEST_F(ResultsWindowTest, TheNumberColumnStaysInViewWhenTheTableScrollsSideways) {
    QList<Student> longNames;
    for (int i = 1; i <= 3; ++i)
        longNames.append({QStringLiteral("ГРУППА-ДЛИН-%1").arg(i),
                          QStringLiteral("Очень-Длинная-Фамилия-%1").arg(i),
                          {4.3, 4.7, 3.3, 2.9}});
    storeStudents(longNames);
    open();
    StringGrid* grid = results->resultsGrid;
    QScrollBar* sideways = grid->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0) << "the table must be wider than its window";
    const int numberWidth = grid->colWidth(0) - 1;
    const QImage before = grid->grab(QRect(1, 1, numberWidth, 80)).toImage();
    sideways->setValue(sideways->maximum());
    QApplication::processEvents();
    const QImage after = grid->grab(QRect(1, 1, numberWidth, 80)).toImage();
    EXPECT_EQ(before, after);
    // The scrolled cells are really elsewhere: the group column has left the view.
    EXPECT_LT(grid->columnViewportPosition(1), 0);
}

}  // namespace
