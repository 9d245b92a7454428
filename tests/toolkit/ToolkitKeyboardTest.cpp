// The toolkit's controls from the keyboard and for screen readers, and pictures on scaled
// screens: links reached with Tab and activated with Enter or Space without any change a mouse
// user would see, the @2x picture beside a loaded one, and what a screen reader is told.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "TestSupport.h"
#include "toolkit/Accessibility.h"
#include "toolkit/Jpeg.h"
#include "toolkit/LinkLabel.h"
#include "toolkit/Picture.h"
#include "toolkit/StringGrid.h"

namespace {

QImage filled(QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

bool writeJpeg(const QString& path, const QImage& image) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(encodeJpeg(image, 95)) > 0;
}

struct TwoLinks {
    QWidget window;
    LinkLabel* next = new LinkLabel(QStringLiteral("Далее"), &window);
    LinkLabel* finish = new LinkLabel(QStringLiteral("Закончить опыт"), &window);
    int nextClicks = 0, finishClicks = 0;
    TwoLinks() {
        window.resize(300, 100);
        next->setGeometry(10, 10, 120, 30);
        finish->setGeometry(10, 50, 200, 30);
        QObject::connect(next, &LinkLabel::clicked, [this] { ++nextClicks; });
        QObject::connect(finish, &LinkLabel::clicked, [this] { ++finishClicks; });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

}  // namespace

TEST(ToolkitKeyboard, LinksAreReachedWithTabAndActivatedWithEnterOrSpace) {
    TwoLinks w;
    // The window came up with its first link holding the focus unseen: the first Tab marks it.
    EXPECT_FALSE(w.next->showsFocusMark());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(w.next->hasFocus());
    EXPECT_TRUE(w.next->showsFocusMark());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w.nextClicks, 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(w.nextClicks, 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(w.finish->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(w.finishClicks, 1);
    EXPECT_EQ(w.nextClicks, 2);
    // Other keys do nothing; Shift+Tab goes back.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(w.next->hasFocus());
    EXPECT_EQ(w.nextClicks + w.finishClicks, 3);
}

TEST(ToolkitKeyboard, TheFocusFrameShowsOnlyForTheKeyboardAndAClickTakesNoFocus) {
    TwoLinks w;
    const QImage idle = w.next->grab().toImage();
    // A mouse click clicks, and leaves the link looking exactly as before.
    QTest::mouseClick(w.finish, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(w.finishClicks, 1);
    EXPECT_FALSE(w.finish->hasFocus());
    EXPECT_EQ(w.next->grab().toImage(), idle);
    // Reached with Tab it carries a frame in its own colour, gone again when the focus moves.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(w.next->showsFocusMark());
    const QImage focused = w.next->grab().toImage();
    EXPECT_NE(focused, idle);
    int framePixels = 0;
    for (int x = 0; x < focused.width(); ++x)
        for (int y = 0; y < focused.height(); ++y)
            if (focused.pixel(x, y) != idle.pixel(x, y) && qGray(focused.pixel(x, y)) < 60)
                ++framePixels;
    EXPECT_GT(framePixels, 20) << "a dark dotted frame like the black link text";
    QTest::keyClick(w.next, Qt::Key_Tab);
    EXPECT_EQ(w.next->grab().toImage(), idle);
}

TEST(ToolkitKeyboard, APictureUsesItsDoubleSizeFileOnScaledScreensWhenThereIsOne) {
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("Ground.jpg"));
    ASSERT_TRUE(writeJpeg(plain, filled({10, 8}, Qt::blue)));
    EXPECT_EQ(Picture::doubleSizePath(plain), dir.filePath(QStringLiteral("Ground@2x.jpg")));

    Picture noDouble;
    QString error;
    ASSERT_TRUE(noDouble.loadFromFile(plain, &error)) << error.toStdString();
    EXPECT_EQ(noDouble.imageForRatio(2).size(), QSize(10, 8)) << "no @2x file: the 1x picture";

    ASSERT_TRUE(writeJpeg(Picture::doubleSizePath(plain), filled({20, 16}, Qt::red)));
    Picture withDouble;
    ASSERT_TRUE(withDouble.loadFromFile(plain, &error));
    EXPECT_EQ(withDouble.imageForRatio(1).size(), QSize(10, 8));
    EXPECT_EQ(withDouble.imageForRatio(1.0).pixelColor(5, 4).blue(),
              withDouble.image().pixelColor(5, 4).blue());
    const QImage doubled = withDouble.imageForRatio(1.5);
    EXPECT_EQ(doubled.size(), QSize(20, 16));
    EXPECT_EQ(doubled.devicePixelRatio(), 2.0);
    EXPECT_GT(doubled.pixelColor(10, 8).red(), 200);
    EXPECT_EQ(withDouble.image().size(), QSize(10, 8)) << "what the windows read stays 1x";

    // A @2x file of the wrong size or that does not read is passed over without a word.
    ASSERT_TRUE(writeJpeg(Picture::doubleSizePath(plain), filled({19, 16}, Qt::red)));
    Picture wrongSize;
    ASSERT_TRUE(wrongSize.loadFromFile(plain));
    EXPECT_EQ(wrongSize.imageForRatio(2).size(), QSize(10, 8));
    QFile broken(Picture::doubleSizePath(plain));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    Picture unreadable;
    ASSERT_TRUE(unreadable.loadFromFile(plain));
    EXPECT_EQ(unreadable.imageForRatio(2).size(), QSize(10, 8));

    // A missing 1x file is the error, named as such, whatever lies beside it.
    QFile::remove(plain);
    ASSERT_TRUE(writeJpeg(Picture::doubleSizePath(plain), filled({20, 16}, Qt::red)));
    Picture missing;
    EXPECT_FALSE(missing.loadFromFile(plain, &error));
    EXPECT_TRUE(missing.image().isNull());
}

TEST(ToolkitAccessibility, LinksPicturesAndTableCellsTellWhatTheyAre) {
    TwoLinks w;
    EXPECT_EQ(labAccessibility::roleOf(w.next), QAccessible::Link);
    EXPECT_EQ(labAccessibility::nameOf(w.next), QStringLiteral("Далее"));
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(w.finish);
    ASSERT_TRUE(link && link->actionInterface());
    EXPECT_TRUE(link->state().focusable);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(w.finishClicks, 1);

    Picture glyph(&w.window);
    glyph.setProperty("labButton", true);
    glyph.setAccessibleName(QStringLiteral("Закрыть"));
    int closes = 0;
    QObject::connect(&glyph, &Picture::clicked, [&] { ++closes; });
    EXPECT_EQ(labAccessibility::roleOf(&glyph), QAccessible::Button);
    QAccessible::queryAccessibleInterface(&glyph)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_EQ(closes, 1);
    Picture background(&w.window);
    EXPECT_EQ(labAccessibility::roleOf(&background), QAccessible::Graphic);

    StringGrid grid(&w.window);
    grid.setColCount(3);
    grid.setRowCountCells(3);
    grid.setCell(1, 0, QStringLiteral("Время, с"));
    grid.setCell(2, 0, QStringLiteral("Скорость"));
    grid.setCell(0, 1, QStringLiteral("1"));
    grid.setCell(1, 1, QStringLiteral("12,5"));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_TRUE(table && table->tableInterface());
    const auto cellName = [&](int row, int col) {
        QAccessibleInterface* cell = table->tableInterface()->cellAt(row, col);
        return cell ? cell->text(QAccessible::Name) : QStringLiteral("(none)");
    };
    EXPECT_EQ(cellName(1, 1), QStringLiteral("Время, с, 1: 12,5"));
    EXPECT_EQ(cellName(1, 2), QStringLiteral("Скорость, 1: пусто"));
    EXPECT_EQ(cellName(0, 1), QStringLiteral("Время, с"));
    // Typed values are read as they are now.
    grid.setCell(2, 1, QStringLiteral("0,08"));
    EXPECT_EQ(cellName(1, 2), QStringLiteral("Скорость, 1: 0,08"));
}

// «Далее» hides itself when clicked and comes back at the end of the step's movie. Hiding the
// focused link passes the focus on as a Tab would; for a mouse user that is no keyboard focus, and
// the link comes back without a frame. Only a real Tab marks it.
TEST(ToolkitKeyboard, ALinkThatHidesOnAClickComesBackWithoutAFrame) {
    TwoLinks w;
    QObject::connect(w.next, &LinkLabel::clicked, [&w] { w.next->hide(); });
    ASSERT_TRUE(w.next->hasFocus());
    QTest::mouseClick(w.next, Qt::LeftButton, {}, QPoint(20, 15));
    ASSERT_EQ(w.nextClicks, 1);
    w.next->show();
    EXPECT_FALSE(w.next->showsFocusMark());
    EXPECT_FALSE(w.finish->showsFocusMark());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(w.next->showsFocusMark() || w.finish->showsFocusMark());
}
