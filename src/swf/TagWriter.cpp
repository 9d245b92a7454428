#include "swf/TagWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>

#include "swf/BitWriter.h"
#include "swf/TagCode.h"

namespace swf {

namespace {

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

// Two signed fields after their 5-bit size; a zero pair may take no bits at all.
void writeSignedPair(BitWriter& w, std::int64_t first, std::int64_t second, bool zeroTakesNoBits) {
    const std::int32_t a = clampSb31(first), b = clampSb31(second);
    const int n = (zeroTakesNoBits && a == 0 && b == 0) ? 0 : std::max(sbits(a), sbits(b));
    w.ub(5, std::uint32_t(n));
    w.sb(n, a);
    w.sb(n, b);
}

void writeMatrix(BitWriter& w, const Matrix& m) {
    w.align();
    w.ub(1, m.hasScale);
    if (m.hasScale) writeSignedPair(w, m.scaleX, m.scaleY, false);
    w.ub(1, m.hasRotate);
    if (m.hasRotate) writeSignedPair(w, m.rotateSkew0, m.rotateSkew1, false);
    writeSignedPair(w, m.tx, m.ty, true);
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

bool fits17(std::int64_t v) {
    return v >= -65536 && v <= 65535;
}

void writeStraight(BitWriter& w, std::int32_t dx, std::int32_t dy) {
    if (!fits17(dx) || !fits17(dy)) {
        const std::int64_t k =
            std::max(std::abs(std::int64_t(dx)), std::abs(std::int64_t(dy))) / kMaxEdgeDelta + 1;
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

QByteArray tagWithHeader(TagCode tag, const QByteArray& body) {
    const std::uint32_t code = std::uint32_t(tag);
    BitWriter w;
    if (body.size() < 63) {
        w.u16((code << 6) | std::uint32_t(body.size()));
    } else {
        w.u16((code << 6) | 0x3Fu);
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
        QByteArray operator()(const EndTag&) const { return tagWithHeader(TagCode::End, {}); }
        QByteArray operator()(const ShowFrameTag&) const {
            return tagWithHeader(TagCode::ShowFrame, {});
        }
        QByteArray operator()(const DefineShapeTag& t) const {
            if (!t.shape) return {};
            return tagWithHeader(shapeTagCode(t.shape->version), shapeBody(*t.shape));
        }
        QByteArray operator()(const PlaceObjectTag& t) const {
            return tagWithHeader(placeTagCode(t.version), placeBody(t));
        }
        QByteArray operator()(const RemoveObjectTag& t) const {
            BitWriter w;
            if (t.version == 1) w.u16(t.characterId);
            w.u16(t.depth);
            return tagWithHeader(t.version == 1 ? TagCode::RemoveObject : TagCode::RemoveObject2,
                                 w.take());
        }
        QByteArray operator()(const SetBackgroundColorTag& t) const {
            BitWriter w;
            writeColor(w, t.color, false);
            return tagWithHeader(TagCode::SetBackgroundColor, w.take());
        }
        QByteArray operator()(const DoActionTag& t) const {
            return tagWithHeader(TagCode::DoAction, actionsBody(t.actions));
        }
        QByteArray operator()(const FrameLabelTag& t) const {
            BitWriter w;
            w.string(t.name);
            return tagWithHeader(TagCode::FrameLabel, w.take());
        }
        QByteArray operator()(const FileAttributesTag& t) const {
            BitWriter w;
            w.u32(t.flags);
            return tagWithHeader(TagCode::FileAttributes, w.take());
        }
        QByteArray operator()(const DefineSpriteTag& t) const {
            if (!t.sprite) return {};
            BitWriter w;
            w.u16(t.sprite->id);
            w.u16(t.sprite->frameCount);
            QByteArray body = w.take();
            for (const auto& inner : t.sprite->tags) body.append(writeTag(inner));
            return tagWithHeader(TagCode::DefineSprite, body);
        }
        QByteArray operator()(const UnknownTag& t) const {
            return tagWithHeader(TagCode(t.code & 0x3FF), t.body);
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

}  // namespace swf
