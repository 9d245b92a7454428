// The reader refuses what it cannot read with an error that says what failed and where, and
// plays what it can of everything else.

#include <gtest/gtest.h>

#include "MovieTestUtil.h"
#include "SwfFixtures.h"
#include "movie/Renderer.h"
#include "movie/SwfReader.h"
#include "movie/Timeline.h"

namespace {

QByteArray header(const char* sig, quint8 version, quint32 length) {
    QByteArray b(sig, 3);
    b.append(char(version));
    for (int i = 0; i < 4; ++i) b.append(char((length >> (8 * i)) & 0xFF));
    return b;
}

TEST(SwfReader, RefusesAnotherSignatureAtByte0) {
    const auto r = swf::readSwf(QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00", 13));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String("signature"))) << qPrintable(r.error);
    EXPECT_TRUE(r.error.contains(QLatin1String("byte 0"))) << qPrintable(r.error);
}

TEST(SwfReader, RefusesLzmaMovies) {
    QByteArray b = header("ZWS", 13, 100);
    b.append(QByteArray(40, '\0'));
    const auto r = swf::readSwf(b);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String("ZWS"))) << qPrintable(r.error);
}

TEST(SwfReader, RefusesAFileShorterThanItsHeader) {
    for (int n : {0, 2, 5, 8, 9, 12}) {
        QByteArray b = movietest::countingMovie(2).left(n);
        const auto r = swf::readSwf(b);
        EXPECT_FALSE(r.ok) << n;
        EXPECT_TRUE(r.error.contains(QLatin1String("cut short"))) << qPrintable(r.error);
        EXPECT_TRUE(r.error.contains(QLatin1String("byte"))) << qPrintable(r.error);
    }
}

TEST(SwfReader, RefusesVersion0) {
    QByteArray b = movietest::countingMovie(2);
    b[3] = 0;
    const auto r = swf::readSwf(b);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String("version 0"))) << qPrintable(r.error);
}

TEST(SwfReader, RefusesFileLengthOver64MiBBeforeAllocating) {
    QByteArray b = movietest::countingMovie(2, {}, true);
    const quint32 big = 64u * 1024u * 1024u + 1u;
    for (int i = 0; i < 4; ++i) b[4 + i] = char((big >> (8 * i)) & 0xFF);
    const auto r = swf::readSwf(b);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String("64 MiB"))) << qPrintable(r.error);
    EXPECT_TRUE(r.error.contains(QLatin1String("byte 4"))) << qPrintable(r.error);
}

TEST(SwfReader, RefusesABrokenZlibStreamBeforeTheHeaderEnds) {
    QByteArray b = header("CWS", 10, 200);
    b.append(QByteArray("\x78\x9c\xff\xff\xff\xff\xff\xff\xff\xff", 10));
    const auto r = swf::readSwf(b);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QLatin1String("zlib"))) << qPrintable(r.error);
    EXPECT_TRUE(r.error.contains(QLatin1String("byte"))) << qPrintable(r.error);
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
    EXPECT_TRUE(r.warning.contains(QLatin1String("DefineShape3"))) << qPrintable(r.warning);
    EXPECT_TRUE(r.warning.contains(QLatin1String("byte"))) << qPrintable(r.warning);
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
            continue;
        }
        int shown = 0;
        for (const auto& t : r.movie.tags) shown += std::holds_alternative<swf::ShowFrameTag>(t);
        swf::Timeline tl(std::move(r.movie), true, true);
        EXPECT_EQ(tl.framesPresent(), std::max(1, shown)) << n;
        for (int i = 0; i < 8; ++i) tl.tick();
        EXPECT_LT(tl.frameNum(), tl.framesPresent());
        (void)swf::renderFrame(tl, QSize(20, 10));
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
        const auto r = swf::readSwfFile(
            QStringLiteral(LAB_TEST_DATA_DIR "/swf-conformance/%1/test.swf").arg(QLatin1String(name)));
        ASSERT_TRUE(r.ok) << name << ": " << qPrintable(r.error);
        EXPECT_TRUE(r.warning.isEmpty()) << name << ": " << qPrintable(r.warning);
        ASSERT_FALSE(r.movie.tags.empty());
        EXPECT_TRUE(std::holds_alternative<swf::EndTag>(r.movie.tags.back())) << name;
    }
}

TEST(SwfReader, ReadsTheExtendedFillStyleCountOfTheHeavyShape) {
    const auto r = swf::readSwfFile(
        QStringLiteral(LAB_TEST_DATA_DIR "/swf-conformance/simple_shapes-heavy_tesselation/test.swf"));
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
