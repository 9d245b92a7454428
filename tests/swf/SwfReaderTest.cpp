// The reader refuses what it cannot read with an error that says what failed and where, and
// plays what it can of everything else.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "MovieTestUtil.h"
#include "SwfFixtures.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {

QByteArray header(const char* sig, quint8 version, quint32 length) {
    QByteArray b(sig, 3);
    b.append(char(version));
    for (int i = 0; i < 4; ++i) b.append(char((length >> (8 * i)) & 0xFF));
    return b;
}

QByteArray withFileLength(QByteArray b, quint32 length) {
    for (int i = 0; i < 4; ++i) b[4 + i] = char((length >> (8 * i)) & 0xFF);
    return b;
}

QByteArray withVersion0(QByteArray b) {
    b[3] = 0;
    return b;
}

// A file the reader refuses, the error it gives (what, where) and words the text must hold.
struct Refusal {
    const char* name;
    QByteArray bytes;
    swf::ReadError::Kind kind;
    std::uint64_t offset;
    QStringList words;
};

std::vector<Refusal> refusals() {
    using Kind = swf::ReadError::Kind;
    const QByteArray movie = movietest::countingMovie(2);
    const QByteArray compressed = movietest::countingMovie(2, {}, true);
    QByteArray brokenZlib = header("CWS", 10, 200);
    brokenZlib.append(QByteArray("\x78\x9c\xff\xff\xff\xff\xff\xff\xff\xff", 10));
    return {
        {"another signature",
         QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13),
         Kind::NotSwf,
         0,
         {"not an SWF file: signature \"GIF\" at byte 0"}},
        {"unprintable signature",
         QByteArray("\x01Z\xffS\x01\x00\x00\x00", 8),
         Kind::NotSwf,
         0,
         {"signature \"\\x01Z\\xff\" at byte 0"}},
        {"LZMA",
         header("ZWS", 13, 100) + QByteArray(40, '\0'),
         Kind::LzmaCompressed,
         0,
         {"ZWS", "byte 0"}},
        {"no signature", movie.left(2), Kind::SignatureCutShort, 0, {"cut short", "2 bytes"}},
        {"no file header", movie.left(5), Kind::FileHeaderCutShort, 5, {"cut short", "byte 5"}},
        {"no movie header",
         movie.left(9),
         Kind::MovieHeaderCutShort,
         9,
         {"cut short", "byte 9", "movie header"}},
        {"version 0", withVersion0(movie), Kind::VersionZero, 3, {"version 0", "byte 3"}},
        {"FileLength below 8",
         withFileLength(movie, 7),
         Kind::FileLengthBelowHeader,
         4,
         {"FileLength 7 at byte 4"}},
        {"FileLength over the limit",
         withFileLength(compressed, swf::kMaxFileLength + 1u),
         Kind::FileLengthOverLimit,
         4,
         {"over the 8 MiB limit", "byte 4"}},
        {"broken zlib stream",
         brokenZlib,
         Kind::ZlibBroken,
         11,
         {"zlib stream is broken at byte 11", "before the header ends"}},
        {"zlib stream cut in the header",
         compressed.left(9),
         Kind::ZlibEndsEarly,
         9,
         {"zlib stream ends early at byte 9", "before the header ends"}},
    };
}

TEST(SwfReader, RefusesWhatItCannotReadSayingWhatAndWhere) {
    for (const Refusal& c : refusals()) {
        SCOPED_TRACE(c.name);
        const auto r = swf::readSwf(c.bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error.kind, c.kind);
        EXPECT_EQ(r.error.offset, c.offset);
        const QString text = swf::describe(r.error);
        for (const QString& w : c.words) EXPECT_TRUE(text.contains(w)) << qPrintable(text);
    }
}

TEST(SwfReader, RefusesAFileShorterThanItsHeader) {
    for (int n : {0, 2, 5, 8, 9, 12}) {
        const auto r = swf::readSwf(movietest::countingMovie(2).left(n));
        EXPECT_FALSE(r.ok) << n;
        const QString text = swf::describe(r.error);
        EXPECT_TRUE(text.contains(QLatin1String("cut short"))) << qPrintable(text);
        EXPECT_TRUE(text.contains(QLatin1String("byte"))) << qPrintable(text);
    }
}

