// The registration window as a student meets it: typing, the key filters, accepting.

#include <QLabel>
#include <QTest>

#include "TestSupport.h"
#include "shell/Forms.h"
#include "shell/LabState.h"
#include "shell/Loaders.h"
#include "shell/Program.h"
#include "students/RegistrationWindow.h"
#include "students/StudentStore.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"
#include "toolkit/Cp1251.h"
#include "toolkit/FilteredEdit.h"

namespace {

const QString resultsFile = QStringLiteral("BDStudent.rez");

class RegistrationWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        resetStudentTable();
        form = std::make_unique<TForm11>();
    }
    void TearDown() override {
        form.reset();
        resetStudentTable();
        LabTest::TearDown();
    }
    // Group and surname of every student in the results file.
    QStringList storedStudents() {
        resetStudentTable();
        LoadStudents();
        QStringList out;
        for (int i = 1; i <= StudentCount; ++i)
            out << studentGroup(i) + QStringLiteral(" / ") + studentSurname(i);
        return out;
    }
    std::unique_ptr<TForm11> form;
};

TEST_F(RegistrationWindowTest, AStudentTypesGroupAndSurnameAndAccepts) {
    form->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_TRUE(form->Edit1->hasFocus());
    EXPECT_EQ(form->Edit1->selectedText(), QStringLiteral("Введите группу"));

    typeKeys(form->Edit1, QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(messages->beeps(), 0);
    typeKeys(form->Edit1, QStringLiteral("qб"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(messages->beeps(), 2);

    QTest::keyClick(form->Edit1, Qt::Key_Return);
    ASSERT_TRUE(form->Edit2->hasFocus());
    EXPECT_EQ(form->Edit2->selectedText(), QStringLiteral("Введите фамилию"));
    typeKeys(form->Edit2, QStringLiteral("Ларцев О.Е."));
    typeKeys(form->Edit2, QStringLiteral("5-"));
    EXPECT_EQ(messages->beeps(), 4);
    QTest::keyClick(form->Edit2, Qt::Key_Return);  // neither accepts nor moves on
    EXPECT_TRUE(form->Edit2->hasFocus());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(tree->read(resultsFile).size(), 0);

    QTest::mouseClick(form->Label3, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(storedStudents(), QStringList{QStringLiteral("КРЛ-99-1 / Ларцев О.Е.")});
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("КРЛ-99-1"));  // the edits keep their texts
    EXPECT_TRUE(messages->errorTexts().isEmpty());
}

TEST_F(RegistrationWindowTest, EachFieldAdmitsExactlyItsCharacters) {
    // Windows-1251 codes; "Ё" is 168 and "ё" 184, outside both sets.
    auto groupAdmits = [](int c) {
        return c == 8 || c == 13 || c == '-' || (c >= '0' && c <= '9') || (c >= 192 && c <= 223) ||
               c == 243;
    };
    auto surnameAdmits = [](int c) {
        return c == 8 || c == 13 || c == ' ' || c == '.' || c >= 192;
    };
    for (int c = 1; c < 256; ++c) {
        SCOPED_TRACE(c);
        unsigned char key = static_cast<unsigned char>(c);
        form->Edit1KeyPress(key);
        EXPECT_EQ(key != 0, groupAdmits(c));
        key = static_cast<unsigned char>(c);
        form->Edit2KeyPress(key);
        EXPECT_EQ(key != 0, surnameAdmits(c));
    }
    // Pasting is a control character, refused with a beep like any other.
    form->showForm();
    form->Edit1->setText(QStringLiteral("АБ"));
    QTest::keyClick(form->Edit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("АБ"));
    EXPECT_EQ(messages->beeps(), 1);
}

TEST_F(RegistrationWindowTest, ItCannotBeClosedWithoutAccepting) {
    form->showForm();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(tree->read(resultsFile).size(), 0);
}

TEST_F(RegistrationWindowTest, AcceptingWithTheFieldsAsTheyWereRegistersTheirTexts) {
    form->showForm();
    form->Label3Click();
    EXPECT_EQ(storedStudents(), QStringList{QStringLiteral("Введите группу / Введите фамилию")});
}

TEST_F(RegistrationWindowTest, AnEmptyFieldKeepsTheWindowOpen) {
    for (FilteredEdit* emptied : {form->Edit1, form->Edit2}) {
        form->Edit1->setText(QStringLiteral("КРЛ"));
        form->Edit2->setText(QStringLiteral("Ким"));
        emptied->clear();
        form->showForm();
        QTest::mouseClick(form->Label3, Qt::LeftButton);
        EXPECT_TRUE(form->isVisible());
    }
    EXPECT_EQ(tree->read(resultsFile).size(), 0);
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(RegistrationWindowTest, AcceptTurnsBlackUnderThePointerAndGreyAway) {
    form->showForm();
    EXPECT_EQ(form->Label3->fontColor(), LabColors::Grey);
    QTest::mouseMove(form->Label3, QPoint(10, 10));
    EXPECT_EQ(form->Label3->fontColor(), LabColors::Black);
    QTest::mouseMove(form->Image1, QPoint(5, 5));
    EXPECT_EQ(form->Label3->fontColor(), LabColors::Grey);
    QTest::mouseMove(form->Label3, QPoint(10, 10));
    QTest::mouseMove(form.get(), QPoint(100, 30));
    EXPECT_EQ(form->Label3->fontColor(), LabColors::Grey);
}

TEST_F(RegistrationWindowTest, ShownModallyItReturnsOnceAccepted) {
    LabWindow::setModalHook([](LabWindow& w) {
        auto& reg = static_cast<TForm11&>(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&reg));
        typeKeys(reg.Edit1, QStringLiteral("ХТу-21"));
        QTest::keyClick(reg.Edit1, Qt::Key_Return);
        typeKeys(reg.Edit2, QStringLiteral("Сумин Г.Д."));
        QTest::mouseClick(reg.Label3, Qt::LeftButton);
    });
    form->showModalForm();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(storedStudents(), QStringList{QStringLiteral("ХТу-21 / Сумин Г.Д.")});
}

TEST_F(RegistrationWindowTest, TheWindowIsYellowWithAStripFadingToWhite) {
    form->showForm();
    const QImage shot = form->grab().toImage();
    if (const QString dir = qEnvironmentVariable("LAB_SCREENSHOT_DIR"); !dir.isEmpty())
        shot.save(dir + QStringLiteral("/registration.png"));
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(255, 224, 0));  // background
    const QColor left = shot.pixelColor(1, 80);             // the strip's left edge: still yellow
    EXPECT_EQ(left.red(), 255);
    EXPECT_NEAR(left.green(), 224, 3);
    EXPECT_LT(left.blue(), 8);
    EXPECT_GT(shot.pixelColor(224, 88).blue(), 240);  // white at its right edge
}

class RegistrationAtStartTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        resetStudentTable();
    }
    void TearDown() override {
        resetStudentTable();
        LabTest::TearDown();
    }
};

