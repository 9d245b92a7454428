#include "movie/SwfWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

int ubits(std::uint32_t v) {
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}
int sbits(std::int32_t v) {
    return (v >= 0 ? ubits(std::uint32_t(v)) : ubits(~std::uint32_t(v))) + 1;
}

class BitWriter {
public:
    void ub(int n, std::uint32_t v) {
        for (int i = n - 1; i >= 0; --i) {
            acc_ = std::uint8_t((acc_ << 1) | ((v >> i) & 1u));
            if (++nbits_ == 8) {
                out_.append(char(acc_));
                acc_ = 0;
                nbits_ = 0;
            }
        }
    }
    void sb(int n, std::int32_t v) { ub(n, std::uint32_t(v)); }
    void align() {
        if (nbits_ > 0) ub(8 - nbits_, 0);
    }
    void u8(std::uint32_t v) {
        align();
        out_.append(char(v & 0xFF));
    }
    void u16(std::uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void bytes(const QByteArray& b) {
        align();
        out_.append(b);
    }
    void string(const QByteArray& s) {
        align();
        QByteArray t = s;
        const qsizetype z = t.indexOf('\0');
        if (z >= 0) t.truncate(z);
        out_.append(t);
        out_.append('\0');
    }
    QByteArray take() {
        align();
        return std::move(out_);
    }

private:
    QByteArray out_;
    std::uint8_t acc_ = 0;
    int nbits_ = 0;
};

std::int32_t clampSb31(std::int64_t v) {
    return std::int32_t(std::clamp<std::int64_t>(v, -(1ll << 30), (1ll << 30) - 1));
}

void writeRect(BitWriter& w, const Rect& r) {
    const std::int32_t v[4] = {clampSb31(r.xmin), clampSb31(r.xmax), clampSb31(r.ymin),
                               clampSb31(r.ymax)};
    int n = 0;
    for (std::int32_t x : v) n = std::max(n, sbits(x));
    w.align();
    w.ub(5, std::uint32_t(n));
    for (std::int32_t x : v) w.sb(n, x);
    w.align();
}

void writeMatrix(BitWriter& w, const Matrix& m) {
    w.align();
    w.ub(1, m.hasScale);
    if (m.hasScale) {
        const std::int32_t a = clampSb31(m.scaleX), b = clampSb31(m.scaleY);
        const int n = std::max(sbits(a), sbits(b));
        w.ub(5, std::uint32_t(n));
        w.sb(n, a);
        w.sb(n, b);
    }
    w.ub(1, m.hasRotate);
    if (m.hasRotate) {
        const std::int32_t a = clampSb31(m.rotateSkew0), b = clampSb31(m.rotateSkew1);
        const int n = std::max(sbits(a), sbits(b));
        w.ub(5, std::uint32_t(n));
        w.sb(n, a);
        w.sb(n, b);
    }
    const std::int32_t tx = clampSb31(m.tx), ty = clampSb31(m.ty);
    const int n = (tx == 0 && ty == 0) ? 0 : std::max(sbits(tx), sbits(ty));
    w.ub(5, std::uint32_t(n));
    w.sb(n, tx);
    w.sb(n, ty);
    w.align();
}

void writeCxForm(BitWriter& w, const CxForm& c, bool withAlpha) {
    const int channels = withAlpha ? 4 : 3;
    std::int32_t mult[4], add[4];
    int n = 1;
    for (int i = 0; i < 4; ++i) {
        mult[i] = std::clamp<std::int32_t>(c.mult[i], -16384, 16383);
        add[i] = std::clamp<std::int32_t>(c.add[i], -16384, 16383);
    }
    for (int i = 0; i < channels; ++i) {
        if (c.hasMult) n = std::max(n, sbits(mult[i]));
        if (c.hasAdd) n = std::max(n, sbits(add[i]));
    }
    w.align();
    w.ub(1, c.hasAdd);
    w.ub(1, c.hasMult);
    w.ub(4, std::uint32_t(n));
    if (c.hasMult)
        for (int i = 0; i < channels; ++i) w.sb(n, mult[i]);
    if (c.hasAdd)
        for (int i = 0; i < channels; ++i) w.sb(n, add[i]);
    w.align();
}

void writeColor(BitWriter& w, const Rgba& c, bool alpha) {
    w.u8(c.r);
    w.u8(c.g);
    w.u8(c.b);
    if (alpha) w.u8(c.a);
}

void writeFillStyle(BitWriter& w, const FillStyle& f, int version) {
    w.u8(f.type);
    switch (f.type) {
        case FillSolid:
            writeColor(w, f.color, version >= 3);
            break;
        case FillLinear:
        case FillRadial:
        case FillFocalRadial: {
            writeMatrix(w, f.matrix);
            const auto& g = f.gradient;
            const int count = int(std::min<size_t>(g.records.size(), 15));
            w.ub(2, g.spread & 3u);
            w.ub(2, g.interpolation & 3u);
            w.ub(4, std::uint32_t(count));
            for (int i = 0; i < count; ++i) {
                w.u8(g.records[size_t(i)].ratio);
                writeColor(w, g.records[size_t(i)].color, version >= 3);
            }
            if (f.type == FillFocalRadial) w.u16(std::uint16_t(g.focalPoint));
            break;
        }
        case FillRepeatingBitmap:
        case FillClippedBitmap:
        case FillNonSmoothedRepeatingBitmap:
        case FillNonSmoothedClippedBitmap:
            w.u16(f.bitmapId);
            writeMatrix(w, f.matrix);
            break;
        default:
            break;  // an unknown type cannot be written meaningfully
    }
}

void writeCount(BitWriter& w, size_t n, int version) {
    if (n < 255 || version < 2) {
        w.u8(std::uint32_t(std::min<size_t>(n, 255)));
        if (n >= 255) w.u16(0);  // never reached: version 1 cannot hold more
    } else {
        w.u8(0xFF);
        w.u16(std::uint32_t(std::min<size_t>(n, 65535)));
    }
}

void writeLineStyle(BitWriter& w, const LineStyle& l, int version) {
    w.u16(l.width);
    if (version < 4) {
        writeColor(w, l.color, version >= 3);
        return;
    }
    w.ub(2, l.startCap & 3u);
    w.ub(2, l.join & 3u);
    w.ub(1, l.hasFill);
    w.ub(1, l.noHScale);
    w.ub(1, l.noVScale);
    w.ub(1, l.pixelHinting);
    w.ub(5, 0);
    w.ub(1, l.noClose);
    w.ub(2, l.endCap & 3u);
    if (l.join == JoinMiter) w.u16(l.miterLimit);
    if (!l.hasFill)
        writeColor(w, l.color, true);
    else
        writeFillStyle(w, l.fill, version);
}

void writeStyleSet(BitWriter& w, const StyleSet& s, int version) {
    size_t nf = s.fills.size(), nl = s.lines.size();
    if (version < 2) {
        nf = std::min<size_t>(nf, 254);
        nl = std::min<size_t>(nl, 254);
    }
    nf = std::min<size_t>(nf, 65535);
    nl = std::min<size_t>(nl, 65535);
    writeCount(w, nf, version);
    for (size_t i = 0; i < nf; ++i) writeFillStyle(w, s.fills[i], version);
    writeCount(w, nl, version);
    for (size_t i = 0; i < nl; ++i) writeLineStyle(w, s.lines[i], version);
}

constexpr std::int32_t kMaxDelta = (1 << 16) - 1;  // SB[17] holds -65536 .. 65535
bool fits17(std::int64_t v) {
    return v >= -65536 && v <= 65535;
}

void writeStraight(BitWriter& w, std::int32_t dx, std::int32_t dy) {
    if (!fits17(dx) || !fits17(dy)) {
        const std::int64_t k =
            std::max(std::abs(std::int64_t(dx)), std::abs(std::int64_t(dy))) / kMaxDelta + 1;
        std::int64_t px = 0, py = 0;
        for (std::int64_t i = 1; i <= k; ++i) {
            const std::int64_t nx = std::llround(double(dx) * double(i) / double(k));
            const std::int64_t ny = std::llround(double(dy) * double(i) / double(k));
            writeStraight(w, std::int32_t(nx - px), std::int32_t(ny - py));
            px = nx;
            py = ny;
        }
        return;
    }
    const bool general = dx != 0 && dy != 0;
    const int n = general ? std::max(sbits(dx), sbits(dy)) : sbits(dx != 0 ? dx : dy);
    const int numBits = std::max(n - 2, 0);
    w.ub(1, 1);
    w.ub(1, 1);
    w.ub(4, std::uint32_t(numBits));
    w.ub(1, general);
    if (general) {
        w.sb(numBits + 2, dx);
        w.sb(numBits + 2, dy);
    } else {
        const bool vert = dx == 0;
        w.ub(1, vert);
        w.sb(numBits + 2, vert ? dy : dx);
    }
}

void writeCurve(BitWriter& w, std::int32_t cx, std::int32_t cy, std::int32_t ax, std::int32_t ay) {
    const std::int32_t v[4] = {cx, cy, ax, ay};
    bool tooBig = false;
    for (std::int32_t x : v) tooBig |= !fits17(x);
    if (tooBig) {
        // Halve the curve in integers: P0 = 0, C = (cx, cy), A = C + (ax, ay).
        const std::int64_t Cx = cx, Cy = cy, Ax = std::int64_t(cx) + ax, Ay = std::int64_t(cy) + ay;
        const std::int64_t m1x = Cx / 2, m1y = Cy / 2;
        const std::int64_t m2x = (Cx + Ax) / 2, m2y = (Cy + Ay) / 2;
        const std::int64_t mx = (m1x + m2x) / 2, my = (m1y + m2y) / 2;
        writeCurve(w, std::int32_t(m1x), std::int32_t(m1y), std::int32_t(mx - m1x),
                   std::int32_t(my - m1y));
        writeCurve(w, std::int32_t(m2x - mx), std::int32_t(m2y - my), std::int32_t(Ax - m2x),
                   std::int32_t(Ay - m2y));
        return;
    }
    int n = 0;
    for (std::int32_t x : v) n = std::max(n, sbits(x));
    const int numBits = std::max(n - 2, 0);
    w.ub(1, 1);
    w.ub(1, 0);
    w.ub(4, std::uint32_t(numBits));
    for (std::int32_t x : v) w.sb(numBits + 2, x);
}

QByteArray shapeBody(const Shape& s) {
    const int version = std::clamp<int>(s.version, 1, 4);
    BitWriter w;
    w.u16(s.id);
    writeRect(w, s.bounds);
    if (version == 4) {
        writeRect(w, s.edgeBounds);
        w.u8(s.flags4 & 0x07u);
    }
    // Bits for the style indices of each layer: enough for the array and every index used.
    std::vector<std::uint32_t> maxFill(s.styles.size() + 1, 0), maxLine(s.styles.size() + 1, 0);
    {
        size_t layer = 0;
        for (const auto& r : s.records) {
            if (r.type != ShapeRecord::StyleChange) continue;
            // The indices of a record are written with the bit counts in force before its new
            // styles.
            if (r.hasFill0) maxFill[layer] = std::max(maxFill[layer], r.fill0);
            if (r.hasFill1) maxFill[layer] = std::max(maxFill[layer], r.fill1);
            if (r.hasLine) maxLine[layer] = std::max(maxLine[layer], r.line);
            if (r.newStyles && r.styleSet < s.styles.size()) layer = r.styleSet;
        }
    }
    auto fillBits = [&](size_t layer) {
        const std::uint32_t n =
            layer < s.styles.size() ? std::uint32_t(s.styles[layer].fills.size()) : 0;
        return std::min(15, ubits(std::max(n, maxFill[layer])));
    };
    auto lineBits = [&](size_t layer) {
        const std::uint32_t n =
            layer < s.styles.size() ? std::uint32_t(s.styles[layer].lines.size()) : 0;
        return std::min(15, ubits(std::max(n, maxLine[layer])));
    };
    static const StyleSet kEmpty;
    writeStyleSet(w, s.styles.empty() ? kEmpty : s.styles[0], version);
    int nfb = fillBits(0), nlb = lineBits(0);
    w.ub(4, std::uint32_t(nfb));
    w.ub(4, std::uint32_t(nlb));
    for (const auto& r : s.records) {
        switch (r.type) {
            case ShapeRecord::StyleChange: {
                const bool newStyles = r.newStyles && r.styleSet < s.styles.size();
                // A record without flags would read as the end record: nothing to write.
                if (!newStyles && !r.hasLine && !r.hasFill1 && !r.hasFill0 && !r.hasMove) break;
                w.ub(1, 0);
                w.ub(1, newStyles);
                w.ub(1, r.hasLine);
                w.ub(1, r.hasFill1);
                w.ub(1, r.hasFill0);
                w.ub(1, r.hasMove);
                if (r.hasMove) {
                    const std::int32_t x = clampSb31(r.moveX), y = clampSb31(r.moveY);
                    const int n = std::max(sbits(x), sbits(y));
                    w.ub(5, std::uint32_t(n));
                    w.sb(n, x);
                    w.sb(n, y);
                }
                if (r.hasFill0) w.ub(nfb, r.fill0);
                if (r.hasFill1) w.ub(nfb, r.fill1);
                if (r.hasLine) w.ub(nlb, r.line);
                if (newStyles) {
                    w.align();
                    writeStyleSet(w, s.styles[r.styleSet], version);
                    nfb = fillBits(r.styleSet);
                    nlb = lineBits(r.styleSet);
                    w.ub(4, std::uint32_t(nfb));
                    w.ub(4, std::uint32_t(nlb));
                }
                break;
            }
            case ShapeRecord::StraightEdge:
                writeStraight(w, r.dx, r.dy);
                break;
            case ShapeRecord::CurvedEdge:
                writeCurve(w, r.dx, r.dy, r.ax, r.ay);
                break;
        }
    }
    w.ub(6, 0);  // end record
    return w.take();
}

int shapeCode(int version) {
    switch (version) {
        case 1:
            return 2;
        case 2:
            return 22;
        case 4:
            return 83;
        default:
            return 32;
    }
}

QByteArray tagWithHeader(int code, const QByteArray& body) {
    BitWriter w;
    if (body.size() < 63) {
        w.u16(std::uint32_t(code << 6) | std::uint32_t(body.size()));
    } else {
        w.u16(std::uint32_t(code << 6) | 0x3Fu);
        w.u32(std::uint32_t(body.size()));
    }
    QByteArray out = w.take();
    out.append(body);
    return out;
}

QByteArray placeBody(const PlaceObjectTag& p) {
    BitWriter w;
    if (p.version == 1) {
        w.u16(p.characterId);
        w.u16(p.depth);
        writeMatrix(w, p.matrix);
        if (p.hasCxForm) writeCxForm(w, p.cxform, false);
        return w.take();
    }
    std::uint8_t f = 0;
    if (p.hasClipDepth) f |= 0x40;
    if (p.hasName) f |= 0x20;
    if (p.hasRatio) f |= 0x10;
    if (p.hasCxForm) f |= 0x08;
    if (p.hasMatrix) f |= 0x04;
    if (p.hasCharacter) f |= 0x02;
    if (p.move) f |= 0x01;
    w.u8(f);
    std::uint8_t f2 = 0;
    if (p.version == 3) {
        f2 = p.flags2 & 0x18;
        w.u8(f2);
    }
    w.u16(p.depth);
    if (p.version == 3 && ((f2 & 0x08) || ((f2 & 0x10) && !p.hasCharacter))) w.string(p.className);
    if (p.hasCharacter) w.u16(p.characterId);
    if (p.hasMatrix) writeMatrix(w, p.matrix);
    if (p.hasCxForm) writeCxForm(w, p.cxform, true);
    if (p.hasRatio) w.u16(p.ratio);
    if (p.hasName) w.string(p.name);
    if (p.hasClipDepth) w.u16(p.clipDepth);
    return w.take();
}

QByteArray actionsBody(const std::vector<Action>& actions) {
    BitWriter w;
    for (const auto& a : actions) {
        if (a.code == 0) continue;
        w.u8(a.code);
        if (a.code >= 0x80) {
            w.u16(std::uint32_t(std::min<qsizetype>(a.data.size(), 65535)));
            w.bytes(a.data.left(65535));
        }
    }
    w.u8(0);
    return w.take();
}

}  // namespace

