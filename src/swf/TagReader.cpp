#include "swf/TagReader.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "swf/Limits.h"

namespace swf {

Rect readRect(BitReader& r) {
    r.align();
    const int n = int(r.ub(5));
    Rect rc;
    rc.xmin = r.sb(n);
    rc.xmax = r.sb(n);
    rc.ymin = r.sb(n);
    rc.ymax = r.sb(n);
    r.align();
    return rc;
}

namespace {

Matrix readMatrix(BitReader& r) {
    Matrix m;
    r.align();
    m.hasScale = r.ub(1);
    if (m.hasScale) {
        const int n = int(r.ub(5));
        m.scaleX = r.sb(n);
        m.scaleY = r.sb(n);
    }
    m.hasRotate = r.ub(1);
    if (m.hasRotate) {
        const int n = int(r.ub(5));
        m.rotateSkew0 = r.sb(n);
        m.rotateSkew1 = r.sb(n);
    }
    const int n = int(r.ub(5));
    m.tx = r.sb(n);
    m.ty = r.sb(n);
    r.align();
    return m;
}

CxForm readCxForm(BitReader& r, bool withAlpha) {
    CxForm c;
    r.align();
    c.hasAdd = r.ub(1);
    c.hasMult = r.ub(1);
    const int n = int(r.ub(4));
    const int channels = withAlpha ? 4 : 3;
    if (c.hasMult)
        for (int i = 0; i < channels; ++i) c.mult[i] = std::int16_t(r.sb(n));
    if (c.hasAdd)
        for (int i = 0; i < channels; ++i) c.add[i] = std::int16_t(r.sb(n));
    r.align();
    return c;
}

Rgba readColor(BitReader& r, bool alpha) {
    Rgba c;
    c.r = std::uint8_t(r.u8());
    c.g = std::uint8_t(r.u8());
    c.b = std::uint8_t(r.u8());
    c.a = alpha ? std::uint8_t(r.u8()) : 255;
    return c;
}

bool readFillStyle(BitReader& r, FillStyle& f, int version) {
    f.type = std::uint8_t(r.u8());
    switch (f.type) {
        case FillSolid:
            f.color = readColor(r, version >= 3);
            return true;
        case FillLinear:
        case FillRadial:
        case FillFocalRadial: {
            f.matrix = readMatrix(r);
            r.align();
            f.gradient.spread = std::uint8_t(r.ub(2));
            f.gradient.interpolation = std::uint8_t(r.ub(2));
            const int count = int(r.ub(4));
            f.gradient.records.resize(size_t(count));
            for (auto& g : f.gradient.records) {
                g.ratio = std::uint8_t(r.u8());
                g.color = readColor(r, version >= 3);
            }
            if (f.type == FillFocalRadial) f.gradient.focalPoint = std::int16_t(r.u16());
            return true;
        }
        case FillRepeatingBitmap:
        case FillClippedBitmap:
        case FillNonSmoothedRepeatingBitmap:
        case FillNonSmoothedClippedBitmap:
            f.bitmapId = std::uint16_t(r.u16());
            f.matrix = readMatrix(r);
            return true;
        default:
            return false;  // unknown fill type: its size is unknown
    }
}

size_t readCount(BitReader& r, int version) {
    size_t n = r.u8();
    if (n == 0xFF && version >= 2) n = r.u16();
    return n;
}

// Reads a style array; false when it is broken or passes the movie's style limit (`overLimit`).
bool readStyleSet(BitReader& r, StyleSet& s, int version, ReadBudget& budget, bool& overLimit) {
    const size_t nf = readCount(r, version);
    budget.styles += nf;
    if (budget.styles > kMaxStyles) return !(overLimit = true);
    s.fills.reserve(std::min(nf, r.remaining()));
    for (size_t i = 0; i < nf && !r.bad(); ++i) {
        FillStyle f;
        if (!readFillStyle(r, f, version)) return false;
        s.fills.push_back(std::move(f));
    }
    const size_t nl = readCount(r, version);
    budget.styles += nl;
    if (budget.styles > kMaxStyles) return !(overLimit = true);
    s.lines.reserve(std::min(nl, r.remaining() / 2));
    for (size_t i = 0; i < nl && !r.bad(); ++i) {
        LineStyle l;
        l.width = std::uint16_t(r.u16());
        if (version < 4) {
            l.color = readColor(r, version >= 3);
        } else {
            l.startCap = std::uint8_t(r.ub(2));
            l.join = std::uint8_t(r.ub(2));
            l.hasFill = r.ub(1);
            l.noHScale = r.ub(1);
            l.noVScale = r.ub(1);
            l.pixelHinting = r.ub(1);
            r.ub(5);
            l.noClose = r.ub(1);
            l.endCap = std::uint8_t(r.ub(2));
            if (l.join == JoinMiter) l.miterLimit = std::uint16_t(r.u16());
            if (!l.hasFill)
                l.color = readColor(r, true);
            else if (!readFillStyle(r, l.fill, version))
                return false;
        }
        s.lines.push_back(std::move(l));
    }
    return !r.bad();
}

// DefineShape 1..4. Returns what went wrong, if anything.
ReadError::Kind readShape(BitReader& r, int version, Shape& s, ReadBudget& budget) {
    s.version = std::uint8_t(version);
    s.id = std::uint16_t(r.u16());
    s.bounds = readRect(r);
    if (version == 4) {
        s.edgeBounds = readRect(r);
        s.flags4 = std::uint8_t(r.u8() & 0x07);
    }
    bool overLimit = false;
    s.styles.emplace_back();
    if (!readStyleSet(r, s.styles.back(), version, budget, overLimit))
        return overLimit ? ReadError::Kind::TooManyStyles : ReadError::Kind::BadStyleArray;
    int nfb = int(r.ub(4)), nlb = int(r.ub(4));
    size_t edges = 0;
    while (true) {
        if (r.bad()) return ReadError::Kind::ShapeRecordsPastTag;
        ShapeRecord rec;
        if (r.ub(1) == 0) {
            const std::uint32_t flags = r.ub(5);
            if (flags == 0) break;  // end record
            rec.type = ShapeRecord::StyleChange;
            rec.newStyles = flags & 0x10;
            rec.hasLine = flags & 0x08;
            rec.hasFill1 = flags & 0x04;
            rec.hasFill0 = flags & 0x02;
            rec.hasMove = flags & 0x01;
            if (rec.hasMove) {
                const int n = int(r.ub(5));
                rec.moveX = r.sb(n);
                rec.moveY = r.sb(n);
            }
            if (rec.hasFill0) rec.fill0 = r.ub(nfb);
            if (rec.hasFill1) rec.fill1 = r.ub(nfb);
            if (rec.hasLine) rec.line = r.ub(nlb);
            if (rec.newStyles) {
                r.align();
                s.styles.emplace_back();
                if (!readStyleSet(r, s.styles.back(), version, budget, overLimit))
                    return overLimit ? ReadError::Kind::TooManyStyles
                                     : ReadError::Kind::BadNewStyleArray;
                rec.styleSet = std::uint32_t(s.styles.size() - 1);
                nfb = int(r.ub(4));
                nlb = int(r.ub(4));
            }
        } else if (r.ub(1) == 1) {
            rec.type = ShapeRecord::StraightEdge;
            const int n = int(r.ub(4)) + 2;
            if (r.ub(1)) {
                rec.dx = r.sb(n);
                rec.dy = r.sb(n);
            } else if (r.ub(1)) {
                rec.dy = r.sb(n);
            } else {
                rec.dx = r.sb(n);
            }
        } else {
            rec.type = ShapeRecord::CurvedEdge;
            const int n = int(r.ub(4)) + 2;
            rec.dx = r.sb(n);
            rec.dy = r.sb(n);
            rec.ax = r.sb(n);
            rec.ay = r.sb(n);
        }
        if (r.bad()) return ReadError::Kind::ShapeRecordsPastTag;
        if (rec.type != ShapeRecord::StyleChange && ++edges > kMaxShapeEdges)
            return ReadError::Kind::TooManyShapeEdges;
        if (++budget.shapeRecords > kMaxShapeRecords) return ReadError::Kind::TooManyShapeRecords;
        s.records.push_back(rec);
    }
    r.align();
    return ReadError::Kind::None;
}

void readPlace(BitReader& r, int version, PlaceObjectTag& p) {
    p.version = std::uint8_t(version);
    if (version == 1) {
        p.hasCharacter = true;
        p.characterId = std::uint16_t(r.u16());
        p.depth = std::uint16_t(r.u16());
        p.hasMatrix = true;
        p.matrix = readMatrix(r);
        if (r.remaining() > 0) {
            p.hasCxForm = true;
            p.cxform = readCxForm(r, false);
        }
        return;
    }
    const std::uint32_t f = r.u8();
    p.hasClipActions = f & 0x80;
    p.hasClipDepth = f & 0x40;
    p.hasName = f & 0x20;
    p.hasRatio = f & 0x10;
    p.hasCxForm = f & 0x08;
    p.hasMatrix = f & 0x04;
    p.hasCharacter = f & 0x02;
    p.move = f & 0x01;
    if (version == 3) p.flags2 = std::uint8_t(r.u8());
    p.depth = std::uint16_t(r.u16());
    if (version == 3 && ((p.flags2 & 0x08) || ((p.flags2 & 0x10) && !p.hasCharacter)))
        p.className = r.string();
    if (p.hasCharacter) p.characterId = std::uint16_t(r.u16());
    if (p.hasMatrix) p.matrix = readMatrix(r);
    if (p.hasCxForm) p.cxform = readCxForm(r, true);
    if (p.hasRatio) p.ratio = std::uint16_t(r.u16());
    if (p.hasName) p.name = r.string();
    if (p.hasClipDepth) p.clipDepth = std::uint16_t(r.u16());
}

// Returns the code of an action whose payload runs past the tag, if one does; false in
// `overLimit` when the movie's actions pass their limit.
std::optional<std::uint8_t> readActions(BitReader& r, DoActionTag& t, ReadBudget& budget,
                                        bool& overLimit) {
    while (r.remaining() > 0) {
        Action a;
        a.code = std::uint8_t(r.u8());
        if (a.code == 0) break;
        if (++budget.actions > kMaxActions) {
            overLimit = true;
            return std::nullopt;
        }
        if (a.code >= 0x80) {
            const size_t len = r.u16();
            a.data = r.bytes(len);
            if (r.bad()) return a.code;
        }
        t.actions.push_back(std::move(a));
    }
    return std::nullopt;
}

// One tag's body; `problem` says what broke in it, if anything (kind and value only).
Tag parseTag(TagCode code, BitReader& sub, size_t len, bool inSprite, ReadBudget& budget,
             ReadError& problem) {
    if (inSprite && !isTimelineTag(code)) return UnknownTag{std::uint16_t(code), sub.bytes(len)};
    switch (code) {
        case TagCode::End:
            return EndTag{};
        case TagCode::ShowFrame:
            return ShowFrameTag{};
        case TagCode::DefineShape:
        case TagCode::DefineShape2:
        case TagCode::DefineShape3:
        case TagCode::DefineShape4: {
            auto s = std::make_shared<Shape>();
            problem.kind = readShape(sub, shapeVersion(code), *s, budget);
            return DefineShapeTag{std::move(s)};
        }
        case TagCode::PlaceObject:
        case TagCode::PlaceObject2:
        case TagCode::PlaceObject3: {
            PlaceObjectTag p;
            readPlace(sub, placeVersion(code), p);
            return p;
        }
        case TagCode::RemoveObject: {
            RemoveObjectTag t;
            t.version = 1;
            t.characterId = std::uint16_t(sub.u16());
            t.depth = std::uint16_t(sub.u16());
            return t;
        }
        case TagCode::RemoveObject2: {
            RemoveObjectTag t;
            t.version = 2;
            t.depth = std::uint16_t(sub.u16());
            return t;
        }
        case TagCode::SetBackgroundColor:
            return SetBackgroundColorTag{readColor(sub, false)};
        case TagCode::DoAction: {
            DoActionTag t;
            bool overLimit = false;
            if (const auto broken = readActions(sub, t, budget, overLimit)) {
                problem.kind = ReadError::Kind::ActionPastTag;
                problem.value = *broken;
            }
            if (overLimit) problem.kind = ReadError::Kind::TooManyActions;
            return t;
        }
        case TagCode::FrameLabel:
            return FrameLabelTag{sub.string()};
        case TagCode::FileAttributes:
            return FileAttributesTag{sub.u32()};
        case TagCode::DefineSprite: {
            auto sp = std::make_shared<Sprite>();
            sp->id = std::uint16_t(sub.u16());
            sp->frameCount = std::uint16_t(sub.u16());
            // A broken tag inside a sprite ends the sprite's list; the sprite stays. A limit
            // passed inside it ends the movie's list, naming the tag inside.
            if (!sub.bad())
                if (ReadError inside = readTags(sub, sp->tags, true, budget, nullptr);
                    inside.isOverLimit())
                    problem = inside;
            return DefineSpriteTag{std::move(sp)};
        }
        default:
            return UnknownTag{std::uint16_t(code), sub.bytes(len)};
    }
}

// The limit a problem of this kind passed, for the error's value.
std::uint64_t limitOf(ReadError::Kind kind) {
    using Kind = ReadError::Kind;
    switch (kind) {
        case Kind::TooManyTags:
            return kMaxTags;
        case Kind::TooManyPlacementsInFrame:
            return kMaxPlacementsPerFrame;
        case Kind::TooManyShapeEdges:
            return kMaxShapeEdges;
        case Kind::TooManyShapeRecords:
            return kMaxShapeRecords;
        case Kind::TooManyStyles:
            return kMaxStyles;
        case Kind::TooManyActions:
            return kMaxActions;
        default:
            return 0;
    }
}

bool isPlacement(TagCode code) {
    return code == TagCode::PlaceObject || code == TagCode::PlaceObject2 ||
           code == TagCode::PlaceObject3 || code == TagCode::RemoveObject ||
           code == TagCode::RemoveObject2;
}

}  // namespace

ReadError readTags(BitReader& r, std::vector<Tag>& out, bool inSprite, ReadBudget& budget,
                   int* count) {
    int placements = 0;  // in the frame being read
    while (true) {
        if (r.remaining() == 0) return {};
        ReadError e;
        e.offset = r.offset();
        if (r.remaining() < 2) {
            e.kind = ReadError::Kind::TagHeaderCutShort;
            return e;
        }
        const std::uint32_t hdr = r.u16();
        const TagCode code = TagCode(hdr >> 6);
        e.tag = code;
        size_t len = hdr & 0x3F;
        if (len == 0x3F) {
            if (r.remaining() < 4) {
                e.kind = ReadError::Kind::LongTagHeaderCutShort;
                return e;
            }
            len = r.u32();
        }
        if (len > r.remaining()) {
            e.kind = ReadError::Kind::TagPastData;
            e.value = len;
            e.room = r.remaining();
            return e;
        }
        if (++budget.tags > kMaxTags) {
            e.kind = ReadError::Kind::TooManyTags;
        } else if (code == TagCode::ShowFrame) {
            placements = 0;
        } else if (isPlacement(code) && ++placements > kMaxPlacementsPerFrame) {
            e.kind = ReadError::Kind::TooManyPlacementsInFrame;
        }
        if (!e.isEmpty()) {
            e.value = limitOf(e.kind);
            return e;
        }
        BitReader sub(r.here(), len, r.offset());
        r.skip(len);
        Tag tag = parseTag(code, sub, len, inSprite, budget, e);
        if (e.isOverLimit() && e.value == 0) e.value = limitOf(e.kind);
        if (e.isEmpty() && sub.bad()) {
            e.kind = ReadError::Kind::TagFieldsPastLength;
            e.value = len;
        }
        if (!e.isEmpty()) return e;
        const bool end = std::holds_alternative<EndTag>(tag);
        out.push_back(std::move(tag));
        if (count) ++*count;
        if (end) return {};
    }
}

}  // namespace swf
