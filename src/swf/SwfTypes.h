#pragma once

// The SWF subset of the laboratory's movies as data: what the reader (SwfReader.h) produces
// and what the writer (SwfWriter.h) serialises. Both sides use the same structures, so a
// movie written and read back compares equal (tests/movie/SwfRoundTripTest.cpp).
//
// Every number keeps its file representation: coordinates in whole twips, matrix scales and
// skews as 16.16 fixed-point integers, colour-transform terms as in the file (multiply terms
// in 8.8, 256 = 1.0), the frame rate in 8.8. Conversions to Qt types are given as helpers.
//
// Library: lab_swf (Qt Core, Qt Gui for QTransform, and zlib; no widgets).

#include <QByteArray>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

namespace swf {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};

struct Rect {
    std::int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;  // twips
    bool operator==(const Rect&) const = default;
    std::int32_t width() const { return xmax - xmin; }
    std::int32_t height() const { return ymax - ymin; }
};

// MATRIX. x' = x·scaleX + y·rotateSkew1 + tx, y' = x·rotateSkew0 + y·scaleY + ty.
struct Matrix {
    bool hasScale = false;
    bool hasRotate = false;
    std::int32_t scaleX = 65536, scaleY = 65536;    // 16.16
    std::int32_t rotateSkew0 = 0, rotateSkew1 = 0;  // 16.16
    std::int32_t tx = 0, ty = 0;                    // twips
    bool operator==(const Matrix&) const = default;

    QTransform toQt() const {
        return QTransform(scaleX / 65536.0, rotateSkew0 / 65536.0, rotateSkew1 / 65536.0,
                          scaleY / 65536.0, tx, ty);
    }
    static Matrix translate(double txTwips, double tyTwips);
    // Any affine map in twips (scale and skew rounded to 16.16, translation to whole twips);
    // the Has flags are set only where needed.
    static Matrix fromValues(double sx, double r0, double r1, double sy, double txTwips,
                             double tyTwips);
};

// CXFORM (hasAlpha false: PlaceObject) and CXFORMWITHALPHA (PlaceObject2/3).
struct CxForm {
    bool hasAdd = false;
    bool hasMult = false;
    std::int16_t mult[4] = {256, 256, 256, 256};  // r g b a, 8.8
    std::int16_t add[4] = {0, 0, 0, 0};           // r g b a
    bool operator==(const CxForm& o) const;
    bool isIdentity() const;
    static CxForm multiply(double r, double g, double b, double a);  // 1.0 = unchanged
    static CxForm alpha(double a) { return multiply(1, 1, 1, a); }
};

struct GradRecord {
    std::uint8_t ratio = 0;
    Rgba color;
    bool operator==(const GradRecord&) const = default;
};

enum SpreadMode : std::uint8_t { SpreadPad = 0, SpreadReflect = 1, SpreadRepeat = 2 };
enum InterpolationMode : std::uint8_t { InterpolateRgb = 0, InterpolateLinearRgb = 1 };

struct Gradient {
    std::uint8_t spread = SpreadPad;              // as read: 0..3
    std::uint8_t interpolation = InterpolateRgb;  // as read: 0..3
    std::vector<GradRecord> records;              // at most 15
    std::int16_t focalPoint = 0;                  // 8.8, FocalRadial only
    bool operator==(const Gradient&) const = default;
};

enum FillType : std::uint8_t {
    FillSolid = 0x00,
    FillLinear = 0x10,
    FillRadial = 0x12,
    FillFocalRadial = 0x13,
    FillRepeatingBitmap = 0x40,
    FillClippedBitmap = 0x41,
    FillNonSmoothedRepeatingBitmap = 0x42,
    FillNonSmoothedClippedBitmap = 0x43,
};

struct FillStyle {
    std::uint8_t type = FillSolid;
    Rgba color;                  // solid
    Matrix matrix;               // gradients and bitmaps
    Gradient gradient;           // gradients
    std::uint16_t bitmapId = 0;  // bitmaps
    bool operator==(const FillStyle&) const = default;

