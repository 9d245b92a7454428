#pragma once

// The tag codes of the movie subset, for the reader, the writer and the reader's messages.
// Codes outside the list are kept as they are (UnknownTag) and named by number.

#include <QString>
#include <cstdint>

namespace swf {

enum class TagCode : std::uint16_t {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    PlaceObject = 4,
    RemoveObject = 5,
    SetBackgroundColor = 9,
    DoAction = 12,
    DefineShape2 = 22,
    PlaceObject2 = 26,
    RemoveObject2 = 28,
    DefineShape3 = 32,
    DefineSprite = 39,
    FrameLabel = 43,
    FileAttributes = 69,
    PlaceObject3 = 70,
    Metadata = 77,
    DefineShape4 = 83,
    DefineSceneAndFrameLabelData = 86,
};

// DefineShape .. DefineShape4 for shape versions 1 .. 4 (DefineShape3 for any other), and back
// (0 for a tag that defines no shape).
TagCode shapeTagCode(int version);
int shapeVersion(TagCode code);
// PlaceObject .. PlaceObject3 for versions 1 .. 3 (PlaceObject2 for any other), and back.
TagCode placeTagCode(int version);
int placeVersion(TagCode code);

// Tags a sprite's own timeline may hold; inside a sprite any other tag is kept unparsed.
bool isTimelineTag(TagCode code);

// A tag's name for messages ("DefineShape3"), or "tag <code>".
QString tagName(TagCode code);

}  // namespace swf
