#pragma once

// The timeline of a movie (no widgets): the character dictionary, the display list of each
// timeline, PlaceObject/RemoveObject, sprites with their own timelines, frame actions, loops
// and rewinds. MoviePlayer drives it with tick(); swfrender and the tests drive it by hand.
//
// How a timeline plays:
//  - frames are the ShowFrame-terminated groups of tags actually present (a timeline without
//    ShowFrame has one frame holding all its tags); tags after the last ShowFrame never run;
//  - a frame's actions run after its display list is built, queued in order; a goto runs only
//    the target frame's actions; a goto to the current frame does nothing;
//  - the root loops when looping is on, it has more than one frame and its End tag; a sprite
//    loops under the same conditions (without the loop setting);
//  - a rewind rebuilds the display list from frame 0 and keeps every object that is on the
//    target frame at the same depth with the same character and ratio;
//  - each sprite advances one frame per tick while it is itself playing; a newly placed sprite
//    shows its first frame at once.

#include <QTransform>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "swf/Limits.h"
#include "swf/SwfReader.h"

namespace swf {

struct FrameOp {
    const PlaceObjectTag* place = nullptr;  // else a removal of removeDepth
    std::uint16_t removeDepth = 0;
};

struct FrameDef {
    std::vector<FrameOp> ops;
    std::vector<const Action*> actions;
};

struct TimelineDef {
    std::vector<FrameDef> frames;  // at least one
    bool hasEnd = false;
    int lastFrame() const { return int(frames.size()) - 1; }
};

struct Character {
    std::uint16_t id = 0;
    std::shared_ptr<const Shape> shape;    // a shape, or
    std::shared_ptr<const Sprite> sprite;  // a sprite
    TimelineDef timeline;                  // the sprite's
    // What a renderer keeps of the character between frames, built on its first use; the
    // timeline never looks inside.
    mutable std::shared_ptr<const void> renderCache;
};

class TimelineState;
class Timeline;

struct DisplayObject {
    std::uint16_t depth = 0;
    std::uint16_t characterId = 0;
    const Character* character =
        nullptr;  // null for an unknown id: occupies the depth, draws nothing
    Matrix matrix;
    CxForm cxform;
    std::uint16_t ratio = 0;
    std::uint16_t clipDepth = 0;
    QByteArray name;
    std::unique_ptr<TimelineState> sprite;  // when the character is a sprite
};

class TimelineState {
public:
    TimelineState(Timeline* owner, const TimelineDef* def, int nesting);
    ~TimelineState();
    TimelineState(const TimelineState&) = delete;
    TimelineState& operator=(const TimelineState&) = delete;

    int frame() const { return frame_; }
    int frameCount() const { return int(def_->frames.size()); }
    bool playing() const { return playing_; }
    void setPlaying(bool on) { playing_ = on; }
    const std::map<std::uint16_t, DisplayObject>& displayList() const { return list_; }

    // Frame 0's display list, with its actions queued.
    void enterFirstFrame();
    // To frame `target` (clamped); forward by replaying the frames in between, backward by a
    // rewind. Queues the target's actions. Does not change the playing flag.
    void gotoFrame(int target);
    // One tick of this timeline: the next frame when playing (looping when allowed).
    void advance(bool loopAllowed);
    // Runs the actions of frame f on this timeline (called from the owner's queue).
    void runActions(int f);

private:
    friend class Timeline;
    void applyOp(const FrameOp& op);
    void placeNew(const PlaceObjectTag& p);
    void rewind(int target);
    DisplayObject makeObject(std::uint16_t depth, std::uint16_t charId);

    Timeline* owner_;
    const TimelineDef* def_;
    int nesting_;
    int frame_ = 0;
    bool playing_ = true;
    std::map<std::uint16_t, DisplayObject> list_;
    std::shared_ptr<int> alive_;
};

// A loaded movie with its root timeline.
class Timeline {
public:
    // Takes the movie read by readSwf; builds the dictionary and shows frame 0 (its actions run).
    // playing: the player's play setting; loop: its loop setting.
    Timeline(Movie movie, bool playing, bool loop);
    ~Timeline();

    const Movie& movie() const { return movie_; }
    const Header& header() const { return movie_.header; }
    Rgba background() const { return background_; }
    const TimelineState& root() const { return *root_; }
    TimelineState& root() { return *root_; }
    int totalFrames() const { return movie_.header.frameCount; }
    int framesPresent() const { return root_->frameCount(); }
    int frameNum() const { return root_->frame(); }
    bool loop() const { return loop_; }
    void setLoop(bool on) { loop_ = on; }
    void stop() { root_->setPlaying(false); }

    // One player tick: the root advances when playing, then every sprite that was on show
    // before the tick advances when it plays; then the queued actions run.
    void tick();
    // The root jumps to a frame (as a GotoFrame action would, without stopping).
    void gotoFrame(int f);

    const Character* character(std::uint16_t id) const;
    int liveObjects() const { return liveObjects_; }
    // What is left of this tick's budget of frame operations (kMaxFrameOpsPerTick).
    int frameOpsLeft() const { return opsLeft_; }

private:
    friend class TimelineState;
    void tickState(TimelineState& t, bool loopAllowed);
    void queueActions(TimelineState* t, int frame);
    void runQueue();

    struct Queued {
        std::weak_ptr<int> alive;
        TimelineState* state;
        int frame;
    };

    Movie movie_;
    std::unordered_map<std::uint16_t, std::unique_ptr<Character>> dict_;
    TimelineDef rootDef_;
    Rgba background_{255, 255, 255, 255};
    bool loop_ = true;
    std::vector<Queued> queue_;
    int liveObjects_ = 0;
    int opsLeft_ = kMaxFrameOpsPerTick;
    std::unique_ptr<TimelineState> root_;
};

}  // namespace swf
