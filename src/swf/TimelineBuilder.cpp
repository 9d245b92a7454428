#include "swf/TimelineBuilder.h"

namespace swf {

namespace {

// PlaceObject2 Move: the object at depth takes what is given and keeps the rest.
PlaceObjectTag moveTag(std::uint16_t depth, const std::uint16_t* charId, const Matrix* m,
                       const CxForm* cx) {
    PlaceObjectTag p;
    p.depth = depth;
    p.move = true;
    if (charId) {
        p.hasCharacter = true;
        p.characterId = *charId;
    }
    if (m) {
        p.hasMatrix = true;
        p.matrix = *m;
    }
    if (cx) {
        p.hasCxForm = true;
        p.cxform = *cx;
    }
    return p;
}

}  // namespace

void TimelineBuilder::placeObject(std::uint16_t depth, std::uint16_t charId, const Matrix& m,
                                  const CxForm& cx, std::uint16_t clipDepth) {
    PlaceObjectTag p;
    p.version = 2;
    p.depth = depth;
    p.hasCharacter = true;
    p.characterId = charId;
    p.hasMatrix = true;
    p.matrix = m;
    p.hasCxForm = !cx.isIdentity();
    p.cxform = cx;
    if (clipDepth) {
        p.hasClipDepth = true;
        p.clipDepth = clipDepth;
    }
    tags_.push_back(p);
}

void TimelineBuilder::moveObject(std::uint16_t depth, const Matrix& m) {
    tags_.push_back(moveTag(depth, nullptr, &m, nullptr));
}

void TimelineBuilder::moveObject(std::uint16_t depth, const Matrix& m, const CxForm& cx) {
    tags_.push_back(moveTag(depth, nullptr, &m, &cx));
}

void TimelineBuilder::setColorTransform(std::uint16_t depth, const CxForm& cx) {
    tags_.push_back(moveTag(depth, nullptr, nullptr, &cx));
}

void TimelineBuilder::replaceObject(std::uint16_t depth, std::uint16_t charId, const Matrix* m,
                                    const CxForm* cx) {
    tags_.push_back(moveTag(depth, &charId, m, cx));
}

void TimelineBuilder::removeObject(std::uint16_t depth) {
    RemoveObjectTag r;
    r.version = 2;
    r.depth = depth;
    tags_.push_back(r);
}

void TimelineBuilder::doAction(std::initializer_list<Action> actions) {
    tags_.push_back(DoActionTag{actions});
}

void TimelineBuilder::doAction(const std::vector<Action>& actions) {
    tags_.push_back(DoActionTag{actions});
}

void TimelineBuilder::showFrame() {
    tags_.push_back(ShowFrameTag{});
    ++frames_;
}

}  // namespace swf
