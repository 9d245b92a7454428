// The registration window as a student meets it: typing, the key filters, accepting.

#include <QLabel>
#include <QTest>

#include "TestSupport.h"
#include "app/Laboratory.h"
#include "lab/Cp1251.h"
#include "lab/Session.h"
#include "shell/Loaders.h"
#include "students/RegistrationWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/FilteredEdit.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

namespace {

const QString resultsFile = QStringLiteral("BDStudent.rez");

class RegistrationWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        form = std::make_unique<RegistrationWindow>(session());
    }
    void TearDown() override {
        form.reset();
        LabTest::TearDown();
    }
    // Group and surname of every student in the results file.
    QStringList storedStudents() {
        ResultsFile stored;
        stored.load();
        QStringList out;
        for (int i = 1; i <= stored.count(); ++i)
            out << stored.group(i) + QStringLiteral(" / ") + stored.surname(i);
        return out;
    }
    std::unique_ptr<RegistrationWindow> form;
};

TEST_F(RegistrationWindowTest, AStudentTypesGroupAndSurnameAndAccepts) {
    form->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_TRUE(form->groupEdit->hasFocus());
    EXPECT_EQ(form->groupEdit->selectedText(), QStringLiteral("Введите группу"));

    typeKeys(form->groupEdit, QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(form->groupEdit->text(), QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(messages->beeps(), 0);
    typeKeys(form->groupEdit, QStringLiteral("qб"));
    EXPECT_EQ(form->groupEdit->text(), QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(messages->beeps(), 2);

    QTest::keyClick(form->groupEdit, Qt::Key_Return);
    ASSERT_TRUE(form->surnameEdit->hasFocus());
    EXPECT_EQ(form->surnameEdit->selectedText(), QStringLiteral("Введите фамилию"));
    typeKeys(form->surnameEdit, QStringLiteral("Ларцев О.Е."));
    typeKeys(form->surnameEdit, QStringLiteral("5-"));
    EXPECT_EQ(messages->beeps(), 4);
    QTest::keyClick(form->surnameEdit, Qt::Key_Return);  // neither accepts nor moves on
    EXPECT_TRUE(form->surnameEdit->hasFocus());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(tree->read(resultsFile).size(), 0);

    QTest::mouseClick(form->acceptLink, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(storedStudents(), QStringList{QStringLiteral("КРЛ-99-1 / Ларцев О.Е.")});
    EXPECT_EQ(form->groupEdit->text(), QStringLiteral("КРЛ-99-1"));  // the edits keep their texts
    EXPECT_TRUE(messages->errorTexts().isEmpty());
}

// A click into a field selects its prompt as Tab does, so typing replaces it.
TEST_F(RegistrationWindowTest, AClickIntoAFieldReplacesItsPromptWhenTyping) {
    form->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::mouseClick(form->surnameEdit, Qt::LeftButton, {}, QPoint(30, 8));
    ASSERT_TRUE(form->surnameEdit->hasFocus());
    typeKeys(form->surnameEdit, QStringLiteral("Ларцев О.Е."));
    QTest::mouseClick(form->groupEdit, Qt::LeftButton, {}, QPoint(40, 8));
    ASSERT_TRUE(form->groupEdit->hasFocus());
    typeKeys(form->groupEdit, QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(form->groupEdit->text(), QStringLiteral("КРЛ-99-1"));
    EXPECT_EQ(form->surnameEdit->text(), QStringLiteral("Ларцев О.Е."));
    QTest::mouseClick(form->acceptLink, Qt::LeftButton);
    EXPECT_EQ(storedStudents(), QStringList{QStringLiteral("КРЛ-99-1 / Ларцев О.Е.")});
}

// The window opens with the focus in the group field; a student's first click lands there
// anyway, and typing must still replace the prompt, not go into its middle.
TEST_F(RegistrationWindowTest, AClickIntoTheFocusedFieldStillReplacesItsPrompt) {
    form->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_TRUE(form->groupEdit->hasFocus());
    QTest::mouseClick(form->groupEdit, Qt::LeftButton, {}, QPoint(60, 8));
    typeKeys(form->groupEdit, QStringLiteral("КРЛ-2"));
    EXPECT_EQ(form->groupEdit->text(), QStringLiteral("КРЛ-2"));
    // Once the student's own text is there, a click places the caret as usual.
    QTest::mouseClick(form->groupEdit, Qt::LeftButton, {}, QPoint(2, 8));
    typeKeys(form->groupEdit, QStringLiteral("1"));
    EXPECT_EQ(form->groupEdit->text(), QStringLiteral("1КРЛ-2"));
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
        form->filterGroupKey(key);
        EXPECT_EQ(key != 0, groupAdmits(c));
        key = static_cast<unsigned char>(c);
        form->filterSurnameKey(key);
        EXPECT_EQ(key != 0, surnameAdmits(c));
    }
    // Pasting is a control character, refused with a beep like any other.
    form->showAndActivate();
    form->groupEdit->setText(QStringLiteral("АБ"));
    QTest::keyClick(form->groupEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->groupEdit->text(), QStringLiteral("АБ"));
    EXPECT_EQ(messages->beeps(), 1);
}

TEST_F(RegistrationWindowTest, ItCannotBeClosedWithoutAccepting) {
    form->showAndActivate();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(tree->read(resultsFile).size(), 0);
}

TEST_F(RegistrationWindowTest, AcceptingWithTheFieldsAsTheyWereRegistersTheirTexts) {
    form->showAndActivate();
    form->onAcceptClicked();
    EXPECT_EQ(storedStudents(), QStringList{QStringLiteral("Введите группу / Введите фамилию")});
}

TEST_F(RegistrationWindowTest, AnEmptyFieldKeepsTheWindowOpen) {
    for (FilteredEdit* emptied : {form->groupEdit, form->surnameEdit}) {
        form->groupEdit->setText(QStringLiteral("КРЛ"));
        form->surnameEdit->setText(QStringLiteral("Ким"));
        emptied->clear();
        form->showAndActivate();
        QTest::mouseClick(form->acceptLink, Qt::LeftButton);
        EXPECT_TRUE(form->isVisible());
    }
    EXPECT_EQ(tree->read(resultsFile).size(), 0);
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(RegistrationWindowTest, AcceptTurnsBlackUnderThePointerAndGreyAway) {
    form->showAndActivate();
    EXPECT_EQ(form->acceptLink->fontColor(), LabColors::Grey);
    QTest::mouseMove(form->acceptLink, QPoint(10, 10));
    EXPECT_EQ(form->acceptLink->fontColor(), LabColors::Black);
    QTest::mouseMove(form->acceptStrip, QPoint(5, 5));
    EXPECT_EQ(form->acceptLink->fontColor(), LabColors::Grey);
    QTest::mouseMove(form->acceptLink, QPoint(10, 10));
    QTest::mouseMove(form.get(), QPoint(100, 30));
    EXPECT_EQ(form->acceptLink->fontColor(), LabColors::Grey);
}

TEST_F(RegistrationWindowTest, ShownModallyItReturnsOnceAccepted) {
    LabWindow::setModalHook([](LabWindow& w) {
        auto& reg = static_cast<RegistrationWindow&>(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&reg));
        typeKeys(reg.groupEdit, QStringLiteral("ХТу-21"));
        QTest::keyClick(reg.groupEdit, Qt::Key_Return);
        typeKeys(reg.surnameEdit, QStringLiteral("Сумин Г.Д."));
        QTest::mouseClick(reg.acceptLink, Qt::LeftButton);
    });
    form->exec();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(storedStudents(), QStringList{QStringLiteral("ХТу-21 / Сумин Г.Д.")});
}

TEST_F(RegistrationWindowTest, TheWindowIsYellowWithAStripFadingToWhite) {
    form->showAndActivate();
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

class RegistrationAtStartTest : public LabTest {};

TEST_F(RegistrationAtStartTest, AMissingResultsFileIsReportedAndTheStudentStillSaved) {
    createWindows();
    ASSERT_FALSE(programEnding());
    tree->remove(resultsFile);
    registerThroughWindow(QStringLiteral("КРЛ-99-1"), QStringLiteral("Ларцев О.Е."));
    if (HasFatalFailure()) return;

    EXPECT_EQ(messages->errorTexts(), QStringList{cannotOpenFileMessage(tree->path(resultsFile))});
    EXPECT_TRUE(programEnding());
    EXPECT_FALSE(lab->window<RegistrationWindow>()->isVisible());
    const QByteArray bytes = tree->read(resultsFile);
    ASSERT_EQ(bytes.size(), 300);
    EXPECT_EQ(bytes.mid(1, 8), Cp1251::encode(QStringLiteral("КРЛ-99-1")));
}

}  // namespace