    static FillStyle solid(Rgba c) {
        FillStyle f;
        f.color = c;
        return f;
    }
};

enum CapStyle : std::uint8_t { CapRound = 0, CapNone = 1, CapSquare = 2 };
enum JoinStyle : std::uint8_t { JoinRound = 0, JoinBevel = 1, JoinMiter = 2 };

// LINESTYLE (DefineShape1-3: width and colour only) and LINESTYLE2 (DefineShape4).
struct LineStyle {
    std::uint16_t width = 20;  // twips
    Rgba color;
    // LINESTYLE2 only:
    std::uint8_t startCap = CapRound;
    std::uint8_t join = JoinRound;
    std::uint8_t endCap = CapRound;
    bool hasFill = false;
    bool noHScale = false;
    bool noVScale = false;
    bool pixelHinting = false;
    bool noClose = false;
    std::uint16_t miterLimit = 3 * 256;  // 8.8, only when join == JoinMiter
    FillStyle fill;                      // only when hasFill
    bool operator==(const LineStyle& o) const;

    static LineStyle make(std::uint16_t widthTwips, Rgba c) {
        LineStyle l;
        l.width = widthTwips;
        l.color = c;
        return l;
    }
};

struct StyleSet {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    bool operator==(const StyleSet&) const = default;
};

// The longest edge delta a shape record holds (SB[17]: -65536 .. 65535); the writer splits
// longer edges.
constexpr std::int32_t kMaxEdgeDelta = (1 << 16) - 1;

// One shape record. Style-change fields apply only when their flag is set.
struct ShapeRecord {
    enum Type : std::uint8_t { StyleChange, StraightEdge, CurvedEdge };
    Type type = StyleChange;
    // StyleChange:
    bool hasMove = false, hasFill0 = false, hasFill1 = false, hasLine = false, newStyles = false;
    std::int32_t moveX = 0, moveY = 0;             // absolute twips
    std::uint32_t fill0 = 0, fill1 = 0, line = 0;  // 1-based, 0 = none
    std::uint32_t styleSet = 0;                    // newStyles: index into Shape::styles
    // StraightEdge: dx, dy. CurvedEdge: control (dx, dy) then anchor (ax, ay), each relative
    // to the point before it.
    std::int32_t dx = 0, dy = 0, ax = 0, ay = 0;
    bool operator==(const ShapeRecord& o) const;

    static ShapeRecord straight(std::int32_t dx, std::int32_t dy) {
        ShapeRecord r;
        r.type = StraightEdge;
        r.dx = dx;
        r.dy = dy;
        return r;
    }
    static ShapeRecord curve(std::int32_t cdx, std::int32_t cdy, std::int32_t adx,
                             std::int32_t ady) {
        ShapeRecord r;
        r.type = CurvedEdge;
        r.dx = cdx;
        r.dy = cdy;
        r.ax = adx;
        r.ay = ady;
        return r;
    }
};

// DefineShape (version 1), DefineShape2 (2), DefineShape3 (3), DefineShape4 (4).
struct Shape {
    std::uint16_t id = 0;
    std::uint8_t version = 3;
    Rect bounds;
    Rect edgeBounds;  // version 4
    std::uint8_t flags4 =
        0;  // version 4: 0x04 fill winding rule, 0x02 non-scaling, 0x01 scaling strokes
    std::vector<StyleSet> styles;      // [0] initial; StateNewStyles records refer to later ones
    std::vector<ShapeRecord> records;  // without the end record
    bool operator==(const Shape&) const = default;
    bool usesNonZeroWinding() const { return version == 4 && (flags4 & 0x04); }
};

struct Action {
    std::uint8_t code = 0;
    QByteArray data;  // the payload of codes >= 0x80
    bool operator==(const Action&) const = default;

    enum Code : std::uint8_t {
        NextFrame = 0x04,
        PreviousFrame = 0x05,
        Play = 0x06,
        Stop = 0x07,
        GotoFrame = 0x81
    };
    static Action make(std::uint8_t code) { return Action{code, {}}; }
    static Action play() { return make(Play); }
    static Action stop() { return make(Stop); }
    static Action nextFrame() { return make(NextFrame); }
    static Action previousFrame() { return make(PreviousFrame); }
    static Action gotoFrame(std::uint16_t frame);
    int gotoTarget() const;  // GotoFrame: the frame index; -1 if the payload is short
};

