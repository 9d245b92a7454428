// Every label of every movie and picture can be read at the stage's own scale from the back of
// the room: no glyph run is smaller than the type scale allows (12 px, sub- and superscripts
// 10 px), every text stands out from its ground by the contrast the art direction sets, and no
// two labels that are on show at the same time lie over each other or run off the stage.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPathStroker>
#include <cmath>
#include <string>
#include <vector>

#include "AssetTree.h"
#include "Insets.h"
#include "Palette.h"
#include "Slides.h"
#include "Text.h"

namespace {

// Every text drawn while `draw` runs that breaks the type scale or the contrast rule.
template <class Draw>
std::vector<std::string> inkProblems(Draw draw) {
    text::resetSizeLog();
    text::resetInkLog();
    draw();
    std::vector<std::string> out;
    const text::SizeLog sizes = text::sizeLog();
    if (sizes.body.size < text::minimumSize)
        out.push_back("too small: «" + sizes.body.markup.toStdString() + "» at " +
                      std::to_string(sizes.body.size) + " px");
    if (sizes.index.size < text::smallestIndexSize)
        out.push_back("index too small: «" + sizes.index.markup.toStdString() + "»");
    for (const text::Ink& ink : text::inkLog()) {
        const double c = text::contrast(ink.colour, ink.ground);
        if (c < text::neededContrast(ink.style))
            out.push_back("faint: «" + ink.markup.toStdString() + "» at " + std::to_string(c) +
                          ":1");
    }
    return out;
}

void drawEveryAsset() {
    for (const assets::MovieAsset& m : assets::movieAssets()) m.make();
    for (const assets::FileAsset& p : assets::pictureAssets()) p.bytes();
}

TEST(Legibility, EveryTextOfEveryAssetKeepsTheTypeScaleAndStandsOutFromItsGround) {
    for (const std::string& problem : inkProblems(drawEveryAsset)) ADD_FAILURE() << problem;
    // The check sees the texts at all: the smallest body text is a real label, and every
    // movie's and picture's texts went through the log.
    const text::SizeLog sizes = text::sizeLog();
    EXPECT_LT(sizes.body.size, 20.0);
    EXPECT_FALSE(sizes.body.markup.isEmpty());
    EXPECT_GT(text::inkLog().size(), 500u);
}

TEST(Legibility, SmallAndFaintTextIsFound) {
    const std::vector<std::string> problems = inkProblems([] {
        Scene s = slides::stage(300, 100);
        slides::putText(s, "Подсказка мелко", text::plain(11), {10, 10});
        slides::putText(s, "Бледная подпись", text::plain(14), {10, 40}, text::Align::Left,
                        QColor(0xA0, 0xAC, 0xB8));
        slides::putText(s, "Крупно и бледно", text::bold(20), {10, 70}, text::Align::Left,
                        QColor(0x76, 0x83, 0x8F));
    });
    bool small = false, faint = false;
    for (const std::string& p : problems) {
        small |= p.find("too small: «Подсказка мелко»") != std::string::npos;
        faint |= p.find("faint: «Бледная подпись»") != std::string::npos;
        // Large bold text needs only 3:1.
        EXPECT_EQ(p.find("Крупно"), std::string::npos) << p;
    }
    EXPECT_TRUE(small);
    EXPECT_TRUE(faint);
}

// Two texts on show at once collide when their outlines' boxes overlap by more than a sliver.
bool collide(const QRectF& a, const QRectF& b) {
    const QRectF both = a.intersected(b);
    return both.width() > 1.5 && both.height() > 1.5;
}

// What is wrong with the labels of a movie: at every other frame, texts on show (mostly
// opaque) that overlap another or leave the stage; at most `limit` reports.
std::vector<std::string> textProblems(const Scene& s, int limit = 5) {
    std::vector<std::string> out;
    const QRectF stage(0, 0, s.width(), s.height());
    for (int f = 0; f < s.frameCount() && int(out.size()) < limit; f += 2) {
        std::vector<std::pair<const Scene::TextNote*, QRectF>> shown;
        for (const Scene::TextNote& t : s.texts())
            if (s.presentAt(t.object, f) && s.alphaAt(t.object, f) > 0.6)
                shown.push_back({&t, s.transformAt(t.object, f).mapRect(t.bounds)});
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const std::string a = shown[i].first->markup.toStdString();
            if (!stage.contains(shown[i].second))
                out.push_back("frame " + std::to_string(f) + ": «" + a + "» leaves the stage");
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                if (collide(shown[i].second, shown[j].second))
                    out.push_back("frame " + std::to_string(f) + ": «" + a + "» over «" +
                                  shown[j].first->markup.toStdString() + "»");
        }
    }
    return out;
}

