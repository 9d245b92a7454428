#include "swf/Timeline.h"

#include <algorithm>
#include <deque>

namespace swf {

namespace {

TimelineDef buildDef(const std::vector<Tag>& tags) {
    TimelineDef d;
    FrameDef cur;
    for (const Tag& t : tags) {
        if (const auto* p = std::get_if<PlaceObjectTag>(&t)) {
            cur.ops.push_back(FrameOp{p, 0});
        } else if (const auto* r = std::get_if<RemoveObjectTag>(&t)) {
            cur.ops.push_back(FrameOp{nullptr, r->depth});
        } else if (const auto* a = std::get_if<DoActionTag>(&t)) {
            for (const Action& act : a->actions) cur.actions.push_back(&act);
        } else if (std::holds_alternative<ShowFrameTag>(t)) {
            d.frames.push_back(std::move(cur));
            cur = FrameDef();
        } else if (std::holds_alternative<EndTag>(t)) {
            d.hasEnd = true;
            break;
        }
    }
    if (d.frames.empty()) d.frames.push_back(std::move(cur));
    return d;
}

bool isSpriteChar(const Character* c) {
    return c && c->sprite;
}

// The properties a new placement gives its object; each one it does not carry keeps its default.
template <class Entry>
void takePlacement(Entry& o, const PlaceObjectTag& p) {
    if (p.hasMatrix) o.matrix = p.matrix;
    if (p.hasCxForm) o.cxform = p.cxform;
    if (p.hasRatio) o.ratio = p.ratio;
    if (p.hasClipDepth) o.clipDepth = p.clipDepth;
    if (p.hasName) o.name = p.name;
}

// The display-list rules, one frame operation at a time, written once for forward play (on the
// live objects) and for a rewind (on the plain records it replays from frame 0):
//  - a removal empties its depth;
//  - a placement with a character fills an empty depth, with or without the move flag;
//  - a placement on an occupied depth does nothing unless it moves: a move gives the object the
//    matrix, colour transform and ratio it carries, and its character when it carries another
//    one and the object is no sprite; clip depth and name stay as placed.
// `Entry` has characterId, matrix, cxform and ratio; `place(tag)` fills an empty depth,
// `remove(depth)` empties one and `replace(entry, characterId)` changes an entry's character.
template <class Entry, class Place, class Remove, class Replace>
void applyFrameOp(std::map<std::uint16_t, Entry>& list, const FrameOp& op, const Timeline& owner,
                  Place place, Remove remove, Replace replace) {
    if (!op.place) {
        remove(op.removeDepth);
        return;
    }
    const PlaceObjectTag& p = *op.place;
    auto it = list.find(p.depth);
    if (it == list.end()) {
        if (p.hasCharacter) place(p);
        return;
    }
    if (!p.move) return;
    Entry& o = it->second;
    if (p.hasCharacter && p.characterId != o.characterId &&
        !isSpriteChar(owner.character(o.characterId)))
        replace(o, p.characterId);
    if (p.hasMatrix) o.matrix = p.matrix;
    if (p.hasCxForm) o.cxform = p.cxform;
    if (p.hasRatio) o.ratio = p.ratio;
}

}  // namespace

// TimelineState --------------------------------------------------------------------------

TimelineState::TimelineState(Timeline* owner, const TimelineDef* def, int nesting)
    : owner_(owner), def_(def), nesting_(nesting), alive_(std::make_shared<int>(0)) {}

TimelineState::~TimelineState() {
    owner_->liveObjects_ -= int(list_.size());
}

DisplayObject TimelineState::makeObject(std::uint16_t depth, std::uint16_t charId) {
    DisplayObject o;
    o.depth = depth;
    o.characterId = charId;
    o.character = owner_->character(charId);
    if (isSpriteChar(o.character) && nesting_ + 1 < kMaxSpriteNesting)
        o.sprite = std::make_unique<TimelineState>(owner_, &o.character->timeline, nesting_ + 1);
    return o;
}

void TimelineState::placeNew(const PlaceObjectTag& p) {
    if (owner_->liveObjects_ >= kMaxLiveObjects) return;
    DisplayObject o = makeObject(p.depth, p.characterId);
    takePlacement(o, p);
    auto [it, inserted] = list_.emplace(p.depth, std::move(o));
    if (!inserted) return;
    ++owner_->liveObjects_;
    if (it->second.sprite) it->second.sprite->enterFirstFrame();
}

void TimelineState::applyOp(const FrameOp& op) {
    --owner_->opsLeft_;
    applyFrameOp(
        list_, op, *owner_, [this](const PlaceObjectTag& p) { placeNew(p); },
        [this](std::uint16_t depth) {
            if (list_.erase(depth)) --owner_->liveObjects_;
        },
        [this](DisplayObject& o, std::uint16_t characterId) {
            o.characterId = characterId;
            o.character = owner_->character(characterId);
            o.sprite.reset();
            if (isSpriteChar(o.character) && nesting_ + 1 < kMaxSpriteNesting) {
                o.sprite =
                    std::make_unique<TimelineState>(owner_, &o.character->timeline, nesting_ + 1);
                o.sprite->enterFirstFrame();
            }
        });
}

void TimelineState::enterFirstFrame() {
    frame_ = 0;
    for (const FrameOp& op : def_->frames[0].ops) applyOp(op);
    owner_->queueActions(this, 0);
}

void TimelineState::gotoFrame(int target) {
    target = std::clamp(target, 0, def_->lastFrame());
    if (target == frame_) return;
    --owner_->opsLeft_;  // a jump costs something even over frames without placements
    if (target > frame_) {
        for (int f = frame_ + 1; f <= target; ++f)
            for (const FrameOp& op : def_->frames[size_t(f)].ops) applyOp(op);
        frame_ = target;
    } else {
        rewind(target);
    }
    owner_->queueActions(this, target);
}

void TimelineState::rewind(int target) {
    // What each depth holds on the target frame, replayed from frame 0 without live objects.
    struct Virtual {
        std::uint16_t characterId = 0;
        Matrix matrix;
        CxForm cxform;
        std::uint16_t ratio = 0, clipDepth = 0;
        QByteArray name;
    };
    std::map<std::uint16_t, Virtual> v;
    for (int f = 0; f <= target; ++f) {
        owner_->opsLeft_ -= int(def_->frames[size_t(f)].ops.size());
        for (const FrameOp& op : def_->frames[size_t(f)].ops)
            applyFrameOp(
                v, op, *owner_,
                [&v](const PlaceObjectTag& p) {
                    Virtual n;
                    n.characterId = p.characterId;
                    takePlacement(n, p);
                    v[p.depth] = std::move(n);
                },
                [&v](std::uint16_t depth) { v.erase(depth); },
                [](Virtual& o, std::uint16_t characterId) { o.characterId = characterId; });
    }
    owner_->opsLeft_ -= int(v.size());
    std::map<std::uint16_t, DisplayObject> next;
    std::vector<std::uint16_t> fresh;
    int added = 0;
    for (auto& [depth, n] : v) {
        auto it = list_.find(depth);
        if (it != list_.end() && it->second.characterId == n.characterId &&
            it->second.ratio == n.ratio) {
            DisplayObject o = std::move(it->second);
            o.matrix = n.matrix;
            o.cxform = n.cxform;
            next.emplace(depth, std::move(o));
            continue;
        }
        if (owner_->liveObjects_ + added >= kMaxLiveObjects) continue;
        DisplayObject o = makeObject(depth, n.characterId);
        o.matrix = n.matrix;
        o.cxform = n.cxform;
        o.ratio = n.ratio;
        o.clipDepth = n.clipDepth;
        o.name = n.name;
        if (o.sprite) fresh.push_back(depth);
        next.emplace(depth, std::move(o));
        ++added;
    }
    owner_->liveObjects_ += int(next.size()) - int(list_.size());
    list_.swap(next);
    next.clear();  // the objects that did not survive
    frame_ = target;
    for (std::uint16_t d : fresh) {
        auto it = list_.find(d);
        if (it != list_.end() && it->second.sprite) it->second.sprite->enterFirstFrame();
    }
}

void TimelineState::advance(bool loopAllowed) {
    if (!playing_) return;
    if (frame_ < def_->lastFrame()) {
        gotoFrame(frame_ + 1);
    } else if (loopAllowed && def_->frames.size() > 1 && def_->hasEnd) {
        gotoFrame(0);
    } else {
        playing_ = false;
    }
}

void TimelineState::runActions(int f) {
    if (f < 0 || f > def_->lastFrame()) return;
    for (const Action* a : def_->frames[size_t(f)].actions) {
        if (owner_->opsLeft_ <= 0) return;  // this tick's work is spent
        switch (a->code) {
            case Action::Play:
                playing_ = true;
                break;
            case Action::Stop:
                playing_ = false;
                break;
            case Action::GotoFrame: {
                const int t = a->gotoTarget();
                if (t < 0) break;
                const int target = std::clamp(t, 0, def_->lastFrame());
                if (target == frame_) break;
                gotoFrame(target);
                playing_ = false;
                break;
            }
            case Action::NextFrame:
                if (frame_ < def_->lastFrame()) {
                    gotoFrame(frame_ + 1);
                    playing_ = false;
                }
                break;
            case Action::PreviousFrame:
                if (frame_ > 0) {
                    gotoFrame(frame_ - 1);
                    playing_ = false;
                }
                break;
            default:
                break;
        }
    }
}

// Timeline -------------------------------------------------------------------------------

Timeline::Timeline(Movie movie, bool playing, bool loop) : movie_(std::move(movie)), loop_(loop) {
    bool haveBackground = false;
    for (const Tag& t : movie_.tags) {
        if (const auto* s = std::get_if<DefineShapeTag>(&t)) {
            if (s->shape && !dict_.count(s->shape->id)) {
                auto c = std::make_unique<Character>();
                c->id = s->shape->id;
                c->shape = s->shape;
                dict_.emplace(c->id, std::move(c));
            }
        } else if (const auto* sp = std::get_if<DefineSpriteTag>(&t)) {
            if (sp->sprite && !dict_.count(sp->sprite->id)) {
                auto c = std::make_unique<Character>();
                c->id = sp->sprite->id;
                c->sprite = sp->sprite;
                c->timeline = buildDef(sp->sprite->tags);
                dict_.emplace(c->id, std::move(c));
            }
        } else if (const auto* bg = std::get_if<SetBackgroundColorTag>(&t)) {
            if (!haveBackground) background_ = Rgba{bg->color.r, bg->color.g, bg->color.b, 255};
            haveBackground = true;
        } else if (std::holds_alternative<EndTag>(t)) {
            break;
        }
    }
    rootDef_ = buildDef(movie_.tags);
    root_ = std::make_unique<TimelineState>(this, &rootDef_, 0);
    root_->setPlaying(playing);
    root_->enterFirstFrame();
    runQueue();
}

Timeline::~Timeline() {
    queue_.clear();
    root_.reset();
}

const Character* Timeline::character(std::uint16_t id) const {
    auto it = dict_.find(id);
    return it == dict_.end() ? nullptr : it->second.get();
}

void Timeline::queueActions(TimelineState* t, int frame) {
    if (frame < 0 || frame >= t->frameCount() || t->def_->frames[size_t(frame)].actions.empty())
        return;
    queue_.push_back(Queued{t->alive_, t, frame});
}

void Timeline::runQueue() {
    int runs = 0;
    size_t i = 0;
    while (i < queue_.size() && runs < kMaxActionRunsPerTick && opsLeft_ > 0) {
        const Queued q = queue_[i++];
        if (!q.alive.expired()) q.state->runActions(q.frame);
        ++runs;
    }
    queue_.clear();
}

void Timeline::tickState(TimelineState& t, bool loopAllowed) {
    if (opsLeft_ <= 0) return;  // this tick's work is spent: the rest stay where they are
    std::vector<std::pair<std::uint16_t, std::weak_ptr<int>>> before;
    for (const auto& [depth, o] : t.list_)
        if (o.sprite) before.emplace_back(depth, o.sprite->alive_);
    t.advance(loopAllowed);
    for (const auto& [depth, alive] : before) {
        if (alive.expired()) continue;
        auto it = t.list_.find(depth);
        if (it != t.list_.end() && it->second.sprite && it->second.sprite->alive_ == alive.lock())
            tickState(*it->second.sprite, true);
    }
}

void Timeline::tick() {
    opsLeft_ = kMaxFrameOpsPerTick;
    tickState(*root_, loop_);
    runQueue();
}

void Timeline::gotoFrame(int f) {
    opsLeft_ = kMaxFrameOpsPerTick;
    root_->gotoFrame(f);
    runQueue();
}

}  // namespace swf
