#pragma once

// Collects the tags of a timeline for the SWF writer (SwfWriter.h): placements, moves,
// removals, actions and frames.

#include <initializer_list>
#include <vector>

#include "swf/SwfTypes.h"

namespace swf {

// Collects the tags of one timeline (the movie or a sprite).
class TimelineBuilder {
public:
    // PlaceObject2 with a new character at an empty depth. Matrix and colour transform are
    // written only when given (a default-constructed CxForm is identity and omitted).
    void placeObject(std::uint16_t depth, std::uint16_t charId, const Matrix& m = Matrix(),
                     const CxForm& cx = CxForm(), std::uint16_t clipDepth = 0);
    // PlaceObject2 Move: modifies the object at depth.
    void moveObject(std::uint16_t depth, const Matrix& m);
    void moveObject(std::uint16_t depth, const Matrix& m, const CxForm& cx);
    void setColorTransform(std::uint16_t depth, const CxForm& cx);
    // PlaceObject2 Move + HasCharacter: the shape at depth takes a new character.
    void replaceObject(std::uint16_t depth, std::uint16_t charId, const Matrix* m = nullptr,
                       const CxForm* cx = nullptr);
    void removeObject(std::uint16_t depth);  // RemoveObject2
    void doAction(std::initializer_list<Action> actions);
    void doAction(const std::vector<Action>& actions);
    void showFrame();

    int framesShown() const { return frames_; }
    const std::vector<Tag>& tags() const { return tags_; }

protected:
    std::vector<Tag> tags_;
    int frames_ = 0;
};

// A sprite's timeline; give it to SwfWriter::defineSprite.
class SpriteBuilder : public TimelineBuilder {};

}  // namespace swf
