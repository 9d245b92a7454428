#pragma once

// The tag layer of the SWF writer: a movie or one tag given as data (SwfTypes.h) to bytes, the
// counterpart of TagReader.h. Tags use the long length form for any length >= 63.

#include <QByteArray>

#include "swf/SwfTypes.h"

namespace swf {

// Serialises a whole movie: header (FileLength computed; frameCount and the rest as given)
// and the tags in order. The End tag is written only if it is in movie.tags. CWS when
// movie.header.compressed.
QByteArray writeMovie(const Movie& movie);
// One tag with its header (short or long form), for tests and the sprite writer.
QByteArray writeTag(const Tag& tag);

}  // namespace swf
