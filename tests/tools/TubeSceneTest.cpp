// The bench of the timed tube movies as a teacher would look at it: the pipettes stand in their
// bottles or stand before and after they are used and never appear from nowhere, pouring takes
// the time its volume takes, the bath's heating says that minutes are shown in seconds, and the
// acid's tube in the bath carries its name from the first frame to the last, «пустая» once
// it has been emptied.

#include <QImage>
#include <QLineF>
#include <QPointF>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "GeneratedMovies.h"
#include "Instruments.h"
#include "Slides.h"
#include "TestSupport.h"
#include "Text.h"
#include "movie/Renderer.h"
#include "swf/Timeline.h"

namespace {

QStringList tubeMovies(bool bath) {
    QStringList out;
    for (int v = 1; v <= 6; ++v) {
        if (bath)
            for (int step = 2; step <= 3; ++step)
                out << QStringLiteral("Movie/Opyt2/%1_%2.swf").arg(step).arg(v);
        else
            for (int step = 4; step <= 7; ++step)
                out << QStringLiteral("Movie/Opyt1/%1_%2.swf").arg(step).arg(v);
    }
    return out;
}

int acidFrame(const swf::Movie& movie) {
    int frame = 0;
    for (const swf::Tag& tag : movie.tags) {
        if (std::holds_alternative<swf::ShowFrameTag>(tag)) ++frame;
        if (const auto* l = std::get_if<swf::FrameLabelTag>(&tag); l && l->name == "acid")
            return frame;
    }
    return -1;
}

const Scene& scene(const QString& path) {
    static std::map<QString, std::unique_ptr<Scene>> made;
    auto& s = made[path];
    if (!s)
        for (const assets::MovieAsset& m : assets::movieAssets())
            if (m.path == path) s = std::make_unique<Scene>(m.make());
    return *s;
}

// The texts of a scene with that markup.
std::vector<const Scene::TextNote*> textsOf(const Scene& s, const QString& markup) {
    std::vector<const Scene::TextNote*> out;
    for (const Scene::TextNote& t : s.texts())
        if (t.markup == markup) out.push_back(&t);
    return out;
}

bool onShow(const Scene& s, const Scene::TextNote* t, int f) {
    return s.presentAt(t->object, f) && s.alphaAt(t->object, f) > 0.6;
}

// Every pipette is there from the first frame, standing in a holder (a stock bottle or the
// stand) straight below it, stays in view throughout, and is back in its place by the end.
TEST(TubeScene, PipettesStandInTheirHoldersBeforeAndAfterUse) {
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const Frames pipettes = namedObjects(path, "pipette");
            const Frames holders = namedObjects(path, "holder");
            ASSERT_FALSE(pipettes.empty());
            EXPECT_EQ(pipettes.front().size(), bath ? 1u : 3u);
            EXPECT_EQ(holders.front().size(), pipettes.front().size());
            expectPipettesHeldAndReturned(pipettes, holders, bath);
        }
}

// A stream runs from a pipette for as long as its volume takes to run out at a steady rate,
// never a second's flick: at least 1.5 s for the smallest volume and 3 s for the 5 ml of acid.
TEST(TubeScene, PouringTakesTheTimeItsVolumeTakes) {
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const Frames streams = namedObjects(path, "stream");
            std::map<int, int> shown;  // by depth: frames on show
            for (const auto& frame : streams)
                for (const auto& [depth, seen] : frame)
                    if (seen.visible) ++shown[depth];
            ASSERT_FALSE(shown.empty());
            int longest = 0;
            for (const auto& [depth, frames] : shown) {
                EXPECT_GE(frames, 18) << "depth " << depth;
                longest = std::max(longest, frames);
            }
            EXPECT_GE(longest, 36);
            // The acid's pour ends when the movie waits for «Старт».
            const int acidIn = acidFrame(generatedMovie(path));
            for (const auto& [depth, seen] : streams[acidIn]) EXPECT_FALSE(seen.visible);
        }
}