TEST(SwfReader, RefusesAFileTooLargeToBeAMovieWithoutReadingIt) {
    QTemporaryDir dir;
    for (const bool compressed : {true, false}) {
        SCOPED_TRACE(compressed ? "CWS" : "FWS");
        const QString path = dir.filePath(compressed ? "big-cws.swf" : "big-fws.swf");
        ASSERT_TRUE(movietest::writeFile(path, movietest::countingMovie(2, {}, compressed)));
        ASSERT_TRUE(QFile::resize(path, swf::kMaxFileSize + 1));  // sparse: no disk used
        const auto r = swf::readSwfFile(path);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error.kind, swf::ReadError::Kind::TooLarge);
        const QString text = swf::describe(r.error);
        EXPECT_TRUE(text.contains(QLatin1String("too large"))) << qPrintable(text);
        EXPECT_FALSE(text.contains(QLatin1String("zlib"))) << qPrintable(text);
    }
    // What is no movie at all says so first, however large.
    const QString other = dir.filePath("big.bin");
    ASSERT_TRUE(movietest::writeFile(other, QByteArray("GIF89a\x01\x00", 8)));
    ASSERT_TRUE(QFile::resize(other, swf::kMaxFileSize + 1));
    EXPECT_EQ(swf::readSwfFile(other).error.kind, swf::ReadError::Kind::NotSwf);
}

TEST(SwfReader, RefusesWhatIsNoRegularFile) {
    QTemporaryDir dir;
    const auto folder = swf::readSwfFile(dir.path());
    EXPECT_EQ(folder.error.kind, swf::ReadError::Kind::NotRegularFile);
    EXPECT_TRUE(swf::describe(folder.error).contains(dir.path()));
    EXPECT_EQ(swf::readSwfFile(dir.filePath("missing.swf")).error.kind,
              swf::ReadError::Kind::NotRegularFile);
}

TEST(SwfReader, ToleratesAStreamThatRunsOnOrEndsEarly) {
    QByteArray b = movietest::countingMovie(3, {}, true);
    const auto full = swf::readSwf(b);
    ASSERT_TRUE(full.ok);
    const auto longer = swf::readSwf(b + QByteArray(100, 'x'));
    EXPECT_TRUE(longer.ok);
    EXPECT_TRUE(longer.movie.tags == full.movie.tags);
    // FileLength larger than the data: what there is plays.
    QByteArray claimed = b;
    claimed[5] = char(claimed[5] + 1);
    const auto more = swf::readSwf(claimed);
    EXPECT_TRUE(more.ok);
    EXPECT_TRUE(more.movie.tags == full.movie.tags);
}

TEST(SwfReader, SkipsUnknownTagsAndReadsFrameRateZeroAs12) {
    swf::Movie m = movietest::read(movietest::countingMovie(2));
    m.tags.insert(m.tags.begin(), swf::UnknownTag{77, QByteArray(200, 'm')});
    m.tags.insert(m.tags.begin() + 3, swf::UnknownTag{1023, QByteArray(3, 'z')});
    m.header.frameRate = 0;
    const auto r = swf::readSwf(swf::writeMovie(m));
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.warning.isEmpty());
    EXPECT_DOUBLE_EQ(r.movie.header.framesPerSecond(), 12.0);
    swf::Timeline tl(r.movie, true, false);
    EXPECT_EQ(tl.framesPresent(), 2);
    EXPECT_EQ(tl.root().displayList().size(), 1u);
}