QByteArray writeTag(const Tag& tag) {
    struct Visitor {
        QByteArray operator()(const EndTag&) const { return tagWithHeader(0, {}); }
        QByteArray operator()(const ShowFrameTag&) const { return tagWithHeader(1, {}); }
        QByteArray operator()(const DefineShapeTag& t) const {
            if (!t.shape) return {};
            return tagWithHeader(shapeCode(t.shape->version), shapeBody(*t.shape));
        }
        QByteArray operator()(const PlaceObjectTag& t) const {
            const int code = t.version == 1 ? 4 : t.version == 3 ? 70 : 26;
            return tagWithHeader(code, placeBody(t));
        }
        QByteArray operator()(const RemoveObjectTag& t) const {
            BitWriter w;
            if (t.version == 1) w.u16(t.characterId);
            w.u16(t.depth);
            return tagWithHeader(t.version == 1 ? 5 : 28, w.take());
        }
        QByteArray operator()(const SetBackgroundColorTag& t) const {
            BitWriter w;
            writeColor(w, t.color, false);
            return tagWithHeader(9, w.take());
        }
        QByteArray operator()(const DoActionTag& t) const {
            return tagWithHeader(12, actionsBody(t.actions));
        }
        QByteArray operator()(const FrameLabelTag& t) const {
            BitWriter w;
            w.string(t.name);
            return tagWithHeader(43, w.take());
        }
        QByteArray operator()(const FileAttributesTag& t) const {
            BitWriter w;
            w.u32(t.flags);
            return tagWithHeader(69, w.take());
        }
        QByteArray operator()(const DefineSpriteTag& t) const {
            if (!t.sprite) return {};
            BitWriter w;
            w.u16(t.sprite->id);
            w.u16(t.sprite->frameCount);
            QByteArray body = w.take();
            for (const auto& inner : t.sprite->tags) body.append(writeTag(inner));
            return tagWithHeader(39, body);
        }
        QByteArray operator()(const UnknownTag& t) const {
            return tagWithHeader(t.code & 0x3FF, t.body);
        }
    };
    return std::visit(Visitor{}, tag);
}

