// Movies on a scaled screen: run once per scale (the test registration sets QT_SCALE_FACTOR),
// each time comparing what reaches the screen with the renderer's own drawing at that scale.
// LAB_SCREENSHOT_DIR, when set, receives the screenshots for looking at.

#include <gtest/gtest.h>

#include <QDir>
#include <QTest>
#include <cstdio>

#include "ScreenCompare.h"
#include "lab/Clock.h"
#include "movie/MoviePlayer.h"
#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {

const QString introMovie = QStringLiteral(LAB_PROGRAM_DIR "/Movie/1.swf");

class ScaledMovieTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLabClock(&clock);
        window.resize(715, 506);
        player = new MoviePlayer(&window);
        player->setGeometry(119, 96, 585, 361);  // where the main window keeps its movie
        player->setManualStepping(true);
    }
    void TearDown() override { setLabClock(nullptr); }
    ManualClock clock;
    QWidget window;
    MoviePlayer* player = nullptr;
};

TEST_F(ScaledMovieTest, TheScreenShowsTheRenderersDrawingAtTheScreensScale) {
    const double ratio = screentest::scale();
    ASSERT_TRUE(QFileInfo::exists(introMovie)) << "build the asset tree first";
    ASSERT_TRUE(player->setMovie(introMovie));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_DOUBLE_EQ(player->devicePixelRatioF(), ratio);

    for (const int ticks : {0, 7, 20}) {
        if (ticks) player->stepFrames(ticks - player->currentFrame());
        QApplication::processEvents();
        const QImage shot = screentest::screenshot(&window);
        const QRect area = screentest::deviceRect(player, ratio);
        ASSERT_TRUE(shot.rect().contains(area))
            << "screenshot " << shot.width() << "x" << shot.height() << " dpr "
            << shot.devicePixelRatio();
        const QImage onScreen = shot.copy(area);
        const QImage sharp = screentest::rendererFrame(introMovie, ticks, area.size());
        // The same frame drawn at 1x and enlarged, as a player unaware of the scale shows it.
        const QImage blownUp =
            screentest::rendererFrame(introMovie, ticks, player->size())
                .scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double matchSharp = screentest::sameShare(onScreen, sharp, onScreen.rect());
        const double matchBlown = screentest::sameShare(onScreen, blownUp, onScreen.rect());
        screentest::keep(shot, QStringLiteral("player-frame%1").arg(ticks));
        std::printf("scale %g frame %d: %.4f like the renderer at scale, %.4f like 1x enlarged\n",
                    ratio, ticks, matchSharp, matchBlown);
        EXPECT_GE(matchSharp, 0.99) << "frame " << ticks;
        if (ratio != 1.0) {
            EXPECT_GT(matchSharp, matchBlown) << "frame " << ticks;
        }
    }
}

TEST_F(ScaledMovieTest, RepaintsReuseTheFrameAndANewFrameIsDrawnOnce) {
    ASSERT_TRUE(player->setMovie(introMovie));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    const int afterShow = player->framesRendered();
    EXPECT_GE(afterShow, 1);
    // Something sliding over the movie repaints it many times; the frame is not drawn again.
    for (int i = 0; i < 5; ++i) {
        player->repaint();
        window.repaint();
    }
    EXPECT_EQ(player->framesRendered(), afterShow);
    player->stepFrames(1);
    player->repaint();
    player->repaint();
    EXPECT_EQ(player->framesRendered(), afterShow + 1);
    // A frame for another ratio (the window moved to a screen of another scale) is its own
    // drawing, at that screen's resolution.
    const QImage other = player->frameImage(player->devicePixelRatioF() + 0.5);
    EXPECT_EQ(player->framesRendered(), afterShow + 2);
    EXPECT_EQ(other.devicePixelRatio(), player->devicePixelRatioF() + 0.5);
    EXPECT_EQ(other.width(), int(std::ceil(585 * other.devicePixelRatio() - 1e-6)));
}

}  // namespace
