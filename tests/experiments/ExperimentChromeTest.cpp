#include <QLabel>
#include <QTest>

#include "ExperimentTestSupport.h"
#include "OnScreen.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

namespace {

// Experiments 2 to 4 share their chrome: the number and topic over the movie, "Далее" and
// "Закончить опыт" under it, each seen whole with nothing over it, and a close glyph in the
// top-right corner that leads back to the main window.
using WindowOf = ExperimentWindow* (*)(Laboratory*);

template <class Window>
ExperimentWindow* windowOf(Laboratory* lab) {
    return lab->window<Window>();
}

struct ChromeRow {
    const char* name;
    WindowOf window;
    int experiment;
    const char* number;
    const char* topic;
};

class ExperimentChromeTest : public ExperimentTest,
                             public ::testing::WithParamInterface<ChromeRow> {};

TEST_P(ExperimentChromeTest, TitlesAndLinksStandWholeAndTheCloseGlyphLeadsBack) {
    const ChromeRow& row = GetParam();
    ExperimentWindow* const window = row.window(lab);
    ExperimentChrome* const chrome = window;
    chrome->movie->setManualStepping(true);
    lab->window<MainWindow>()->chooseExperiment(row.experiment);
    lab->window<MainWindow>()->onExperimentLinkClicked();
    ASSERT_TRUE(window->isVisible());

    EXPECT_EQ(chrome->numberTitle->text(), QString::fromUtf8(row.number));
    EXPECT_EQ(chrome->topicTitle->text(), QString::fromUtf8(row.topic));
    // The titles above the movie and the links below it: their texts whole, nothing over them,
    // and none over another.
    const QRect movie = chrome->movie->geometry();
    const QRect number = onscreen::textInWindow(chrome->numberTitle);
    const QRect topic = onscreen::textInWindow(chrome->topicTitle);
    const QRect next = onscreen::textInWindow(chrome->nextLink);
    const QRect finish = onscreen::textInWindow(chrome->finishLink);
    for (QLabel* control :
         {chrome->numberTitle, chrome->topicTitle, static_cast<QLabel*>(chrome->nextLink),
          static_cast<QLabel*>(chrome->finishLink)}) {
        SCOPED_TRACE(control->text().toStdString());
        EXPECT_TRUE(onscreen::seenWholeAndReachable(control));
    }
    EXPECT_LT(number.bottom(), movie.top());
    EXPECT_LT(topic.bottom(), movie.top());
    EXPECT_GT(next.top(), movie.bottom()) << onscreen::describe(next);
    EXPECT_GT(finish.top(), movie.bottom()) << onscreen::describe(finish);
    EXPECT_FALSE(number.intersects(topic));
    EXPECT_FALSE(next.intersects(finish));
    EXPECT_TRUE(window->rect().contains(chrome->movie->geometry()));
    EXPECT_EQ(chrome->background->geometry(), window->rect());

    // The close glyph shows over the top-right corner once the pointer is there, and a click
    // where it shows leads back to the main window.
    EXPECT_FALSE(chrome->closeGlyph->isVisible());
    Q_EMIT chrome->closeSpot->mouseMove(1, 1);
    ASSERT_TRUE(chrome->closeGlyph->isVisible());
    EXPECT_TRUE(onscreen::seenWholeAndReachable(chrome->closeGlyph));
    EXPECT_LT(window->width() - chrome->closeGlyph->geometry().right(), 20);
    EXPECT_LT(chrome->closeGlyph->y(), 20);
    QTest::mouseClick(chrome->closeGlyph, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ExperimentChromeTest,
    ::testing::Values(ChromeRow{"temperature", windowOf<TemperatureWindow>, 2, "Опыт 2",
                                "Влияние температуры на скорость реакции"},
                      ChromeRow{"catalyst", windowOf<CatalystWindow>, 3, "Опыт 3",
                                "Влияние катализатора на скорость реакции"},
                      ChromeRow{"equilibrium", windowOf<EquilibriumWindow>, 4, "Опыт 4",
                                "Смещение химического равновесия обратимой реакции"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
