// What the writer writes, the reader reads back identically (the shared fixture table), and
// the writer's builder produces files that follow the format's rules.

#include <gtest/gtest.h>

#include "SwfFixtures.h"
#include "swf/SwfReader.h"
#include "swf/SwfWriter.h"

namespace {

TEST(SwfRoundTrip, EveryFixtureReadsBackIdentically) {
    for (const auto& f : fixtures::table()) {
        SCOPED_TRACE(f.name);
        swf::Movie m = f.make();
        const QByteArray bytes = swf::writeMovie(m);
        ASSERT_GT(bytes.size(), 20);
        EXPECT_EQ(bytes.left(3), m.header.compressed ? QByteArray("CWS") : QByteArray("FWS"));
        swf::ReadResult r = swf::readSwf(bytes);
        ASSERT_TRUE(r.ok) << qPrintable(swf::describe(r.error));
        EXPECT_TRUE(r.warning.isEmpty()) << qPrintable(swf::describe(r.warning));
        m.header.fileLength = r.movie.header.fileLength;
        EXPECT_TRUE(r.movie.header == m.header);
        ASSERT_EQ(r.movie.tags.size(), m.tags.size());
        for (size_t i = 0; i < m.tags.size(); ++i)
            EXPECT_TRUE(r.movie.tags[i] == m.tags[i]) << "tag " << i;
        // Written again, the same bytes.
        EXPECT_EQ(swf::writeMovie(r.movie), bytes);
    }
}

TEST(SwfRoundTrip, FileLengthIsTheUncompressedLength) {
    swf::Movie m = fixtures::builderMovie(true);
    const QByteArray cws = swf::writeMovie(m);
    m.header.compressed = false;
    const QByteArray fws = swf::writeMovie(m);
    const auto len = [](const QByteArray& b) {
        return quint32(quint8(b[4])) | quint32(quint8(b[5])) << 8 | quint32(quint8(b[6])) << 16 |
               quint32(quint8(b[7])) << 24;
    };
    EXPECT_EQ(len(fws), quint32(fws.size()));
    EXPECT_EQ(len(cws), quint32(fws.size()));
    EXPECT_LT(cws.size(), fws.size());
}

TEST(SwfWriter, UsesTheLongTagFormFromLength63) {
    const QByteArray shortTag = swf::writeTag(swf::UnknownTag{77, QByteArray(62, 'a')});
    const QByteArray longTag = swf::writeTag(swf::UnknownTag{77, QByteArray(63, 'a')});
    EXPECT_EQ(shortTag.size(), 2 + 62);
    EXPECT_EQ(quint8(shortTag[0]) & 0x3F, 62);
    EXPECT_EQ(longTag.size(), 6 + 63);
    EXPECT_EQ(quint8(longTag[0]) & 0x3F, 0x3F);
    EXPECT_EQ(quint8(longTag[2]), 63);
}

TEST(SwfWriter, BuilderCountsFramesAndEndsWithEnd) {
    const swf::Movie m = fixtures::builderMovie(false);
    EXPECT_EQ(m.header.frameCount, 3);
    EXPECT_EQ(m.header.frameSize.xmax, 705 * 20);
    EXPECT_EQ(m.header.frameSize.ymax, 350 * 20);
    EXPECT_EQ(m.header.frameRate, 24 << 8);
    ASSERT_FALSE(m.tags.empty());
    EXPECT_TRUE(std::holds_alternative<swf::EndTag>(m.tags.back()));
}

TEST(SwfWriter, ClosesContoursExactlyAndSplitsLongEdges) {
    swf::ShapeSpec d;
    d.fills.push_back(swf::FillStyle::solid({1, 2, 3, 255}));
    d.paths.push_back(
        swf::SubPath::polygon({{0.4, 0.4}, {100000.6, 0.2}, {50000.3, 90000.7}}, 1, 0));
    d.paths.push_back(swf::SubPath::ellipse(1000.3, 1000.3, 700.7, 300.2, 1, 0));
    const swf::Shape s = swf::buildShape(d, 1);
    std::int64_t x = 0, y = 0, sx = 0, sy = 0;
    int contours = 0;
    for (const auto& r : s.records) {
        if (r.type == swf::ShapeRecord::StyleChange && r.hasMove) {
            if (contours++) {
                EXPECT_EQ(x, sx);
                EXPECT_EQ(y, sy);
            }
            x = sx = r.moveX;
            y = sy = r.moveY;
        } else if (r.type == swf::ShapeRecord::StraightEdge) {
            EXPECT_LE(std::abs(r.dx), 65535);
            EXPECT_LE(std::abs(r.dy), 65535);
            x += r.dx;
            y += r.dy;
        } else if (r.type == swf::ShapeRecord::CurvedEdge) {
            x += r.dx + r.ax;
            y += r.dy + r.ay;
        }
    }
    EXPECT_EQ(contours, 2);
    EXPECT_EQ(x, sx);
    EXPECT_EQ(y, sy);
    EXPECT_EQ(s.bounds.xmax, 100001);
}

}  // namespace

namespace {
TEST(SwfWriter, ColourTransformHelpersFlagTheirTerms) {
    EXPECT_TRUE(swf::CxForm::alpha(0.5).hasMult);
    EXPECT_EQ(swf::CxForm::alpha(0.5).mult[3], 128);
    EXPECT_FALSE(swf::CxForm::alpha(1.0).hasMult);
    EXPECT_TRUE(swf::CxForm::multiply(0.5, 1, 1, 1).hasMult);
    EXPECT_FALSE(swf::CxForm::alpha(0.5).isIdentity());
}
}  // namespace
