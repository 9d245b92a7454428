#include "movie/ShapeGeometry.h"

#include <algorithm>
#include <unordered_map>

#include "movie/ColorTransform.h"

namespace swf {

namespace {

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
            f.drawable = makeBrush(*f.style, ColorTransform(), f.brush);
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
                if (!makeBrush(st.style->fill, ColorTransform(), st.brush)) continue;
            } else {
                st.brush = QBrush(ColorTransform().apply(st.style->color));
            }
            layer.strokes.push_back(std::move(st));
        }
    }
    if (!layer.fills.empty() || !layer.strokes.empty()) g.layers.push_back(std::move(layer));
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

}  // namespace swf