QByteArray writeMovie(const Movie& movie) {
    BitWriter hw;
    writeRect(hw, movie.header.frameSize);
    hw.u16(movie.header.frameRate);
    hw.u16(movie.header.frameCount);
    QByteArray body = hw.take();
    for (const auto& t : movie.tags) body.append(writeTag(t));

    const std::uint32_t length = std::uint32_t(body.size() + 8);
    QByteArray out;
    out.append(movie.header.compressed ? "CWS" : "FWS", 3);
    out.append(char(movie.header.version));
    for (int i = 0; i < 4; ++i) out.append(char((length >> (8 * i)) & 0xFF));
    if (!movie.header.compressed) {
        out.append(body);
        return out;
    }
    uLongf destLen = compressBound(uLong(body.size()));
    QByteArray z(qsizetype(destLen), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(z.data()), &destLen,
                  reinterpret_cast<const Bytef*>(body.constData()), uLong(body.size()), 9) != Z_OK)
        return {};
    z.truncate(qsizetype(destLen));
    out.append(z);
    return out;
}

// Sub-paths --------------------------------------------------------------------------------

SubPath& SubPath::lineTo(double x, double y) {
    segments.push_back(PathSegment{false, 0, 0, x, y});
    return *this;
}

SubPath& SubPath::curveTo(double cx, double cy, double x, double y) {
    segments.push_back(PathSegment{true, cx, cy, x, y});
    return *this;
}