// Heating the bath takes minutes; the movie shows it in seconds and says so while the
// thermometer climbs, before the acid goes in. While a caption speaks of the heating, the
// pipette waits in its stand.
TEST(TubeScene, TheBathSaysThatItsHeatingTakesMinutes) {
    for (const QString& path : tubeMovies(true)) {
        SCOPED_TRACE(path.toStdString());
        const Scene& s = scene(path);
        const int acidIn = acidFrame(generatedMovie(path));
        const Frames pipettes = namedObjects(path, "pipette");
        ASSERT_EQ(pipettes.front().size(), 1u);
        const QPointF rest = pipettes.front().begin()->second.at;
        bool said = false;
        for (const Scene::TextNote& t : s.texts()) {
            const QString words = t.markup.simplified();
            if (!words.contains(QStringLiteral("несколько минут")) &&
                !words.contains(QStringLiteral("Нагрев")))
                continue;
            for (int f = 0; f < acidIn; ++f)
                if (onShow(s, &t, f)) {
                    said = true;
                    const QPointF at = pipettes[f].begin()->second.at;
                    EXPECT_NEAR(at.x(), rest.x(), 0.1) << "frame " << f;
                    EXPECT_NEAR(at.y(), rest.y(), 0.1) << "frame " << f;
                }
        }
        EXPECT_TRUE(said);
    }
}

// The small tube of acid in the bath is named beside its mouth in every frame, in one place;
// once the pipette has taken the acid, «пустая» stands under the name until the end.
TEST(TubeScene, TheAcidTubeInTheBathKeepsItsNameAndSaysWhenItIsEmpty) {
    for (const QString& path : tubeMovies(true)) {
        SCOPED_TRACE(path.toStdString());
        const Scene& s = scene(path);
        const auto names = textsOf(s, text::chem("H2SO4"));
        const auto empty = textsOf(s, QStringLiteral("пустая"));
        ASSERT_EQ(names.size(), 1u);
        ASSERT_EQ(empty.size(), 1u);
        const int acidIn = acidFrame(generatedMovie(path));
        const QRectF name = names[0]->bounds;
        for (int f = 0; f < s.frameCount(); ++f) {
            EXPECT_TRUE(onShow(s, names[0], f)) << "frame " << f;
            EXPECT_EQ(s.transformAt(names[0]->object, f), s.transformAt(names[0]->object, 0));
        }
        EXPECT_FALSE(onShow(s, empty[0], 0));
        for (int f = acidIn; f < s.frameCount(); ++f)
            EXPECT_TRUE(onShow(s, empty[0], f)) << "frame " << f;
        const QRectF under = s.transformAt(empty[0]->object, acidIn).mapRect(empty[0]->bounds);
        const QRectF above = s.transformAt(names[0]->object, acidIn).mapRect(name);
        EXPECT_NEAR(under.left(), above.left(), 2);
        EXPECT_GT(under.top(), above.bottom() - 2);
        EXPECT_LT(under.top(), above.bottom() + 8);
    }
}

}  // namespace

namespace {

// The frames in which a caption with that markup (simplified) is on show.
std::vector<int> captionFrames(const Scene& s, const QString& startsWith) {
    std::vector<int> out;
    for (const Scene::TextNote& t : s.texts())
        if (t.markup.simplified().startsWith(startsWith))
            for (int f = 0; f < s.frameCount(); ++f)
                if (onShow(s, &t, f)) out.push_back(f);
    return out;
}

// A pipette, filler included, never leaves the movie at the top and never passes over the
// heading or the subtitle: their texts keep the window's heading area readable.
TEST(TubeScene, PipettesStayInsideTheMovieAndClearOfTheHeading) {
    const double length = glass::graduatedPipetteHeight(60);  // the longest pipette drawn
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const Scene& s = scene(path);
            std::vector<QRectF> heading;
            for (const Scene::TextNote& t : s.texts()) {
                const QRectF r = s.transformAt(t.object, 0).mapRect(t.bounds);
                // The text's box less the line's leading below it.
                if (r.left() < 30 && r.top() < 60) heading.push_back(r.adjusted(0, 0, 0, -3));
            }
            ASSERT_EQ(heading.size(), 2u);
            const Frames pipettes = namedObjects(path, "pipette");
            for (std::size_t f = 0; f < pipettes.size(); ++f)
                for (const auto& [depth, p] : pipettes[f]) {
                    const QRectF body(p.at.x() - 4, p.at.y() - length, 8, length);
                    EXPECT_GE(body.top(), 0) << "frame " << f;
                    for (const QRectF& h : heading)
                        EXPECT_FALSE(body.intersects(h)) << "frame " << f;
                }
        }
}

