// Every label of every movie and picture can be read at the stage's own scale: no glyph run is
// smaller than 11 px (sub- and superscripts no smaller than 9 px), and no two labels that are
// on show at the same time lie over each other or run off the stage.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AssetTree.h"
#include "Slides.h"
#include "Text.h"

namespace {

TEST(Legibility, NoTextOfAnyAssetIsSmallerThanElevenPixels) {
    text::resetSizeLog();
    for (const assets::MovieAsset& m : assets::movieAssets()) m.make();
    for (const assets::FileAsset& p : assets::pictureAssets()) p.bytes();
    const text::SizeLog log = text::sizeLog();
    EXPECT_GE(log.body.size, 11.0) << log.body.markup.toStdString();
    EXPECT_GE(log.index.size, text::smallestIndexSize) << log.index.markup.toStdString();
    // The check sees the texts at all: the smallest body text is a real label.
    EXPECT_LT(log.body.size, 20.0);
    EXPECT_FALSE(log.body.markup.isEmpty());
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

}  // namespace