SubPath& SubPath::close() {
    const double lx = segments.empty() ? x0 : segments.back().x;
    const double ly = segments.empty() ? y0 : segments.back().y;
    if (std::lround(lx) != std::lround(x0) || std::lround(ly) != std::lround(y0)) lineTo(x0, y0);
    return *this;
}

SubPath SubPath::rect(double x, double y, double w, double h, std::uint32_t fill1,
                      std::uint32_t line) {
    SubPath p(x, y, fill1, line);
    p.lineTo(x + w, y).lineTo(x + w, y + h).lineTo(x, y + h).lineTo(x, y);
    return p;
}

SubPath SubPath::ellipse(double cx, double cy, double rx, double ry, std::uint32_t fill1,
                         std::uint32_t line) {
    SubPath p(cx + rx, cy, fill1, line);
    const double k = 1.0 / std::cos(M_PI / 8.0);
    for (int i = 0; i < 8; ++i) {
        const double a1 = M_PI / 4.0 * (i + 1), am = M_PI / 4.0 * (i + 0.5);
        p.curveTo(cx + rx * k * std::cos(am), cy + ry * k * std::sin(am), cx + rx * std::cos(a1),
                  cy + ry * std::sin(a1));
    }
    p.segments.back().x = cx + rx;  // exactly closed
    p.segments.back().y = cy;
    return p;
}