// In the bath the caption says the acid is being drawn up only while the pipette stands in the
// acid's tube (it does not travel then), and the tube holds no acid once «пустая» shows.
TEST(TubeScene, TheAcidIsDrawnUpWhileTheCaptionSaysSoAndTheTubeIsEmptyAfter) {
    for (const QString& path : tubeMovies(true)) {
        SCOPED_TRACE(path.toStdString());
        const Scene& s = scene(path);
        const Frames pipettes = namedObjects(path, "pipette");
        const std::vector<int> drawing = captionFrames(s, QStringLiteral("Набираем"));
        ASSERT_FALSE(drawing.empty());
        double highest = 1e9;
        for (const auto& frame : pipettes)
            for (const auto& [depth, p] : frame) highest = std::min(highest, p.at.y());
        const double x = pipettes[drawing.front()].begin()->second.at.x();
        for (int f : drawing) {
            const Seen p = pipettes[f].begin()->second;
            EXPECT_NEAR(p.at.x(), x, 0.1) << "frame " << f;
            EXPECT_GT(p.at.y(), highest + 10) << "frame " << f;
        }
        const auto empty = textsOf(s, QStringLiteral("пустая"));
        ASSERT_EQ(empty.size(), 1u);
        const Frames acid = namedObjects(path, "acidWarming");
        ASSERT_EQ(acid.front().size(), 2u);
        for (int f = 0; f < s.frameCount(); ++f)
            if (s.presentAt(empty[0]->object, f) && s.alphaAt(empty[0]->object, f) > 0) {
                for (const auto& [depth, seen] : acid[f]) {
                    EXPECT_FALSE(seen.visible) << f;
                }
            }
    }
}

// A stock bottle gives what its pipette takes: its level sinks visibly while the pipette is
// filled and never rises again; the water bottle of the tube with no water stays full.
TEST(TubeScene, StockBottlesSinkByWhatIsTaken) {
    for (const QString& path : tubeMovies(false)) {
        SCOPED_TRACE(path.toStdString());
        const Frames stocks = namedObjects(path, "stock");
        ASSERT_EQ(stocks.front().size(), 3u);
        std::vector<std::pair<double, double>> byX;  // x, final height
        for (const auto& [depth, first] : stocks.front()) {
            EXPECT_DOUBLE_EQ(first.height, 1.0);
            double last = first.height;
            for (const auto& frame : stocks) {
                EXPECT_LE(frame.at(depth).height, last + 1e-9) << "a level rises";
                last = frame.at(depth).height;
            }
            byX.push_back({first.at.x(), last});
        }
        std::sort(byX.begin(), byX.end());
        const bool noWater = path.contains(QStringLiteral("/7_"));
        EXPECT_LT(byX[0].second, 0.95) << "Na2S2O3";
        EXPECT_LT(byX[2].second, 0.95) << "H2SO4";
        if (noWater)
            EXPECT_DOUBLE_EQ(byX[1].second, 1.0) << "H2O";
        else
            EXPECT_LT(byX[1].second, 0.95) << "H2O";
    }
}

// The call to press «Старт» stands exactly while the movie waits for it: the student who
// pressed it reads what to watch from the reaction's first frame on.
TEST(TubeScene, TheCallToPressStartStandsOnlyWhileTheMovieWaits) {
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const std::vector<int> calling =
                captionFrames(scene(path), QStringLiteral("Кислота прилита"));
            EXPECT_EQ(calling, std::vector<int>{acidFrame(generatedMovie(path))});
            EXPECT_FALSE(captionFrames(scene(path), QStringLiteral("Следите за крестом")).empty());
        }
}

