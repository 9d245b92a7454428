// Experiment 4's movies tell the story the window grades: the tubes' colours show the shifts the
// direction groups take as right, every text about KCl says what the molecular equation says,
// the pipettes come from labelled stock bottles and go back to them, every dropper carries its
// reagent's name wherever it is on the stage,
// and the rack of four tubes stands in one place with its labels from step to step.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "AssetTree.h"
#include "GeneratedMovies.h"
#include "Slides.h"
#include "lab/EquilibriumAnswers.h"
#include "swf/Timeline.h"

namespace {

Scene movie(int step) {
    const QString path = QStringLiteral("Movie/Opyt4/%1.swf").arg(step);
    for (const assets::MovieAsset& m : assets::movieAssets())
        if (m.path == path) return m.make();
    ADD_FAILURE() << "no movie " << path.toStdString();
    return slides::stage(1, 1);
}

// The relative luminance of a colour (WCAG), 0 for black to 1 for white.
double luminance(QColor c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// The tubes of the rack, left to right: the reference, then + FeCl₃, + KSCN and + KCl, each
// under the direction group that asks about it. A point in each one's liquid, right of the
// glass's highlight.
constexpr double rackX[4] = {249.5, 322.5, 395.5, 468.5};
constexpr int liquidY = 205;

// The tubes of the summary at its end, each line's reference first and the changed mixture
// second, line by line from the top: where each one's glass lies.
std::vector<QRectF> summaryTubes(const Scene& s) {
    std::vector<QRectF> out;
    for (int i = 0; i < s.objectCount(); ++i)
        if (s.name(Scene::Object{i}) == "summaryTube")
            out.push_back(s.boundsAt(Scene::Object{i}, s.frameCount() - 1));
    std::sort(out.begin(), out.end(), [](const QRectF& a, const QRectF& b) {
        return std::tuple(std::round(a.top()), a.left()) <
               std::tuple(std::round(b.top()), b.left());
    });
    return out;
}

// A tube the window expects to shift to the right must show a plainly deeper red than the
// reference, one to the left a plainly paler one.
void expectColourTellsDirection(double reference, double tube, int group) {
    if (rightDirection(group) == 0)
        EXPECT_LT(tube, reference * 0.75) << "group " << group << " should read darker";
    else
        EXPECT_GT(tube, reference * 1.2) << "group " << group << " should read lighter";
}

TEST(EquilibriumMovies, TubeColoursShowTheShiftsTheWindowGradesAsRight) {
    for (int step : {2, 3}) {
        SCOPED_TRACE("step " + std::to_string(step));
        const Scene s = movie(step);
        const QImage last = s.preview(s.frameCount() - 1);
        double l[4];
        for (int i = 0; i < 4; ++i) l[i] = luminance(last.pixelColor(int(rackX[i]) + 3, liquidY));
        for (int group = 1; group <= DirectionGroupCount; ++group)
            expectColourTellsDirection(l[0], l[group], group);
    }
    // The summary: each line's reference and the same mixture after the addition, read low in
    // each tube's liquid, right of the glass's highlight.
    const Scene s = movie(6);
    const QImage last = s.preview(s.frameCount() - 1);
    const std::vector<QRectF> tubes = summaryTubes(s);
    ASSERT_EQ(tubes.size(), 2u * DirectionGroupCount);
    for (int group = 1; group <= DirectionGroupCount; ++group) {
        const QRectF reference = tubes[2 * (group - 1)], after = tubes[2 * (group - 1) + 1];
        auto liquid = [&](const QRectF& t) {
            return luminance(last.pixelColor(int(t.center().x()) + 3, int(t.bottom()) - 14));
        };
        expectColourTellsDirection(liquid(reference), liquid(after), group);
    }
}

TEST(EquilibriumMovies, SummaryTubesAreLargeWithAirBetweenThePairsAndAboveTheText) {
    const Scene s = movie(6);
    const int last = s.frameCount() - 1;
    const std::vector<QRectF> tubes = summaryTubes(s);
    ASSERT_EQ(tubes.size(), 2u * DirectionGroupCount);
    for (const QRectF& t : tubes) {
        // Large enough that the colour of each reads at a glance beside its line.
        EXPECT_GE(t.height(), 52) << "a tube of " << t.height() << " px";
        EXPECT_GE(t.width(), 15) << "a tube " << t.width() << " px wide";
    }
    // One pair above the next, with air between them.
    for (int group = 1; group < DirectionGroupCount; ++group) {
        const QRectF upper = tubes[2 * (group - 1)], lower = tubes[2 * group];
        EXPECT_GE(lower.top() - upper.bottom(), 12)
            << "pairs " << group << " and " << group + 1 << " crowd each other";
    }
    // No text lies on a tube, and a text under a tube starts at least 12 px below it.
    for (const Scene::TextNote& n : s.texts()) {
        if (!s.presentAt(n.object, last) || s.alphaAt(n.object, last) < 0.5) continue;
        for (const QRectF& t : tubes) {
            SCOPED_TRACE(n.markup.toStdString());
            const bool side = n.bounds.right() <= t.left() || n.bounds.left() >= t.right();
            if (side) continue;
            const bool above = n.bounds.bottom() <= t.top();
            if (above) continue;
            EXPECT_GE(n.bounds.top() - t.bottom(), 12)
                << "a tube ends at " << t.bottom() << ", the text starts at " << n.bounds.top();
        }
    }
}

TEST(EquilibriumMovies, EveryTextOnKclTellsTheMolecularEquationsStory) {
    int told = 0;
    for (int step = 1; step <= 6; ++step) {
        const Scene s = movie(step);
        for (const Scene::TextNote& t : s.texts()) {
            SCOPED_TRACE("step " + std::to_string(step) + ": " + t.markup.toStdString());
            // The ionic equation is a second story beside the molecular one the window asks
            // about: no text tells it.
            EXPECT_FALSE(t.markup.contains(QStringLiteral("^{3+}")));
            EXPECT_FALSE(t.markup.contains(QStringLiteral("Cl^")));
            if (!t.markup.contains(QStringLiteral("KCl"))) continue;
            const bool right = t.markup.contains(QStringLiteral("вправо"));
            const bool left = t.markup.contains(QStringLiteral("влево"));
            if (!right && !left) continue;
            // A text that names a shift on adding KCl names the one the window takes as right.
            ++told;
            EXPECT_EQ(left, rightDirection(3) == 1);
            EXPECT_EQ(right, rightDirection(3) == 0);
        }
    }
    EXPECT_GT(told, 0) << "no movie says where KCl shifts the equilibrium";
}

// The colour difference of two pixels, the largest over the channels.
int difference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

TEST(EquilibriumMovies, EachTubeOfTheRackIsNamedOnce) {
    // Above the rack the window's groups ask about the tubes, beneath it each tube carries its
    // name: a second name for the same tube is a repeat the student has to match up.
    const QString reagents[3] = {QStringLiteral("FeCl_3"), QStringLiteral("KSCN"),
                                 QStringLiteral("KCl")};
    for (int step : {2, 3}) {
        const Scene s = movie(step);
        const int last = s.frameCount() - 1;
        for (int i = 0; i < 3; ++i) {
            int names = 0;
            for (const Scene::TextNote& t : s.texts()) {
                if (!s.presentAt(t.object, last) || s.alphaAt(t.object, last) < 0.5) continue;
                if (std::abs(t.bounds.center().x() - rackX[i + 1]) < 20 &&
                    t.markup.contains(reagents[i]))
                    ++names;
            }
            EXPECT_EQ(names, 1) << "step " << step << ": the tube with "
                                << reagents[i].toStdString() << " is named " << names << " times";
        }
    }
}

TEST(EquilibriumMovies, TheRackAndItsLabelsStayPutFromTheTubesToTheQuestion) {
    // At their ends both movies show the rack with the tubes as they came out; the band from
    // the tubes' rims to the labels under them must look the same.
    const Scene tubes = movie(2), directions = movie(3);
    const QImage a = tubes.preview(tubes.frameCount() - 1);
    const QImage b = directions.preview(directions.frameCount() - 1);
    ASSERT_EQ(a.size(), b.size());
    const QRect band(190, 110, 340, 132);
    int off = 0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            if (difference(a.pixel(x, y), b.pixel(x, y)) > 24) ++off;
    EXPECT_LT(off, band.width() * band.height() / 100) << off << " pixels moved or changed";
    // The band is not empty: the rack is there.
    int wood = 0;
    for (int x = band.left(); x <= band.right(); ++x) {
        const QColor c = a.pixelColor(x, 184);
        if (c.red() > c.blue() + 40 && c.green() > c.blue() + 20) ++wood;
    }
    EXPECT_GT(wood, 200);
}

TEST(EquilibriumMovies, NoTextCrowdsTheWindowsHeadingAboveThePlayer) {
    // The window's heading ends just above the player: a text of ours starts at least 12 px
    // below the player's top edge.
    for (int step = 1; step <= 6; ++step) {
        const Scene s = movie(step);
        for (const Scene::TextNote& t : s.texts())
            EXPECT_GE(t.bounds.top(), 12)
                << "step " << step << ": " << t.markup.toStdString() << " at " << t.bounds.top();
    }
}

Frames named(int step, const QByteArray& name) {
    return namedObjects(QStringLiteral("Movie/Opyt4/%1.swf").arg(step), name);
}

TEST(EquilibriumMovies, PipettesComeFromTheirStockBottlesAndGoBack) {
    // The two pipettes that make the mixture stand in their bottles from the first frame to the
    // last, in view all the time, and leave them to pour.
    const Frames pipettes = named(1, "pipette"), holders = named(1, "holder");
    ASSERT_FALSE(pipettes.empty());
    ASSERT_EQ(pipettes.front().size(), 2u);
    ASSERT_EQ(holders.front().size(), 2u);
    expectPipettesHeldAndReturned(pipettes, holders, true);
}

TEST(EquilibriumMovies, EachStockBottleIsLowerOnceItsPipetteHasDrawn) {
    // The solution a pipette takes leaves its bottle: the level, read as the surface's darker
    // line above the label, stands lower at the end than at the start.
    const Scene s = movie(1);
    const QImage first = s.preview(0), last = s.preview(s.frameCount() - 1);
    const Frames holders = named(1, "holder");
    ASSERT_FALSE(holders.empty());
    ASSERT_EQ(holders.front().size(), 2u);
    auto surface = [](const QImage& image, QPointF base) {
        // Beside the pipette, from the bottle's shoulder down to its label.
        const int x = int(base.x()) + 12;
        int row = -1;
        double darkest = 2;
        for (int y = int(base.y()) - 50; y <= int(base.y()) - 31; ++y) {
            const double l = luminance(image.pixelColor(x, y));
            if (l < darkest) darkest = l, row = y;
        }
        return row;
    };
    for (const auto& [depth, bottle] : holders.front()) {
        SCOPED_TRACE("bottle at " + std::to_string(bottle.at.x()));
        EXPECT_GE(surface(last, bottle.at), surface(first, bottle.at) + 3);
    }
}

TEST(EquilibriumMovies, EveryDropperCarriesItsNameOnTheStage) {
    // Whenever a dropper is on the stage, its name is there and travels with it: the name's
    // offset from the dropper stays the same from frame to frame.
    const Frames droppers = named(2, "dropper"), tags = named(2, "dropperTag");
    const Scene s = movie(2);
    int seen = 0;
    double lastOffset = 0;
    bool onStageBefore = false;
    for (std::size_t f = 0; f < droppers.size(); ++f) {
        bool onStage = false;
        for (const auto& [depth, d] : droppers[f]) {
            if (!d.visible || d.at.x() > s.width() + 4) continue;
            onStage = true;
            ++seen;
            bool named = false;
            for (const auto& [td, t] : tags[f]) {
                if (!t.visible) continue;
                named = true;
                const double offset = d.at.x() - t.at.x();
                if (onStageBefore) {
                    EXPECT_NEAR(offset, lastOffset, 0.5) << "frame " << f << ": the name lags";
                }
                lastOffset = offset;
            }
            EXPECT_TRUE(named) << "frame " << f << ": dropper at " << d.at.x() << " has no name";
        }
        onStageBefore = onStage;
    }
    EXPECT_GT(seen, 0);
}

// A dropper holds its solution wherever it goes on the stage: the drops fall from a filled
// dropper, not from clear glass.
TEST(EquilibriumMovies, EveryDropperHoldsItsSolution) {
    const Frames droppers = named(2, "dropper"), held = named(2, "dropperLiquid");
    int seen = 0;
    for (std::size_t f = 0; f < droppers.size(); ++f)
        for (const auto& [depth, d] : droppers[f]) {
            if (!d.visible) continue;
            ++seen;
            bool filled = false;
            for (const auto& [ld, l] : held[f])
                filled = filled ||
                         (l.visible && std::hypot(l.at.x() - d.at.x(), l.at.y() - d.at.y()) < 0.5);
            EXPECT_TRUE(filled) << "frame " << f << ": an empty dropper at " << d.at.x();
        }
    EXPECT_GT(seen, 0);
}

}  // namespace
