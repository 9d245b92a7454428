// Crafted movies that asked the player for gigabytes or for seconds of every frame: each is
// refused whole, saying which limit it passed and where, or played with its excess dropped.
// Movies at a limit are still read, so that no real movie is refused for a miscount.

#include <gtest/gtest.h>

#include "CraftedMovies.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {

using Kind = swf::ReadError::Kind;

void expectRefused(const swf::ReadResult& r, Kind kind, swf::TagCode tag, const char* words) {
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.kind, kind) << qPrintable(swf::describe(r.error));
    EXPECT_TRUE(r.error.isOverLimit());
    ASSERT_TRUE(r.error.tag.has_value());
    EXPECT_EQ(*r.error.tag, tag);
    EXPECT_TRUE(r.movie.tags.empty());
    const QString text = swf::describe(r.error);
    EXPECT_TRUE(text.contains(QLatin1String(words))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String("at byte"))) << qPrintable(text);
}

// 65 KB that inflate to 62 MB: 31 million empty frames took 5.8 GB once read.
TEST(MovieLimits, EmptyFramesInflatingToSixtyMegabytesAreRefusedByTheHeader) {
    const QByteArray bomb = crafted::emptyFramesMovie(62'000'000);
    EXPECT_LT(bomb.size(), 100'000);
    const auto r = swf::readSwf(bomb);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.kind, Kind::FileLengthOverLimit);
    EXPECT_EQ(r.error.offset, 4u);
}

TEST(MovieLimits, EmptyFramesWithinTheLengthLimitAreRefusedByTheirCount) {
    const QByteArray bomb = crafted::emptyFramesMovie(swf::kMaxFileLength);
    const auto r = swf::readSwf(bomb);
    expectRefused(r, Kind::TooManyTags, swf::TagCode::ShowFrame, "more than 100000 tags");
    // The tag over the limit, counted from the first tag after the movie header (byte 21).
    EXPECT_EQ(r.error.offset, 21u + 2u * std::uint64_t(swf::kMaxTags));

    // As many tags as the limit allows, the End tag included: read and played to the end.
    const auto atLimit = swf::readSwf(crafted::emptyFramesMovie(21 + 2 * swf::kMaxTags));
    ASSERT_TRUE(atLimit.ok) << qPrintable(swf::describe(atLimit.error));
    EXPECT_EQ(atLimit.tagCount, swf::kMaxTags);
    swf::Timeline tl(atLimit.movie, true, false);
    EXPECT_EQ(tl.framesPresent(), swf::kMaxTags - 1);
}

