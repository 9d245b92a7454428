#include <QTest>

#include "ExperimentTestSupport.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/common/Stopwatch.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/RadioButton.h"

namespace {

const QString NotRight = QStringLiteral("Нет, вы не правы!!!");
const QString FiveMessage = QStringLiteral("Оценка за выполнение опыта№3: 5 !!!!");

class CatalystWindowTest : public ExperimentTest {
protected:
    void SetUp() override {
        ExperimentTest::SetUp();
        w = lab->window<CatalystWindow>();
    }

    void start() { startRun(w, 3); }

    // Steps 1 to 3: the question is on show.
    void reachQuestion() {
        start();
        w->onNextClicked();
        w->onNextClicked();
        ASSERT_EQ(w->step(), 3);
    }

    void restAndWatch() {
        restOnLastFrame(w->movie);
        w->movieEndWatch->fire();
    }

    CatalystWindow* w = nullptr;
};

TEST_F(CatalystWindowTest, StepsShowNextOnlyAfterSecondMovie) {
    start();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt3\\1.swf"));
    EXPECT_TRUE(w->nextLink->isVisible());
    w->onNextClicked();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt3\\2.swf"));
    EXPECT_FALSE(w->nextLink->isVisible());
    restAndWatch();
    EXPECT_TRUE(w->nextLink->isVisible());
    w->onNextClicked();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt3\\3.swf"));
    EXPECT_TRUE(w->wrongOption->isVisible());
    EXPECT_TRUE(w->rightOption->isVisible());
    restAndWatch();
    EXPECT_FALSE(w->nextLink->isVisible());
}

TEST_F(CatalystWindowTest, RightOptionFirstRecordsFive) {
    reachQuestion();
    w->rightOption->click();
    EXPECT_EQ(messages->messageTexts(), QStringList{FiveMessage});
    EXPECT_EQ(w->step(), 4);
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt3\\4.swf"));
    EXPECT_FALSE(w->wrongOption->isVisible());
    EXPECT_FALSE(w->rightOption->isVisible());
    EXPECT_EQ(recordedScore(3), 5.0f);
    restAndWatch();
    EXPECT_FALSE(w->nextLink->isVisible());
}

TEST_F(CatalystWindowTest, WrongOptionThenRightRecordsTwoAndHalf) {
    reachQuestion();
    w->wrongOption->click();
    w->wrongOption->click();  // already chosen: nothing more
    EXPECT_EQ(messages->messageTexts(), QStringList{NotRight});
    EXPECT_EQ(w->step(), 3);
    EXPECT_EQ(recordedScore(3), 0.0f);
    w->rightOption->click();
    EXPECT_EQ(recordedScore(3), 2.5f);
    EXPECT_EQ(messages->messageTexts(),
              (QStringList{NotRight, QStringLiteral("Оценка за выполнение опыта№3: 2,5 !!!!")}));
}

TEST_F(CatalystWindowTest, ASecondRunStartsCleanAndTheRightAnswerRecordsFive) {
    reachQuestion();
    w->wrongOption->click();
    w->rightOption->click();
    ASSERT_EQ(recordedScore(3), 2.5f);
    click(w->finishLink);
    ASSERT_FALSE(w->isVisible());

    messages->clear();
    reachQuestion();
    EXPECT_FALSE(w->rightOption->isChecked());
    EXPECT_FALSE(w->wrongOption->isChecked());
    click(w->rightOption);
    EXPECT_EQ(w->step(), 4);
    EXPECT_EQ(messages->messageTexts(), QStringList{FiveMessage});
    EXPECT_EQ(recordedScore(3), 5.0f);
}

}  // namespace
