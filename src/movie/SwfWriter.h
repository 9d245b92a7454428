#pragma once

// The SWF writer for the subset of ../shared/swf-subset.md.
//
// Library: lab_swf (link `lab_swf`; Qt Core and zlib only, no widgets). Include as
// "movie/SwfWriter.h". The reader (SwfReader.h) reads everything written here back into the
// same structures (SwfTypes.h).
//
// Two levels:
//  - writeMovie(const swf::Movie&): serialises a movie given tag by tag (exact control).
//  - swf::SwfWriter: a builder for the asset generator. Example:
//
//        swf::SwfWriter w(705, 350, 24.0);        // stage in pixels, frames per second
//        w.setBackground({255, 255, 255});
//        swf::ShapeSpec s;
//        s.fills.push_back(swf::FillStyle::solid({200, 30, 30, 255}));
//        s.lines.push_back(swf::LineStyle::make(40, {0, 0, 0, 255}));   // 2 px, black
//        s.paths.push_back(swf::SubPath::rect(0, 0, 100 * 20, 50 * 20, 1, 1));
//        uint16_t id = w.defineShape(s);
//        w.placeObject(1, id, swf::Matrix::translate(10 * 20, 10 * 20));
//        w.showFrame();
//        w.moveObject(1, swf::Matrix::translate(20 * 20, 10 * 20));
//        w.doAction({swf::Action::stop()});
//        w.showFrame();
//        QByteArray bytes = w.finish();           // header frame count = ShowFrames written
//
// All shape coordinates are in twips (1/20 pixel; use swf::px(x) to convert), y downward.
// Tags use the long length form for any length >= 63.

#include <initializer_list>
#include <vector>

#include "movie/SwfTypes.h"

namespace swf {

inline double px(double pixels) {
    return pixels * 20.0;
}

// Serialises a whole movie: header (FileLength computed; frameCount and the rest as given)
// and the tags in order. The End tag is written only if it is in movie.tags. CWS when
// movie.header.compressed.
QByteArray writeMovie(const Movie& movie);
// One tag with its header (short or long form), for tests and the sprite writer.
QByteArray writeTag(const Tag& tag);

// A segment of a sub-path, absolute twips (rounded to whole twips when written).
struct PathSegment {
    bool curve = false;
    double cx = 0, cy = 0;  // control point (curves only)
    double x = 0, y = 0;    // end point
};

// A sub-path: starts at (x0, y0) and runs through its segments, with one fill style on its
// left/right and a line style (1-based indices into ShapeSpec::fills/lines; 0 = none).
// For a plain filled outline set fill1 (or fill0) only: fills use the even-odd rule unless
// ShapeSpec::nonZeroWinding, so overlapping sub-paths of the same fill make holes.
struct SubPath {
    double x0 = 0, y0 = 0;
    std::vector<PathSegment> segments;
    std::uint32_t fill0 = 0, fill1 = 0, line = 0;

    SubPath() = default;
    SubPath(double x, double y, std::uint32_t fill1_, std::uint32_t line_)
        : x0(x), y0(y), fill1(fill1_), line(line_) {}
    SubPath& lineTo(double x, double y);
    SubPath& curveTo(double cx, double cy, double x, double y);
    SubPath& close();  // a line back to (x0, y0) unless already there
    // Convenience outlines (closed, clockwise on screen):
    static SubPath rect(double x, double y, double w, double h, std::uint32_t fill1,
                        std::uint32_t line);
    static SubPath ellipse(double cx, double cy, double rx, double ry, std::uint32_t fill1,
                           std::uint32_t line);  // 8 quadratic segments
    static SubPath polygon(const std::vector<std::pair<double, double>>& pts, std::uint32_t fill1,
                           std::uint32_t line);
};

struct ShapeSpec {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<SubPath> paths;
    // 3 = DefineShape3 (LINESTYLE: width and colour), 4 = DefineShape4 (LINESTYLE2: caps,
    // joins, ...). 0 = choose: 4 when nonZeroWinding or a line style has non-default caps,
    // join, scale flags or a fill; otherwise 3.
    int version = 0;
    bool nonZeroWinding = false;  // DefineShape4 UsesFillWindingRule
};

// Gradient matrices (twips). The gradient square -16384..16384 is mapped so that:
// linear: ratio 0 lies at (x0, y0) and ratio 255 at (x1, y1);
Matrix linearGradientMatrix(double x0, double y0, double x1, double y1);
// radial: centre (cx, cy), ratio 255 at radii rx, ry (rotation in degrees, clockwise on screen).
Matrix radialGradientMatrix(double cx, double cy, double rx, double ry, double rotationDeg = 0);
FillStyle linearGradient(double x0, double y0, double x1, double y1, std::vector<GradRecord> stops,
                         std::uint8_t spread = SpreadPad);
FillStyle radialGradient(double cx, double cy, double r, std::vector<GradRecord> stops,
                         std::uint8_t spread = SpreadPad);
// focal in -1..1 along the gradient's x axis.
FillStyle focalGradient(double cx, double cy, double r, double focal, std::vector<GradRecord> stops,
                        std::uint8_t spread = SpreadPad);

// Builds the shape records of a desc (rounding, edge splitting, bounds) without writing.
Shape buildShape(const ShapeSpec& desc, std::uint16_t id);

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
    void frameLabel(const QByteArray& name);
    void showFrame();
    void addTag(Tag tag);  // anything else

    int framesShown() const { return frames_; }
    const std::vector<Tag>& tags() const { return tags_; }

protected:
    std::vector<Tag> tags_;
    int frames_ = 0;
};

// A sprite's timeline; give it to SwfWriter::defineSprite.
class SpriteBuilder : public TimelineBuilder {};

class SwfWriter : public TimelineBuilder {
public:
    // Stage in pixels; frame rate in frames per second (stored in 8.8).
    SwfWriter(int widthPx, int heightPx, double fps, int version = 10);

    void setCompressed(bool cws) { movie_.header.compressed = cws; }
    void setVersion(int v) { movie_.header.version = std::uint8_t(v); }
    // Writes SetBackgroundColor now (call before the first showFrame).
    void setBackground(Rgba c);
    // Writes FileAttributes now (normally the first tag; 0 = no flags).
    void fileAttributes(std::uint32_t flags = 0);

    // DefineShape3/4; returns the new character id (ids count from 1).
    std::uint16_t defineShape(const ShapeSpec& desc);
    std::uint16_t defineShape(const Shape& shape);  // shape.id is replaced with a new id
    // DefineSprite with the sprite's tags (an End is appended) and its frame count =
    // its ShowFrames (at least 1).
    std::uint16_t defineSprite(const SpriteBuilder& sprite);

    // Header frame count; default: the ShowFrames written.
    void setFrameCount(int n) { frameCountOverride_ = n; }

    // Appends End and returns the file bytes.
    QByteArray finish();
    // The movie as data (after finish(): with its End tag).
    const Movie& movie();

private:
    Movie movie_;
    std::uint16_t nextId_ = 1;
    int frameCountOverride_ = -1;
    bool finished_ = false;
};

}  // namespace swf
