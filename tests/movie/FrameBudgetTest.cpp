// The drawing budget of a frame: a movie of many heavy shapes or masks has the objects past the
// budget left out of each frame, so a frame takes bounded time; and no frame of any movie the
// laboratory ships comes near it, so each of them is drawn whole as before.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>

#include "CraftedMovies.h"
#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {

swf::FrameWork drawFrame(const swf::Timeline& tl, QSize size = QSize(100, 50)) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    return swf::renderStage(p, tl, QRectF(QPointF(0, 0), QSizeF(size)));
}

TEST(FrameBudget, HeavyShapesPastTheEdgeBudgetAreLeftOut) {
    // Five placements of a shape of 200,000 edges: two fit the budget of 400,000.
    const auto r = swf::readSwf(crafted::manyEdgesMovie(200'000, 1, 5));
    ASSERT_TRUE(r.ok) << qPrintable(swf::describe(r.error));
    swf::Timeline tl(r.movie, true, true);
    for (int frame = 0; frame < 3; ++frame) {
        const swf::FrameWork work = drawFrame(tl);
        EXPECT_EQ(work.shapes, 2);
        EXPECT_EQ(work.edges, swf::kMaxEdgesDrawnPerFrame);
        EXPECT_TRUE(work.cut);
        tl.tick();
    }
}

TEST(FrameBudget, LargeShapesPastTheAreaBudgetAreLeftOut) {
    // A hundred shapes each over the whole stage, drawn as paths and then as kept images.
    const auto r = swf::readSwf(crafted::stageCoveringMovie(100, 2));
    ASSERT_TRUE(r.ok);
    swf::Timeline tl(r.movie, true, true);
    for (int frame = 0; frame < 3; ++frame) {
        const swf::FrameWork work = drawFrame(tl, QSize(200, 100));
        EXPECT_EQ(work.shapes, int(swf::kMaxStageAreasPerFrame));
        EXPECT_DOUBLE_EQ(work.stageAreas, swf::kMaxStageAreasPerFrame);
        EXPECT_TRUE(work.cut);
        tl.tick();
    }
}

TEST(FrameBudget, MasksPastTheirBudgetAreLeftOut) {
    swf::SwfWriter w(100, 50, 12);
    swf::ShapeSpec square;
    square.fills.push_back(swf::FillStyle::solid({30, 30, 200, 255}));
    square.paths.push_back(swf::SubPath::rect(0, 0, swf::px(10), swf::px(10), 1, 0));
    const auto id = w.defineShape(square);
    // Forty masks, each over one square of its own.
    for (int i = 0; i < 40; ++i) {
        const auto at = swf::Matrix::translate(swf::px(i % 10 * 10), swf::px(i / 10 * 10));
        w.placeObject(std::uint16_t(2 * i + 1), id, at, swf::CxForm(), std::uint16_t(2 * i + 2));
        w.placeObject(std::uint16_t(2 * i + 2), id, at);
    }
    w.showFrame();
    const auto r = swf::readSwf(w.finish());
    ASSERT_TRUE(r.ok);
    swf::Timeline tl(r.movie, true, true);
    const swf::FrameWork work = drawFrame(tl);
    EXPECT_EQ(work.maskLayers, swf::kMaxMaskLayersPerFrame);
    EXPECT_TRUE(work.cut);
    // Each mask drew its mask shape and the square under it.
    EXPECT_EQ(work.shapes, 2 * swf::kMaxMaskLayersPerFrame);
}

TEST(FrameBudget, EveryFrameOfTheLaboratorysMoviesIsDrawnWhole) {
    QStringList movies;
    QDirIterator it(QStringLiteral(LAB_PROGRAM_DIR), {QStringLiteral("*.swf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) movies << it.next();
    ASSERT_GE(movies.size(), 50) << "the build generates the movies in " << LAB_PROGRAM_DIR;
    for (const QString& path : movies) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const swf::ReadResult r = swf::readSwf(file.readAll());
        ASSERT_TRUE(r.ok) << qPrintable(swf::describe(r.error));
        EXPECT_TRUE(r.warning.isEmpty()) << qPrintable(swf::describe(r.warning));
        swf::Timeline tl(r.movie, true, false);
        std::size_t mostEdges = 0;
        double mostAreas = 0;
        for (int frame = 0; frame < tl.framesPresent(); ++frame) {
            const swf::FrameWork work = drawFrame(tl, QSize(71, 35));
            ASSERT_FALSE(work.cut) << "frame " << frame;
            mostEdges = std::max(mostEdges, work.edges);
            mostAreas = std::max(mostAreas, work.stageAreas);
            tl.tick();
            ASSERT_GT(tl.frameOpsLeft(), 0) << "frame " << frame;
        }
        // Far from the budget: a tenth of it at most.
        EXPECT_LT(mostEdges, swf::kMaxEdgesDrawnPerFrame / 10);
        EXPECT_LT(mostAreas, swf::kMaxStageAreasPerFrame / 10);
    }
}

}  // namespace
