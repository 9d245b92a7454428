#include "swf/ReadError.h"

#include "swf/Limits.h"

namespace swf {

namespace {

// The signature with anything unprintable as \xNN.
QString shownSignature(const QString& latin1) {
    QString shown;
    for (const QChar c : latin1) {
        const ushort u = c.unicode();
        shown += (u >= 32 && u < 127)
                     ? QString(c)
                     : QStringLiteral("\\x%1").arg(u & 0xFF, 2, 16, QLatin1Char('0'));
    }
    return shown;
}

QString describeTagProblem(const ReadError& e) {
    using Kind = ReadError::Kind;
    switch (e.kind) {
        case Kind::TagFieldsPastLength:
            return QStringLiteral("its fields run past its length %1").arg(e.value);
        case Kind::BadStyleArray:
            return QStringLiteral("bad style array");
        case Kind::BadNewStyleArray:
            return QStringLiteral("bad new style array");
        case Kind::ShapeRecordsPastTag:
            return QStringLiteral("shape records run past the tag");
        case Kind::ActionPastTag:
            return QStringLiteral("action 0x%1 runs past the tag")
                .arg(e.value, 2, 16, QLatin1Char('0'));
        case Kind::TooManyTags:
            return QStringLiteral("the movie has more than %1 tags").arg(e.value);
        case Kind::TooManyPlacementsInFrame:
            return QStringLiteral("more than %1 placements and removals in one frame").arg(e.value);
        case Kind::TooManyShapeEdges:
            return QStringLiteral("the shape has more than %1 edges").arg(e.value);
        case Kind::TooManyShapeRecords:
            return QStringLiteral("the movie's shapes have more than %1 records").arg(e.value);
        case Kind::TooManyStyles:
            return QStringLiteral("the movie's shapes have more than %1 fill and line styles")
                .arg(e.value);
        case Kind::TooManyActions:
            return QStringLiteral("the movie has more than %1 frame actions").arg(e.value);
        default:
            return {};
    }
}

}  // namespace

QString describe(const ReadError& e) {
    using Kind = ReadError::Kind;
    const QString tag = e.tag ? tagName(*e.tag) : QString();
    const QString inHeader =
        e.beforeHeaderEnds ? QStringLiteral(", before the header ends") : QString();
    switch (e.kind) {
        case Kind::None:
            return {};
        case Kind::NotRegularFile:
            return QStringLiteral("%1 is not a regular file").arg(e.path);
        case Kind::CannotOpen:
            return QStringLiteral("cannot open %1: %2").arg(e.path, e.detail);
        case Kind::TooLarge:
            return QStringLiteral("%1 is too large for a movie: %2 bytes, over the limit of %3")
                .arg(e.path)
                .arg(e.value)
                .arg(e.room);
        case Kind::SignatureCutShort:
            return QStringLiteral(
                       "header cut short: the file has %1 bytes, the signature needs 3 (byte %2)")
                .arg(e.value)
                .arg(e.offset);
        case Kind::LzmaCompressed:
            return QStringLiteral(
                       "LZMA-compressed movie (signature ZWS at byte %1) is not supported")
                .arg(e.offset);
        case Kind::NotSwf:
            return QStringLiteral("not an SWF file: signature \"%1\" at byte %2")
                .arg(shownSignature(e.detail))
                .arg(e.offset);
        case Kind::FileHeaderCutShort:
            return QStringLiteral(
                       "header cut short: the file ends at byte %1, before its 8-byte file header")
                .arg(e.offset);
        case Kind::VersionZero:
            return QStringLiteral("SWF version 0 at byte %1").arg(e.offset);
        case Kind::FileLengthBelowHeader:
            return QStringLiteral("FileLength %1 at byte %2 is below 8").arg(e.value).arg(e.offset);
        case Kind::FileLengthOverLimit:
            return QStringLiteral("FileLength %1 at byte %2 is over the %3 MiB limit")
                .arg(e.value)
                .arg(e.offset)
                .arg(kMaxFileLength / (1024 * 1024));
        case Kind::ZlibUnavailable:
            return QStringLiteral("zlib could not start");
        case Kind::ZlibEndsEarly:
            return QStringLiteral("the zlib stream ends early at byte %1 of the file")
                       .arg(e.offset) +
                   inHeader;
        case Kind::ZlibBroken:
            return QStringLiteral("the zlib stream is broken at byte %1 of the file (%2)")
                       .arg(e.offset)
                       .arg(e.detail) +
                   inHeader;
        case Kind::MovieHeaderCutShort:
            return QStringLiteral(
                       "header cut short: the data ends at byte %1, inside the movie header")
                .arg(e.offset);
        case Kind::TagHeaderCutShort:
            return QStringLiteral("tag header at byte %1 cut short").arg(e.offset);
        case Kind::LongTagHeaderCutShort:
            return QStringLiteral("long tag header of %1 at byte %2 cut short")
                .arg(tag)
                .arg(e.offset);
        case Kind::TagPastData:
            return QStringLiteral(
                       "%1 at byte %2: length %3 runs past the end of the data (%4 bytes left)")
                .arg(tag)
                .arg(e.offset)
                .arg(e.value)
                .arg(e.room);
        case Kind::TagFieldsPastLength:
        case Kind::BadStyleArray:
        case Kind::BadNewStyleArray:
        case Kind::ShapeRecordsPastTag:
        case Kind::ActionPastTag:
        case Kind::TooManyTags:
        case Kind::TooManyPlacementsInFrame:
        case Kind::TooManyShapeEdges:
        case Kind::TooManyShapeRecords:
        case Kind::TooManyStyles:
        case Kind::TooManyActions:
            return QStringLiteral("%1 at byte %2: %3")
                .arg(tag)
                .arg(e.offset)
                .arg(describeTagProblem(e));
    }
    return {};
}

}  // namespace swf
