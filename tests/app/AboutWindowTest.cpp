#include <gtest/gtest.h>

#include "PointerInput.h"
#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "core/LabState.h"
#include "movie/MoviePlayer.h"
#include "toolkit/Colors.h"
#include "toolkit/Controls.h"

namespace {
class AboutWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        LabState.registrationShown = true;
        lab->mainWindow()->showForm();
    }
};
}  // namespace

TEST_F(AboutWindowTest, OkIsGreyBlackUnderThePointerGreyOverThePictureAndClosesTheWindow) {
    QList<uint> colours;
    bool modal = false;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != lab->aboutWindow()) return;
        modal = lab->aboutWindow()->isShownModally();
        colours << lab->aboutWindow()->okLink->fontColor();
        pointer::move(lab->aboutWindow()->okLink, {5, 5});
        colours << lab->aboutWindow()->okLink->fontColor();
        pointer::move(lab->aboutWindow()->movie, {50, 50});  // the movie does not reset it
        colours << lab->aboutWindow()->okLink->fontColor();
        pointer::move(lab->aboutWindow()->background, {100, 60});
        colours << lab->aboutWindow()->okLink->fontColor();
        pointer::click(lab->aboutWindow()->okLink, {5, 5});
    });
    pointer::click(lab->mainWindow()->aboutLink);
    EXPECT_TRUE(modal);
    EXPECT_EQ(colours, (QList<uint>{0x808080, 0x000000, 0x000000, 0x808080}));
    EXPECT_FALSE(lab->aboutWindow()->isVisible());
    EXPECT_EQ(LabWindow::activeForm(), static_cast<LabWindow*>(lab->mainWindow()));
    EXPECT_EQ(lab->aboutWindow()->okLink->text(), QStringLiteral("ОК"));
}

TEST_F(AboutWindowTest, ShowsTheCreditsOverTheGradientBesideTheLoopingMovie) {
    EXPECT_EQ(lab->aboutWindow()->windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(lab->aboutWindow()->size(), QSize(360, 151));
    EXPECT_EQ(lab->aboutWindow()->border(), LabWindow::Border::Tool);
    EXPECT_TRUE(
        lab->aboutWindow()->movie->movie().endsWith(QStringLiteral("/BackGround/About.swf")));
    EXPECT_TRUE(lab->aboutWindow()->movie->isPlaying());
    EXPECT_TRUE(lab->aboutWindow()->movie->loop());

    QStringList credits;
    for (LinkLabel* l : {lab->aboutWindow()->subtitleLabel, lab->aboutWindow()->productLabel,
                         lab->aboutWindow()->editionLabel, lab->aboutWindow()->topicLabel,
                         lab->aboutWindow()->topicSecondLine, lab->aboutWindow()->developerHeading,
                         lab->aboutWindow()->developerLabel, lab->aboutWindow()->yearLabel})
        credits << l->text();
    const QString all = credits.join('\n');
    EXPECT_TRUE(all.contains(QStringLiteral("Реактикум")));
    EXPECT_TRUE(all.contains(QStringLiteral("Виртуальная лаборатория по химии")));
    EXPECT_TRUE(all.contains(QStringLiteral("2026")));
}

TEST_F(AboutWindowTest, OpensTheSameWayTwiceAndTheTitleBarCloseReturnsToTheMainWindow) {
    int opened = 0;
    QString movie;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != lab->aboutWindow()) return;
        ++opened;
        movie = lab->aboutWindow()->movie->movie();
        lab->aboutWindow()->close();
    });
    pointer::click(lab->mainWindow()->aboutLink);
    pointer::click(lab->mainWindow()->aboutLink);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(movie.endsWith(QStringLiteral("/BackGround/About.swf")));
    EXPECT_FALSE(lab->aboutWindow()->isVisible());
    EXPECT_TRUE(lab->mainWindow()->isVisible());
}