SubPath SubPath::polygon(const std::vector<std::pair<double, double>>& pts, std::uint32_t fill1,
                         std::uint32_t line) {
    if (pts.empty()) return SubPath();
    SubPath p(pts[0].first, pts[0].second, fill1, line);
    for (size_t i = 1; i < pts.size(); ++i) p.lineTo(pts[i].first, pts[i].second);
    p.close();
    return p;
}

// Gradients -------------------------------------------------------------------------------

Matrix linearGradientMatrix(double x0, double y0, double x1, double y1) {
    const double a = (x1 - x0) / 32768.0, b = (y1 - y0) / 32768.0;
    return Matrix::fromValues(a, b, -b, a, (x0 + x1) / 2.0, (y0 + y1) / 2.0);
}

Matrix radialGradientMatrix(double cx, double cy, double rx, double ry, double rotationDeg) {
    const double t = rotationDeg * M_PI / 180.0;
    const double c = std::cos(t), s = std::sin(t);
    return Matrix::fromValues(c * rx / 16384.0, s * rx / 16384.0, -s * ry / 16384.0,
                              c * ry / 16384.0, cx, cy);
}

FillStyle linearGradient(double x0, double y0, double x1, double y1, std::vector<GradRecord> stops,
                         std::uint8_t spread) {
    FillStyle f;
    f.type = FillLinear;
    f.matrix = linearGradientMatrix(x0, y0, x1, y1);
    f.gradient.spread = spread;
    f.gradient.records = std::move(stops);
    return f;
}

