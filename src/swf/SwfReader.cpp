#include "swf/SwfReader.h"

#include <zlib.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "swf/TagReader.h"

namespace swf {

namespace {

ReadResult refuse(const ReadError& why) {
    ReadResult r;
    r.error = why;
    return r;
}

ReadError errorAt(ReadError::Kind kind, std::uint64_t offset, std::uint64_t value = 0) {
    ReadError e;
    e.kind = kind;
    e.offset = offset;
    e.value = value;
    return e;
}

// The 8-byte file header: signature, version and FileLength. Empty when they can be read.
ReadError checkFileHeader(const QByteArray& data) {
    using Kind = ReadError::Kind;
    const size_t size = size_t(data.size());
    if (size < 3) return errorAt(Kind::SignatureCutShort, 0, size);
    const QByteArray sig = data.left(3);
    if (sig == "ZWS") return errorAt(Kind::LzmaCompressed, 0);
    if (sig != "FWS" && sig != "CWS") {
        ReadError e = errorAt(Kind::NotSwf, 0);
        e.detail = QString::fromLatin1(sig);
        return e;
    }
    if (size < 8) return errorAt(Kind::FileHeaderCutShort, size);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    if (bytes[3] == 0) return errorAt(Kind::VersionZero, 3);
    const std::uint32_t fileLength = bytes[4] | (std::uint32_t(bytes[5]) << 8) |
                                     (std::uint32_t(bytes[6]) << 16) |
                                     (std::uint32_t(bytes[7]) << 24);
    if (fileLength < 8) return errorAt(Kind::FileLengthBelowHeader, 4, fileLength);
    if (fileLength > kMaxFileLength) return errorAt(Kind::FileLengthOverLimit, 4, fileLength);
    return {};
}

// Inflates the body after the 8-byte header, at most `want` bytes. `broken` says where the
// stream broke, if it did; what was inflated before that is returned.
QByteArray inflateBody(const QByteArray& data, size_t want, ReadError& broken) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const size_t size = size_t(data.size());
    QByteArray body;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        broken.kind = ReadError::Kind::ZlibUnavailable;
        return body;
    }
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
            broken.offset = 8 + zs.total_in;
            if (rc == Z_BUF_ERROR && zs.avail_in == 0) {
                broken.kind = ReadError::Kind::ZlibEndsEarly;
            } else {
                broken.kind = ReadError::Kind::ZlibBroken;
                broken.detail = QString::fromLatin1(zs.msg ? zs.msg : "error");
            }
            break;
        }
    }
    inflateEnd(&zs);
    body.truncate(qsizetype(have));
    return body;
}

}  // namespace

ReadResult readSwf(const QByteArray& data) {
    if (const ReadError e = checkFileHeader(data); !e.isEmpty()) return refuse(e);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const size_t size = size_t(data.size());
    const bool compressed = data.startsWith("CWS");
    const std::uint32_t fileLength = bytes[4] | (std::uint32_t(bytes[5]) << 8) |
                                     (std::uint32_t(bytes[6]) << 16) |
                                     (std::uint32_t(bytes[7]) << 24);
    const size_t want = fileLength - 8;
    ReadError zlibError;  // where the stream broke, if it did
    const QByteArray body = compressed ? inflateBody(data, want, zlibError)
                                       : data.mid(8, qsizetype(std::min(want, size - 8)));
    if (zlibError.kind == ReadError::Kind::ZlibUnavailable) return refuse(zlibError);

    ReadResult res;
    BitReader r(reinterpret_cast<const std::uint8_t*>(body.constData()), size_t(body.size()), 8);
    Header& h = res.movie.header;
    h.compressed = compressed;
    h.version = bytes[3];
    h.fileLength = fileLength;
    h.frameSize = readRect(r);
    h.frameRate = std::uint16_t(r.u16());
    h.frameCount = std::uint16_t(r.u16());
    if (r.bad()) {
        if (!zlibError.isEmpty()) {
            zlibError.beforeHeaderEnds = true;
            return refuse(zlibError);
        }
        return refuse(errorAt(ReadError::Kind::MovieHeaderCutShort, 8 + size_t(body.size())));
    }
    ReadBudget budget;
    res.warning = readTags(r, res.movie.tags, false, budget, &res.tagCount);
    if (res.warning.isOverLimit()) return refuse(res.warning);
    res.ok = true;
    if (!zlibError.isEmpty() && res.warning.isEmpty() &&
        (res.movie.tags.empty() || !std::holds_alternative<EndTag>(res.movie.tags.back())))
        res.warning = zlibError;
    return res;
}

ReadResult readSwfFile(const QString& path) {
    ReadError e;
    e.path = path;
    // Only a regular file: a pipe in its place would block the read until a writer comes.
    if (!QFileInfo(path).isFile()) {
        e.kind = ReadError::Kind::NotRegularFile;
        return refuse(e);
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        e.kind = ReadError::Kind::CannotOpen;
        e.detail = f.errorString();
        return refuse(e);
    }
    // Refuse absurd files before reading them whole; one that is no movie at all says so.
    if (f.size() > kMaxFileSize) {
        if (const ReadError header = checkFileHeader(f.read(8)); !header.isEmpty())
            return refuse(header);
        e.kind = ReadError::Kind::TooLarge;
        e.value = std::uint64_t(f.size());
        e.room = std::uint64_t(kMaxFileSize);
        return refuse(e);
    }
    return readSwf(f.read(kMaxFileSize));
}

}  // namespace swf