// Captions change with the action: in experiment 1 the acid is drawn up under its caption only
// once the other pipettes are back in their bottles, the caption box is never empty until the
// acid is in, and every pipette is back in its place when the movie waits for «Старт».
TEST(TubeScene, CaptionsKeepStepWithThePipettes) {
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const Scene& s = scene(path);
            const Frames pipettes = namedObjects(path, "pipette");
            const int acidIn = acidFrame(generatedMovie(path));
            for (const auto& [depth, p] : pipettes.front()) {
                EXPECT_NEAR(pipettes[acidIn].at(depth).at.x(), p.at.x(), 0.1);
                EXPECT_NEAR(pipettes[acidIn].at(depth).at.y(), p.at.y(), 0.1);
            }
            for (int f = 0; f <= acidIn; ++f) {
                bool any = false;
                for (const Scene::TextNote& t : s.texts()) {
                    const QRectF r = s.transformAt(t.object, f).mapRect(t.bounds);
                    any |= r.left() > 522 && r.top() > 66 && r.bottom() < 160 && onShow(s, &t, f);
                }
                EXPECT_TRUE(any) << "frame " << f;
            }
            if (bath) continue;
            // The acid's pipette stands in the rightmost bottle; the others are home (or going
            // down into their own bottles) while it is drawn up.
            const auto rest = pipettes.front();
            int acidDepth = rest.begin()->first;
            for (const auto& [depth, p] : rest)
                if (p.at.x() > rest.at(acidDepth).at.x()) acidDepth = depth;
            for (int f : captionFrames(s, QStringLiteral("Набираем")))
                for (const auto& [depth, p] : pipettes[f])
                    if (depth != acidDepth) {
                        EXPECT_NEAR(p.at.x(), rest.at(depth).at.x(), 0.1) << "frame " << f;
                    }
        }
}

// The tube is held (a clamp on a stand above the cross, hangers from the bath's rim) in every
// frame, and the mixture seen from the side hazes over from the acid on: faint at first, never
// standing still, already plain a third of the way to the cross's disappearance.
TEST(TubeScene, TheTubesAreHeldAndTheMixtureHazesFromTheSide) {
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const Frames clamps = namedObjects(path, "clamp");
            for (std::size_t f = 0; f < clamps.size(); ++f) {
                ASSERT_EQ(clamps[f].size(), bath ? 2u : 1u) << "frame " << f;
                for (const auto& [depth, c] : clamps[f]) EXPECT_TRUE(c.visible);
            }
            const Scene& s = scene(path);
            const int acidIn = acidFrame(generatedMovie(path));
            ASSERT_EQ(namedObjects(path, "haze").back().size(), 1u);
            // The cross is gone at the end of the last caption but one; the haze's alpha is the
            // tube's overlay.
            swf::Timeline tl(generatedMovie(path), true, false);
            std::vector<double> alpha;
            for (int f = 0; f < tl.totalFrames(); ++f) {
                if (f > 0) {
                    if (!tl.root().playing()) tl.root().setPlaying(true);
                    tl.tick();
                }
                double a = 0;
                for (const auto& [depth, object] : tl.root().displayList())
                    if (object.name == "haze")
                        a = object.cxform.hasMult ? object.cxform.mult[3] / 256.0 : 1;
                alpha.push_back(a);
            }
            ASSERT_EQ(int(alpha.size()), s.frameCount());
            int gone = acidIn;
            while (gone + 1 < int(alpha.size()) && alpha[gone + 1] < 0.85) ++gone;
            const int third = acidIn + (gone - acidIn) / 3;
            EXPECT_LT(alpha[acidIn], 0.05);
            EXPECT_GE(alpha[third], 0.2);
            for (int f = acidIn + 1; f <= gone; ++f) EXPECT_GT(alpha[f], alpha[f - 1] - 1e-9) << f;
        }
}

}  // namespace

