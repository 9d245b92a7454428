#pragma once

// The tag layer of the SWF reader: the movie header's frame rectangle and the tag list, each tag
// parsed from a reader limited to its length (BitReader.h for the stream layer).

#include <vector>

#include "swf/BitReader.h"
#include "swf/ReadError.h"
#include "swf/SwfTypes.h"

namespace swf {

Rect readRect(BitReader& r);

// What the tags read so far have taken of a movie's limits (Limits.h), sprites included.
struct ReadBudget {
    int tags = 0;
    std::size_t shapeRecords = 0;
    std::size_t styles = 0;
    std::size_t actions = 0;
};

// Reads tags into `out` until End, the end of the data or a broken tag, and returns what broke
// (empty when the list ended normally). A limit passed, here or in a sprite, ends the list with
// an error that isOverLimit(). Inside a sprite only the timeline tags are parsed; the others are
// kept as UnknownTag. `count`, if given, counts the tags read, End included.
ReadError readTags(BitReader& r, std::vector<Tag>& out, bool inSprite, ReadBudget& budget,
                   int* count);

}  // namespace swf
