#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <algorithm>

#include "ExperimentTestSupport.h"
#include "experiments/common/MovieEndWatch.h"
#include "experiments/common/Stopwatch.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/RadioGroup.h"

namespace {

const QString Right = QStringLiteral("Вы правы!!!");
const QString NotRight = QStringLiteral("Вы не правы!!!");
const QStringList RightBoxes = {"в", "г", "а", "б", "3", "3"};

class EquilibriumWindowTest : public ExperimentTest {
protected:
    void SetUp() override {
        ExperimentTest::SetUp();
        w = lab->window<EquilibriumWindow>();
        // This player does not play by itself: one-frame movies rest on their last frame.
        for (int step = 1; step <= 6; ++step)
            tree->write(QStringLiteral("Movie/Opyt4/%1.swf").arg(step), minimalSwf(705, 400, 1));
    }

    void start() { startRun(w, 4); }

    void reachDirections() {
        start();
        w->onNextClicked();
        w->movieEndWatch->fire();
        ASSERT_TRUE(w->nextLink->isVisible());
        w->onNextClicked();
        ASSERT_FALSE(w->nextLink->isVisible());
        w->movieEndWatch->fire();
        ASSERT_TRUE(w->directionGroups[0]->isVisible());
    }

    void choose(int group, int item) { w->directionGroups[group - 1]->button(item)->click(); }

    void fillBoxes(const QStringList& texts) {
        for (int i = 0; i < 6; ++i) {
            w->answerBoxes[i]->clear();
            typeKeys(w->answerBoxes[i], texts[i]);
        }
    }

    bool boxesVisible() const {
        for (QLineEdit* box : w->answerBoxes)
            if (!box->isVisible()) return false;
        return true;
    }

