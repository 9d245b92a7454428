// The drawing kit under the movies: curves converted for the SWF format, text outlines and
// chemical formulas, and scenes that move their objects instead of redrawing them.

#include <QImage>
#include <QPainter>
#include <cmath>

#include "Scene.h"
#include "ShapeBuilder.h"
#include "TestSupport.h"
#include "Text.h"
#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/SwfWriter.h"
#include "swf/Timeline.h"

namespace {

QPointF cubicAt(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double t) {
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

TEST(CurveConversion, QuadraticsStayWithinATenthOfAPixelOfTheCubic) {
    const struct {
        const char* name;
        QPointF p[4];
    } rows[] = {
        {"quarter circle", {{0, 0}, {0, 55.2}, {44.8, 100}, {100, 100}}},
        {"s-curve of a glyph", {{0, 0}, {12, -8}, {-4, 20}, {9, 14}}},
        {"long swoop", {{0, 0}, {300, -200}, {-100, 400}, {600, 20}}},
        {"tiny", {{5, 5}, {5.2, 5.1}, {5.3, 5.4}, {5.1, 5.6}}},
        {"cusp", {{0, 0}, {100, 100}, {0, 100}, {100, 0}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto quads = shapes::cubicToQuads(row.p[0], row.p[1], row.p[2], row.p[3]);
        ASSERT_FALSE(quads.empty());
        EXPECT_EQ(quads.back().anchor, row.p[3]);
        // Dense points of the quadratics; every point of the cubic lies near one of them.
        std::vector<QPointF> samples;
        QPointF start = row.p[0];
        for (const auto& q : quads) {
            for (int i = 0; i <= 400; ++i) {
                const double t = i / 400.0, u = 1 - t;
                samples.push_back(u * u * start + 2 * u * t * q.control + t * t * q.anchor);
            }
            start = q.anchor;
        }
        double worst = 0;
        for (int i = 0; i <= 400; ++i) {
            const QPointF c = cubicAt(row.p[0], row.p[1], row.p[2], row.p[3], i / 400.0);
            double best = 1e9;
            for (const QPointF& s : samples)
                best = std::min(best, std::hypot(c.x() - s.x(), c.y() - s.y()));
            worst = std::max(worst, best);
        }
        EXPECT_LE(worst, 0.1);
    }
}

TEST(Text, FormulasGetSubscriptsOnlyAfterSymbols) {
    const struct {
        const char* formula;
        const char* markup;
    } rows[] = {{"Na2S2O3", "Na_2S_2O_3"},
                {"H2SO4", "H_2SO_4"},
                {"Fe(SCN)3", "Fe(SCN)_3"},
                {"3KSCN", "3KSCN"},
                {"2H2O2", "2H_2O_2"},
                {"25 °C", "25 °C"},
                {"C12H22O11", "C_{12}H_{22}O_{11}"}};
    for (const auto& row : rows)
        EXPECT_EQ(text::chem(QString::fromUtf8(row.formula)), QString::fromUtf8(row.markup));
}

TEST(Text, SubscriptsSitLowerAndSmaller) {
    const text::Style style = text::plain(20);
    const QRectF digit = text::line("2", style).boundingRect();
    const QRectF sub = text::line("_2", style).boundingRect();
    EXPECT_LT(sub.height(), digit.height() * 0.8);
    EXPECT_GT(sub.bottom(), digit.bottom() + 2);
    const QRectF sup = text::line("^3", style).boundingRect();
    EXPECT_LT(sup.bottom(), digit.bottom() - 5);
}

TEST(Text, EquationArrowsAreDrawn) {
    const text::Style style = text::plain(20);
    for (const char* arrow : {"→", "←", "⇄", "↑", "↓"}) {
        SCOPED_TRACE(arrow);
        double advance = 0;
        const QPainterPath p = text::line(QString::fromUtf8(arrow), style, &advance);
        EXPECT_GT(advance, 8);
        EXPECT_GT(p.boundingRect().width() * p.boundingRect().height(), 20);
    }
}

// A line's glyphs painted black on white, 24 px, for comparing how letters look.
QImage painted(const QString& markup, const text::Style& style = text::plain(24)) {
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(text::at(markup, style, {8, 4}), Qt::black);
    return image;
}

// The share of pixels, out of those inked in either, where two paintings differ plainly.
double difference(const QImage& a, const QImage& b) {
    int inked = 0, differ = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const int ga = qGray(a.pixel(x, y)), gb = qGray(b.pixel(x, y));
            if (ga < 128 || gb < 128) ++inked;
            if (std::abs(ga - gb) > 128) ++differ;
        }
    return inked ? double(differ) / inked : 0;
}

// γ and τ never read as y and t: τ is the mathematical italic letter of DejaVu Math TeX Gyre,
// γ the drawn letter with its open loop; neither is the upright sans letter that readers took
// for y or t.
TEST(Text, GreekLettersAreUnlikeYAndTAndUnlikeTheSansLetters) {
    EXPECT_GT(difference(painted("γ"), painted("y")), 0.35);
    EXPECT_GT(difference(painted("τ"), painted("t")), 0.35);
    // The same letter placed by hand from a face, where ours stands.
    auto face = [&](const QString& family, double size, const QString& glyph) {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QFont font(family);
        font.setPixelSize(int(size + 0.5));
        QPainterPath path;
        path.addText(QPointF(8 + 24 * 0.06, 4 + text::ascent(text::plain(24))), font, glyph);
        p.fillPath(path, Qt::black);
        return image;
    };
    const QImage tau = painted("τ");
    const double fromMath =
        difference(tau, face("DejaVu Math TeX Gyre", 24 * 1.12, QString::fromUcs4(U"\U0001D70F")));
    EXPECT_LT(fromMath, 0.1);
    EXPECT_GT(difference(tau, face("DejaVu Sans", 24 * 0.94, "τ")), fromMath * 2 + 0.1);
    for (const char* family : {"DejaVu Sans", "Liberation Sans"})
        EXPECT_GT(difference(painted("γ"), face(family, 24, "γ")), 0.35) << family;
}

// The movie's text, drawn by the player from its outline shape, looks like the font drawn
// directly: the glyph outlines survive the conversion to quadratic curves and whole twips.
TEST(Text, OutlinesInAMovieMatchTheFont) {
    const QString markup = text::chem("Na2S2O3 + H2SO4 → S↓ Реактикум");
    const QPainterPath path = text::at(markup, text::plain(22), {10, 10});
    Scene scene(480, 50, Qt::white);
    art::Art a;
    a.fill(path, Qt::black);
    scene.put(a);
    scene.end();
    swf::ReadResult read = swf::readSwf(swf::writeMovie(scene.build()));
    ASSERT_TRUE(read.ok);
    swf::Timeline tl(std::move(read.movie), false, false);
    const QImage movie = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);

    QImage direct(480, 50, QImage::Format_RGB32);
    direct.fill(Qt::white);
    QPainter p(&direct);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(path, Qt::black);
    p.end();

    int ink = 0, differ = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 480; ++x) {
            const int d = qGray(direct.pixel(x, y)), m = qGray(movie.pixel(x, y));
            if (d < 128) ++ink;
            if (std::abs(d - m) > 96) ++differ;
        }
    EXPECT_GT(ink, 800);
    EXPECT_LT(differ, ink / 100);
}

TEST(Scene, MovingAndFadingReuseOneCharacter) {
    Scene scene(200, 100, Qt::white);
    art::Art dot;
    dot.fill(art::circle({0, 0}, 5), Qt::red);
    const Scene::Object o = scene.put(dot, {10, 50});
    scene.moveTo(o, {190, 50}, 5.0);
    scene.fadeTo(o, 0.2, 5.0);
    scene.wait(5.0);
    scene.end();
    const swf::Movie movie = scene.build();
    int shapes = 0, places = 0, moves = 0;
    for (const swf::Tag& t : movie.tags) {
        if (std::holds_alternative<swf::DefineShapeTag>(t)) ++shapes;
        if (const auto* p = std::get_if<swf::PlaceObjectTag>(&t)) (p->move ? moves : places)++;
    }
    EXPECT_EQ(shapes, 1);
    EXPECT_EQ(places, 1);
    EXPECT_EQ(moves, 60);
    EXPECT_EQ(movie.header.frameCount, 61);
    // Halfway (smoothly eased) the dot is in the middle, with the alpha halfway.
    swf::Timeline tl(movie, true, false);
    for (int i = 0; i < 30; ++i) tl.tick();
    const swf::DisplayObject& d = tl.root().displayList().begin()->second;
    EXPECT_NEAR(d.matrix.tx / 20.0, 100, 0.5);
    EXPECT_NEAR(d.cxform.mult[3] / 256.0, 0.6, 0.01);
}

// Drawings that never change are merged into one shape for the player; what it shows must stay
// what the scene describes, layers in the same order around the objects that move.
TEST(Scene, PlayerShowsWhatTheSceneDescribes) {
    Scene scene(300, 120, QColor(0xF4, 0xF7, 0xFB));
    art::Art panel;
    panel.fillStroke(art::roundRect(10, 10, 280, 100, 8), art::Paint::solid(Qt::white),
                     QColor(0x80, 0x90, 0xA0), 1.5);
    scene.put(panel, {}, 1);
    art::Art label;
    label.fill(text::at(text::chem("Na2S2O3"), text::bold(18), {20, 20}), Qt::black);
    scene.put(label, {}, 2);
    art::Art ball;
    ball.fill(
        art::circle({0, 0}, 14),
        art::Paint::radial({-4, -4}, 18, {{0, QColor(255, 200, 200)}, {1, QColor(200, 0, 0)}}));
    const Scene::Object moving = scene.put(ball, {40, 80}, 3);
    art::Art cover;
    cover.fill(art::rect(150, 60, 60, 40), QColor(0, 120, 0, 160));
    scene.put(cover, {}, 4);
    scene.moveTo(moving, {260, 80}, 2.0);
    scene.fadeTo(moving, 0.5, 2.0);
    scene.wait(2.0);
    scene.end();

    swf::ReadResult read = swf::readSwf(swf::writeMovie(scene.build()));
    ASSERT_TRUE(read.ok);
    swf::Timeline tl(std::move(read.movie), true, false);
    for (int f = 0; f < scene.frameCount(); ++f) {
        if (f > 0) tl.tick();
        if (f % 6 != 0) continue;
        const QImage movie = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
        const QImage described = scene.preview(f).convertToFormat(QImage::Format_RGB32);
        int differ = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 300; ++x) {
                const QRgb a = movie.pixel(x, y), b = described.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                        std::abs(qBlue(a) - qBlue(b)) >
                    60)
                    ++differ;
            }
        EXPECT_LT(differ, 60) << "frame " << f;
    }
}

}  // namespace
