// Every label of every movie and picture can be read at the stage's own scale: no glyph run is
// smaller than 11 px (sub- and superscripts no smaller than 9 px), and no two labels that are
// on show at the same time lie over each other or run off the stage.

#include <gtest/gtest.h>

#include "AssetTree.h"
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

TEST(Legibility, LabelsOnShowTogetherNeitherOverlapNorLeaveTheStage) {
    for (const assets::MovieAsset& m : assets::movieAssets()) {
        SCOPED_TRACE(m.path.toStdString());
        const Scene s = m.make();
        const QRectF stage(0, 0, s.width(), s.height());
        const auto& texts = s.texts();
        ASSERT_FALSE(texts.empty());
        int reported = 0;
        for (int f = 0; f < s.frameCount() && reported < 5; f += 2) {
            std::vector<std::pair<const Scene::TextNote*, QRectF>> shown;
            for (const Scene::TextNote& t : texts)
                if (s.presentAt(t.object, f) && s.alphaAt(t.object, f) > 0.6)
                    shown.push_back({&t, s.transformAt(t.object, f).mapRect(t.bounds)});
            for (std::size_t i = 0; i < shown.size(); ++i) {
                if (!stage.contains(shown[i].second) && reported++ < 5)
                    ADD_FAILURE() << "frame " << f << ": «" << shown[i].first->markup.toStdString()
                                  << "» leaves the stage";
                for (std::size_t j = i + 1; j < shown.size(); ++j)
                    if (collide(shown[i].second, shown[j].second) && reported++ < 5)
                        ADD_FAILURE()
                            << "frame " << f << ": «" << shown[i].first->markup.toStdString()
                            << "» over «" << shown[j].first->markup.toStdString() << "»";
            }
        }
    }
}

}  // namespace
