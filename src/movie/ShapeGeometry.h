#pragma once

// The geometry the renderer draws of a shape, built once per character and cached on it.
//
// For each fill style the edges that carry it as FillStyle1 forward and as FillStyle0
// reversed, joined end to start into closed contours, filled even-odd (non-zero where
// DefineShape4 asks); each connected run of edges of a line style is one stroked sub-path,
// closed when it ends where it starts. A StateNewStyles record starts a layer drawn above.

#include <QBrush>
#include <QImage>
#include <QPainterPath>
#include <memory>
#include <vector>

#include "swf/SwfTypes.h"

namespace swf {

struct GeoFill {
    QPainterPath path;
    const FillStyle* style = nullptr;
    QBrush brush;  // for the identity colour transform
    bool drawable = false;
};

struct GeoStroke {
    QPainterPath path;
    const LineStyle* style = nullptr;
    QBrush brush;  // for the identity colour transform
};

struct GeoLayer {
    std::vector<GeoFill> fills;
    std::vector<GeoStroke> strokes;
};

struct ShapeGeometry {
    std::vector<GeoLayer> layers;
    QRectF bounds;  // twips: what the fills and strokes cover
    size_t edgeCount = 0;
    bool cacheable = true;    // false with non-scaling strokes
    bool singleFill = false;  // one fill path and no strokes
    // Shapes of many edges (kHeavyShapeEdges) are drawn supersampled without antialiasing
    // (no seams between adjacent fills). Any shape drawn again with the same device transform and
    // colour transform is kept as an image and blitted (the images count against
    // kRasterCacheBudget bytes for the whole process).
    struct Raster {
        QTransform transform;
        float color[8] = {1, 1, 1, 1, 0, 0, 0, 0};
        QRect rect;
        int uses = 0;
        std::shared_ptr<QImage> image;  // built on the second use
    };
    mutable std::vector<Raster> rasters;  // a few recent placements, most recent first
};

constexpr int kRastersPerShape = 6;
constexpr qint64 kRasterCacheBudget = 96ll * 1024 * 1024;

constexpr size_t kHeavyShapeEdges = 4000;
constexpr int kHeavyShapeSupersampling = 3;

// Builds the geometry of a shape (what the renderer caches per character).
std::shared_ptr<ShapeGeometry> buildGeometry(const Shape& shape);

}  // namespace swf
