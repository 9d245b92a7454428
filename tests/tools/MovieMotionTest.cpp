// Things move in a movie as they would on a bench: nothing large pops in or out in one frame
// in the middle of the stage (it fades, or it is carried in from beyond the stage's edge, as a
// splint held from above is).

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "AssetTree.h"
#include "Slides.h"

namespace {

// Drops, grains, bubbles, streams and the liquid of an emptying pipette are small enough to
// come and go at once; a prop, a vessel or a panel is not.
constexpr double smallArea = 600;

// The objects of a scene that appear or vanish at once, large and inside the stage. Given a
// longLine, a line at least that long (a chart's baseline, an axis) counts as large too,
// however thin it is.
std::vector<std::string> popIns(const Scene& s, int limit = 5, double longLine = 1e9) {
    std::set<int> texts;
    for (const Scene::TextNote& t : s.texts()) texts.insert(t.object.index);
    const QRectF stage(0, 0, s.width(), s.height());
    std::vector<std::string> out;
    for (int i = 0; i < s.objectCount() && int(out.size()) < limit; ++i) {
        // Captions replace each other in place: texts are held to that rule elsewhere.
        if (texts.count(i)) continue;
        const Scene::Object o{i};
        for (int f = 1; f < s.frameCount(); ++f) {
            const bool was = s.presentAt(o, f - 1) && s.alphaAt(o, f - 1) > 0.02;
            const bool is = s.presentAt(o, f) && s.alphaAt(o, f) > 0.02;
            if (was == is) continue;
            const int shown = is ? f : f - 1;
            const QRectF r = s.boundsAt(o, shown);
            const bool large =
                r.width() * r.height() >= smallArea || std::max(r.width(), r.height()) >= longLine;
            const bool abrupt = s.alphaAt(o, shown) > 0.5;
            if (large && abrupt && stage.contains(r)) {
                out.push_back("object " + std::to_string(i) + (is ? " pops in" : " pops out") +
                              " at frame " + std::to_string(f) + ", " +
                              std::to_string(int(r.width())) + "×" +
                              std::to_string(int(r.height())) + " px at " +
                              std::to_string(int(r.x())) + "," + std::to_string(int(r.y())));
                break;
            }
        }
    }
    return out;
}

bool ownMovie(const QString& path) {
    return path.startsWith(QLatin1String("Movie/Opyt3/")) ||
           path.startsWith(QLatin1String("Movie/Opyt4/")) || path == QLatin1String("Movie/1.swf") ||
           path == QLatin1String("BackGround/About.swf");
}

TEST(MovieMotion, PropsOfTheCatalystEquilibriumAndIntroMoviesFadeOrComeFromBeyondTheStage) {
    int looked = 0;
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        if (!ownMovie(m.path)) continue;
        SCOPED_TRACE(m.path.toStdString());
        ++looked;
        for (const std::string& problem : popIns(m.make())) ADD_FAILURE() << problem;
    }
    EXPECT_EQ(looked, 12);
}

// The slides of experiments 1 and 2 (task, calculator, timing; task, coefficients,
// conclusion): their panels, charts and baselines come in with a fade, never at once.
TEST(MovieMotion, TheSlidesOfTheConcentrationAndTemperatureExperimentsFadeIn) {
    const std::set<QString> slidePaths = {"Movie/Opyt1/1.swf", "Movie/Opyt1/2.swf",
                                          "Movie/Opyt1/3.swf", "Movie/Opyt2/1.swf",
                                          "Movie/Opyt2/4.swf", "Movie/Opyt2/5.swf"};
    int looked = 0;
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        if (!slidePaths.count(m.path)) continue;
        SCOPED_TRACE(m.path.toStdString());
        ++looked;
        for (const std::string& problem : popIns(m.make(), 5, 100)) ADD_FAILURE() << problem;
    }
    EXPECT_EQ(looked, 6);
}

TEST(MovieMotion, APropThatPopsInIsFoundAndOneCarriedInFromTheEdgeIsNot) {
    Scene s = slides::stage(300, 200);
    art::Art block;
    block.fill(art::rect(0, 0, 60, 40), Qt::black);
    s.wait(0.5);
    s.put(block, {100, 80});                              // in the middle, at once
    const slides::Obj carried = s.put(block, {320, 80});  // beyond the right edge
    s.moveTo(carried, {200, 80}, 0.5);
    const slides::Obj faded = s.put(block, {20, 20});
    slides::appear(s, faded, 0.5);
    s.wait(1.0);
    art::Art baseline;  // thin, but as long as a chart is wide
    baseline.stroke(art::line({0, 0}, {200, 0}), Qt::black, 1.5);
    s.put(baseline, {40, 180});
    s.wait(0.5);
    slides::finish(s);
    EXPECT_EQ(popIns(s).size(), 1u);  // a thin line passes unless long lines are asked for
    const std::vector<std::string> problems = popIns(s, 5, 100);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("object 0 pops in"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("object 3 pops in"), std::string::npos) << problems[1];
}

