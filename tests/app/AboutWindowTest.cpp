#include <gtest/gtest.h>

#include "OnScreen.h"
#include "PointerInput.h"
#include "TestSupport.h"
#include "app/AboutWindow.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "movie/MoviePlayer.h"
#include "toolkit/Colors.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

namespace {

class AboutWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        lab->window<MainWindow>()->setRegistrationShown(true);
        lab->window<MainWindow>()->showAndActivate();
    }
};
}  // namespace

TEST_F(AboutWindowTest, OkIsGreyBlackUnderThePointerGreyOverThePictureAndClosesTheWindow) {
    QList<uint> colours;
    bool modal = false;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != lab->window<AboutWindow>()) return;
        modal = lab->window<AboutWindow>()->isShownModally();
        colours << lab->window<AboutWindow>()->okLink->fontColor();
        pointer::move(lab->window<AboutWindow>()->okLink, {5, 5});
        colours << lab->window<AboutWindow>()->okLink->fontColor();
        pointer::move(lab->window<AboutWindow>()->movie, {50, 50});  // the movie does not reset it
        colours << lab->window<AboutWindow>()->okLink->fontColor();
        pointer::move(lab->window<AboutWindow>()->background, {100, 60});
        colours << lab->window<AboutWindow>()->okLink->fontColor();
        EXPECT_TRUE(onscreen::seenWholeAndReachable(lab->window<AboutWindow>()->okLink));
        pointer::click(lab->window<AboutWindow>()->okLink, {5, 5});
    });
    pointer::click(lab->window<MainWindow>()->aboutLink);
    EXPECT_TRUE(modal);
    EXPECT_EQ(colours, (QList<uint>{0x808080, 0x000000, 0x000000, 0x808080}));
    EXPECT_FALSE(lab->window<AboutWindow>()->isVisible());
    EXPECT_EQ(LabWindow::activeWindow(), static_cast<LabWindow*>(lab->window<MainWindow>()));
    EXPECT_EQ(lab->window<AboutWindow>()->okLink->text(), QStringLiteral("ОК"));
}

TEST_F(AboutWindowTest, ShowsTheCreditsOverTheGradientBesideTheLoopingMovie) {
    AboutWindow* about = lab->window<AboutWindow>();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about->border(), LabWindow::Border::Tool);
    EXPECT_TRUE(about->movie->movie().endsWith(QStringLiteral("/BackGround/About.swf")));
    EXPECT_TRUE(about->movie->isPlaying());
    EXPECT_TRUE(about->movie->loop());

    QStringList credits;
    for (LinkLabel* l : about->credits) credits << l->text();
    const QString all = credits.join('\n');
    EXPECT_TRUE(all.contains(QStringLiteral("Реактикум")));
    EXPECT_TRUE(all.contains(QStringLiteral("Виртуальная лаборатория по химии")));
    EXPECT_TRUE(all.contains(QStringLiteral("2026")));

    // As it stands once opened from the main window: the movie, every credit line and the OK
    // seen whole, nothing over any of them, and the gradient behind the credits.
    bool looked = false;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != about) return;
        looked = true;
        EXPECT_TRUE(onscreen::seenWholeAndReachable(about->movie));
        EXPECT_TRUE(onscreen::seenWholeAndReachable(about->okLink));
        for (LinkLabel* line : about->credits) {
            SCOPED_TRACE(line->text().toStdString());
            EXPECT_TRUE(onscreen::seenWholeAndReachable(line));
            EXPECT_TRUE(about->background->geometry().contains(onscreen::textInWindow(line)));
        }
        EXPECT_TRUE(about->background->geometry().contains(onscreen::textInWindow(about->okLink)));
        about->close();
    });
    pointer::click(lab->window<MainWindow>()->aboutLink);
    EXPECT_TRUE(looked);
}

TEST_F(AboutWindowTest, CreditLinesStandWholeOneUnderAnotherBesideTheMovie) {
    const AboutWindow* about = lab->window<AboutWindow>();
    ASSERT_EQ(about->credits.size(), 8);
    int bottom = 0;
    for (const LinkLabel* line : about->credits) {
        SCOPED_TRACE(line->text().toStdString());
        // Wide enough for the whole text on one line: no last word wrapped out of sight.
        EXPECT_GE(line->width(), line->fontMetrics().horizontalAdvance(line->text()));
        EXPECT_GE(line->height(), line->fontMetrics().height());
        EXPECT_GT(line->y(), bottom);  // below the line before, not over it
        EXPECT_GT(line->x(), about->movie->geometry().right());
        bottom = line->geometry().bottom();
    }
}

TEST_F(AboutWindowTest, OpensTheSameWayTwiceAndTheTitleBarCloseReturnsToTheMainWindow) {
    int opened = 0;
    QString movie;
    LabWindow::setModalHook([&](LabWindow& w) {
        if (&w != lab->window<AboutWindow>()) return;
        ++opened;
        movie = lab->window<AboutWindow>()->movie->movie();
        lab->window<AboutWindow>()->close();
    });
    pointer::click(lab->window<MainWindow>()->aboutLink);
    pointer::click(lab->window<MainWindow>()->aboutLink);
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(movie.endsWith(QStringLiteral("/BackGround/About.swf")));
    EXPECT_FALSE(lab->window<AboutWindow>()->isVisible());
    EXPECT_TRUE(lab->window<MainWindow>()->isVisible());
}
