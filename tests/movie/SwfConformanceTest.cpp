// Renders every case of the SWF conformance folder (tests/data/swf-conformance) with the
// project's own reader, timeline and renderer and compares it with the reference image by the
// folder's metric.
// A failing case leaves its rendering and a difference image (red = mismatch) in
// swf-conformance-out/ of the test's working folder.

#include <gtest/gtest.h>

#include <QDir>

#include "ConformanceCompare.h"
#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {

QImage renderCase(const ConformanceCase& c, QString* error) {
    swf::ReadResult r = swf::readSwfFile(c.dir + QStringLiteral("/test.swf"));
    if (!r.ok) {
        *error = swf::describe(r.error);
        return {};
    }
    swf::Timeline tl(std::move(r.movie), true, false);
    for (int i = 1; i < c.frames; ++i) tl.tick();
    return swf::renderFrame(tl);
}

class SwfConformance : public ::testing::TestWithParam<QString> {};

TEST(SwfConformanceFolder, HoldsTheCases) {
    const auto cases = conformanceCases();
    EXPECT_GE(cases.size(), 14) << "no conformance cases in " << qPrintable(conformanceDir());
}

TEST_P(SwfConformance, RendersLikeTheReference) {
    ConformanceCase c;
    for (const auto& k : conformanceCases())
        if (k.name == GetParam()) c = k;
    ASSERT_FALSE(c.name.isEmpty());
    QString error;
    const QImage img = renderCase(c, &error);
    ASSERT_FALSE(img.isNull()) << qPrintable(error);
    const QImage expected(c.dir + QStringLiteral("/expected.png"));
    ASSERT_FALSE(expected.isNull());
    const Match m = compareToReference(img, expected, c.background);
    ASSERT_TRUE(m.sameSize) << "rendered " << img.width() << "x" << img.height() << ", expected "
                            << expected.width() << "x" << expected.height();
    const bool pass = m.match >= c.minMatch && (c.minFgMatch < 0 || m.fgMatch >= c.minFgMatch);
    std::printf("%s: match %.2f%% (min %.0f), foreground %.2f%%%s\n", qPrintable(c.name), m.match,
                c.minMatch, m.fgMatch,
                c.minFgMatch >= 0 ? qPrintable(QStringLiteral(" (min %1)").arg(c.minFgMatch)) : "");
    if (!pass) {
        QDir().mkpath(QStringLiteral("swf-conformance-out"));
        img.save(QStringLiteral("swf-conformance-out/%1.png").arg(c.name));
        m.diff.save(QStringLiteral("swf-conformance-out/%1-diff.png").arg(c.name));
    }
    if (c.stretch) {
        if (!pass) {
            GTEST_SKIP() << "stretch case (not required): match " << m.match;
        }
        return;
    }
    EXPECT_GE(m.match, c.minMatch) << qPrintable(c.name);
    if (c.minFgMatch >= 0) {
        EXPECT_GE(m.fgMatch, c.minFgMatch) << qPrintable(c.name);
    }
}

std::vector<QString> caseNames() {
    std::vector<QString> v;
    for (const auto& c : conformanceCases()) v.push_back(c.name);
    return v;
}

INSTANTIATE_TEST_SUITE_P(Cases, SwfConformance, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<QString>& info) {
                             QString n = info.param;
                             n.replace(QLatin1Char('-'), QLatin1Char('_'));
                             return n.toStdString();
                         });

}  // namespace
