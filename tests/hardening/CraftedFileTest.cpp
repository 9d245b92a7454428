// Movies and pictures made to exhaust the machine, met where a student meets them: in the
// program folder, read by the windows. Each is refused with the message a damaged file gets and
// the program ends, or it is shown with the work of each frame bounded.

#include <gtest/gtest.h>

#include "BadInput.h"
#include "CraftedJpeg.h"
#include "CraftedMovies.h"
#include "TestSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "experiments/catalyst/CatalystWindow.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/Jpeg.h"

namespace {

// ---- pictures ----

TEST(CraftedPicture, AProgressivePictureOfTwentyThousandScansIsRefused) {
    const QByteArray jpeg = crafted::manyScanJpeg(20'000);
    EXPECT_LT(jpeg.size(), 700'000);
    QString error;
    EXPECT_TRUE(decodeJpeg(jpeg, &error).isNull());
    EXPECT_EQ(error, QStringLiteral("too many scans"));
}

TEST(CraftedPicture, AProgressivePictureOfAHundredScansIsShown) {
    for (int scans : {2, 10, 100}) {
        SCOPED_TRACE(scans);
        QString error;
        const QImage image = decodeJpeg(crafted::manyScanJpeg(scans), &error);
        ASSERT_FALSE(image.isNull()) << error.toStdString();
        EXPECT_EQ(image.size(), QSize(715, 505));
        // The checker of the picture, block by block.
        EXPECT_NEAR(qGray(image.pixel(4, 4)), 60, 3);
        EXPECT_NEAR(qGray(image.pixel(12, 4)), 200, 3);
        EXPECT_NEAR(qGray(image.pixel(12, 12)), 60, 3);
    }
    EXPECT_TRUE(decodeJpeg(crafted::manyScanJpeg(101)).isNull());
}

TEST(CraftedPicture, APictureOfOverFourMegapixelsIsRefusedBeforeItsPixelsAreRead) {
    const QImage square = decodeJpeg(crafted::manyScanJpeg(2, 2048, 2048));
    EXPECT_EQ(square.size(), QSize(2048, 2048));
    QString error;
    for (const QSize size : {QSize(2049, 2048), QSize(4096, 1100)}) {
        SCOPED_TRACE(size.width());
        EXPECT_TRUE(
            decodeJpeg(crafted::manyScanJpeg(2, size.width(), size.height()), &error).isNull());
        EXPECT_EQ(error, QStringLiteral("picture size out of range"));
    }
}

class CraftedFileTest : public LabTest {};

TEST_F(CraftedFileTest, ASplashOfTwentyThousandScansGetsTheDamagedPictureMessage) {
    tree->write("BackGround/ZGround.jpg", crafted::manyScanJpeg(20'000));
    createWindows();
    EXPECT_EQ(messages->errorTexts(),
              QStringList{cannotOpenFileMessage(tree->path("BackGround/ZGround.jpg"))});
    EXPECT_TRUE(programEnding());
}

// ---- movies, met by the window of experiment 3 ----

struct CraftedMovie {
    const char* name;
    QByteArray (*bytes)();
};

const CraftedMovie refusedMovies[] = {
    {"EmptyFramesInflatingToSixtyTwoMegabytes",
     [] { return crafted::emptyFramesMovie(62'000'000); }},
    {"EmptyFramesUpToTheLengthLimit",
     [] { return crafted::emptyFramesMovie(swf::kMaxFileLength); }},
    {"AShapeOfTwoMillionEdges", [] { return crafted::manyEdgesMovie(2'000'000); }},
    {"TwentyThousandPlacementsInAFrame",
     [] { return crafted::manyPlacementsMovie(20'000, 20'000, 180); }},
};

class RefusedMovieTest : public LabTest, public ::testing::WithParamInterface<CraftedMovie> {};

TEST_P(RefusedMovieTest, GetsTheDamagedMovieMessageAndEndsTheProgram) {
    createWindows();
    tree->write("Movie/Opyt3/1.swf", GetParam().bytes());
    MoviePlayer* player = lab->window<CatalystWindow>()->movie;
    player->setManualStepping(true);

    lab->window<MainWindow>()->chooseExperiment(3);
    lab->window<MainWindow>()->onExperimentLinkClicked();

    // The text a damaged movie gets: nothing tells a crafted file from a broken one.
    EXPECT_EQ(messages->errorTexts(), QStringList{missingFilesMessage});
    EXPECT_TRUE(programEnding());
    EXPECT_EQ(player->totalFrames(), 0);
}

INSTANTIATE_TEST_SUITE_P(Crafted, RefusedMovieTest, ::testing::ValuesIn(refusedMovies),
                         [](const ::testing::TestParamInfo<CraftedMovie>& info) {
                             return std::string(info.param.name);
                         });

// 20,000 placements a thousand a frame: shown, each frame drawing the objects a player keeps.
TEST_F(CraftedFileTest, TwentyThousandPlacementsOverFramesDrawAtMostTheObjectsKept) {
    createWindows();
    tree->write("Movie/Opyt3/1.swf", crafted::manyPlacementsMovie(20'000, 1000, 180));
    MoviePlayer* player = lab->window<CatalystWindow>()->movie;
    player->setManualStepping(true);
    lab->window<MainWindow>()->chooseExperiment(3);
    lab->window<MainWindow>()->onExperimentLinkClicked();
    EXPECT_TRUE(messages->texts().isEmpty());
    ASSERT_EQ(player->totalFrames(), 180);

    int mostShapes = 0;
    for (int frame = 0; frame < 30; ++frame) {
        ASSERT_FALSE(player->frameImage(1.0).isNull());
        mostShapes = std::max(mostShapes, player->lastFrameWork().shapes);
        EXPECT_FALSE(player->lastFrameWork().cut);
        player->stepFrames(1);
    }
    EXPECT_EQ(mostShapes, swf::kMaxLiveObjects);
}

}  // namespace
