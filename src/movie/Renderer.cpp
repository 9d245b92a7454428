#include "movie/Renderer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace swf {

namespace {

// Colour transforms ------------------------------------------------------------------------

struct ColorXf {
    float m[4] = {1, 1, 1, 1};
    float a[4] = {0, 0, 0, 0};
    bool identity = true;

    ColorXf then(const CxForm& c) const {  // this ∘ c: c applied first
        if (c.isIdentity()) return *this;
        ColorXf r;
        for (int i = 0; i < 4; ++i) {
            const float cm = c.hasMult ? c.mult[i] / 256.0f : 1.0f;
            const float ca = c.hasAdd ? float(c.add[i]) : 0.0f;
            r.m[i] = m[i] * cm;
            r.a[i] = m[i] * ca + a[i];
        }
        r.identity = false;
        return r;
    }
    QColor apply(const Rgba& c) const {
        if (identity) return QColor(c.r, c.g, c.b, c.a);
        const float in[4] = {float(c.r), float(c.g), float(c.b), float(c.a)};
        int out[4];
        for (int i = 0; i < 4; ++i)
            out[i] = std::clamp(int(std::lround(in[i] * m[i] + a[i])), 0, 255);
        return QColor(out[0], out[1], out[2], out[3]);
    }
};

ColorXf opaqueMask() {
    ColorXf x;
    x.m[3] = 0;
    x.a[3] = 255;
    x.identity = false;
    return x;
}

// Brushes ----------------------------------------------------------------------------------

double toLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double toSrgb(double c) {
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
}

// The gradient as the 256-entry table a Flash player builds: the first colour up to the
// first ratio, then each pair of records interpolated over the ratios not yet filled (so
// equal ratios make a hard edge and a ratio below an earlier one fills nothing), then the
// last colour to the end.
QGradientStops gradientStops(const Gradient& g, const ColorXf& cx) {
    const size_t n = g.records.size();
    std::vector<QColor> colors(n);
    for (size_t i = 0; i < n; ++i) colors[i] = cx.apply(g.records[i].color);
    const bool linear = g.interpolation == InterpolateLinearRgb;
    QRgb table[256];
    int pos = 0;  // next entry to fill
    auto put = [&](int upTo, const QColor& c) {
        for (; pos <= upTo && pos < 256; ++pos) table[pos] = c.rgba();
    };
    put(g.records[0].ratio, colors[0]);
    for (size_t i = 0; i + 1 < n; ++i) {
        const int a = g.records[i].ratio, b = g.records[i + 1].ratio;
        if (b <= a) continue;
        const QColor& c0 = colors[i];
        const QColor& c1 = colors[i + 1];
        for (; pos <= b; ++pos) {
            const double t = double(pos - a) / double(b - a);
            auto mix = [&](int u, int v) {
                if (!linear) return u * (1 - t) + v * t;
                return 255.0 * toSrgb(toLinear(u / 255.0) * (1 - t) + toLinear(v / 255.0) * t);
            };
            const int r = std::clamp(int(std::lround(mix(c0.red(), c1.red()))), 0, 255);
            const int gg = std::clamp(int(std::lround(mix(c0.green(), c1.green()))), 0, 255);
            const int b2 = std::clamp(int(std::lround(mix(c0.blue(), c1.blue()))), 0, 255);
            const int al =
                std::clamp(int(std::lround(c0.alpha() * (1 - t) + c1.alpha() * t)), 0, 255);
            table[pos] = qRgba(r, gg, b2, al);
        }
    }
    put(255, colors[n - 1]);
    QGradientStops out;
    out.reserve(256);
    for (int i = 0; i < 256; ++i) out.append(QGradientStop(i / 255.0, QColor::fromRgba(table[i])));
    return out;
}

// Returns false when the style draws nothing (bitmap fills, unknown types).
bool makeBrush(const FillStyle& f, const ColorXf& cx, QBrush& out) {
    switch (f.type) {
        case FillSolid:
            out = QBrush(cx.apply(f.color));
            return true;
        case FillLinear:
        case FillRadial:
        case FillFocalRadial: {
            const auto& g = f.gradient;
            if (g.records.empty()) {
                out = QBrush(cx.apply(Rgba{0, 0, 0, 255}));
                return true;
            }
            if (g.records.size() == 1) {
                out = QBrush(cx.apply(g.records[0].color));
                return true;
            }
            QGradient::Spread spread = g.spread == SpreadReflect  ? QGradient::ReflectSpread
                                       : g.spread == SpreadRepeat ? QGradient::RepeatSpread
                                                                  : QGradient::PadSpread;
            const QGradientStops stops = gradientStops(g, cx);
            if (f.type == FillLinear) {
                QLinearGradient lg(-16384, 0, 16384, 0);
                lg.setSpread(spread);
                lg.setStops(stops);
                out = QBrush(lg);
            } else {
                const double focal =
                    f.type == FillFocalRadial ? std::clamp(g.focalPoint / 256.0, -0.99, 0.99) : 0.0;
                QRadialGradient rg(QPointF(0, 0), 16384, QPointF(focal * 16384, 0));
                rg.setSpread(spread);
                rg.setStops(stops);
                out = QBrush(rg);
            }
            const QTransform m = f.matrix.toQt();
            if (!m.isInvertible()) return false;
            out.setTransform(m);
            return true;
        }
        default:
            return false;
    }
}

// Geometry ----------------------------------------------------------------------------------

struct Edge {
    std::int32_t x0, y0, cx, cy, x1, y1;
    bool curve;
    std::uint32_t f0, f1, ln;
};

inline std::uint64_t key(std::int32_t x, std::int32_t y) {
    return (std::uint64_t(std::uint32_t(x)) << 32) | std::uint32_t(y);
}

void addEdge(QPainterPath& p, const Edge& e) {
    if (e.curve)
        p.quadTo(e.cx, e.cy, e.x1, e.y1);
    else
        p.lineTo(e.x1, e.y1);
}

Edge reversed(const Edge& e) {
    Edge r = e;
    r.x0 = e.x1;
    r.y0 = e.y1;
    r.x1 = e.x0;
    r.y1 = e.y0;
    return r;
}

// Joins directed edges end to start into contours.
QPainterPath joinContours(const std::vector<Edge>& es, Qt::FillRule rule) {
    QPainterPath path;
    path.setFillRule(rule);
    const size_t n = es.size();
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> byStart;
    byStart.reserve(n);
    for (size_t i = n; i-- > 0;) byStart[key(es[i].x0, es[i].y0)].push_back(std::uint32_t(i));
    std::vector<char> used(n, 0);
    for (size_t i = 0; i < n; ++i) {
        if (used[i]) continue;
        const std::int32_t sx = es[i].x0, sy = es[i].y0;
        path.moveTo(sx, sy);
        size_t cur = i;
        while (true) {
            used[cur] = 1;
            addEdge(path, es[cur]);
            const std::int32_t ex = es[cur].x1, ey = es[cur].y1;
            if (ex == sx && ey == sy) {
                path.closeSubpath();
                break;
            }
            size_t next = n;
            if (cur + 1 < n && !used[cur + 1] && es[cur + 1].x0 == ex && es[cur + 1].y0 == ey) {
                next = cur + 1;
            } else {
                auto it = byStart.find(key(ex, ey));
                if (it != byStart.end()) {
                    auto& v = it->second;
                    while (!v.empty() && used[v.back()]) v.pop_back();
                    if (!v.empty()) {
                        next = v.back();
                        v.pop_back();
                    }
                }
            }
            if (next == n) break;  // open contour: the fill closes it
            cur = next;
        }
    }
    return path;
}

void finishLayer(const Shape& shape, const StyleSet& styles, const std::vector<Edge>& edges,
                 ShapeGeometry& g) {
    GeoLayer layer;
    const Qt::FillRule rule = shape.usesNonZeroWinding() ? Qt::WindingFill : Qt::OddEvenFill;
    const size_t nf = styles.fills.size(), nl = styles.lines.size();
    if (nf > 0) {
        std::vector<std::vector<Edge>> buckets(nf + 1);
        for (const Edge& e : edges) {
            if (e.f1 >= 1 && e.f1 <= nf) buckets[e.f1].push_back(e);
            if (e.f0 >= 1 && e.f0 <= nf) buckets[e.f0].push_back(reversed(e));
        }
        for (size_t s = 1; s <= nf; ++s) {
            if (buckets[s].empty()) continue;
            GeoFill f;
            f.style = &styles.fills[s - 1];
            f.path = joinContours(buckets[s], rule);
            f.drawable = makeBrush(*f.style, ColorXf(), f.brush);
            layer.fills.push_back(std::move(f));
        }
    }
    if (nl > 0) {
        std::vector<QPainterPath> paths(nl + 1);
        std::uint32_t prev = 0;
        std::int32_t px = 0, py = 0, rx = 0, ry = 0;
        auto finishRun = [&]() {
            if (prev && px == rx && py == ry && !styles.lines[prev - 1].noClose)
                paths[prev].closeSubpath();
            prev = 0;
        };
        for (const Edge& e : edges) {
            if (e.ln < 1 || e.ln > nl) {
                finishRun();
                continue;
            }
            if (e.ln != prev || e.x0 != px || e.y0 != py) {
                finishRun();
                paths[e.ln].moveTo(e.x0, e.y0);
                rx = e.x0;
                ry = e.y0;
            }
            addEdge(paths[e.ln], e);
            prev = e.ln;
            px = e.x1;
            py = e.y1;
        }
        finishRun();
        for (size_t s = 1; s <= nl; ++s) {
            if (paths[s].isEmpty()) continue;
            GeoStroke st;
            st.style = &styles.lines[s - 1];
            st.path = std::move(paths[s]);
            if (st.style->hasFill) {
                if (!makeBrush(st.style->fill, ColorXf(), st.brush)) continue;
            } else {
                st.brush = QBrush(ColorXf().apply(st.style->color));
            }
            layer.strokes.push_back(std::move(st));
        }
    }
    if (!layer.fills.empty() || !layer.strokes.empty()) g.layers.push_back(std::move(layer));
}

// Pens ------------------------------------------------------------------------------------

QPen makePen(const LineStyle& ls, const QBrush& brush, const QTransform& xf, double stageScale,
             int shapeVersion, double pixel) {
    const double w = ls.width;
    const double s = std::sqrt(std::abs(xf.determinant()));
    bool cosmetic = false;
    double devW = w * s;
    if (shapeVersion == 4 && ls.noHScale && ls.noVScale) {
        devW = w * stageScale * pixel;
        cosmetic = true;
    }
    // With one of NoHScale / NoVScale alone, Flash Player draws the stroke transformed like any
    // other (the reference renderings show it), so only both flags together stop the scaling.
    QPen pen(brush, w);
    if (devW < pixel || cosmetic) {
        pen.setWidthF(std::max(pixel, devW));
        pen.setCosmetic(true);
    }
    if (shapeVersion == 4) {
        const std::uint8_t cap = ls.startCap;
        pen.setCapStyle(cap == CapNone     ? Qt::FlatCap
                        : cap == CapSquare ? Qt::SquareCap
                                           : Qt::RoundCap);
        pen.setJoinStyle(ls.join == JoinBevel   ? Qt::BevelJoin
                         : ls.join == JoinMiter ? Qt::MiterJoin
                                                : Qt::RoundJoin);
        if (ls.join == JoinMiter) pen.setMiterLimit(std::max(1.0, ls.miterLimit / 256.0));
    } else {
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

// Drawing ----------------------------------------------------------------------------------

struct Ctx {
    QPainter* p;
    double stageScale;  // device pixels per twip
    bool antialias;
    QSize device;
    double pixel = 1.0;  // device pixels per output pixel (supersampling)
};

const ShapeGeometry& geometryOf(const Character& c) {
    if (!c.geometry) c.geometry = buildGeometry(*c.shape);
    return *c.geometry;
}

void drawLayers(Ctx& ctx, const Character& c, const ShapeGeometry& g, const QTransform& xf,
                const ColorXf& cx) {
    QPainter& p = *ctx.p;
    p.setTransform(xf);
    for (const GeoLayer& layer : g.layers) {
        for (const GeoFill& f : layer.fills) {
            if (!f.drawable) continue;
            if (cx.identity) {
                p.fillPath(f.path, f.brush);
            } else {
                QBrush b;
                if (makeBrush(*f.style, cx, b)) p.fillPath(f.path, b);
            }
        }
        for (const GeoStroke& s : layer.strokes) {
            QBrush b = s.brush;
            if (!cx.identity) {
                if (s.style->hasFill) {
                    if (!makeBrush(s.style->fill, cx, b)) continue;
                } else {
                    b = QBrush(cx.apply(s.style->color));
                }
            }
            p.strokePath(s.path,
                         makePen(*s.style, b, xf, ctx.stageScale, c.shape->version, ctx.pixel));
        }
    }
}

// Raster cache ------------------------------------------------------------------------------

qint64 g_rasterBytes = 0;  // all cached shape images of the process (one thread)

std::shared_ptr<QImage> budgetedImage(QSize size) {
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    if (g_rasterBytes + bytes > kRasterCacheBudget) return nullptr;
    g_rasterBytes += bytes;
    return std::shared_ptr<QImage>(new QImage(size, QImage::Format_ARGB32_Premultiplied),
                                   [bytes](QImage* i) {
                                       g_rasterBytes -= bytes;
                                       delete i;
                                   });
}

void colorKey(const ColorXf& cx, float out[8]) {
    for (int i = 0; i < 4; ++i) {
        out[i] = cx.m[i];
        out[4 + i] = cx.a[i];
    }
}

// Draws the shape into `img` (transparent first) as it would appear at rect r of the device.
// A heavy shape is drawn aliased at kHeavyShapeSupersampling times the resolution and averaged
// down: antialiased edges without seams between adjacent fills.
void paintInto(QImage& img, Ctx& ctx, const Character& c, const ShapeGeometry& g,
               const QTransform& xf, const ColorXf& cx, const QRect& r, bool heavy) {
    const QTransform toImage = xf * QTransform::fromTranslate(-r.x(), -r.y());
    if (!heavy) {
        img.fill(Qt::transparent);
        QPainter ip(&img);
        ip.setRenderHint(QPainter::Antialiasing, ctx.antialias);
        Ctx sub = ctx;
        sub.p = &ip;
        sub.device = img.size();
        drawLayers(sub, c, g, toImage, cx);
        return;
    }
    const int S = kHeavyShapeSupersampling;
    QImage big(r.size() * S, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter bp(&big);
        bp.setRenderHint(QPainter::Antialiasing, false);
        Ctx sub = ctx;
        sub.p = &bp;
        sub.pixel = ctx.pixel * S;
        sub.device = big.size();
        drawLayers(sub, c, g, toImage * QTransform::fromScale(S, S), cx);
    }
    img = big.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void blit(Ctx& ctx, const QImage& img, const QPoint& at, double opacity = 1.0) {
    ctx.p->save();
    ctx.p->resetTransform();
    if (opacity < 1.0) ctx.p->setOpacity(ctx.p->opacity() * opacity);
    ctx.p->drawImage(at, img);
    ctx.p->restore();
}

void drawShape(Ctx& ctx, const Character& c, const QTransform& xf, const ColorXf& cxIn) {
    const ShapeGeometry& g = geometryOf(c);
    if (g.layers.empty()) return;
    if (!xf.isInvertible()) return;
    if (ctx.pixel != 1.0 || !g.cacheable) {
        drawLayers(ctx, c, g, xf, cxIn);
        return;
    }
    const bool heavy = g.edgeCount >= kHeavyShapeEdges && ctx.antialias;
    // A fading shape of one fill and no strokes (text, mostly): the image of the unchanged shape
    // drawn with that opacity is the same picture, and stays cached while the alpha changes.
    ColorXf cx = cxIn;
    double opacity = 1.0;
    if (!cx.identity && g.singleFill && cx.m[0] == 1 && cx.m[1] == 1 && cx.m[2] == 1 &&
        cx.a[0] == 0 && cx.a[1] == 0 && cx.a[2] == 0 && cx.a[3] == 0 && cx.m[3] >= 0 &&
        cx.m[3] <= 1) {
        opacity = cx.m[3];
        cx = ColorXf();
        if (opacity <= 0) return;
    }
    // Clipped to the device in floating point first: far-away shapes give coordinates no int holds.
    const QRectF dev = xf.mapRect(g.bounds)
                           .adjusted(-2, -2, 2, 2)
                           .intersected(QRectF(QPointF(0, 0), QSizeF(ctx.device)));
    if (dev.isEmpty()) return;
    const QRect r = dev.toAlignedRect().intersected(QRect(QPoint(0, 0), ctx.device));
    if (r.isEmpty()) return;
    float key[8];
    colorKey(cx, key);
    auto& list = g.rasters;
    auto it = std::find_if(list.begin(), list.end(), [&](const ShapeGeometry::Raster& e) {
        return e.rect == r && e.transform == xf && std::equal(key, key + 8, e.color);
    });
    if (it == list.end()) {
        ShapeGeometry::Raster e;
        e.transform = xf;
        std::copy(key, key + 8, e.color);
        e.rect = r;
        list.insert(list.begin(), std::move(e));
        if (list.size() > size_t(kRastersPerShape)) list.pop_back();
        it = list.begin();
    } else if (it != list.begin()) {
        std::rotate(list.begin(), it, it + 1);
        it = list.begin();
    }
    ++it->uses;
    if (!it->image && (it->uses >= 2 || heavy)) {
        if (auto img = budgetedImage(r.size())) {
            paintInto(*img, ctx, c, g, xf, cx, r, heavy);
            it->image = std::move(img);
        }
    }
    if (it->image) {
        blit(ctx, *it->image, r.topLeft(), opacity);
    } else if (heavy) {
        QImage img(r.size(), QImage::Format_ARGB32_Premultiplied);
        paintInto(img, ctx, c, g, xf, cx, r, true);
        blit(ctx, img, r.topLeft(), opacity);
    } else {
        drawLayers(ctx, c, g, xf, cxIn);
    }
}

void drawList(Ctx& ctx, const std::map<std::uint16_t, DisplayObject>& list, std::uint16_t fromDepth,
              std::uint16_t toDepth, const QTransform& parent, const ColorXf& cx, int nesting);

void drawObject(Ctx& ctx, const DisplayObject& o, const QTransform& parent, const ColorXf& parentCx,
                int nesting) {
    if (!o.character) return;
    const QTransform xf = o.matrix.toQt() * parent;
    const ColorXf cx = parentCx.then(o.cxform);
    if (o.character->shape) {
        drawShape(ctx, *o.character, xf, cx);
    } else if (o.sprite && nesting < kMaxSpriteNesting) {
        drawList(ctx, o.sprite->displayList(), 0, 0xFFFF, xf, cx, nesting + 1);
    }
}

void drawList(Ctx& ctx, const std::map<std::uint16_t, DisplayObject>& list, std::uint16_t fromDepth,
              std::uint16_t toDepth, const QTransform& parent, const ColorXf& cx, int nesting) {
    for (auto it = list.lower_bound(fromDepth); it != list.end() && it->first <= toDepth; ++it) {
        const DisplayObject& o = it->second;
        if (o.clipDepth == 0) {
            drawObject(ctx, o, parent, cx, nesting);
            continue;
        }
        // A mask: the depths above it up to its ClipDepth are drawn through it.
        const std::uint16_t last = std::min(o.clipDepth, toDepth);
        auto end = it;
        ++end;
        while (end != list.end() && end->first <= last) ++end;
        if (last > o.depth && ctx.device.isValid() && !ctx.device.isEmpty()) {
            QImage layer(ctx.device, QImage::Format_ARGB32_Premultiplied);
            layer.fill(Qt::transparent);
            QImage mask(ctx.device, QImage::Format_ARGB32_Premultiplied);
            mask.fill(Qt::transparent);
            QPainter* outer = ctx.p;
            {
                QPainter lp(&layer);
                lp.setRenderHint(QPainter::Antialiasing, ctx.antialias);
                ctx.p = &lp;
                drawList(ctx, list, std::uint16_t(o.depth + 1), last, parent, cx, nesting);
                QPainter mp(&mask);
                mp.setRenderHint(QPainter::Antialiasing, ctx.antialias);
                ctx.p = &mp;
                drawObject(ctx, o, parent, opaqueMask(), nesting);
                mp.end();
                lp.resetTransform();
                lp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
                lp.drawImage(0, 0, mask);
            }
            ctx.p = outer;
            ctx.p->save();
            ctx.p->resetTransform();
            ctx.p->drawImage(0, 0, layer);
            ctx.p->restore();
        }
        if (end == list.end()) break;
        it = end;
        --it;
    }
}

}  // namespace

std::shared_ptr<ShapeGeometry> buildGeometry(const Shape& shape) {
    auto g = std::make_shared<ShapeGeometry>();
    if (shape.styles.empty()) return g;
    size_t set = 0;
    std::vector<Edge> edges;
    std::int32_t x = 0, y = 0;
    std::uint32_t f0 = 0, f1 = 0, ln = 0;
    for (const ShapeRecord& r : shape.records) {
        switch (r.type) {
            case ShapeRecord::StyleChange:
                if (r.newStyles && r.styleSet < shape.styles.size()) {
                    finishLayer(shape, shape.styles[set], edges, *g);
                    edges.clear();
                    set = r.styleSet;
                    f0 = f1 = ln = 0;
                }
                if (r.hasMove) {
                    x = r.moveX;
                    y = r.moveY;
                }
                if (r.hasFill0) f0 = r.fill0;
                if (r.hasFill1) f1 = r.fill1;
                if (r.hasLine) ln = r.line;
                break;
            case ShapeRecord::StraightEdge: {
                const std::int32_t nx = std::int32_t(std::int64_t(x) + r.dx),
                                   ny = std::int32_t(std::int64_t(y) + r.dy);
                edges.push_back(Edge{x, y, 0, 0, nx, ny, false, f0, f1, ln});
                x = nx;
                y = ny;
                break;
            }
            case ShapeRecord::CurvedEdge: {
                const std::int32_t cx = std::int32_t(std::int64_t(x) + r.dx),
                                   cy = std::int32_t(std::int64_t(y) + r.dy);
                const std::int32_t nx = std::int32_t(std::int64_t(cx) + r.ax),
                                   ny = std::int32_t(std::int64_t(cy) + r.ay);
                edges.push_back(Edge{x, y, cx, cy, nx, ny, true, f0, f1, ln});
                x = nx;
                y = ny;
                break;
            }
        }
    }
    finishLayer(shape, shape.styles[set], edges, *g);
    for (const ShapeRecord& r : shape.records) g->edgeCount += r.type != ShapeRecord::StyleChange;
    // The bounds of what is drawn (the file's ShapeBounds are not trusted), strokes included;
    // non-scaling strokes have no bounds in shape space, so such shapes are never cached.
    QRectF b;
    for (const GeoLayer& layer : g->layers) {
        for (const GeoFill& f : layer.fills) b |= f.path.controlPointRect();
        for (const GeoStroke& st : layer.strokes) {
            const LineStyle& ls = *st.style;
            if (shape.version == 4 && ls.noHScale && ls.noVScale) g->cacheable = false;
            const double pad = ls.width * (ls.join == JoinMiter && shape.version == 4
                                               ? std::max(1.0, ls.miterLimit / 256.0)
                                               : 1.0);
            b |= st.path.controlPointRect().adjusted(-pad, -pad, pad, pad);
        }
    }
    g->bounds = b;
    size_t fills = 0, strokes = 0;
    for (const GeoLayer& layer : g->layers) {
        fills += layer.fills.size();
        strokes += layer.strokes.size();
    }
    g->singleFill = fills == 1 && strokes == 0;
    return g;
}

QTransform stageTransform(const Rect& fs, const QRectF& target) {
    const double sw = std::max(1, fs.width()) / 20.0, sh = std::max(1, fs.height()) / 20.0;
    const double s = std::min(target.width() / sw, target.height() / sh);
    const double ox = target.x() + (target.width() - sw * s) / 2.0;
    const double oy = target.y() + (target.height() - sh * s) / 2.0;
    QTransform t;
    t.translate(ox, oy);
    t.scale(s / 20.0, s / 20.0);
    t.translate(-fs.xmin, -fs.ymin);
    return t;
}

void renderStage(QPainter& p, const Timeline& timeline, const QRectF& target, bool antialias) {
    const Rgba bg = timeline.background();
    p.save();
    p.resetTransform();
    p.fillRect(target, QColor(bg.r, bg.g, bg.b));
    p.setRenderHint(QPainter::Antialiasing, antialias);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QTransform st = stageTransform(timeline.header().frameSize, target);
    Ctx ctx{&p, std::abs(st.m11()), antialias, QSize(p.device()->width(), p.device()->height())};
    drawList(ctx, timeline.root().displayList(), 0, 0xFFFF, st, ColorXf(), 0);
    p.restore();
}

QSize stageSizePx(const Header& h) {
    return QSize(std::max(1, int(std::lround(h.frameSize.width() / 20.0))),
                 std::max(1, int(std::lround(h.frameSize.height() / 20.0))));
}

QImage renderFrame(const Timeline& timeline, QSize size, bool antialias) {
    if (!size.isValid() || size.isEmpty()) size = stageSizePx(timeline.header());
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    renderStage(p, timeline, QRectF(0, 0, size.width(), size.height()), antialias);
    p.end();
    return img;
}

}  // namespace swf
