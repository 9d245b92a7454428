// The main window on a scaled screen (the test registration sets QT_SCALE_FACTOR): its intro
// movie as the screen shows it against the renderer's own drawing at that scale, over the part
// of the picture that stays still while the movie plays, and the close glyph drawn at the
// screen's resolution. LAB_SCREENSHOT_DIR, when set, receives the screenshots.

#include <QDir>
#include <QPainter>
#include <QTest>
#include <cstdio>

#include "ScreenCompare.h"
#include "TestSupport.h"
#include "app/Laboratory.h"
#include "app/MainWindow.h"
#include "movie/MoviePlayer.h"
#include "movie/Renderer.h"
#include "shell/WindowChrome.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"
#include "toolkit/Picture.h"

namespace {

const QString introMovie = QStringLiteral(LAB_PROGRAM_DIR "/Movie/1.swf");

class ScaledWindowTest : public LabTest {
protected:
    void SetUp() override {
        LabTest::SetUp();
        createWindows();
        lab->window<MainWindow>()->setRegistrationShown(true);  // signed in already
    }
};

TEST_F(ScaledWindowTest, TheIntroMovieOnScreenIsTheRenderersDrawingAtTheScreensScale) {
    const double ratio = screentest::scale();
    MainWindow* main = lab->window<MainWindow>();
    ASSERT_TRUE(QFileInfo::exists(introMovie)) << "build the asset tree first";
    main->movie->setManualStepping(true);
    ASSERT_TRUE(main->movie->setMovie(introMovie));
    main->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    ASSERT_DOUBLE_EQ(main->movie->devicePixelRatioF(), ratio);

    const QRect area = screentest::deviceRect(main->movie, ratio);
    const int ticks = 12;
    QList<QImage> frames;
    for (int t : {0, 6, ticks, 24, 36})
        frames << screentest::rendererFrame(introMovie, t, area.size());
    const QImage steady = screentest::steadyMask(frames);

    main->movie->stepFrames(ticks);
    QApplication::processEvents();
    const QImage shot = screentest::screenshot(main);
    screentest::keep(shot, QStringLiteral("main-window"));
    ASSERT_TRUE(shot.rect().contains(area));
    const QImage sharp = screentest::rendererFrame(introMovie, ticks, area.size());
    const QImage blownUp =
        screentest::rendererFrame(introMovie, ticks, main->movie->size())
            .scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double matchSharp = screentest::sameShareMasked(shot, area.topLeft(), sharp, steady);
    const double matchBlown = screentest::sameShareMasked(shot, area.topLeft(), blownUp, steady);
    std::printf(
        "scale %g: %.4f of the still part like the renderer at scale, %.4f like 1x "
        "enlarged\n",
        ratio, matchSharp, matchBlown);
    EXPECT_GE(matchSharp, 0.97);
    if (ratio != 1.0) {
        EXPECT_GT(matchSharp, matchBlown);
    }
}

TEST_F(ScaledWindowTest, TheCloseGlyphIsDrawnAtTheScreensResolution) {
    const double ratio = screentest::scale();
    MainWindow* main = lab->window<MainWindow>();
    main->showAndActivate();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    // In device pixels: a painter on it works in device pixels too.
    QImage before = screentest::screenshot(main);
    before.setDevicePixelRatio(1);
    main->closeGlyph->show();
    main->closeGlyph->repaint();
    QTest::qWait(100);  // a display server shows the new pixels a moment later
    const QImage shot = screentest::screenshot(main);
    const QRect area = screentest::deviceRect(main->closeGlyph, ratio);
    ASSERT_TRUE(shot.rect().contains(area));
    // At a fractional scale the glyph's corner falls between device pixels: the references
    // are drawn from that very point, over what the window showed there without the glyph.
    const QPointF corner =
        QPointF(main->closeGlyph->mapTo(main, QPoint(0, 0))) * ratio - area.topLeft();
    // The glyph drawn straight at the scale, and its 1x image enlarged.
    QImage direct = before.copy(area);
    {
        QPainter p(&direct);
        p.translate(corner);
        p.scale(ratio, ratio);
        p.setClipRect(QRect(0, 0, 13, 13));
        paintCloseGlyph(p);
    }
    QImage blownUp = before.copy(area);
    {
        QPainter p(&blownUp);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRectF(corner, QSizeF(13, 13) * ratio), closeGlyphImage());
    }
    const QImage onScreen = shot.copy(area);
    screentest::keep(onScreen.scaled(onScreen.size() * 8), QStringLiteral("close-glyph"));
    const double matchDirect = screentest::sameShare(onScreen, direct, onScreen.rect());
    const double matchBlown = screentest::sameShare(onScreen, blownUp, onScreen.rect());
    std::printf("scale %g: %.4f of the glyph like the drawing at scale, %.4f like 1x enlarged\n",
                ratio, matchDirect, matchBlown);
    EXPECT_GE(matchDirect, 0.9);
    if (ratio != 1.0) {
        EXPECT_GT(matchDirect, matchBlown);
    }
}

}  // namespace
