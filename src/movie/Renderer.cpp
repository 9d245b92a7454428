#include "movie/Renderer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "movie/ColorTransform.h"

namespace swf {

namespace {

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
    // Only both NoHScale and NoVScale together keep a stroke's width from scaling; with one of
    // them alone the stroke is transformed like any other.
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
    FrameWork* work;
    double pixel = 1.0;  // device pixels per output pixel (supersampling)
};

// The renderer is the only one to fill a character's render cache, always with its geometry.
const ShapeGeometry& geometryOf(const Character& c) {
    if (!c.renderCache) c.renderCache = buildGeometry(*c.shape);
    return *static_cast<const ShapeGeometry*>(c.renderCache.get());
}

void drawLayers(Ctx& ctx, const Character& c, const ShapeGeometry& g, const QTransform& xf,
                const ColorTransform& cx) {
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

void colorKey(const ColorTransform& cx, float out[8]) {
    for (int i = 0; i < 4; ++i) {
        out[i] = cx.m[i];
        out[4 + i] = cx.a[i];
    }
}

// Draws the shape into `img` (transparent first) as it would appear at rect r of the device.
// A heavy shape is drawn aliased at kHeavyShapeSupersampling times the resolution and averaged
// down: antialiased edges without seams between adjacent fills.
void paintInto(QImage& img, Ctx& ctx, const Character& c, const ShapeGeometry& g,
               const QTransform& xf, const ColorTransform& cx, const QRect& r, bool heavy) {
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

void drawShape(Ctx& ctx, const Character& c, const QTransform& xf, const ColorTransform& cxIn) {
    const ShapeGeometry& g = geometryOf(c);
    if (g.layers.empty()) return;
    if (!xf.isInvertible()) return;
    // Clipped to the device in floating point first: far-away shapes give coordinates no int holds.
    const QRectF dev = xf.mapRect(g.bounds)
                           .adjusted(-2, -2, 2, 2)
                           .intersected(QRectF(QPointF(0, 0), QSizeF(ctx.device)));
    const double deviceArea = double(ctx.device.width()) * ctx.device.height();
    const double area = deviceArea > 0 ? dev.width() * dev.height() / deviceArea : 0;
    FrameWork& work = *ctx.work;
    if (work.edges + g.edgeCount > kMaxEdgesDrawnPerFrame ||
        work.stageAreas + area > kMaxStageAreasPerFrame) {
        work.cut = true;
        return;
    }
    work.edges += g.edgeCount;
    work.stageAreas += area;
    ++work.shapes;
    if (ctx.pixel != 1.0 || !g.cacheable) {
        drawLayers(ctx, c, g, xf, cxIn);
        return;
    }
    const bool heavy = g.edgeCount >= kHeavyShapeEdges && ctx.antialias;
    // A fading shape of one fill and no strokes (text, mostly): the image of the unchanged shape
    // drawn with that opacity is the same picture, and stays cached while the alpha changes.
    ColorTransform cx = cxIn;
    double opacity = 1.0;
    if (!cx.identity && g.singleFill && cx.m[0] == 1 && cx.m[1] == 1 && cx.m[2] == 1 &&
        cx.a[0] == 0 && cx.a[1] == 0 && cx.a[2] == 0 && cx.a[3] == 0 && cx.m[3] >= 0 &&
        cx.m[3] <= 1) {
        opacity = cx.m[3];
        cx = ColorTransform();
        if (opacity <= 0) return;
    }
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
              std::uint16_t toDepth, const QTransform& parent, const ColorTransform& cx,
              int nesting);

void drawObject(Ctx& ctx, const DisplayObject& o, const QTransform& parent,
                const ColorTransform& parentCx, int nesting) {
    if (!o.character || ctx.work->cut) return;
    const QTransform xf = o.matrix.toQt() * parent;
    const ColorTransform cx = parentCx.then(o.cxform);
    if (o.character->shape) {
        drawShape(ctx, *o.character, xf, cx);
    } else if (o.sprite && nesting < kMaxSpriteNesting) {
        drawList(ctx, o.sprite->displayList(), 0, 0xFFFF, xf, cx, nesting + 1);
    }
}

void drawList(Ctx& ctx, const std::map<std::uint16_t, DisplayObject>& list, std::uint16_t fromDepth,
              std::uint16_t toDepth, const QTransform& parent, const ColorTransform& cx,
              int nesting) {
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
        if (last > o.depth && ctx.work->maskLayers >= kMaxMaskLayersPerFrame) {
            ctx.work->cut = true;
            return;
        }
        if (last > o.depth && ctx.device.isValid() && !ctx.device.isEmpty()) {
            ++ctx.work->maskLayers;
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

FrameWork renderStage(QPainter& p, const Timeline& timeline, const QRectF& target, bool antialias) {
    const Rgba bg = timeline.background();
    p.save();
    p.resetTransform();
    p.fillRect(target, QColor(bg.r, bg.g, bg.b));
    p.setRenderHint(QPainter::Antialiasing, antialias);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QTransform st = stageTransform(timeline.header().frameSize, target);
    FrameWork work;
    Ctx ctx{&p, std::abs(st.m11()), antialias, QSize(p.device()->width(), p.device()->height()),
            &work};
    drawList(ctx, timeline.root().displayList(), 0, 0xFFFF, st, ColorTransform(), 0);
    p.restore();
    return work;
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
