#include <gtest/gtest.h>

#include "PointerInput.h"
#include "TestSupport.h"
#include "shell/WindowChrome.h"
#include "toolkit/Colors.h"
#include "toolkit/LabWindow.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"

namespace {
// A borderless window laid out like the laboratory's large windows: background, corner spot,
// glyph, two links and one plain control beside them.
struct ChromedWindow {
    explicit ChromedWindow(bool drag = true)
        : window(QStringLiteral("t"), QSize(715, 505), LabWindow::Border::None) {
        background = new Picture(&window);
        background->setGeometry(0, 0, 715, 505);
        spot = new Picture(&window);
        spot->setGeometry(698, 3, 13, 13);
        next = new LinkLabel(QStringLiteral("Далее"), &window);
        next->setGeometry(600, 460, 80, 23);
        finish = new LinkLabel(QStringLiteral("Закончить опыт"), &window);
        finish->setGeometry(20, 460, 180, 23);
        other = new Picture(&window);
        other->setGeometry(300, 300, 50, 50);
        glyph = new Picture(&window);
        glyph->setGeometry(699, 2, 13, 13);
        BorderlessChrome chrome{&window, background,     glyph,
                                spot,    {next, finish}, [this] { ++glyphClicks; }};
        chrome.drag = drag;
        attachBorderlessChrome(chrome);
        window.showAndActivate();
        window.move(200, 150);
    }
    LabWindow window;
    Picture* background;
    Picture* spot;
    Picture* glyph;
    LinkLabel* next;
    LinkLabel* finish;
    Picture* other;
    int glyphClicks = 0;
};

class WindowChromeTest : public LabTest {};
}  // namespace

TEST_F(WindowChromeTest, DraggingMovesTheWindowByThePointerAndKeepsThePressPointUnderIt) {
    ChromedWindow w;
    const QPoint start = w.window.pos();
    const QPoint pressAt(250, 480);
    const QPoint grabbed = w.background->mapToGlobal(pressAt);
    pointer::press(w.background, pressAt);

    pointer::moveTo(w.background, grabbed + QPoint(30, 20), Qt::LeftButton);
    EXPECT_EQ(w.window.pos(), start + QPoint(30, 20));
    EXPECT_EQ(w.background->mapToGlobal(pressAt), grabbed + QPoint(30, 20));

    // The next position is measured from the moved window; the drag knows no limits.
    pointer::moveTo(w.background, grabbed + QPoint(-900, -700), Qt::LeftButton);
    EXPECT_EQ(w.window.pos(), start + QPoint(-900, -700));

    pointer::release(w.background, w.background->mapFromGlobal(grabbed + QPoint(-900, -700)));
    pointer::move(w.background, {10, 10});
    EXPECT_EQ(w.window.pos(), start + QPoint(-900, -700));
}

TEST_F(WindowChromeTest, RightButtonDragsTooAndAMoveReportedWithoutScreenPositionStillDrags) {
    ChromedWindow w;
    const QPoint start = w.window.pos();
    pointer::press(w.background, {100, 100}, Qt::RightButton);
    pointer::moveTo(w.background, w.background->mapToGlobal(QPoint(130, 120)), Qt::RightButton);
    EXPECT_EQ(w.window.pos(), start + QPoint(30, 20));
    // A move handed to the background's handler directly, as a window's own code may do.
    Q_EMIT w.background->mouseMove(90, 105);
    EXPECT_EQ(w.window.pos(), start + QPoint(20, 25));
    pointer::release(w.background, {90, 105}, Qt::RightButton);
    // Released: a later move of the pointer leaves the window where it is.
    Q_EMIT w.background->mouseMove(10, 10);
    EXPECT_EQ(w.window.pos(), start + QPoint(20, 25));
}

TEST_F(WindowChromeTest, LinksTurnRedUnderThePointerAndBlackOnlyOverTheBackground) {
    ChromedWindow w;
    EXPECT_EQ(w.next->fontColor(), LabColors::Black);
    pointer::move(w.next);
    EXPECT_EQ(w.next->fontColor(), LabColors::Red);
    EXPECT_EQ(w.next->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    // Leaving onto another control keeps the colour.
    pointer::move(w.other);
    pointer::move(w.finish);
    EXPECT_EQ(w.next->fontColor(), LabColors::Red);
    EXPECT_EQ(w.finish->fontColor(), LabColors::Red);
    pointer::move(w.background, {400, 200});
    EXPECT_EQ(w.next->fontColor(), LabColors::Black);
    EXPECT_EQ(w.finish->fontColor(), LabColors::Black);
    EXPECT_EQ(w.window.pos(), QPoint(200, 150));  // no button held: no drag
}

TEST_F(WindowChromeTest, GlyphShowsOverTheCornerSpotAndItsClickIsTheWindowsToHandle) {
    ChromedWindow w;
    EXPECT_FALSE(w.glyph->isVisible());
    pointer::move(w.spot, {6, 6});
    EXPECT_TRUE(w.glyph->isVisible());
    EXPECT_TRUE(w.glyph->geometry().contains(w.spot->geometry().center()));
    pointer::move(w.other);
    EXPECT_TRUE(w.glyph->isVisible());
    pointer::move(w.background, {690, 10});
    EXPECT_FALSE(w.glyph->isVisible());

    pointer::move(w.spot, {6, 6});
    pointer::press(w.glyph, {6, 6}, Qt::RightButton);
    pointer::release(w.glyph, {6, 6}, Qt::RightButton);
    EXPECT_EQ(w.glyphClicks, 0);
    pointer::click(w.glyph, {6, 6});
    EXPECT_EQ(w.glyphClicks, 1);
}

TEST_F(WindowChromeTest, WithoutDragTheBackgroundOnlyResetsTheLinks) {
    ChromedWindow w(false);
    pointer::move(w.next);
    const QPoint start = w.window.pos();
    pointer::press(w.background, {100, 100});
    pointer::moveTo(w.background, w.background->mapToGlobal(QPoint(130, 120)), Qt::LeftButton);
    pointer::release(w.background, {130, 120});
    EXPECT_EQ(w.window.pos(), start);
    EXPECT_EQ(w.next->fontColor(), LabColors::Black);
}
