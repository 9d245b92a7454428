#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include "TestSupport.h"
#include "lab/FileAccess.h"
#include "lab/ProgramDir.h"
#include "lab/ReferenceData.h"
#include "movie/MoviePlayer.h"
#include "shell/Loaders.h"
#include "toolkit/Picture.h"

namespace {

class LoadersTest : public LabTest {};
}  // namespace

TEST_F(LoadersTest, ProgramDirPathsUseTheProgramFolder) {
    EXPECT_EQ(assetPath(QStringLiteral("\\Movie\\Opyt1\\5_3.swf")),
              tree->dir() + "/Movie/Opyt1/5_3.swf");
    EXPECT_FALSE(programFolder().endsWith('/'));
}

TEST_F(LoadersTest, MissingMovieNamesTheFlashComponentOnceAndStillHandsThePathOn) {
    MoviePlayer player;
    tree->remove("Movie/Opyt2/1.swf");
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\Opyt2\\1.swf"));
    EXPECT_EQ(messages->errorTexts(),
              QStringList{missingMovieMessage(tree->path("Movie/Opyt2/1.swf"))});
    EXPECT_TRUE(programEnding());
}

TEST_F(LoadersTest, ReadOnlyMovieFailsTheProbeAndEmptyMoviePassesIt) {
    MoviePlayer player;
    QFile::setPermissions(tree->path("Movie/1.swf"), QFile::ReadOwner | QFile::ReadGroup);
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\1.swf"));
    EXPECT_EQ(messages->errorTexts().value(0), missingMovieMessage(tree->path("Movie/1.swf")));
    EXPECT_TRUE(programEnding());

    messages->clear();
    navigation.ended = false;
    tree->write("Movie/Opyt3/1.swf", QByteArray());
    EXPECT_TRUE(probeReadWrite(tree->path("Movie/Opyt3/1.swf")));
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\Opyt3\\1.swf"));
    EXPECT_FALSE(
        messages->errorTexts().contains(missingMovieMessage(tree->path("Movie/Opyt3/1.swf"))));
}

TEST_F(LoadersTest, MovieTheProbeAcceptsLoadsWithoutAMessage) {
    MoviePlayer player;
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\Opyt4\\2.swf"));
    EXPECT_TRUE(messages->texts().isEmpty());
    EXPECT_EQ(player.movie(), tree->path("Movie/Opyt4/2.swf"));
}

TEST_F(LoadersTest, MovieThePlayerRefusesGivesTheSecondMessageAndEndsTheProgram) {
    MoviePlayer player;
    tree->write("Movie/Opyt3/2.swf", QByteArray("this is not a movie at all"));
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\Opyt3\\2.swf"));
    EXPECT_EQ(messages->errorTexts(), QStringList{missingFilesMessage});
    EXPECT_TRUE(programEnding());
}

TEST_F(LoadersTest, PictureFailuresNameTheFullPath) {
    Picture picture;
    tree->remove("Restextout/6.jpg");
    loadPicture(navigation, &picture, QStringLiteral("\\Restextout\\6.jpg"));
    const QString expected =
        QStringLiteral("Невозможно открыть файл по адресу: ") + tree->dir() +
        QStringLiteral("/Restextout/6.jpg. Выполнение программы будет остановлено!!!");
    EXPECT_EQ(messages->errorTexts(), QStringList{expected});
    EXPECT_TRUE(programEnding());

    // A corrupt picture is refused the same way and the old picture stays.
    messages->clear();
    loadPicture(navigation, &picture, QStringLiteral("\\BackGround\\Opit.jpg"));
    ASSERT_TRUE(messages->texts().isEmpty());
    tree->write("BackGround/Ground.jpg", tree->read("BackGround/Ground.jpg").left(300));
    loadPicture(navigation, &picture, QStringLiteral("\\BackGround\\Ground.jpg"));
    EXPECT_EQ(messages->errorTexts().size(), 1);
    EXPECT_EQ(picture.image().size(), QSize(715, 505));
}

TEST_F(LoadersTest, APipeInPlaceOfAFileIsRefusedWithoutWaitingForAWriter) {
    for (const char* relative : {"Restextout/6.jpg", "Movie/Opyt3/1.swf", "Dannie.txt"}) {
        tree->remove(relative);
        ASSERT_EQ(::mkfifo(QFile::encodeName(tree->path(relative)).constData(), 0666), 0);
    }
    Picture picture;
    loadPicture(navigation, &picture, QStringLiteral("\\Restextout\\6.jpg"));
    MoviePlayer player;
    loadMovie(navigation, &player, QStringLiteral("\\Movie\\Opyt3\\1.swf"));
    EXPECT_FALSE(ReferenceData().load(tree->path("Dannie.txt")).opened);
    EXPECT_EQ(
        messages->errorTexts(),
        (QStringList{cannotOpenFileMessage(tree->path("Restextout/6.jpg")), missingFilesMessage}));
}