FillStyle radialGradient(double cx, double cy, double r, std::vector<GradRecord> stops,
                         std::uint8_t spread) {
    FillStyle f;
    f.type = FillRadial;
    f.matrix = radialGradientMatrix(cx, cy, r, r);
    f.gradient.spread = spread;
    f.gradient.records = std::move(stops);
    return f;
}

FillStyle focalGradient(double cx, double cy, double r, double focal, std::vector<GradRecord> stops,
                        std::uint8_t spread) {
    FillStyle f = radialGradient(cx, cy, r, std::move(stops), spread);
    f.type = FillFocalRadial;
    f.gradient.focalPoint = std::int16_t(std::clamp(std::lround(focal * 256.0), -256L, 256L));
    return f;
}

// Shapes ----------------------------------------------------------------------------------

namespace {
bool needsLineStyle2(const LineStyle& l) {
    return l.startCap != CapRound || l.endCap != CapRound || l.join != JoinRound || l.hasFill ||
           l.noHScale || l.noVScale || l.pixelHinting || l.noClose;
}

struct Bounds {
    std::int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool any = false;
    void add(std::int64_t x, std::int64_t y) {
        if (!any) {
            x0 = x1 = x;
            y0 = y1 = y;
            any = true;
            return;
        }
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    }
};

std::int64_t rnd(double v) {
    return std::llround(std::clamp(v, -1.0e9, 1.0e9));
}
}  // namespace