// 32 KB holding a shape of two million edges took 2 GB once drawn.
TEST(MovieLimits, AShapeOfTwoMillionEdgesIsRefused) {
    const QByteArray movie = crafted::manyEdgesMovie(2'000'000);
    EXPECT_LT(movie.size(), 40'000);
    const auto r = swf::readSwf(movie);
    expectRefused(r, Kind::TooManyShapeEdges, swf::TagCode::DefineShape3,
                  "the shape has more than 200000 edges");
    EXPECT_EQ(r.error.offset, 21u);  // the shape is the first tag

    const auto atLimit = swf::readSwf(crafted::manyEdgesMovie(int(swf::kMaxShapeEdges)));
    ASSERT_TRUE(atLimit.ok) << qPrintable(swf::describe(atLimit.error));
    const auto& shape = std::get<swf::DefineShapeTag>(atLimit.movie.tags.front()).shape;
    EXPECT_EQ(shape->records.size(), swf::kMaxShapeEdges + 1);  // the edges and one style change
}

TEST(MovieLimits, ShapesTogetherPastTheRecordLimitAreRefused) {
    // Three shapes each within the limit of one shape, together over the limit of a movie.
    const auto r = swf::readSwf(crafted::manyEdgesMovie(190'000, 3));
    expectRefused(r, Kind::TooManyShapeRecords, swf::TagCode::DefineShape3, "500000 records");
    const auto atLimit = swf::readSwf(crafted::manyEdgesMovie(190'000, 2));
    EXPECT_TRUE(atLimit.ok && atLimit.warning.isEmpty())
        << qPrintable(swf::describe(atLimit.warning));
}

// 20,000 placements cost 12 s of processor time for every 15 s shown.
TEST(MovieLimits, TwentyThousandPlacementsInOneFrameAreRefused) {
    const auto r = swf::readSwf(crafted::manyPlacementsMovie(20'000, 20'000, 180));
    expectRefused(r, Kind::TooManyPlacementsInFrame, swf::TagCode::PlaceObject2,
                  "more than 1000 placements and removals in one frame");

    const auto atLimit = swf::readSwf(crafted::manyPlacementsMovie(1000, 1000, 2));
    ASSERT_TRUE(atLimit.ok) << qPrintable(swf::describe(atLimit.error));
    swf::Timeline tl(atLimit.movie, true, false);
    EXPECT_EQ(tl.root().displayList().size(), size_t(swf::kMaxLiveObjects));
}

TEST(MovieLimits, PlacementsSpreadOverFramesKeepOnlyTheObjectsAPlayerShows) {
    const auto r = swf::readSwf(crafted::manyPlacementsMovie(20'000, 1000, 180));
    ASSERT_TRUE(r.ok) << qPrintable(swf::describe(r.error));
    swf::Timeline tl(r.movie, true, true);
    for (int i = 0; i < 40; ++i) {
        tl.tick();
        EXPECT_LE(tl.liveObjects(), swf::kMaxLiveObjects);
    }
    // The first placements stay; those past the limit never come.
    const auto& list = tl.root().displayList();
    ASSERT_EQ(list.size(), size_t(swf::kMaxLiveObjects));
    EXPECT_EQ(list.begin()->first, 1);
    EXPECT_EQ(list.rbegin()->first, swf::kMaxLiveObjects);
}

TEST(MovieLimits, ALimitPassedInsideASpriteRefusesTheMovieNamingTheTagInside) {
    swf::SwfWriter w(100, 50, 12);
    swf::ShapeSpec dot;
    dot.fills.push_back(swf::FillStyle::solid({0, 0, 0, 255}));
    dot.paths.push_back(swf::SubPath::rect(0, 0, 40, 40, 1, 0));
    const auto square = w.defineShape(dot);
    swf::SpriteBuilder sprite;
    for (int i = 0; i <= swf::kMaxPlacementsPerFrame; ++i)
        sprite.placeObject(std::uint16_t(i + 1), square);
    sprite.showFrame();
    const auto spriteId = w.defineSprite(sprite);
    w.placeObject(1, spriteId);
    w.showFrame();
    const auto r = swf::readSwf(w.finish());
    expectRefused(r, Kind::TooManyPlacementsInFrame, swf::TagCode::PlaceObject2,
                  "more than 1000 placements");
}

TEST(MovieLimits, FrameActionsPastTheLimitAreRefused) {
    auto movieOf = [](std::size_t actions) {
        swf::SwfWriter w(100, 50, 12);
        w.doAction(std::vector<swf::Action>(actions, swf::Action::play()));
        w.showFrame();
        return w.finish();
    };
    expectRefused(swf::readSwf(movieOf(swf::kMaxActions + 1)), Kind::TooManyActions,
                  swf::TagCode::DoAction, "more than 50000 frame actions");
    const auto atLimit = swf::readSwf(movieOf(swf::kMaxActions));
    ASSERT_TRUE(atLimit.ok);
    EXPECT_EQ(std::get<swf::DoActionTag>(atLimit.movie.tags.front()).actions.size(),
              swf::kMaxActions);
}

TEST(MovieLimits, StylesPastTheLimitAreRefused) {
    // Shapes of 65,535 solid fills each (the most one style array holds) and no edges.
    auto movieOf = [](int shapes) {
        crafted::CompressedMovie m(1);
        for (int id = 1; id <= shapes; ++id) {
            QByteArray body;
            body.append(char(id));
            body.append(char(0));
            body.append(QByteArray("\x10\x00", 2));      // a rectangle of 2-bit fields, all zero
            body.append(QByteArray("\xFF\xFF\xFF", 3));  // 0xFF: the count follows, 65,535
            body.append(QByteArray("\x00\x10\x20\x30\xFF", 5).repeated(0xFFFF));
            body.append(char(0));  // no line styles
            body.append(char(0));  // no style index bits
            body.append(char(0));  // the end record
            m.appendTag(swf::TagCode::DefineShape3, body);
        }
        m.append(crafted::showFrameTag);
        m.append(crafted::endTag);
        return m.finish();
    };
    expectRefused(swf::readSwf(movieOf(4)), Kind::TooManyStyles, swf::TagCode::DefineShape3,
                  "more than 200000 fill and line styles");
    const auto atLimit = swf::readSwf(movieOf(3));
    EXPECT_TRUE(atLimit.ok && atLimit.warning.isEmpty())
        << qPrintable(swf::describe(atLimit.warning));
}

// Jumps back and forth between two frames of 500 placements, forty thousand times in one frame's
// actions: a tick stops running them once its work is spent.
TEST(MovieLimits, JumpsBackAndForthSpendOneTicksBudgetAndNoMore) {
    swf::SwfWriter w(100, 50, 12);
    swf::ShapeSpec dot;
    dot.fills.push_back(swf::FillStyle::solid({0, 0, 0, 255}));
    dot.paths.push_back(swf::SubPath::rect(0, 0, 20, 20, 1, 0));
    const auto id = w.defineShape(dot);
    for (int i = 0; i < 500; ++i) w.placeObject(std::uint16_t(i + 1), id);
    w.showFrame();
    for (int i = 0; i < 500; ++i) w.removeObject(std::uint16_t(i + 1));
    std::vector<swf::Action> jumps;
    for (int i = 0; i < 20'000; ++i) {
        jumps.push_back(swf::Action::gotoFrame(0));
        jumps.push_back(swf::Action::gotoFrame(1));
    }
    w.doAction(jumps);
    w.showFrame();
    const auto r = swf::readSwf(w.finish());
    ASSERT_TRUE(r.ok) << qPrintable(swf::describe(r.error));
    swf::Timeline tl(r.movie, true, true);
    tl.tick();  // frame 1: its jumps run until the tick's budget is spent
    EXPECT_LE(swf::kMaxFrameOpsPerTick - tl.frameOpsLeft(), swf::kMaxFrameOpsPerTick + 2 * 500 + 1);
    EXPECT_LE(tl.frameOpsLeft(), 0);
    // Whatever frame the jumps left it on, its display list is that frame's.
    EXPECT_EQ(tl.root().displayList().size(), tl.frameNum() == 0 ? 500u : 0u);
}

// 500 copies of a sprite whose every frame removes 900 depths: advancing them all would apply
// 450,000 operations in each tick; those past the tick's budget wait for the next.
TEST(MovieLimits, SpritesPastATicksBudgetWaitForTheNextTick) {
    swf::SwfWriter w(100, 50, 12);
    swf::SpriteBuilder busy;
    for (int f = 0; f < 100; ++f) {
        for (int d = 0; d < 900; ++d) busy.removeObject(std::uint16_t(d + 1));
        busy.showFrame();
    }
    const auto sprite = w.defineSprite(busy);
    for (int d = 0; d < 500; ++d) w.placeObject(std::uint16_t(d + 1), sprite);
    w.showFrame();
    const auto r = swf::readSwf(w.finish());
    ASSERT_TRUE(r.ok) << qPrintable(swf::describe(r.error));
    swf::Timeline tl(r.movie, true, true);
    for (int i = 0; i < 10; ++i) {
        tl.tick();
        EXPECT_LE(swf::kMaxFrameOpsPerTick - tl.frameOpsLeft(), swf::kMaxFrameOpsPerTick + 900);
    }
    // The copies drawn first still play, one frame a tick.
    const auto& first = tl.root().displayList().begin()->second;
    ASSERT_TRUE(first.sprite);
    EXPECT_EQ(first.sprite->frame(), 10);
}

}  // namespace