TEST(Legibility, LabelsOnShowTogetherNeitherOverlapNorLeaveTheStage) {
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        SCOPED_TRACE(m.path.toStdString());
        const Scene s = m.make();
        ASSERT_FALSE(s.texts().empty());
        for (const std::string& problem : textProblems(s)) ADD_FAILURE() << problem;
    }
}

TEST(Legibility, CollidingAndRunawayLabelsAreFound) {
    Scene s = slides::stage(200, 100);
    slides::putText(s, "Первая строка", text::plain(14), {10, 10});
    slides::putText(s, "Вторая строка", text::plain(14), {30, 16});
    slides::putText(s, "За краем сцены", text::plain(14), {150, 70});
    s.wait(1.0);
    slides::finish(s);
    const std::vector<std::string> problems = textProblems(s, 100);
    ASSERT_FALSE(problems.empty());
    bool overlap = false, runaway = false;
    for (const std::string& p : problems) {
        overlap |= p.find(" over ") != std::string::npos;
        runaway |= p.find("leaves the stage") != std::string::npos;
    }
    EXPECT_TRUE(overlap);
    EXPECT_TRUE(runaway);
}

// Pixels near a colour, allowing for the edges' smoothing.
bool near(QColor a, QColor b, int tolerance = 70) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           tolerance;
}

struct Arrow {
    int x = -1;
    int length = 0;     // pixels of the arrow's colour running up and down the column
    int headWidth = 0;  // the widest run across it near its top
};

// The vertical arrow of colour `c` in the columns [x0, x1] beside a label whose middle is at
// y: the column with the longest run through y, and how wide it is near its top end.
Arrow arrowBeside(const QImage& img, int x0, int x1, int y, QColor c) {
    Arrow best;
    for (int x = std::max(0, x0); x <= std::min(img.width() - 1, x1); ++x) {
        if (!near(img.pixelColor(x, y), c)) continue;
        int top = y, bottom = y;
        while (top > 0 && near(img.pixelColor(x, top - 1), c)) --top;
        while (bottom < img.height() - 1 && near(img.pixelColor(x, bottom + 1), c)) ++bottom;
        if (bottom - top + 1 <= best.length) continue;
        best.x = x;
        best.length = bottom - top + 1;
        best.headWidth = 0;
        for (int row = top; row <= top + 9; ++row) {
            int left = x, right = x;
            while (left > 0 && near(img.pixelColor(left - 1, row), c)) --left;
            while (right < img.width() - 1 && near(img.pixelColor(right + 1, row), c)) ++right;
            best.headWidth = std::max(best.headWidth, right - left + 1);
        }
    }
    return best;
}