Shape buildShape(const ShapeSpec& desc, std::uint16_t id) {
    Shape s;
    s.id = id;
    int version = desc.version;
    if (version != 3 && version != 4) {
        version = desc.nonZeroWinding ? 4 : 3;
        for (const auto& l : desc.lines)
            if (needsLineStyle2(l)) version = 4;
    }
    s.version = std::uint8_t(version);
    if (version == 4) s.flags4 = desc.nonZeroWinding ? 0x04 : 0;
    s.styles.push_back(StyleSet{desc.fills, desc.lines});

    Bounds b;
    std::uint16_t maxWidth = 0;
    for (const auto& p : desc.paths) {
        ShapeRecord sc;
        sc.type = ShapeRecord::StyleChange;
        sc.hasMove = true;
        sc.hasFill0 = sc.hasFill1 = sc.hasLine = true;
        std::int64_t cx = rnd(p.x0), cy = rnd(p.y0);
        sc.moveX = std::int32_t(cx);
        sc.moveY = std::int32_t(cy);
        sc.fill0 = p.fill0;
        sc.fill1 = p.fill1;
        sc.line = p.line;
        s.records.push_back(sc);
        if (p.line >= 1 && p.line <= desc.lines.size())
            maxWidth = std::max(maxWidth, desc.lines[p.line - 1].width);
        b.add(cx, cy);
        double fx = p.x0, fy = p.y0;  // unrounded current point
        for (const auto& seg : p.segments) {
            if (!seg.curve) {
                const std::int64_t tx = rnd(seg.x), ty = rnd(seg.y);
                const std::int64_t k =
                    std::max(std::abs(tx - cx), std::abs(ty - cy)) / kMaxDelta + 1;
                for (std::int64_t i = 1; i <= k; ++i) {
                    const std::int64_t nx =
                        i == k ? tx : rnd(fx + (seg.x - fx) * double(i) / double(k));
                    const std::int64_t ny =
                        i == k ? ty : rnd(fy + (seg.y - fy) * double(i) / double(k));
                    s.records.push_back(
                        ShapeRecord::straight(std::int32_t(nx - cx), std::int32_t(ny - cy)));
                    cx = nx;
                    cy = ny;
                    b.add(cx, cy);
                }
            } else {
                // Split into k equal-parameter pieces so that every delta fits.
                const double span = std::max({std::abs(seg.cx - fx), std::abs(seg.cy - fy),
                                              std::abs(seg.x - seg.cx), std::abs(seg.y - seg.cy)});
                const int k = int(std::min(1024.0, std::floor(span / (kMaxDelta - 4)) + 1));
                auto at = [&](double t, double& x, double& y) {
                    const double u = 1 - t;
                    x = u * u * fx + 2 * u * t * seg.cx + t * t * seg.x;
                    y = u * u * fy + 2 * u * t * seg.cy + t * t * seg.y;
                };
                for (int i = 0; i < k; ++i) {
                    const double t0 = double(i) / k, t1 = double(i + 1) / k;
                    double ex, ey;
                    at(t1, ex, ey);
                    if (i == k - 1) {
                        ex = seg.x;
                        ey = seg.y;
                    }
                    // control point of the piece: P(t0) + (t1 - t0) * P'(t0) / 2
                    const double dt = t1 - t0;
                    const double dxdt = 2 * (1 - t0) * (seg.cx - fx) + 2 * t0 * (seg.x - seg.cx);
                    const double dydt = 2 * (1 - t0) * (seg.cy - fy) + 2 * t0 * (seg.y - seg.cy);
                    double sx, sy;
                    at(t0, sx, sy);
                    const std::int64_t ccx = rnd(sx + dt * dxdt / 2), ccy = rnd(sy + dt * dydt / 2);
                    const std::int64_t ax = rnd(ex), ay = rnd(ey);
                    s.records.push_back(
                        ShapeRecord::curve(std::int32_t(ccx - cx), std::int32_t(ccy - cy),
                                           std::int32_t(ax - ccx), std::int32_t(ay - ccy)));
                    b.add(ccx, ccy);
                    b.add(ax, ay);
                    cx = ax;
                    cy = ay;
                }
            }
            fx = seg.x;
            fy = seg.y;
        }
    }
    if (b.any) {
        s.edgeBounds =
            Rect{std::int32_t(b.x0), std::int32_t(b.x1), std::int32_t(b.y0), std::int32_t(b.y1)};
        const std::int32_t h = (maxWidth + 1) / 2;
        s.bounds = Rect{s.edgeBounds.xmin - h, s.edgeBounds.xmax + h, s.edgeBounds.ymin - h,
                        s.edgeBounds.ymax + h};
        if (version != 4) s.edgeBounds = Rect();  // only DefineShape4 stores it
    }
    return s;
}

// Timelines -------------------------------------------------------------------------------

void TimelineBuilder::placeObject(std::uint16_t depth, std::uint16_t charId, const Matrix& m,
                                  const CxForm& cx, std::uint16_t clipDepth) {
    PlaceObjectTag p;
    p.version = 2;
    p.depth = depth;
    p.hasCharacter = true;
    p.characterId = charId;
    p.hasMatrix = true;
    p.matrix = m;
    p.hasCxForm = !cx.isIdentity();
    p.cxform = cx;
    if (clipDepth) {
        p.hasClipDepth = true;
        p.clipDepth = clipDepth;
    }
    tags_.push_back(p);
}

