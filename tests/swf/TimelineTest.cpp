// The display list, placements, sprites, actions, loops and rewinds of the timeline.

#include <gtest/gtest.h>

#include "MovieTestUtil.h"
#include "swf/Timeline.h"

using movietest::countingMovie;
using movietest::read;

namespace {

std::vector<int> frameSequence(swf::Timeline& tl, int ticks) {
    std::vector<int> seq{tl.frameNum()};
    for (int i = 0; i < ticks; ++i) {
        tl.tick();
        seq.push_back(tl.frameNum());
    }
    return seq;
}

TEST(Timeline, PlayAndLoopOnRunsEveryFrameAndWraps) {
    swf::Timeline tl(read(countingMovie(4)), true, true);
    EXPECT_EQ(tl.totalFrames(), 4);
    EXPECT_EQ(frameSequence(tl, 9), (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1}));
}

TEST(Timeline, PlayOnLoopOffStopsOnTheLastFrame) {
    swf::Timeline tl(read(countingMovie(3)), true, false);
    EXPECT_EQ(frameSequence(tl, 5), (std::vector<int>{0, 1, 2, 2, 2, 2}));
    EXPECT_FALSE(tl.root().playing());
}

TEST(Timeline, PlayAndLoopOffRestOnFrame0) {
    swf::Timeline tl(read(countingMovie(3)), false, false);
    EXPECT_EQ(frameSequence(tl, 4), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST(Timeline, PlayOffButAPlayActionInFrame0RunsToTheLastFrameAndRests) {
    auto actions = [](int f) {
        return f == 0 ? std::vector<swf::Action>{swf::Action::play()} : std::vector<swf::Action>{};
    };
    swf::Timeline tl(read(countingMovie(3, actions)), false, false);
    EXPECT_EQ(frameSequence(tl, 4), (std::vector<int>{0, 1, 2, 2, 2}));
}

TEST(Timeline, StopActionHaltsAndStopOfThePlayerHolds) {
    auto actions = [](int f) {
        return f == 2 ? std::vector<swf::Action>{swf::Action::stop()} : std::vector<swf::Action>{};
    };
    swf::Timeline tl(read(countingMovie(5, actions)), true, true);
    EXPECT_EQ(frameSequence(tl, 4), (std::vector<int>{0, 1, 2, 2, 2}));
    swf::Timeline t2(read(countingMovie(5)), true, true);
    t2.tick();
    t2.stop();
    EXPECT_EQ(frameSequence(t2, 3), (std::vector<int>{1, 1, 1, 1}));
}

TEST(Timeline, GotoFrameGoesAndStopsAndGotoThenPlayPlays) {
    auto a1 = [](int f) {
        return f == 1 ? std::vector<swf::Action>{swf::Action::gotoFrame(4)}
                      : std::vector<swf::Action>{};
    };
    swf::Timeline tl(read(countingMovie(6, a1)), true, true);
    EXPECT_EQ(frameSequence(tl, 3), (std::vector<int>{0, 4, 4, 4}));
    auto a2 = [](int f) {
        return f == 3 ? std::vector<swf::Action>{swf::Action::gotoFrame(1), swf::Action::play()}
                      : std::vector<swf::Action>{};
    };
    swf::Timeline t2(read(countingMovie(5, a2)), true, true);
    // Frame 3's actions run before it is shown: the player goes on from frame 1.
    EXPECT_EQ(frameSequence(t2, 6), (std::vector<int>{0, 1, 2, 1, 2, 1, 2}));
}

TEST(Timeline, NextAndPreviousFrameStepAndStopButDoNothingAtTheEnds) {
    auto a = [](int f) {
        if (f == 0) return std::vector<swf::Action>{swf::Action::previousFrame()};
        if (f == 1) return std::vector<swf::Action>{swf::Action::nextFrame()};
        if (f == 3) return std::vector<swf::Action>{swf::Action::nextFrame()};
        return std::vector<swf::Action>{};
    };
    swf::Timeline tl(read(countingMovie(4, a)), true, true);
    EXPECT_TRUE(tl.root().playing());  // PreviousFrame on frame 0 did nothing
    EXPECT_EQ(frameSequence(tl, 2), (std::vector<int>{0, 2, 2}));
    auto b = [](int f) {
        return f == 2 ? std::vector<swf::Action>{swf::Action::previousFrame()}
                      : std::vector<swf::Action>{};
    };
    swf::Timeline t2(read(countingMovie(4, b)), true, true);
    EXPECT_EQ(frameSequence(t2, 3), (std::vector<int>{0, 1, 1, 1}));
}

TEST(Timeline, TheLastFramesActionsRunBeforeALoop) {
    auto a = [](int f) {
        return f == 2 ? std::vector<swf::Action>{swf::Action::gotoFrame(0)}
                      : std::vector<swf::Action>{};
    };
    swf::Timeline tl(read(countingMovie(3, a)), true, true);
    EXPECT_EQ(frameSequence(tl, 3), (std::vector<int>{0, 1, 0, 0}));
}

TEST(Timeline, AMovieWithoutItsEndTagDoesNotLoop) {
    QByteArray b = countingMovie(3);
    b.chop(2);  // the End tag
    swf::Timeline tl(read(b), true, true);
    EXPECT_EQ(frameSequence(tl, 4), (std::vector<int>{0, 1, 2, 2, 2}));
}

TEST(Timeline, PlaysTheFramesPresentWhileTheHeaderPromisesMore) {
    swf::Movie m = read(countingMovie(3));
    m.header.frameCount = 7;
    swf::Timeline tl(m, true, true);
    EXPECT_EQ(tl.totalFrames(), 7);
    EXPECT_EQ(tl.framesPresent(), 3);
    EXPECT_EQ(frameSequence(tl, 3), (std::vector<int>{0, 1, 2, 0}));
}

// Placement cases ------------------------------------------------------------------------

struct Built {
    swf::Movie movie;
    std::uint16_t red, blue, sprite;
};

// Frame by frame, as given by `frames`; shapes red and blue and a 3-frame sprite are defined.
Built build(const std::function<void(swf::SwfWriter&, const Built&)>& frames) {
    swf::SwfWriter w(100, 100, 10);
    Built b{};
    b.red = w.defineShape(movietest::square({255, 0, 0, 255}));
    b.blue = w.defineShape(movietest::square({0, 0, 255, 255}));
    swf::SpriteBuilder sp;
    sp.placeObject(1, b.red);
    sp.showFrame();
    sp.showFrame();
    sp.showFrame();
    b.sprite = w.defineSprite(sp);
    frames(w, b);
    w.finish();
    b.movie = w.movie();
    return b;
}

const swf::DisplayObject* at(const swf::Timeline& tl, int depth) {
    auto& l = tl.root().displayList();
    auto it = l.find(std::uint16_t(depth));
    return it == l.end() ? nullptr : &it->second;
}

TEST(Timeline, PlacingOnAnOccupiedDepthIsIgnored) {
    auto b = build([](swf::SwfWriter& w, const Built& b) {
        w.placeObject(1, b.red, swf::Matrix::translate(20, 0));
        w.placeObject(1, b.blue, swf::Matrix::translate(40, 0));
        w.showFrame();
    });
    swf::Timeline tl(b.movie, true, true);
    ASSERT_TRUE(at(tl, 1));
    EXPECT_EQ(at(tl, 1)->characterId, b.red);
    EXPECT_EQ(at(tl, 1)->matrix.tx, 20);
}

TEST(Timeline, MoveModifiesOnlyTheFlaggedPropertiesAndIgnoresAnEmptyDepth) {
    auto b = build([](swf::SwfWriter& w, const Built& b) {
        w.placeObject(1, b.red, swf::Matrix::translate(20, 0), swf::CxForm::alpha(0.5));
        w.showFrame();
        w.moveObject(1, swf::Matrix::translate(60, 0));
        w.moveObject(2, swf::Matrix::translate(60, 0));
        w.showFrame();
    });
    swf::Timeline tl(b.movie, true, true);
    tl.tick();
    ASSERT_TRUE(at(tl, 1));
    EXPECT_EQ(at(tl, 1)->matrix.tx, 60);
    EXPECT_TRUE(at(tl, 1)->cxform == swf::CxForm::alpha(0.5));
    EXPECT_FALSE(at(tl, 2));
}

TEST(Timeline, AMovedObjectStandsWhereItsFrameSaysWhileItPlaysLoopsAndJumps) {
    // The counting movie's square is placed once and then only moved: one pixel per frame.
    swf::Timeline tl(read(countingMovie(5)), true, true);
    const auto x = [&tl] { return at(tl, 1) ? at(tl, 1)->matrix.tx : -1; };
    for (int i = 0; i < 8; ++i) {  // through the loop back to frame 0
        EXPECT_EQ(x(), swf::px(tl.frameNum())) << "tick " << i;
        tl.tick();
    }
    for (int from = 0; from < 5; ++from) {
        for (int to = 0; to < 5; ++to) {
            tl.gotoFrame(from);
            tl.gotoFrame(to);
            EXPECT_EQ(x(), swf::px(to)) << "frame " << from << " to " << to;
        }
    }
}

TEST(Timeline, MoveWithACharacterReplacesAShapeButKeepsASprite) {
    auto b = build([](swf::SwfWriter& w, const Built& b) {
        w.placeObject(1, b.red, swf::Matrix::translate(20, 0));
        w.placeObject(2, b.sprite, swf::Matrix::translate(0, 0));
        w.showFrame();
        w.replaceObject(1, b.blue);
        const swf::Matrix m = swf::Matrix::translate(80, 0);
        w.replaceObject(2, b.red, &m);
        w.showFrame();
    });
    swf::Timeline tl(b.movie, true, true);
    tl.tick();
    ASSERT_TRUE(at(tl, 1) && at(tl, 2));
    EXPECT_EQ(at(tl, 1)->characterId, b.blue);
    EXPECT_EQ(at(tl, 1)->matrix.tx, 20);  // unflagged: kept
    EXPECT_EQ(at(tl, 2)->characterId, b.sprite);
    EXPECT_TRUE(at(tl, 2)->sprite);
    EXPECT_EQ(at(tl, 2)->matrix.tx, 80);
}

TEST(Timeline, RemoveObjectClearsTheDepth) {
    auto b = build([](swf::SwfWriter& w, const Built& b) {
        w.placeObject(1, b.red);
        w.placeObject(2, b.blue);
        w.showFrame();
        w.removeObject(1);
        w.showFrame();
    });
    swf::Timeline tl(b.movie, true, false);
    tl.tick();
    EXPECT_FALSE(at(tl, 1));
    EXPECT_TRUE(at(tl, 2));
}

TEST(Timeline, SpritesAdvanceWhateverTheirParentDoesAndLoop) {
    auto b = build([](swf::SwfWriter& w, const Built& b) {
        w.placeObject(1, b.sprite);
        w.doAction({swf::Action::stop()});
        w.showFrame();
    });
    swf::Timeline tl(b.movie, true, true);
    ASSERT_TRUE(at(tl, 1) && at(tl, 1)->sprite);
    std::vector<int> seq;
    for (int i = 0; i < 5; ++i) {
        seq.push_back(at(tl, 1)->sprite->frame());
        tl.tick();
    }
    EXPECT_EQ(seq, (std::vector<int>{0, 1, 2, 0, 1}));
    EXPECT_EQ(tl.frameNum(), 0);
}

TEST(Timeline, AStopInsideASpriteStopsOnlyThatSprite) {
    swf::SwfWriter w(100, 100, 10);
    const auto red = w.defineShape(movietest::square({255, 0, 0, 255}));
    swf::SpriteBuilder sp;
    sp.placeObject(1, red);
    sp.showFrame();
    sp.doAction({swf::Action::stop()});
    sp.showFrame();
    sp.showFrame();
    const auto spriteId = w.defineSprite(sp);
    w.placeObject(1, spriteId);
    for (int i = 0; i < 4; ++i) w.showFrame();
    w.finish();
    swf::Timeline tl(w.movie(), true, true);
    for (int i = 0; i < 3; ++i) tl.tick();
    EXPECT_EQ(tl.frameNum(), 3);
    EXPECT_EQ(at(tl, 1)->sprite->frame(), 1);
    EXPECT_FALSE(at(tl, 1)->sprite->playing());
}

TEST(Timeline, ALoopKeepsASurvivingSpriteAndRestartsARemovedOne) {
    auto b = build([](swf::SwfWriter& w, const Built& b) {
        w.placeObject(1, b.sprite);
        w.placeObject(2, b.sprite);
        w.showFrame();
        w.removeObject(2);
        w.showFrame();
        w.placeObject(2, b.sprite);
        w.showFrame();
    });
    swf::Timeline tl(b.movie, true, true);
    tl.tick();
    tl.tick();  // root frame 2: depth 1 sprite on its frame 2, depth 2 newly placed on its frame 0
    ASSERT_EQ(tl.frameNum(), 2);
    const swf::TimelineState* kept = at(tl, 1)->sprite.get();
    EXPECT_EQ(kept->frame(), 2);
    EXPECT_EQ(at(tl, 2)->sprite->frame(), 0);
    tl.tick();  // loop to frame 0: depth 1 survives (same character), depth 2 too
    ASSERT_EQ(tl.frameNum(), 0);
    EXPECT_EQ(at(tl, 1)->sprite.get(), kept);
    EXPECT_EQ(at(tl, 1)->sprite->frame(), 0);  // it advanced from 2 and looped by itself
    EXPECT_EQ(at(tl, 2)->sprite->frame(), 1);
}

TEST(Timeline, AGotoBackwardRebuildsTheDisplayList) {
    auto b = build([](swf::SwfWriter& w, const Built& b) {
        w.placeObject(1, b.red, swf::Matrix::translate(10, 0));
        w.showFrame();
        w.moveObject(1, swf::Matrix::translate(30, 0));
        w.placeObject(2, b.blue);
        w.showFrame();
        w.removeObject(1);
        w.doAction({swf::Action::gotoFrame(0)});
        w.showFrame();
    });
    swf::Timeline tl(b.movie, true, true);
    tl.tick();
    tl.tick();
    EXPECT_EQ(tl.frameNum(), 0);
    ASSERT_TRUE(at(tl, 1));
    EXPECT_EQ(at(tl, 1)->matrix.tx, 10);
    EXPECT_FALSE(at(tl, 2));
    EXPECT_FALSE(tl.root().playing());
}

TEST(Timeline, ASpritePlacingItselfDoesNotRecurseForever) {
    swf::SwfWriter w(100, 100, 10);
    swf::SpriteBuilder sp;
    sp.placeObject(1, 1);  // its own id: the first character defined below
    sp.placeObject(2, 1);
    sp.showFrame();
    w.defineSprite(sp);
    w.placeObject(1, 1);
    w.showFrame();
    w.finish();
    swf::Timeline tl(w.movie(), true, true);
    for (int i = 0; i < 3; ++i) tl.tick();
    EXPECT_LE(tl.liveObjects(), swf::kMaxLiveObjects);
}

}  // namespace