// The energy profile of the catalyst's conclusion, at its size there, reads at 1x: Eₐ stands
// just left of its arrow and Eₐ′ just right of its own, both arrows long with heads wider than
// their shafts, and the curves' names lie well inside the panel.
TEST(Legibility, TheEnergyProfileShowsEachLabelBesideItsArrowWithVisibleHeads) {
    Scene s = slides::stage(705, 350);
    insets::catalystProfile(s, {12, 140}, {428, 204}, QStringLiteral("Энергия активации"));
    s.wait(3.0);
    slides::finish(s);
    const QImage img = s.preview(s.frameCount() - 1);
    const QRectF panel(12, 140, 428, 204);
    int labels = 0;
    for (const Scene::TextNote& t : s.texts()) {
        const QRectF r = t.bounds;
        const int middle = int(r.center().y());
        if (t.markup == QLatin1String("E_a") || t.markup == QStringLiteral("E_a′")) {
            ++labels;
            const bool left = t.markup == QLatin1String("E_a");
            const QColor c = left ? palette::ink : palette::good;
            const Arrow a =
                left ? arrowBeside(img, int(r.right()) + 1, int(r.right()) + 14, middle, c)
                     : arrowBeside(img, int(r.left()) - 14, int(r.left()) - 1, middle, c);
            SCOPED_TRACE(t.markup.toStdString());
            ASSERT_GE(a.x, 0) << "no arrow beside the label";
            EXPECT_GE(a.length, 36);
            EXPECT_GE(a.headWidth, 7);
        }
        if (t.markup.contains(QLatin1String("катализатор"))) {
            SCOPED_TRACE(t.markup.toStdString());
            EXPECT_TRUE(panel.adjusted(10, 10, -10, -10).contains(r));
        }
    }
    EXPECT_EQ(labels, 2);
}

// The energy distribution of experiment 2's conclusion marks Eₐ with clear air round it: no
// curve, legend or other label comes within 6 px of its box, and it stays inside the panel.
TEST(Legibility, TheEnergyDistributionKeepsEaClearOfTheCurvesAndTheLegend) {
    Scene s = slides::stage(705, 350);
    const QRectF panel(440, 150, 250, 146);
    insets::energyDistribution(s, panel.topLeft());
    s.wait(4.0);
    slides::finish(s);
    const int last = s.frameCount() - 1;
    const QImage img = s.preview(last);
    const QColor cool(0x1F, 0x5F, 0xA8), warm(0xC6, 0x28, 0x28);
    int found = 0;
    for (const Scene::TextNote& t : s.texts()) {
        if (t.markup != QLatin1String("E_a")) continue;
        ++found;
        const QRectF box = s.transformAt(t.object, last).mapRect(t.bounds);
        EXPECT_TRUE(panel.contains(box));
        const QRect air = box.adjusted(-6, -6, 6, 6).toAlignedRect();
        int crowding = 0;
        for (int y = air.top(); y <= air.bottom(); ++y)
            for (int x = air.left(); x <= air.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                crowding += near(c, cool, 90) || near(c, warm, 90);
            }
        EXPECT_EQ(crowding, 0) << "pixels of a curve or the legend next to Eₐ";
        for (const Scene::TextNote& other : s.texts()) {
            if (other.object.index == t.object.index || !s.presentAt(other.object, last)) continue;
            EXPECT_FALSE(
                QRectF(air).intersects(s.transformAt(other.object, last).mapRect(other.bounds)))
                << "«" << other.markup.toStdString() << "»";
        }
    }
    EXPECT_EQ(found, 1);
}

// The intro's band of four experiments divides them by thin vertical rules: every text of the
// band keeps at least 5 px from any rule, so a formula never runs into the next column.
TEST(Legibility, TheIntroFactsKeepClearOfTheRulesBetweenThem) {
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        if (m.path != QLatin1String("Movie/1.swf")) continue;
        const Scene s = m.make();
        const int last = s.frameCount() - 1;
        const QImage img = s.preview(last);
        // A rule: a column (or, where it falls between two, a pair of columns) darker than the
        // band by the rules' shade through most of a text's height.
        const int band = qGray(QColor(0xEE, 0xF4, 0xFA).rgb());
        const int shade = band - qGray(palette::panelLine.rgb());
        auto darkness = [&](int x, int y) { return band - qGray(img.pixel(x, y)); };
        auto ruleAt = [&](int x, int top, int bottom) {
            if (x + 1 >= img.width()) return false;
            int hits = 0;
            for (int y = top; y <= bottom; ++y) {
                const int d = darkness(x, y) + darkness(x + 1, y);
                hits += d >= 0.7 * shade && d <= 1.4 * shade;
            }
            return hits >= 0.8 * (bottom - top + 1);
        };
        int texts = 0;
        for (const Scene::TextNote& t : s.texts()) {
            const QRect box = s.transformAt(t.object, last).mapRect(t.bounds).toAlignedRect();
            if (box.top() < 220 || !s.presentAt(t.object, last)) continue;
            ++texts;
            for (int x = std::max(0, box.left() - 5);
                 x <= std::min(img.width() - 1, box.right() + 5); ++x)
                EXPECT_FALSE(ruleAt(x, box.top(), box.bottom()))
                    << "«" << t.markup.toStdString() << "» at x " << x;
        }
        EXPECT_GE(texts, 12);
        // The check sees the rules: the middle of the band has them.
        int rules = 0;
        for (int x = 0; x < img.width(); ++x) rules += ruleAt(x, 280, 300);
        EXPECT_GE(rules, 3);
    }
}