    EquilibriumWindow* w = nullptr;
};

struct Choice {
    int group;
    int item;
};

struct RunRow {
    const char* name;
    std::vector<Choice> choices;
    QStringList expectedMessages;
    int wrongBoxChecks;
    float recorded;
};

class EquilibriumRunTest : public EquilibriumWindowTest,
                           public ::testing::WithParamInterface<RunRow> {};

TEST_P(EquilibriumRunTest, DirectionsThenBoxesRecordMean) {
    const RunRow& row = GetParam();
    reachDirections();
    for (const Choice& c : row.choices) choose(c.group, c.item);
    EXPECT_EQ(messages->messageTexts(), row.expectedMessages);
    EXPECT_FALSE(w->directionGroups[0]->isVisible());
    EXPECT_EQ(w->step(), 4);
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt4\\4.swf"));
    EXPECT_TRUE(boxesVisible());
    EXPECT_TRUE(w->nextLink->isVisible());

    messages->clear();
    for (int i = 0; i < row.wrongBoxChecks; ++i) {
        QStringList wrong = RightBoxes;
        wrong[i % 6] = "х";
        fillBoxes(wrong);
        w->onNextClicked();
    }
    EXPECT_EQ(messages->messageTexts(), QStringList(qsizetype(row.wrongBoxChecks), NotRight));
    EXPECT_EQ(recordedScore(4), 0.0f);

    fillBoxes(RightBoxes);
    w->onNextClicked();
    EXPECT_EQ(recordedScore(4), row.recorded);
    EXPECT_FALSE(boxesVisible());
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt4\\5.swf"));
    EXPECT_TRUE(w->nextLink->isVisible());
    w->onNextClicked();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt4\\6.swf"));
    EXPECT_FALSE(w->nextLink->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Runs, EquilibriumRunTest,
    ::testing::Values(
        RunRow{"inOrder", {{1, 0}, {2, 0}, {3, 1}}, {Right, Right, Right}, 0, 5.0f},
        RunRow{"reversedOrder", {{3, 1}, {2, 0}, {1, 0}}, {Right, Right, Right}, 0, 5.0f},
        RunRow{"wrongDirectionFirst",
               {{1, 1}, {1, 0}, {3, 1}, {2, 0}},
               {NotRight, Right, Right, Right},
               0,
               4.5f},
        RunRow{"wrongBoxesOnly", {{2, 0}, {1, 0}, {3, 1}}, {Right, Right, Right}, 2, 4.5f},
        RunRow{"bothKindsWrong",
               {{3, 0}, {3, 1}, {1, 0}, {2, 1}, {2, 0}},
               {NotRight, Right, Right, NotRight, Right},
               1,
               4.0f}),
    [](const auto& info) { return std::string(info.param.name); });

struct BoxFaultRow {
    const char* name;
    int box;
    const char* text;
};

class EquilibriumBoxFaultTest : public EquilibriumWindowTest,
                                public ::testing::WithParamInterface<BoxFaultRow> {};

TEST_P(EquilibriumBoxFaultTest, NearMissFailsAndReplaysStepFour) {
    reachDirections();
    choose(1, 0);
    choose(2, 0);
    choose(3, 1);
    messages->clear();
    QStringList texts = RightBoxes;
    texts[GetParam().box - 1] = QString::fromUtf8(GetParam().text);
    fillBoxes(texts);
    w->onNextClicked();
    EXPECT_EQ(messages->messageTexts(), QStringList{NotRight});
    EXPECT_EQ(w->step(), 4);
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt4\\4.swf"));
    EXPECT_EQ(w->grading.answerBoxGrade, 4);
    EXPECT_TRUE(boxesVisible());
    EXPECT_TRUE(w->nextLink->isVisible());
    EXPECT_EQ(w->answerBoxes[0]->text(), texts[0]);
    EXPECT_EQ(recordedScore(4), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Boxes, EquilibriumBoxFaultTest,
                         ::testing::Values(BoxFaultRow{"upperCaseVe", 1, "В"},
                                           BoxFaultRow{"trailingSpace", 4, "б "}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EquilibriumWindowTest, WatchActsOnlyWhileVisible) {
    start();
    EXPECT_EQ(w->movie->movie(), movie("\\Movie\\Opyt4\\1.swf"));
    EXPECT_FALSE(w->movie->play());
    EXPECT_FALSE(w->movie->loop());
    w->onNextClicked();
    ASSERT_FALSE(w->nextLink->isVisible());
    w->done();
    w->movieEndWatch->fire();
    w->showAndActivate();
    EXPECT_FALSE(w->nextLink->isVisible());
    w->movieEndWatch->fire();
    EXPECT_TRUE(w->nextLink->isVisible());
}

TEST_F(EquilibriumWindowTest, ASecondRunStartsCleanAndRightAnswersRecordFive) {
    reachDirections();
    choose(1, 1);
    choose(1, 0);
    choose(2, 0);
    choose(3, 1);
    fillBoxes(RightBoxes);
    w->onNextClicked();
    ASSERT_EQ(recordedScore(4), 4.5f);
    click(w->finishLink);
    ASSERT_TRUE(lab->window<MainWindow>()->isVisible());

    messages->clear();
    reachDirections();
    for (RadioGroup* group : w->directionGroups) {
        EXPECT_EQ(group->itemIndex(), -1);
        for (int item = 0; item < group->count(); ++item)
            EXPECT_FALSE(group->button(item)->isChecked());
    }
    EXPECT_FALSE(boxesVisible());
    choose(1, 0);
    choose(2, 0);
    choose(3, 1);
    EXPECT_EQ(messages->messageTexts(), (QStringList{Right, Right, Right}));
    ASSERT_TRUE(boxesVisible());
    EXPECT_EQ(w->answerBoxes[0]->text(), QString());
    fillBoxes(RightBoxes);
    w->onNextClicked();
    EXPECT_EQ(recordedScore(4), 5.0f);
}

}  // namespace

namespace {
// The longest run of dark pixels along any row of the image.
int longestDarkRun(const QImage& image) {
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = qGray(image.pixel(x, y)) < 110 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

// The label part of a radio button, right of its indicator.
QImage labelOf(QRadioButton* button) {
    const QImage whole = button->grab().toImage();
    const int indicator = button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
    return whole.copy(indicator + 4, 0, whole.width() - indicator - 4, whole.height());
}
}  // namespace

// The answers keep the window's texts "-->" and "<--", but a student sees arrows: one unbroken
// shaft as long as the text, where the typed text would show two dashes with gaps between them.
TEST_F(EquilibriumWindowTest, DirectionAnswersAreSetAsArrows) {
    reachDirections();
    QFontMetrics metrics(w->directionGroups[0]->button(0)->font());
    const int textWidth = metrics.horizontalAdvance(QStringLiteral("-->"));
    for (RadioGroup* group : w->directionGroups) {
        EXPECT_EQ(group->button(0)->text(), QStringLiteral("-->"));
        EXPECT_EQ(group->button(1)->text(), QStringLiteral("<--"));
        for (int item = 0; item < 2; ++item)
            EXPECT_GE(longestDarkRun(labelOf(group->button(item))), textWidth * 8 / 10)
                << "item " << item;
    }
    // The same button set as typed text has no such shaft: the check tells the two apart.
    QRadioButton typed(QStringLiteral("-->"));
    typed.setFont(w->directionGroups[0]->button(0)->font());
    typed.resize(w->directionGroups[0]->button(0)->size());
    EXPECT_LT(longestDarkRun(labelOf(&typed)), textWidth * 6 / 10);
}
