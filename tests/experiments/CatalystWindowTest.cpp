#include <QTest>

#include "ExperimentTestSupport.h"
#include "experiments/CatalystWindow.h"
#include "toolkit/Controls.h"

namespace {

const QString NotRight = QStringLiteral("Нет, вы не правы!!!");

class CatalystWindowTest : public ExperimentTest {
protected:
    void SetUp() override {
        ExperimentTest::SetUp();
        w = Form6;
    }

    void start() { startRun(w, 3); }

    // Steps 1 to 3: the question is on show.
    void reachQuestion() {
        start();
        w->Label14Click();
        w->Label14Click();
        ASSERT_EQ(LabState.MovieStep, 3);
    }

    void restAndWatch() {
        restOnLastFrame(w->Flash1);
        w->Timer1->fire();
    }

    TForm6* w = nullptr;
};

TEST_F(CatalystWindowTest, StepsShowNextOnlyAfterSecondMovie) {
    start();
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt3\\1.swf"));
    EXPECT_TRUE(w->Label14->isVisible());
    w->Label14Click();
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt3\\2.swf"));
    EXPECT_FALSE(w->Label14->isVisible());
    restAndWatch();
    EXPECT_TRUE(w->Label14->isVisible());
    w->Label14Click();
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt3\\3.swf"));
    EXPECT_TRUE(w->RadioButton1->isVisible());
    EXPECT_TRUE(w->RadioButton2->isVisible());
    restAndWatch();
    EXPECT_FALSE(w->Label14->isVisible());
}

TEST_F(CatalystWindowTest, RightOptionFirstRecordsFive) {
    reachQuestion();
    w->RadioButton2->click();
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(LabState.MovieStep, 4);
    EXPECT_EQ(w->Flash1->movie(), movie("\\Movie\\Opyt3\\4.swf"));
    EXPECT_FALSE(w->RadioButton1->isVisible());
    EXPECT_FALSE(w->RadioButton2->isVisible());
    EXPECT_EQ(recordedScore(3), 5.0f);
    restAndWatch();
    EXPECT_FALSE(w->Label14->isVisible());
}

TEST_F(CatalystWindowTest, WrongOptionThenRightRecordsTwoAndHalf) {
    reachQuestion();
    w->RadioButton1->click();
    w->RadioButton1->click();  // already chosen: nothing more
    EXPECT_EQ(messages->messageTexts(), QStringList{NotRight});
    EXPECT_EQ(LabState.MovieStep, 3);
    EXPECT_EQ(recordedScore(3), 0.0f);
    w->RadioButton2->click();
    EXPECT_EQ(recordedScore(3), 2.5f);
    EXPECT_EQ(messages->messageTexts().size(), 1);
}

TEST_F(CatalystWindowTest, SecondRunKeepsChoiceAndGrade) {
    reachQuestion();
    w->RadioButton2->click();
    ASSERT_EQ(recordedScore(3), 5.0f);
    QTest::mouseClick(w->Label5, Qt::LeftButton);
    ASSERT_FALSE(w->isVisible());

    reachQuestion();
    EXPECT_TRUE(w->RadioButton2->isChecked());
    w->RadioButton2->click();
    EXPECT_EQ(LabState.MovieStep, 3);
    w->RadioButton1->click();
    w->RadioButton2->click();
    EXPECT_EQ(messages->messageTexts(), QStringList{NotRight});
    EXPECT_EQ(recordedScore(3), 2.5f);
}

}  // namespace