// A glyph's ink, its box scaled to 64 × 64 pixels, for comparing the shapes of two letters.
QImage normalisedInk(const QPainterPath& glyph) {
    QImage image(64, 64, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = glyph.boundingRect();
    p.scale(64 / box.width(), 64 / box.height());
    p.translate(-box.topLeft());
    p.fillPath(glyph, Qt::black);
    return image;
}

// How much two letters' shapes have in common: the share of inked pixels both ink (0..1).
double sameShape(const QPainterPath& a, const QPainterPath& b) {
    const QImage ia = normalisedInk(a), ib = normalisedInk(b);
    int both = 0, either = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool inkA = qGray(ia.pixel(x, y)) < 128, inkB = qGray(ib.pixel(x, y)) < 128;
            both += inkA && inkB;
            either += inkA || inkB;
        }
    return either ? double(both) / either : 0;
}

QPainterPath fontGlyph(const QString& family, const QString& letter, bool bold) {
    QFont font(family);
    font.setPixelSize(100);
    font.setBold(bold);
    QPainterPath p;
    p.addText(0, 0, font, letter);
    return p;
}

// γ never reads as y, in plain and bold lines alike: its shape shares far less with the y of
// the text than the upright sans γ did, which readers took for y.
TEST(Legibility, GammaIsNotShapedLikeY) {
    for (const text::Style& style : {text::plain(100), text::bold(100)}) {
        const QPainterPath gamma = text::line("γ", style), y = text::line("y", style);
        const QPainterPath sansGamma = fontGlyph("DejaVu Sans", "γ", style.bold);
        const double likeY = sameShape(gamma, y);
        EXPECT_LT(likeY, 0.62) << "bold " << style.bold;
        EXPECT_LT(likeY, sameShape(sansGamma, y) - 0.1) << "bold " << style.bold;
        // A letter with its descender, not an empty or a missing glyph's box.
        EXPECT_GT(gamma.boundingRect().height(), 60);
        EXPECT_LT(gamma.boundingRect().height(), 95);
        EXPECT_LT(gamma.boundingRect().width(), 75);
    }
    // It keeps clear of its neighbours: "γ=" is wider than "y=".
    EXPECT_GT(text::width("γ=", text::plain(16)), text::width("y=", text::plain(16)));
}

// The eye of a letter drawn at 1x: light pixels its ink closes in, that no path of light pixels
// joins to the edge of the picture. A loop whose eye has filled in reads as a blob, and a γ with
// a blob under it as a y.
int enclosedLightPixels(const QPainterPath& glyph, QPointF shift) {
    const QRectF box = glyph.boundingRect();
    const int w = int(std::ceil(box.width())) + 6, h = int(std::ceil(box.height())) + 6;
    QImage image(w, h, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(QPointF(3, 3) - box.topLeft() + shift);
    p.fillPath(glyph, Qt::black);
    p.end();
    // More ground than ink: a reader sees the ground there.
    auto light = [&](int x, int y) { return qGray(image.pixel(x, y)) >= 150; };
    std::vector<char> reached(std::size_t(w * h), 0);
    std::vector<std::pair<int, int>> todo;
    for (int x = 0; x < w; ++x) todo.insert(todo.end(), {{x, 0}, {x, h - 1}});
    for (int y = 0; y < h; ++y) todo.insert(todo.end(), {{0, y}, {w - 1, y}});
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        if (x < 0 || y < 0 || x >= w || y >= h || reached[std::size_t(y * w + x)] || !light(x, y))
            continue;
        reached[std::size_t(y * w + x)] = 1;
        todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    int eye = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) eye += light(x, y) && !reached[std::size_t(y * w + x)];
    return eye;
}

