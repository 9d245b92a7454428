#include "movie/SwfReader.h"

#include <zlib.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace swf {

namespace {

// A bounds-checked little-endian byte and bit reader over [data, data + size). Reading past
// the end sets `bad` and returns zeros; callers check `bad` once after a tag.
class Reader {
public:
    Reader(const std::uint8_t* data, size_t size, size_t base) : d_(data), n_(size), base_(base) {}

    bool bad() const { return bad_; }
    size_t pos() const { return pos_; }
    size_t remaining() const { return pos_ < n_ ? n_ - pos_ : 0; }
    size_t offset() const { return base_ + pos_; }  // position in the uncompressed file
    const std::uint8_t* here() const { return d_ + pos_; }

    void align() {
        if (bit_) {
            bit_ = 0;
            ++pos_;
        }
    }
    std::uint32_t u8() {
        align();
        if (pos_ >= n_) return fail();
        return d_[pos_++];
    }
    std::uint32_t u16() {
        align();
        if (n_ - pos_ < 2 || pos_ > n_) return fail();
        const std::uint32_t v = d_[pos_] | (std::uint32_t(d_[pos_ + 1]) << 8);
        pos_ += 2;
        return v;
    }
    std::uint32_t u32() {
        const std::uint32_t lo = u16();
        return lo | (u16() << 16);
    }
    void skip(size_t k) {
        align();
        if (k > remaining()) {
            fail();
            pos_ = n_;
            return;
        }
        pos_ += k;
    }
    QByteArray bytes(size_t k) {
        align();
        if (k > remaining()) {
            fail();
            return {};
        }
        QByteArray b(reinterpret_cast<const char*>(d_ + pos_), qsizetype(k));
        pos_ += k;
        return b;
    }
    QByteArray string() {
        align();
        const std::uint8_t* start = d_ + pos_;
        const void* z = std::memchr(start, 0, remaining());
        if (!z) {
            fail();
            pos_ = n_;
            return {};
        }
        const size_t len = size_t(static_cast<const std::uint8_t*>(z) - start);
        QByteArray s(reinterpret_cast<const char*>(start), qsizetype(len));
        pos_ += len + 1;
        return s;
    }
    std::uint32_t ub(int k) {
        std::uint32_t v = 0;
        while (k > 0) {
            if (pos_ >= n_) return fail();
            const int avail = 8 - bit_;
            const int take = std::min(avail, k);
            const std::uint32_t byte = d_[pos_];
            const std::uint32_t bits = (byte >> (avail - take)) & ((1u << take) - 1u);
            v = (take == 32 ? 0 : (v << take)) | bits;
            k -= take;
            bit_ += take;
            if (bit_ == 8) {
                bit_ = 0;
                ++pos_;
            }
        }
        return v;
    }
    std::int32_t sb(int k) {
        if (k <= 0) return 0;
        const std::uint32_t v = ub(k);
        if (k >= 32) return std::int32_t(v);
        const std::uint32_t sign = 1u << (k - 1);
        return std::int32_t((v ^ sign) - sign);
    }

private:
    std::uint32_t fail() {
        bad_ = true;
        return 0;
    }
    const std::uint8_t* d_;
    size_t n_;
    size_t base_;
    size_t pos_ = 0;
    int bit_ = 0;
    bool bad_ = false;
};

Rect readRect(Reader& r) {
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

Matrix readMatrix(Reader& r) {
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

CxForm readCxForm(Reader& r, bool withAlpha) {
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

Rgba readColor(Reader& r, bool alpha) {
    Rgba c;
    c.r = std::uint8_t(r.u8());
    c.g = std::uint8_t(r.u8());
    c.b = std::uint8_t(r.u8());
    c.a = alpha ? std::uint8_t(r.u8()) : 255;
    return c;
}

bool readFillStyle(Reader& r, FillStyle& f, int version) {
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

size_t readCount(Reader& r, int version) {
    size_t n = r.u8();
    if (n == 0xFF && version >= 2) n = r.u16();
    return n;
}

bool readStyleSet(Reader& r, StyleSet& s, int version) {
    const size_t nf = readCount(r, version);
    s.fills.reserve(std::min(nf, r.remaining()));
    for (size_t i = 0; i < nf && !r.bad(); ++i) {
        FillStyle f;
        if (!readFillStyle(r, f, version)) return false;
        s.fills.push_back(std::move(f));
    }
    const size_t nl = readCount(r, version);
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

// DefineShape 1..4. Returns an empty string on success, else what went wrong.
QString readShape(Reader& r, int version, Shape& s) {
    s.version = std::uint8_t(version);
    s.id = std::uint16_t(r.u16());
    s.bounds = readRect(r);
    if (version == 4) {
        s.edgeBounds = readRect(r);
        s.flags4 = std::uint8_t(r.u8() & 0x07);
    }
    s.styles.emplace_back();
    if (!readStyleSet(r, s.styles.back(), version)) return QStringLiteral("bad style array");
    int nfb = int(r.ub(4)), nlb = int(r.ub(4));
    while (true) {
        if (r.bad()) return QStringLiteral("shape records run past the tag");
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
                if (!readStyleSet(r, s.styles.back(), version))
                    return QStringLiteral("bad new style array");
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
        if (r.bad()) return QStringLiteral("shape records run past the tag");
        s.records.push_back(rec);
    }
    r.align();
    return {};
}

QString readPlace(Reader& r, int version, PlaceObjectTag& p) {
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
        return {};
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
    return {};
}

QString readActions(Reader& r, DoActionTag& t) {
    while (r.remaining() > 0) {
        Action a;
        a.code = std::uint8_t(r.u8());
        if (a.code == 0) break;
        if (a.code >= 0x80) {
            const size_t len = r.u16();
            a.data = r.bytes(len);
            if (r.bad())
                return QStringLiteral("action 0x%1 runs past the tag")
                    .arg(a.code, 2, 16, QLatin1Char('0'));
        }
        t.actions.push_back(std::move(a));
    }
    return {};
}

bool isTimelineTag(int code) {
    switch (code) {
        case 0:
        case 1:
        case 4:
        case 5:
        case 12:
        case 26:
        case 28:
        case 43:
        case 70:
            return true;
        default:
            return false;
    }
}

// Reads tags until End, the end of the data or a broken tag. Returns the warning, if any.
QString readTags(Reader& r, std::vector<Tag>& out, bool inSprite, int* count) {
    while (true) {
        if (r.remaining() == 0) return {};
        const size_t tagStart = r.offset();
        if (r.remaining() < 2)
            return QStringLiteral("tag header at byte %1 cut short").arg(tagStart);
        const std::uint32_t hdr = r.u16();
        const int code = int(hdr >> 6);
        size_t len = hdr & 0x3F;
        if (len == 0x3F) {
            if (r.remaining() < 4)
                return QStringLiteral("long tag header of %1 at byte %2 cut short")
                    .arg(tagName(code))
                    .arg(tagStart);
            len = r.u32();
        }
        if (len > r.remaining())
            return QStringLiteral(
                       "%1 at byte %2: length %3 runs past the end of the data (%4 bytes left)")
                .arg(tagName(code))
                .arg(tagStart)
                .arg(len)
                .arg(r.remaining());
        Reader sub(r.here(), len, r.offset());
        r.skip(len);
        QString err;
        Tag tag;
        if (inSprite && !isTimelineTag(code)) {
            tag = UnknownTag{std::uint16_t(code), sub.bytes(len)};
        } else {
            switch (code) {
                case 0:
                    tag = EndTag{};
                    break;
                case 1:
                    tag = ShowFrameTag{};
                    break;
                case 2:
                case 22:
                case 32:
                case 83: {
                    auto s = std::make_shared<Shape>();
                    err = readShape(sub, code == 2 ? 1 : code == 22 ? 2 : code == 32 ? 3 : 4, *s);
                    tag = DefineShapeTag{std::move(s)};
                    break;
                }
                case 4:
                case 26:
                case 70: {
                    PlaceObjectTag p;
                    err = readPlace(sub, code == 4 ? 1 : code == 26 ? 2 : 3, p);
                    tag = std::move(p);
                    break;
                }
                case 5: {
                    RemoveObjectTag t;
                    t.version = 1;
                    t.characterId = std::uint16_t(sub.u16());
                    t.depth = std::uint16_t(sub.u16());
                    tag = t;
                    break;
                }
                case 28: {
                    RemoveObjectTag t;
                    t.version = 2;
                    t.depth = std::uint16_t(sub.u16());
                    tag = t;
                    break;
                }
                case 9:
                    tag = SetBackgroundColorTag{readColor(sub, false)};
                    break;
                case 12: {
                    DoActionTag t;
                    err = readActions(sub, t);
                    tag = std::move(t);
                    break;
                }
                case 43:
                    tag = FrameLabelTag{sub.string()};
                    break;
                case 69:
                    tag = FileAttributesTag{sub.u32()};
                    break;
                case 39: {
                    auto sp = std::make_shared<Sprite>();
                    sp->id = std::uint16_t(sub.u16());
                    sp->frameCount = std::uint16_t(sub.u16());
                    if (!sub.bad()) {
                        // A broken tag inside a sprite ends the sprite's list; the sprite stays.
                        readTags(sub, sp->tags, true, nullptr);
                    }
                    tag = DefineSpriteTag{std::move(sp)};
                    break;
                }
                default:
                    tag = UnknownTag{std::uint16_t(code), sub.bytes(len)};
                    break;
            }
        }
        if (err.isEmpty() && sub.bad())
            err = QStringLiteral("its fields run past its length %1").arg(len);
        if (!err.isEmpty())
            return QStringLiteral("%1 at byte %2: %3").arg(tagName(code)).arg(tagStart).arg(err);
        const bool end = std::holds_alternative<EndTag>(tag);
        out.push_back(std::move(tag));
        if (count) ++*count;
        if (end) return {};
    }
}

ReadResult refuse(const QString& why) {
    ReadResult r;
    r.error = why;
    return r;
}

}  // namespace

QString tagName(int code) {
    switch (code) {
        case 0:
            return QStringLiteral("End");
        case 1:
            return QStringLiteral("ShowFrame");
        case 2:
            return QStringLiteral("DefineShape");
        case 4:
            return QStringLiteral("PlaceObject");
        case 5:
            return QStringLiteral("RemoveObject");
        case 9:
            return QStringLiteral("SetBackgroundColor");
        case 12:
            return QStringLiteral("DoAction");
        case 22:
            return QStringLiteral("DefineShape2");
        case 26:
            return QStringLiteral("PlaceObject2");
        case 28:
            return QStringLiteral("RemoveObject2");
        case 32:
            return QStringLiteral("DefineShape3");
        case 39:
            return QStringLiteral("DefineSprite");
        case 43:
            return QStringLiteral("FrameLabel");
        case 69:
            return QStringLiteral("FileAttributes");
        case 70:
            return QStringLiteral("PlaceObject3");
        case 77:
            return QStringLiteral("Metadata");
        case 83:
            return QStringLiteral("DefineShape4");
        case 86:
            return QStringLiteral("DefineSceneAndFrameLabelData");
        default:
            return QStringLiteral("tag %1").arg(code);
    }
}

ReadResult readSwf(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const size_t size = size_t(data.size());
    if (size < 3)
        return refuse(QStringLiteral(
                          "header cut short: the file has %1 bytes, the signature needs 3 (byte 0)")
                          .arg(size));
    const QByteArray sig = data.left(3);
    if (sig == "ZWS")
        return refuse(
            QStringLiteral("LZMA-compressed movie (signature ZWS at byte 0) is not supported"));
    if (sig != "FWS" && sig != "CWS") {
        QString shown;
        for (char c : sig)
            shown += (c >= 32 && c < 127)
                         ? QString(QLatin1Char(c))
                         : QStringLiteral("\\x%1").arg(std::uint8_t(c), 2, 16, QLatin1Char('0'));
        return refuse(QStringLiteral("not an SWF file: signature \"%1\" at byte 0").arg(shown));
    }
    if (size < 8)
        return refuse(
            QStringLiteral(
                "header cut short: the file ends at byte %1, before its 8-byte file header")
                .arg(size));
    const bool compressed = sig == "CWS";
    const std::uint8_t version = bytes[3];
    if (version == 0) return refuse(QStringLiteral("SWF version 0 at byte 3"));
    const std::uint32_t fileLength = bytes[4] | (std::uint32_t(bytes[5]) << 8) |
                                     (std::uint32_t(bytes[6]) << 16) |
                                     (std::uint32_t(bytes[7]) << 24);
    if (fileLength < 8)
        return refuse(QStringLiteral("FileLength %1 at byte 4 is below 8").arg(fileLength));
    if (fileLength > kMaxFileLength)
        return refuse(
            QStringLiteral("FileLength %1 at byte 4 is over the 64 MiB limit").arg(fileLength));

    const size_t want = fileLength - 8;
    QByteArray body;
    QString zlibError;  // where the stream broke, if it did
    if (!compressed) {
        body = data.mid(8, qsizetype(std::min(want, size - 8)));
    } else {
        z_stream zs{};
        if (inflateInit(&zs) != Z_OK) return refuse(QStringLiteral("zlib could not start"));
        zs.next_in = const_cast<Bytef*>(bytes + 8);
        zs.avail_in = uInt(std::min<size_t>(size - 8, 0x7FFFFFFF));
        size_t have = 0;
        body.resize(qsizetype(std::min<size_t>(want, 1u << 16)));
        while (have < want) {
            if (have == size_t(body.size()))
                body.resize(qsizetype(std::min<size_t>(want, size_t(body.size()) * 2)));
            zs.next_out = reinterpret_cast<Bytef*>(body.data() + have);
            zs.avail_out = uInt(size_t(body.size()) - have);
            const int rc = inflate(&zs, Z_NO_FLUSH);
            have = size_t(body.size()) - zs.avail_out;
            if (rc == Z_STREAM_END) break;
            if (rc != Z_OK) {
                if (rc == Z_BUF_ERROR && zs.avail_in == 0)
                    zlibError = QStringLiteral("the zlib stream ends early at byte %1 of the file")
                                    .arg(8 + zs.total_in);
                else
                    zlibError =
                        QStringLiteral("the zlib stream is broken at byte %1 of the file (%2)")
                            .arg(8 + zs.total_in)
                            .arg(QString::fromLatin1(zs.msg ? zs.msg : "error"));
                break;
            }
        }
        inflateEnd(&zs);
        body.truncate(qsizetype(have));
    }

    ReadResult res;
    Reader r(reinterpret_cast<const std::uint8_t*>(body.constData()), size_t(body.size()), 8);
    Header& h = res.movie.header;
    h.compressed = compressed;
    h.version = version;
    h.fileLength = fileLength;
    h.frameSize = readRect(r);
    h.frameRate = std::uint16_t(r.u16());
    h.frameCount = std::uint16_t(r.u16());
    if (r.bad()) {
        if (!zlibError.isEmpty())
            return refuse(zlibError + QStringLiteral(", before the header ends"));
        return refuse(
            QStringLiteral("header cut short: the data ends at byte %1, inside the movie header")
                .arg(8 + body.size()));
    }
    res.ok = true;
    res.warning = readTags(r, res.movie.tags, false, &res.tagCount);
    if (!zlibError.isEmpty() && res.warning.isEmpty() &&
        (res.movie.tags.empty() || !std::holds_alternative<EndTag>(res.movie.tags.back())))
        res.warning = zlibError;
    return res;
}

ReadResult readSwfFile(const QString& path) {
    QFile f(path);
    // Only a regular file: a pipe in its place would block the read until a writer comes.
    if (!QFileInfo(path).isFile()) return refuse(QStringLiteral("%1 is not a regular file").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("cannot open %1: %2").arg(path, f.errorString()));
    // Refuse absurd files before reading them whole.
    if (f.size() > qint64(kMaxFileLength) + (1 << 20) * 16) {
        const QByteArray head = f.read(8);
        ReadResult r = readSwf(head);  // reports the header's own complaint if it has one
        if (!r.ok) return r;
    }
    const QByteArray data = f.read(qint64(kMaxFileLength) + (1 << 20) * 16);
    return readSwf(data);
}

}  // namespace swf
