// Experiment 3's movies show the lab work as it is done: what the spatula takes from the dish
// of MnO₂ is no longer in the dish, and the flask stays where it stands from step to step.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "AssetTree.h"
#include "Slides.h"

namespace {

Scene movie(int step) {
    const QString path = QStringLiteral("Movie/Opyt3/%1.swf").arg(step);
    for (const assets::MovieAsset& m : assets::movieAssets())
        if (m.path == path) return m.make();
    ADD_FAILURE() << "no movie " << path.toStdString();
    return slides::stage(1, 1);
}

// The pixels of the dark powder within a box of a frame.
int powder(const QImage& image, const QRect& box) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (QColor(image.pixel(x, y)).lightness() < 70) ++n;
    return n;
}

TEST(CatalystMovies, TheHeapInTheDishIsSmallerOnceTheSpatulaHasTakenSome) {
    const Scene s = movie(3);
    // The dish stands at the bench's right end; the box holds its bowl and what lies in it.
    const QRect dish(606, 280, 68, 28);
    const int before = powder(s.preview(0), dish);
    const int after = powder(s.preview(s.frameCount() - 1), dish);
    ASSERT_GT(before, 150) << "no heap in the dish at the start";
    EXPECT_LT(after, before * 0.85) << "the heap is as large after the spatula took some";
    // A pinch was taken, not the whole heap.
    EXPECT_GT(after, before * 0.4);
}

// Whether the spatula is down at the dish: its steel handle, which always runs out of the
// picture on the right, crosses the stage's right edge low, beside the dish, only then.
bool spatulaAtTheDish(const QImage& image) {
    int steel = 0;
    for (int y = 250; y <= 310; ++y)
        for (int x = 694; x <= 700; ++x) {
            const QColor c(image.pixel(x, y));
            if (std::abs(c.red() - 0x9A) < 12 && std::abs(c.green() - 0xA5) < 12 &&
                std::abs(c.blue() - 0xB0) < 12)
                ++steel;
        }
    return steel >= 3;
}

TEST(CatalystMovies, TheHeapNeverGrowsBackOnceTheSpatulaHasGone) {
    // Whenever the spatula is clear of the dish, the heap is as large as it was before it came
    // or smaller, and once it is smaller it stays so to the end.
    const Scene s = movie(3);
    const QRect dish(606, 280, 68, 28);
    const int full = powder(s.preview(0), dish);
    int least = full, clear = 0;
    for (int f = 1; f < s.frameCount(); ++f) {
        const QImage image = s.preview(f);
        if (spatulaAtTheDish(image)) continue;
        ++clear;
        const int n = powder(image, dish);
        EXPECT_LE(n, least + 2) << "frame " << f << ": the heap grew back";
        least = std::min(least, n);
    }
    EXPECT_GT(clear, s.frameCount() / 2);
    EXPECT_LT(least, full * 0.85);
}

// One flask for the whole experiment: from the task to the conclusion it stands in the same
// place, so nothing jumps when the student moves to the next step.
TEST(CatalystMovies, TheFlaskStandsInOnePlaceThroughTheExperiment) {
    // Where the flask's left wall crosses a row just above the bench, seen in the first frame
    // of each step (right of the conclusion's profile panel).
    auto leftWall = [](const QImage& image) {
        const int y = 282;
        for (int x = 446; x < 600; ++x)
            if (QColor(image.pixel(x, y)).lightness() < 150) return x;
        return -1;
    };
    const int first = leftWall(movie(1).preview(0));
    ASSERT_GT(first, 446) << "no flask in the task";
    for (int step = 2; step <= 4; ++step)
        EXPECT_EQ(leftWall(movie(step).preview(0)), first) << "step " << step;
}

}  // namespace