TEST(SwfReader, AMalformedTagEndsTheStreamAndTheFramesBeforeItPlay) {
    swf::Movie m = movietest::read(movietest::countingMovie(3));
    // A DefineShape whose records run past its length, after the first ShowFrame.
    size_t firstShow = 0;
    while (!std::holds_alternative<swf::ShowFrameTag>(m.tags[firstShow])) ++firstShow;
    m.tags.insert(m.tags.begin() + long(firstShow) + 1,
                  swf::UnknownTag{32, QByteArray("\x05\x00\x00\x00", 4)});
    const auto r = swf::readSwf(swf::writeMovie(m));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.warning.tag, swf::TagCode::DefineShape3);
    const QString text = swf::describe(r.warning);
    EXPECT_TRUE(text.startsWith(QStringLiteral("DefineShape3 at byte %1: ").arg(r.warning.offset)))
        << qPrintable(text);
    swf::Timeline tl(r.movie, true, true);
    EXPECT_EQ(tl.framesPresent(), 1);
    EXPECT_EQ(tl.root().displayList().size(), 1u);
}

// Every prefix of a valid movie is refused with an error or plays the frames before the cut.
void cutEverywhere(const QByteArray& bytes) {
    const auto whole = swf::readSwf(bytes);
    ASSERT_TRUE(whole.ok);
    for (qsizetype n = 0; n <= bytes.size(); ++n) {
        const QByteArray cut = bytes.left(n);
        swf::ReadResult r = swf::readSwf(cut);
        if (!r.ok) {
            EXPECT_FALSE(r.error.isEmpty()) << n;
            EXPECT_FALSE(swf::describe(r.error).isEmpty()) << n;
            continue;
        }
        int shown = 0;
        for (const auto& t : r.movie.tags) shown += std::holds_alternative<swf::ShowFrameTag>(t);
        swf::Timeline tl(std::move(r.movie), true, true);
        EXPECT_EQ(tl.framesPresent(), std::max(1, shown)) << n;
        for (int i = 0; i < 8; ++i) tl.tick();
        EXPECT_LT(tl.frameNum(), tl.framesPresent());
    }
}

TEST(SwfReader, AMovieCutAtEveryByteIsRefusedOrPlaysTheFramesBeforeTheCut) {
    cutEverywhere(swf::writeMovie(fixtures::builderMovie(false)));
}

TEST(SwfReader, ACompressedMovieCutAtEveryByteIsRefusedOrPlaysTheFramesBeforeTheCut) {
    cutEverywhere(swf::writeMovie(fixtures::builderMovie(true)));
}

TEST(SwfReader, ReadsTheConformanceMoviesWithoutWarnings) {
    for (const char* name :
         {"simple_shapes-heavy_tesselation", "simple_shapes-layers", "gradient_issue_9892"}) {
        const auto r =
            swf::readSwfFile(QStringLiteral(LAB_TEST_DATA_DIR "/swf-conformance/%1/test.swf")
                                 .arg(QLatin1String(name)));
        ASSERT_TRUE(r.ok) << name << ": " << qPrintable(swf::describe(r.error));
        EXPECT_TRUE(r.warning.isEmpty()) << name << ": " << qPrintable(swf::describe(r.warning));
        ASSERT_FALSE(r.movie.tags.empty());
        EXPECT_TRUE(std::holds_alternative<swf::EndTag>(r.movie.tags.back())) << name;
    }
}

TEST(SwfReader, ReadsTheExtendedFillStyleCountOfTheHeavyShape) {
    const auto r = swf::readSwfFile(QStringLiteral(
        LAB_TEST_DATA_DIR "/swf-conformance/simple_shapes-heavy_tesselation/test.swf"));
    ASSERT_TRUE(r.ok);
    const swf::Shape* shape = nullptr;
    for (const auto& t : r.movie.tags)
        if (const auto* s = std::get_if<swf::DefineShapeTag>(&t)) shape = s->shape.get();
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->version, 2);
    EXPECT_GT(shape->styles[0].fills.size(), 10000u);  // beyond 255: the 0xFF + UI16 count
    size_t edges = 0;
    for (const auto& rec : shape->records) edges += rec.type != swf::ShapeRecord::StyleChange;
    EXPECT_EQ(edges, 43098u + 13507u);
}

}  // namespace