// Long props that travel across the stage (more than `travel` px) while on show, and lie wholly
// inside it at some frame: nothing holds them, they float.
std::vector<std::string> floatingProps(const Scene& s, double length = 60, double travel = 20) {
    const QRectF stage(0, 0, s.width(), s.height());
    std::vector<std::string> out;
    for (int i = 0; i < s.objectCount(); ++i) {
        const Scene::Object o{i};
        QPointF first;
        bool seen = false, moves = false;
        int inside = -1;
        for (int f = 0; f < s.frameCount(); ++f) {
            if (!s.presentAt(o, f) || s.alphaAt(o, f) < 0.5) continue;
            const QRectF r = s.boundsAt(o, f);
            if (std::max(r.width(), r.height()) < length) break;
            const QPointF at(s.transformAt(o, f).dx(), s.transformAt(o, f).dy());
            if (!seen) first = at;
            seen = true;
            moves |= std::hypot(at.x() - first.x(), at.y() - first.y()) > travel;
            if (inside < 0 && stage.contains(r)) inside = f;
        }
        if (moves && inside >= 0)
            out.push_back("object " + std::to_string(i) + " floats at frame " +
                          std::to_string(inside));
    }
    return out;
}

// The splint and the spatula of experiment 3 are held by a hand beyond the stage's right edge:
// whenever they move, part of them runs out of the picture.
TEST(MovieMotion, TheSplintAndTheSpatulaAreHeldFromBeyondTheStage) {
    int looked = 0;
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        if (!m.path.startsWith(QLatin1String("Movie/Opyt3/"))) continue;
        SCOPED_TRACE(m.path.toStdString());
        ++looked;
        for (const std::string& problem : floatingProps(m.make())) ADD_FAILURE() << problem;
    }
    EXPECT_EQ(looked, 4);
    // A stick carried across the middle of a stage floats; one reaching in from the edge does
    // not.
    Scene s = slides::stage(300, 200);
    art::Art stick;
    stick.fill(art::rect(0, 0, 120, 4), Qt::black);
    const slides::Obj floating = s.put(stick, {20, 40});
    const slides::Obj held = s.put(stick, {250, 120});
    s.moveTo(floating, {120, 60}, 1.0);
    s.moveTo(held, {200, 110}, 1.0);
    s.wait(1.0);
    slides::finish(s);
    const std::vector<std::string> problems = floatingProps(s);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("object 0 floats"), std::string::npos) << problems[0];
}

// Long props that move and reach above the stage's top edge at some frame: the window's heading
// lies right above the movie, so a prop held from beyond the top would run under it.
std::vector<std::string> propsAboveTheTop(const Scene& s, double length = 60) {
    std::vector<std::string> out;
    for (int i = 0; i < s.objectCount(); ++i) {
        const Scene::Object o{i};
        bool seen = false, moves = false;
        QPointF first;
        int above = -1;
        for (int f = 0; f < s.frameCount(); ++f) {
            if (!s.presentAt(o, f) || s.alphaAt(o, f) < 0.5) continue;
            const QRectF r = s.boundsAt(o, f);
            if (std::max(r.width(), r.height()) < length) break;
            const QPointF at(s.transformAt(o, f).dx(), s.transformAt(o, f).dy());
            if (!seen) first = at;
            seen = true;
            moves |= at != first;
            // Only what can be seen counts: a prop still wholly beyond a side edge is not.
            const bool inView = r.right() > 0 && r.left() < s.width() && r.bottom() > 0;
            if (above < 0 && inView && r.top() < 0) above = f;
        }
        if (moves && above >= 0)
            out.push_back("object " + std::to_string(i) + " runs out of the top edge at frame " +
                          std::to_string(above));
    }
    return out;
}

// In experiment 3 the splint and the spatula come in from the right, rising gently towards the
// hand: no frame shows them running out of the top edge, under the window's heading.
TEST(MovieMotion, TheSplintAndTheSpatulaNeverRunOutOfTheTopEdge) {
    int looked = 0;
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        if (!m.path.startsWith(QLatin1String("Movie/Opyt3/"))) continue;
        SCOPED_TRACE(m.path.toStdString());
        ++looked;
        for (const std::string& problem : propsAboveTheTop(m.make())) ADD_FAILURE() << problem;
    }
    EXPECT_EQ(looked, 4);
    // A stick let down from above is found; one carried in from the right edge is not.
    Scene s = slides::stage(300, 200);
    art::Art stick;
    stick.fill(art::rect(0, 0, 4, 120), Qt::black);
    art::Art lying;
    lying.fill(art::rect(0, 0, 120, 4), Qt::black);
    const slides::Obj fromAbove = s.put(stick, {150, -110});
    const slides::Obj fromTheRight = s.put(lying, {320, 60});
    s.moveTo(fromAbove, {150, -40}, 1.0);
    s.moveTo(fromTheRight, {200, 60}, 1.0);
    s.wait(1.0);
    slides::finish(s);
    const std::vector<std::string> problems = propsAboveTheTop(s);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("object 0 runs out"), std::string::npos) << problems[0];
}

}  // namespace
