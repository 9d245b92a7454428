#pragma once

// How much a movie may ask of the player. A file that asks for more is refused (SwfReader.h) or
// drawn in part (the timeline's and the renderer's per-frame budgets), so that no crafted file
// can take the machine's memory or processor time.
//
// Each limit is set far above what the movies the program ships need. Measured on the asset
// tree the build generates (54 movies) and on the heaviest movie of the player's own test set (a
// tessellation of 56,605 edges), the largest figures are:
//   uncompressed size 41 KB (test set: 334 KB), tags 2,356 (sprites' tags included),
//   edges of one shape 5,451 (test set: 56,605), shape records of a movie 8,758 (83,034),
//   fill and line styles of a movie 152 (18,382), frame actions 2, placements and removals in
//   one frame 33, objects on show at once 39, edges drawn for one frame 7,033 (56,605),
//   masks in one frame 0 (3), sprites within sprites 0 (1).

#include <cstddef>
#include <cstdint>

namespace swf {

// The uncompressed length a header may claim: 200 times the largest movie of the laboratory and
// 25 times the heaviest test movie. A compressed file inflates to at most this.
constexpr std::uint32_t kMaxFileLength = 8u * 1024u * 1024u;

// Every tag read costs about 130 bytes however short it is in the file (a ShowFrame is two
// bytes): a movie of more tags than this is refused.
constexpr int kMaxTags = 100000;

// Edges of one shape: the renderer joins and fills them at once.
constexpr std::size_t kMaxShapeEdges = 200000;
// Shape records (edges and style changes) of all the shapes of a movie; each is about 50 bytes
// read, and three times that once its geometry is built.
constexpr std::size_t kMaxShapeRecords = 500000;
// Fill and line styles of all the shapes of a movie (about 80 bytes each read).
constexpr std::size_t kMaxStyles = 200000;
// Frame actions of a movie (a one-byte action is kept in 32 bytes).
constexpr std::size_t kMaxActions = 50000;
// Placements and removals in one frame of one timeline: each frame shown applies them all.
constexpr int kMaxPlacementsPerFrame = 1000;

// Objects on show at once, in all timelines together; placements beyond it are dropped. Every
// frame draws them all: 500 small shapes take about a twentieth of the time they are shown
// (bench/CraftedInputBench.cpp).
constexpr int kMaxLiveObjects = 500;
// Sprites within sprites; deeper ones are not created.
constexpr int kMaxSpriteNesting = 32;
// Runs of frame actions in one tick; the rest of the queue is dropped.
constexpr int kMaxActionRunsPerTick = 256;
// Placements and removals applied in one tick, the frames a rewind or a jump replays included:
// once it is spent, the sprites not yet advanced stay on their frame and the remaining frame
// actions of the tick do not run. A rewind of the largest laboratory movie replays under 2,000.
constexpr int kMaxFrameOpsPerTick = 200000;

}  // namespace swf