// Tags ----------------------------------------------------------------------------------

struct EndTag {
    bool operator==(const EndTag&) const = default;
};
struct ShowFrameTag {
    bool operator==(const ShowFrameTag&) const = default;
};
struct DefineShapeTag {
    std::shared_ptr<const Shape> shape;
    bool operator==(const DefineShapeTag& o) const {
        return shape == o.shape || (shape && o.shape && *shape == *o.shape);
    }
};
// PlaceObject (version 1), PlaceObject2 (2), PlaceObject3 (3).
struct PlaceObjectTag {
    std::uint8_t version = 2;
    std::uint16_t depth = 0;
    bool move = false;
    bool hasCharacter = false, hasMatrix = false, hasCxForm = false, hasRatio = false,
         hasName = false, hasClipDepth = false, hasClipActions = false;
    std::uint16_t characterId = 0;
    Matrix matrix;
    CxForm cxform;
    std::uint16_t ratio = 0;
    QByteArray name;
    std::uint16_t clipDepth = 0;
    // PlaceObject3: the second flag byte and the class name (HasClassName, or HasImage without
    // HasCharacter). The writer writes only the HasImage (0x10) and HasClassName (0x08) bits.
    std::uint8_t flags2 = 0;
    QByteArray className;
    bool operator==(const PlaceObjectTag&) const = default;
};
// RemoveObject (version 1, with character id) and RemoveObject2 (2).
struct RemoveObjectTag {
    std::uint8_t version = 2;
    std::uint16_t characterId = 0;
    std::uint16_t depth = 0;
    bool operator==(const RemoveObjectTag&) const = default;
};
struct SetBackgroundColorTag {
    Rgba color;  // alpha 255
    bool operator==(const SetBackgroundColorTag&) const = default;
};
struct DoActionTag {
    std::vector<Action> actions;
    bool operator==(const DoActionTag&) const = default;
};
struct FrameLabelTag {
    QByteArray name;
    bool operator==(const FrameLabelTag&) const = default;
};
struct FileAttributesTag {
    std::uint32_t flags = 0;
    bool operator==(const FileAttributesTag&) const = default;
};
struct UnknownTag {
    std::uint16_t code = 0;
    QByteArray body;
    bool operator==(const UnknownTag&) const = default;
};
struct Sprite;
struct DefineSpriteTag {
    std::shared_ptr<const Sprite> sprite;
    bool operator==(const DefineSpriteTag& o) const;
};

using Tag = std::variant<EndTag, ShowFrameTag, DefineShapeTag, PlaceObjectTag, RemoveObjectTag,
                         SetBackgroundColorTag, DoActionTag, FrameLabelTag, FileAttributesTag,
                         DefineSpriteTag, UnknownTag>;

struct Sprite {
    std::uint16_t id = 0;
    std::uint16_t frameCount = 1;
    std::vector<Tag> tags;  // up to and including its End tag when the file had one
    bool operator==(const Sprite&) const = default;
};

inline bool DefineSpriteTag::operator==(const DefineSpriteTag& o) const {
    return sprite == o.sprite || (sprite && o.sprite && *sprite == *o.sprite);
}

struct Header {
    bool compressed = false;  // CWS
    std::uint8_t version = 10;
    std::uint32_t fileLength = 0;  // as in the file (the writer computes it)
    Rect frameSize;
    std::uint16_t frameRate = 24 << 8;  // 8.8
    std::uint16_t frameCount = 1;
    bool operator==(const Header&) const = default;

    double framesPerSecond() const { return frameRate == 0 ? 12.0 : frameRate / 256.0; }
};

struct Movie {
    Header header;
    std::vector<Tag> tags;  // up to and including the End tag when the file had one
    bool operator==(const Movie&) const = default;
};

}  // namespace swf
