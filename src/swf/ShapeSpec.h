#pragma once

// Shape building for the SWF writer: outlines given as sub-paths in twips (ShapeSpec) become a
// Shape's records, split where an edge is longer than a record holds, with its bounds; and the
// gradient fills and their matrices.

#include <utility>
#include <vector>

#include "swf/SwfTypes.h"

namespace swf {

// Pixels to twips (1/20 pixel), the unit of every shape coordinate.
inline double px(double pixels) {
    return pixels * 20.0;
}

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

}  // namespace swf