TEST_F(RegistrationAtStartTest, AMissingResultsFileIsReportedAndTheStudentStillSaved) {
    createWindows();
    ASSERT_FALSE(programEnding());
    tree->remove(resultsFile);
    Form11->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form11));
    typeKeys(Form11->Edit1, QStringLiteral("КРЛ-99-1"));
    Form11->Edit2->setFocus();
    typeKeys(Form11->Edit2, QStringLiteral("Ларцев О.Е."));
    QTest::mouseClick(Form11->Label3, Qt::LeftButton);

    EXPECT_EQ(messages->errorTexts(), QStringList{cannotOpenFileMessage(tree->path(resultsFile))});
    EXPECT_TRUE(programEnding());
    EXPECT_FALSE(Form11->isVisible());
    const QByteArray bytes = tree->read(resultsFile);
    ASSERT_EQ(bytes.size(), 300);
    EXPECT_EQ(bytes.mid(1, 8), Cp1251::encode(QStringLiteral("КРЛ-99-1")));
}

TEST_F(RegistrationAtStartTest, AFailedStartEndsTheProgramWhenTheWindowIsCreated) {
    createWindows();
    ASSERT_FALSE(programEnding());
    LabState.StartupFailed = true;
    TForm11 late;
    EXPECT_TRUE(programEnding());
    EXPECT_EQ(tree->read(resultsFile).size(), 0);
}

}  // namespace
