// The player widget: the four operations the windows use, the play and loop settings, and
// real-time playback that never skips a pass's last frame.

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "MovieTestUtil.h"
#include "lab/Clock.h"
#include "movie/MoviePlayer.h"
#include "swf/Timeline.h"

namespace {

class MoviePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        setLabClock(&clock);
    }
    void TearDown() override { setLabClock(nullptr); }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString p = dir.filePath(name);
        EXPECT_TRUE(movietest::writeFile(p, bytes));
        return p;
    }
    QTemporaryDir dir;
    ManualClock clock;
};

TEST_F(MoviePlayerTest, AHeaderCountTheFileCannotKeepGivesWayToTheFramesPresent) {
    for (const int claimed : {40, 0}) {
        QByteArray bytes = movietest::countingMovie(3);
        ASSERT_EQ(quint8(bytes[0]), quint8('F'));
        // The frame count follows the 8 header bytes, the stage RECT and the 2-byte rate.
        const int nbits = quint8(bytes[8]) >> 3;
        const int at = 8 + (5 + 4 * nbits + 7) / 8 + 2;
        bytes[at] = char(claimed & 0xFF);
        bytes[at + 1] = char(claimed >> 8);
        MoviePlayer p;
        p.setManualStepping(true);
        p.setLoop(false);
        ASSERT_TRUE(p.setMovie(file("claims.swf", bytes)));
        EXPECT_EQ(p.totalFrames(), 3) << claimed;
        p.stepFrames(10);
        // The window's end-of-movie watch sees the last frame.
        EXPECT_EQ(p.currentFrame(), p.totalFrames() - 1) << claimed;
    }
}

TEST_F(MoviePlayerTest, PlayAndLoopOnRunThroughEveryFrameAndWrap) {
    MoviePlayer p;
    p.setManualStepping(true);
    ASSERT_TRUE(p.setMovie(file("a.swf", movietest::countingMovie(5))));
    EXPECT_EQ(p.totalFrames(), 5);
    std::vector<int> seen{p.currentFrame()};
    for (int i = 0; i < 11; ++i) {
        p.stepFrames(1);
        seen.push_back(p.currentFrame());
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1}));
}

TEST_F(MoviePlayerTest, PlayAndLoopOffRestOnFrame0UnlessFrame0SaysPlay) {
    MoviePlayer p;
    p.setPlay(false);
    p.setLoop(false);
    p.setManualStepping(true);
    ASSERT_TRUE(p.setMovie(file("a.swf", movietest::countingMovie(4))));
    p.stepFrames(10);
    EXPECT_EQ(p.currentFrame(), 0);
    EXPECT_FALSE(p.isPlaying());
    auto play0 = [](int f) {
        return f == 0 ? std::vector<swf::Action>{swf::Action::play()} : std::vector<swf::Action>{};
    };
    ASSERT_TRUE(p.setMovie(file("b.swf", movietest::countingMovie(4, play0))));
    EXPECT_EQ(p.currentFrame(), 0);
    p.stepFrames(10);
    EXPECT_EQ(p.currentFrame(), 3);
    EXPECT_EQ(p.currentFrame(), p.totalFrames() - 1);
}

TEST_F(MoviePlayerTest, StopHoldsTheFrameOnShow) {
    MoviePlayer p;
    p.setManualStepping(true);
    ASSERT_TRUE(p.setMovie(file("a.swf", movietest::countingMovie(5))));
    p.stepFrames(2);
    p.stop();
    p.stepFrames(5);
    EXPECT_EQ(p.currentFrame(), 2);
    EXPECT_FALSE(p.isPlaying());
}

// A movie that stops itself part-way (a tube movie waiting for «Старт») goes on from that frame
// when the window plays it on; playing on a movie that plays changes nothing.
TEST_F(MoviePlayerTest, PlayOnGoesOnFromWhereTheMovieStoppedItself) {
    MoviePlayer p;
    p.setManualStepping(true);
    auto stopAt2 = [](int f) {
        return f == 2 ? std::vector<swf::Action>{swf::Action::stop()} : std::vector<swf::Action>{};
    };
    ASSERT_TRUE(p.setMovie(file("wait.swf", movietest::countingMovie(6, stopAt2))));
    p.stepFrames(10);
    EXPECT_EQ(p.currentFrame(), 2);
    EXPECT_FALSE(p.isPlaying());
    p.playOn();
    EXPECT_TRUE(p.isPlaying());
    p.stepFrames(1);
    EXPECT_EQ(p.currentFrame(), 3);
    p.playOn();
    p.stepFrames(1);
    EXPECT_EQ(p.currentFrame(), 4);
}

TEST_F(MoviePlayerTest, ARefusedFileFailsWithTheReasonAndKeepsTheMovieOnShow) {
    MoviePlayer p;
    p.setManualStepping(true);
    ASSERT_TRUE(p.setMovie(file("good.swf", movietest::countingMovie(3))));
    QString error;
    EXPECT_FALSE(p.setMovie(file("bad.swf", QByteArray("not a movie at all")), &error));
    EXPECT_TRUE(error.contains(QLatin1String("signature"))) << qPrintable(error);
    EXPECT_FALSE(p.setMovie(dir.filePath("missing.swf"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(p.totalFrames(), 3);
}

TEST_F(MoviePlayerTest, FollowsTheClockNotTheTimerTicks) {
    MoviePlayer p;  // 10 frames per second
    ASSERT_TRUE(p.setMovie(file("a.swf", movietest::countingMovie(50))));
    clock.advance(99);
    p.catchUpWithClock();
    EXPECT_EQ(p.currentFrame(), 0);
    clock.advance(1);
    p.catchUpWithClock();
    EXPECT_EQ(p.currentFrame(), 1);
    clock.advance(450);  // behind: several frames at once
    p.catchUpWithClock();
    EXPECT_EQ(p.currentFrame(), 5);
}

TEST_F(MoviePlayerTest, NeverSkipsTheLastFrameOfAPass) {
    MoviePlayer p;
    ASSERT_TRUE(p.setMovie(file("a.swf", movietest::countingMovie(6))));
    clock.advance(10000);  // far behind
    p.catchUpWithClock();
    EXPECT_EQ(p.currentFrame(), 5);
    clock.advance(99);
    p.catchUpWithClock();
    EXPECT_EQ(p.currentFrame(), 5);  // still on show for a whole interval
    clock.advance(1);
    p.catchUpWithClock();
    EXPECT_EQ(p.currentFrame(), 0);
}

TEST_F(MoviePlayerTest, DrawsTheStageShowAllCentredOnTheStageColour) {
    swf::SwfWriter w(100, 50, 10);
    w.setBackground({0, 255, 0, 255});
    const auto id =
        w.defineShape(movietest::square({255, 0, 0, 255}, 50));  // left half of the stage
    w.placeObject(1, id);
    w.showFrame();
    MoviePlayer p;
    p.setManualStepping(true);
    p.resize(200, 200);
    ASSERT_TRUE(p.setMovie(file("a.swf", w.finish())));
    const QImage img = p.grab().toImage();
    ASSERT_EQ(img.size(), QSize(200, 200));
    EXPECT_EQ(QColor(img.pixel(100, 20)), QColor(0, 255, 0));   // letterbox: stage colour
    EXPECT_EQ(QColor(img.pixel(50, 100)), QColor(255, 0, 0));   // the square, scaled by 2
    EXPECT_EQ(QColor(img.pixel(150, 100)), QColor(0, 255, 0));  // the right half of the stage
}

}  // namespace