namespace {

// The drawn pipette glass of each named pipette (by depth): the tallest object that stands at the
// pipette's tip in the first frame.
std::map<int, Scene::Object> pipetteGlass(const Scene& s, const std::map<int, Seen>& first) {
    std::map<int, Scene::Object> out;
    for (const auto& [depth, p] : first) {
        double tallest = 0;
        for (int i = 0; i < s.objectCount(); ++i) {
            const Scene::Object o{i};
            if (!s.presentAt(o, 0)) continue;
            const QPointF at = s.transformAt(o, 0).map(QPointF());
            const QRectF r = s.boundsAt(o, 0);
            if (QLineF(at, p.at).length() < 0.1 && r.height() > tallest && r.width() < 24) {
                tallest = r.height();
                out[depth] = o;
            }
        }
    }
    return out;
}

// A pipette on its way keeps at least 6 px clear of every text on show, the subtitle's subscripts
// and the captions included; only the tag of its own bottle, which it stands behind in its place,
// is exempt.
TEST(TubeScene, MovingPipettesKeepClearOfEveryText) {
    constexpr double clearance = 6;
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const Scene& s = scene(path);
            const Frames pipettes = namedObjects(path, "pipette");
            const std::map<int, Scene::Object> glass = pipetteGlass(s, pipettes.front());
            ASSERT_EQ(glass.size(), pipettes.front().size());
            int moving = 0;
            for (const auto& [depth, o] : glass) {
                const QPointF rest = pipettes.front().at(depth).at;
                std::vector<const Scene::TextNote*> behind;
                for (const Scene::TextNote& t : s.texts())
                    if (s.transformAt(t.object, 0).mapRect(t.bounds).intersects(s.boundsAt(o, 0)))
                        behind.push_back(&t);
                EXPECT_LE(behind.size(), 1u);
                for (int f = 0; f < s.frameCount(); ++f) {
                    if (QLineF(pipettes[f].at(depth).at, rest).length() < 0.1) continue;
                    ++moving;
                    const QRectF near =
                        s.boundsAt(o, f).adjusted(-clearance, -clearance, clearance, clearance);
                    for (const Scene::TextNote& t : s.texts()) {
                        if (std::find(behind.begin(), behind.end(), &t) != behind.end()) continue;
                        if (!s.presentAt(t.object, f) || s.alphaAt(t.object, f) < 0.05) continue;
                        const QRectF r = s.transformAt(t.object, f).mapRect(t.bounds);
                        EXPECT_FALSE(near.intersects(r))
                            << "frame " << f << ": " << t.markup.toStdString() << " at " << r.left()
                            << "," << r.top() << "-" << r.right() << "," << r.bottom();
                    }
                }
            }
            EXPECT_GT(moving, 4 * 12);
        }
}

// The cross seen from above fades from the first second on, so a student sees it change long
// before it is gone: measured as its contrast against the sheet in the view from above, it has
// lost a quarter by a third of the reaction time and three fifths by two thirds, and it can
// still be made out in the last frame before it disappears.
TEST(TubeScene, TheCrossFadesVisiblyFromTheFirstThirdOn) {
    const QPoint onTheCross(476, 186), besideTheCross(496, 162);
    for (bool bath : {false, true})
        for (const QString& path : tubeMovies(bath)) {
            SCOPED_TRACE(path.toStdString());
            const int acidIn = acidFrame(generatedMovie(path));
            const Frames cross = namedObjects(path, "cross");
            int gone = acidIn;
            while (gone < int(cross.size()) && !cross[gone].empty() &&
                   cross[gone].begin()->second.visible)
                ++gone;
            ASSERT_GT(gone - acidIn, 36);
            auto contrast = [&](int frame) {
                swf::Timeline tl(generatedMovie(path), true, false);
                for (int f = 1; f <= frame; ++f) {
                    if (!tl.root().playing()) tl.root().setPlaying(true);
                    tl.tick();
                }
                const QImage img = swf::renderFrame(tl).convertToFormat(QImage::Format_RGB32);
                auto light = [&](QPoint p) {
                    const QColor c = img.pixelColor(p);
                    return c.red() + c.green() + c.blue();
                };
                return double(light(besideTheCross) - light(onTheCross));
            };
            const double clear = contrast(acidIn);
            ASSERT_GT(clear, 300);
            const int n = gone - acidIn;
            EXPECT_LE(contrast(acidIn + n / 3), 0.75 * clear);
            EXPECT_LE(contrast(acidIn + 2 * n / 3), 0.4 * clear);
            EXPECT_GT(contrast(gone - 1), 0.03 * clear);
        }
}

}  // namespace