// Every γ the movies draw, in the style of its line, keeps its loop open at 1x wherever it
// falls on the pixel grid, and stands at the x-height of the letters around it: not taller, so
// it does not look like a capital or a y from another face, and not sunk under them.
TEST(Legibility, EveryGammaKeepsAnOpenLoopAtTheXHeightOfItsLine) {
    text::resetInkLog();
    drawEveryAsset();
    std::vector<text::Style> styles;
    for (const text::Ink& ink : text::inkLog())
        if (ink.markup.contains(QChar(0x03B3))) styles.push_back(ink.style);
    ASSERT_GE(styles.size(), 4u);
    for (const text::Style& style : styles) {
        SCOPED_TRACE("γ at " + std::to_string(style.size) + " px, bold " +
                     std::to_string(style.bold));
        const QPainterPath gamma = text::line("γ", style);
        for (const QPointF shift : {QPointF(0, 0), QPointF(0.5, 0.5), QPointF(0.25, 0.75)})
            EXPECT_GE(enclosedLightPixels(gamma, shift), 2)
                << "shifted by " << shift.x() << ", " << shift.y();
        const double xTop = text::line("x", style).boundingRect().top();
        EXPECT_NEAR(gamma.boundingRect().top(), xTop, 0.06 * style.size);
        // Its loop hangs under the baseline no deeper than a descender and a little more.
        EXPECT_LT(gamma.boundingRect().bottom(), 0.36 * style.size);
    }
}

// The check sees a filled eye: a y, and a loop drawn too small for its pen, have none.
TEST(Legibility, AClosedLoopIsFound) {
    EXPECT_LT(enclosedLightPixels(text::line("y", text::plain(15)), {}), 2);
    QPainterPath blob;
    blob.addEllipse(QPointF(0, 0), 3, 3.5);
    QPainterPathStroker pen;
    pen.setWidth(2.4);
    EXPECT_LT(enclosedLightPixels(pen.createStroke(blob).united(blob), {}), 2);
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), 6, 6);
    EXPECT_GE(enclosedLightPixels(pen.createStroke(ring), {}), 2);
}

// Texts that stand side by side on the slides of experiments 1 and 2 (the calculator's
// labels above all) keep a gap between them, so two labels never read as one word.
TEST(Legibility, NeighbouringLabelsOfTheSlidesKeepAGap) {
    const QStringList slides = {"Movie/Opyt1/1.swf", "Movie/Opyt1/2.swf", "Movie/Opyt1/3.swf",
                                "Movie/Opyt2/1.swf", "Movie/Opyt2/4.swf"};
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        if (!slides.contains(m.path)) continue;
        SCOPED_TRACE(m.path.toStdString());
        const Scene s = m.make();
        const int f = s.frameCount() - 1;
        std::vector<std::pair<QString, QRectF>> shown;
        for (const Scene::TextNote& t : s.texts())
            if (s.presentAt(t.object, f) && s.alphaAt(t.object, f) > 0.6)
                shown.push_back({t.markup, s.transformAt(t.object, f).mapRect(t.bounds)});
        for (std::size_t i = 0; i < shown.size(); ++i)
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                const QRectF a = shown[i].second, b = shown[j].second;
                const double shared = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
                if (shared < 0.5 * std::min(a.height(), b.height())) continue;
                const double gap = std::max(a.left(), b.left()) - std::min(a.right(), b.right());
                EXPECT_GE(gap, 6.0) << "«" << shown[i].first.toStdString() << "» and «"
                                    << shown[j].first.toStdString() << "»";
            }
    }
}

}  // namespace
