#pragma once

// The SWF reader for the movie subset (library lab_swf; no widgets).
//
// readSwf() refuses a file when its header cannot be read: another signature, ZWS (LZMA),
// version 0, a FileLength below 8 or over kMaxFileLength, a file or zlib stream that ends before
// the header does; and a movie that asks for more than any movie gets (Limits.h: tags, shape
// edges, placements in a frame...). readSwfFile() also refuses what is no regular file, cannot be
// opened or is too large to be a movie. The error says what failed and at which byte
// (ReadError.h).
// After the header every tag is parsed from a reader limited to the tag's length; a tag
// that runs past the data or cannot be parsed ends the tag list (`warning` says which and
// where) and everything before it is kept. Unknown tags are kept as UnknownTag and skipped by
// the player. Inside a sprite only the timeline tags are parsed; the others are kept as
// UnknownTag.

#include <QString>

#include "swf/Limits.h"
#include "swf/ReadError.h"
#include "swf/SwfTypes.h"

namespace swf {

// The largest file read: a compressed body may be somewhat longer than the data it holds.
constexpr qint64 kMaxFileSize = qint64(kMaxFileLength) + 16 * 1024 * 1024;

struct ReadResult {
    bool ok = false;
    ReadError error;  // refused: what failed and where
    Movie movie;
    ReadError warning;  // the tag list ended early: which tag, at which byte, why
    int tagCount = 0;   // top-level tags read, the End tag included
};

ReadResult readSwf(const QByteArray& data);
ReadResult readSwfFile(const QString& path);

}  // namespace swf
