#include <QLabel>
#include <QTest>

#include "ExperimentTestSupport.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "experiments/equilibrium/EquilibriumWindow.h"
#include "experiments/temperature/TemperatureWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

namespace {

// Experiments 2 to 4 share their chrome: it stands in the same places in every window but
// for the topic title and the movie, and its close glyph leads back to the main window.
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
    QRect topicTitle;
    QRect movie;
};

class ExperimentChromeTest : public ExperimentTest,
                             public ::testing::WithParamInterface<ChromeRow> {};

TEST_P(ExperimentChromeTest, StandsInPlaceAndLeadsBackToTheMainWindow) {
    const ChromeRow& row = GetParam();
    ExperimentWindow* const window = row.window(lab);
    ExperimentChrome* const chrome = window;
    chrome->movie->setManualStepping(true);
    lab->window<MainWindow>()->chooseExperiment(row.experiment);
    lab->window<MainWindow>()->onExperimentLinkClicked();
    ASSERT_TRUE(window->isVisible());

    const std::pair<QWidget*, QRect> places[] = {
        {chrome->background, {0, 0, 715, 505}},    {chrome->numberTitle, {15, 6, 74, 24}},
        {chrome->topicTitle, row.topicTitle},      {chrome->nextLink, {11, 461, 62, 23}},
        {chrome->finishLink, {290, 461, 158, 23}}, {chrome->closeSpot, {698, 3, 13, 13}},
        {chrome->closeGlyph, {699, 2, 13, 13}},    {chrome->movie, row.movie},
    };
    for (const auto& [widget, place] : places)
        EXPECT_EQ(widget->geometry(), place) << widget->metaObject()->className();
    EXPECT_EQ(chrome->numberTitle->text(), QString::fromUtf8(row.number));
    EXPECT_EQ(chrome->topicTitle->text(), QString::fromUtf8(row.topic));
    EXPECT_TRUE(chrome->nextLink->isVisible());
    EXPECT_TRUE(chrome->finishLink->isVisible());

    EXPECT_FALSE(chrome->closeGlyph->isVisible());
    Q_EMIT chrome->closeSpot->mouseMove(1, 1);
    ASSERT_TRUE(chrome->closeGlyph->isVisible());
    QTest::mouseClick(chrome->closeGlyph, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ExperimentChromeTest,
    ::testing::Values(ChromeRow{"temperature", windowOf<TemperatureWindow>, 2, "Опыт 2",
                                "Влияние температуры на скорость реакции", QRect(249, 17, 246, 44),
                                QRect(4, 63, 705, 350)},
                      ChromeRow{"catalyst", windowOf<CatalystWindow>, 3, "Опыт 3",
                                "Влияние катализатора на скорость реакции", QRect(255, 19, 249, 44),
                                QRect(5, 65, 705, 350)},
                      ChromeRow{"equilibrium", windowOf<EquilibriumWindow>, 4, "Опыт 4",
                                "Смещение химического равновесия обратимой реакции",
                                QRect(208, 16, 352, 44), QRect(5, 65, 705, 400)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
