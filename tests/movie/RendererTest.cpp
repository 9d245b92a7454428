// What the renderer draws: fills from FillStyle0 and FillStyle1 edges, hairlines, colour
// transforms composed through sprites, and frames drawn again from the kept images.

#include <gtest/gtest.h>

#include <QImage>

#include "MovieTestUtil.h"
#include "SwfFixtures.h"
#include "movie/Renderer.h"
#include "swf/Timeline.h"

namespace {

QImage render(const swf::Movie& m, QSize size = QSize()) {
    swf::Timeline tl(m, true, true);
    return swf::renderFrame(tl, size).convertToFormat(QImage::Format_RGB32);
}

int maxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

TEST(Renderer, AFrameDrawnAgainFromKeptImagesLooksTheSame) {
    swf::Timeline tl(fixtures::builderMovie(false), true, true);
    const QImage first = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
    const QImage second = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
    const QImage third = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(first.size(), QSize(705, 350));
    EXPECT_LE(maxDifference(first, second), 2);
    EXPECT_LE(maxDifference(first, third), 2);
    EXPECT_NE(first.pixel(350, 175), 0u);
}

TEST(Renderer, DrawsWhatPlaysOfAMovieCutAtEveryByte) {
    // What the reader keeps of a cut movie (shapes cut in their records, sprites cut in their
    // frames) draws like any other movie.
    for (const bool compressed : {false, true}) {
        SCOPED_TRACE(compressed ? "CWS" : "FWS");
        const QByteArray bytes = swf::writeMovie(fixtures::builderMovie(compressed));
        int drawn = 0;
        for (qsizetype n = 0; n <= bytes.size(); ++n) {
            swf::ReadResult r = swf::readSwf(bytes.left(n));
            if (!r.ok) continue;
            swf::Timeline tl(std::move(r.movie), true, true);
            for (int i = 0; i < 8; ++i) tl.tick();
            EXPECT_EQ(swf::renderFrame(tl, QSize(20, 10)).size(), QSize(20, 10)) << n;
            ++drawn;
        }
        EXPECT_GT(drawn, bytes.size() / 2);
    }
}

TEST(Renderer, FillsFromFillStyle0EdgesReversedAndFillStyle1EdgesForward) {
    // Two squares side by side sharing an edge: the left one is fill 1 as FillStyle1 (clockwise),
    // the right one is fill 2 as FillStyle0 (counter-clockwise); the shared edge carries both.
    swf::SwfWriter w(40, 20, 10);
    w.setBackground({255, 255, 255, 255});
    auto s = std::make_shared<swf::Shape>();
    s->version = 3;
    s->bounds = swf::Rect{0, 800, 0, 400};
    s->styles.push_back(swf::StyleSet{
        {swf::FillStyle::solid({255, 0, 0, 255}), swf::FillStyle::solid({0, 0, 255, 255})}, {}});
    swf::ShapeRecord mv;
    mv.hasMove = true;
    mv.hasFill1 = true;
    mv.fill1 = 1;
    s->records.push_back(mv);
    s->records.push_back(swf::ShapeRecord::straight(400, 0));  // top of the left square
    swf::ShapeRecord both;
    both.hasFill0 = true;
    both.fill0 = 2;
    s->records.push_back(both);
    s->records.push_back(
        swf::ShapeRecord::straight(0, 400));  // shared edge: left fill1, right fill0
    swf::ShapeRecord left;
    left.hasFill0 = true;
    left.fill0 = 0;
    s->records.push_back(left);
    s->records.push_back(swf::ShapeRecord::straight(-400, 0));
    s->records.push_back(swf::ShapeRecord::straight(0, -400));
    swf::ShapeRecord right;
    right.hasMove = true;
    right.moveX = 400;
    right.moveY = 400;
    right.hasFill1 = true;
    right.fill1 = 0;
    right.hasFill0 = true;
    right.fill0 = 2;
    s->records.push_back(right);
    // The same turn as the shared edge (down): along the bottom, up the right side, back on top.
    s->records.push_back(swf::ShapeRecord::straight(400, 0));
    s->records.push_back(swf::ShapeRecord::straight(0, -400));
    s->records.push_back(swf::ShapeRecord::straight(-400, 0));
    const auto id = w.defineShape(*s);
    w.placeObject(1, id);
    w.showFrame();
    w.finish();
    const QImage img = render(w.movie());
    EXPECT_EQ(QColor(img.pixel(10, 10)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(30, 10)), QColor(0, 0, 255));
}

TEST(Renderer, AZeroWidthLineIsAHairlineOfOnePixel) {
    swf::SwfWriter w(40, 40, 10);
    w.setBackground({255, 255, 255, 255});
    swf::ShapeSpec d;
    d.lines.push_back(swf::LineStyle::make(0, {0, 0, 0, 255}));
    swf::SubPath p(swf::px(0), swf::px(20.5), 0, 1);
    p.lineTo(swf::px(40), swf::px(20.5));
    d.paths.push_back(p);
    const auto id = w.defineShape(d);
    w.placeObject(
        1, id,
        swf::Matrix::fromValues(0.01, 0, 0, 0.01, 0, swf::px(20.5) * 0.99));  // shrunk 100 times
    w.showFrame();
    w.finish();
    const QImage img = render(w.movie());
    int dark = 0;
    for (int y = 0; y < 40; ++y) dark += qRed(img.pixel(0, y)) < 128;
    EXPECT_GE(dark, 1);
    EXPECT_LE(dark, 2);
}

TEST(Renderer, ColourTransformsComposeThroughSprites) {
    swf::SwfWriter w(20, 20, 10);
    w.setBackground({0, 0, 0, 255});
    const auto id = w.defineShape(movietest::square({200, 100, 50, 255}, 20));
    swf::SpriteBuilder inner;
    inner.placeObject(1, id, swf::Matrix(), swf::CxForm::multiply(0.5, 1, 1, 1));  // red halved
    inner.showFrame();
    const auto innerId = w.defineSprite(inner);
    swf::CxForm add;
    add.hasAdd = true;
    add.add[2] = 100;  // blue + 100
    w.placeObject(1, innerId, swf::Matrix(), add);
    w.showFrame();
    w.finish();
    const QImage img = render(w.movie());
    const QColor c(img.pixel(10, 10));
    EXPECT_NEAR(c.red(), 100, 2);
    EXPECT_NEAR(c.green(), 100, 2);
    EXPECT_NEAR(c.blue(), 150, 2);
}

TEST(Renderer, AFadingShapeKeptAsAnImageLooksLikeTheFadedShape) {
    swf::SwfWriter w(20, 20, 10);
    w.setBackground({255, 255, 255, 255});
    const auto id = w.defineShape(movietest::square({0, 0, 0, 255}, 20));
    w.placeObject(1, id, swf::Matrix(), swf::CxForm::alpha(0.5));
    w.showFrame();
    w.setColorTransform(1, swf::CxForm::alpha(0.25));
    w.showFrame();
    w.finish();
    swf::Timeline tl(w.movie(), true, true);
    for (int i = 0; i < 3; ++i) {
        const QImage img = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
        EXPECT_NEAR(qRed(img.pixel(10, 10)), 128, 2);
    }
    tl.tick();
    for (int i = 0; i < 3; ++i) {
        const QImage img = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
        EXPECT_NEAR(qRed(img.pixel(10, 10)), 191, 2);
    }
}

}  // namespace

namespace {
// Found by fuzzing: a shape far outside the stage (device coordinates beyond any int) is simply
// not drawn, first time and from the kept image alike.
TEST(Renderer, AShapeFarOffTheStageDrawsNothing) {
    swf::SwfWriter w(20, 20, 10);
    w.setBackground({255, 255, 255, 255});
    swf::ShapeSpec far;
    far.fills.push_back(swf::FillStyle::solid({0, 0, 0, 255}));
    far.paths.push_back(swf::SubPath::rect(1.0e8, 1.0e8, 9.0e8, 9.0e8, 1, 0));
    const auto id = w.defineShape(far);
    w.placeObject(1, id, swf::Matrix::fromValues(16000, 0, 0, 16000, 0, 0));  // ±1e12 pixels
    w.placeObject(2, id, swf::Matrix::fromValues(1, 0, 0, 1, 1.0e9, 1.0e9));
    w.showFrame();
    w.finish();
    swf::Timeline tl(w.movie(), true, true);
    for (int i = 0; i < 3; ++i) {
        const QImage img = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(QColor(img.pixel(10, 10)), QColor(255, 255, 255));
    }
}
}  // namespace
