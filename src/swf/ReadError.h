#pragma once

// Why the SWF reader refused a file or ended its tag list early, as data: what failed, in which
// tag and at which byte. describe() gives the one-line text the player and swfrender show.

#include <QString>
#include <cstdint>
#include <optional>

#include "swf/TagCode.h"

namespace swf {

struct ReadError {
    enum class Kind : std::uint8_t {
        None,
        // The file itself (path):
        NotRegularFile,
        CannotOpen,  // detail: the system's reason
        TooLarge,    // value: the file's size; room: the largest size read
        // The file header:
        SignatureCutShort,   // value: the file's size
        LzmaCompressed,      // signature ZWS
        NotSwf,              // detail: the three signature bytes (Latin-1)
        FileHeaderCutShort,  // offset: where the file ends
        VersionZero,
        FileLengthBelowHeader,  // value: the FileLength
        FileLengthOverLimit,    // value: the FileLength
        // The compressed body (offset: the byte of the file where the stream broke):
        ZlibUnavailable,
        ZlibEndsEarly,
        ZlibBroken,  // detail: zlib's reason
        MovieHeaderCutShort,
        // The tags (tag, offset: the tag's first byte):
        TagHeaderCutShort,
        LongTagHeaderCutShort,
        TagPastData,          // value: the tag's length; room: the bytes left
        TagFieldsPastLength,  // value: the tag's length
        BadStyleArray,
        BadNewStyleArray,
        ShapeRecordsPastTag,
        ActionPastTag,  // value: the action code
        // Over a limit of Limits.h (tag, offset: the tag's first byte; value: the limit):
        TooManyTags,
        TooManyPlacementsInFrame,
        TooManyShapeEdges,
        TooManyShapeRecords,
        TooManyStyles,
        TooManyActions,
    };

    Kind kind = Kind::None;
    std::optional<TagCode> tag;
    std::uint64_t offset = 0;  // byte of the uncompressed file
    std::uint64_t value = 0;
    std::uint64_t room = 0;
    bool beforeHeaderEnds = false;  // Zlib*: the stream broke inside the movie header
    QString path;
    QString detail;

    bool isEmpty() const { return kind == Kind::None; }
    // The movie asks for more than the player gives any movie: refused whole.
    bool isOverLimit() const { return kind >= Kind::TooManyTags; }
};

// The error as one line of text (empty for Kind::None).
QString describe(const ReadError& error);

}  // namespace swf