void TimelineBuilder::moveObject(std::uint16_t depth, const Matrix& m) {
    PlaceObjectTag p;
    p.depth = depth;
    p.move = true;
    p.hasMatrix = true;
    p.matrix = m;
    tags_.push_back(p);
}

void TimelineBuilder::moveObject(std::uint16_t depth, const Matrix& m, const CxForm& cx) {
    PlaceObjectTag p;
    p.depth = depth;
    p.move = true;
    p.hasMatrix = true;
    p.matrix = m;
    p.hasCxForm = true;
    p.cxform = cx;
    tags_.push_back(p);
}

void TimelineBuilder::setColorTransform(std::uint16_t depth, const CxForm& cx) {
    PlaceObjectTag p;
    p.depth = depth;
    p.move = true;
    p.hasCxForm = true;
    p.cxform = cx;
    tags_.push_back(p);
}

void TimelineBuilder::replaceObject(std::uint16_t depth, std::uint16_t charId, const Matrix* m,
                                    const CxForm* cx) {
    PlaceObjectTag p;
    p.depth = depth;
    p.move = true;
    p.hasCharacter = true;
    p.characterId = charId;
    if (m) {
        p.hasMatrix = true;
        p.matrix = *m;
    }
    if (cx) {
        p.hasCxForm = true;
        p.cxform = *cx;
    }
    tags_.push_back(p);
}

void TimelineBuilder::removeObject(std::uint16_t depth) {
    RemoveObjectTag r;
    r.version = 2;
    r.depth = depth;
    tags_.push_back(r);
}

void TimelineBuilder::doAction(std::initializer_list<Action> actions) {
    tags_.push_back(DoActionTag{actions});
}

void TimelineBuilder::doAction(const std::vector<Action>& actions) {
    tags_.push_back(DoActionTag{actions});
}

void TimelineBuilder::frameLabel(const QByteArray& name) {
    tags_.push_back(FrameLabelTag{name});
}

void TimelineBuilder::showFrame() {
    tags_.push_back(ShowFrameTag{});
    ++frames_;
}

void TimelineBuilder::addTag(Tag tag) {
    if (std::holds_alternative<ShowFrameTag>(tag)) ++frames_;
    tags_.push_back(std::move(tag));
}

SwfWriter::SwfWriter(int widthPx, int heightPx, double fps, int version) {
    movie_.header.version = std::uint8_t(std::clamp(version, 1, 255));
    movie_.header.frameSize = Rect{0, widthPx * 20, 0, heightPx * 20};
    movie_.header.frameRate = std::uint16_t(std::clamp(std::lround(fps * 256.0), 0L, 65535L));
}

void SwfWriter::setBackground(Rgba c) {
    c.a = 255;
    tags_.push_back(SetBackgroundColorTag{c});
}

void SwfWriter::fileAttributes(std::uint32_t flags) {
    tags_.push_back(FileAttributesTag{flags});
}

std::uint16_t SwfWriter::defineShape(const ShapeSpec& desc) {
    const std::uint16_t id = nextId_++;
    tags_.push_back(DefineShapeTag{std::make_shared<Shape>(buildShape(desc, id))});
    return id;
}

std::uint16_t SwfWriter::defineShape(const Shape& shape) {
    const std::uint16_t id = nextId_++;
    auto s = std::make_shared<Shape>(shape);
    s->id = id;
    tags_.push_back(DefineShapeTag{s});
    return id;
}

std::uint16_t SwfWriter::defineSprite(const SpriteBuilder& sprite) {
    const std::uint16_t id = nextId_++;
    auto sp = std::make_shared<Sprite>();
    sp->id = id;
    sp->frameCount = std::uint16_t(std::max(1, sprite.framesShown()));
    sp->tags = sprite.tags();
    sp->tags.push_back(EndTag{});
    tags_.push_back(DefineSpriteTag{sp});
    return id;
}

const Movie& SwfWriter::movie() {
    movie_.tags = tags_;
    if (finished_) movie_.tags.push_back(EndTag{});
    movie_.header.frameCount =
        std::uint16_t(frameCountOverride_ >= 0 ? frameCountOverride_ : std::max(1, frames_));
    return movie_;
}

QByteArray SwfWriter::finish() {
    finished_ = true;
    return writeMovie(movie());
}

}  // namespace swf
