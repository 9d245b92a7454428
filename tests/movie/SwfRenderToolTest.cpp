// tools/swfrender: header facts one per line, the frame as a PNG of the stage size or the
// given size, one error line and status 1 for a refused file.

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "MovieTestUtil.h"

namespace {

struct ToolRun {
    int status = -1;
    QString out, err;
};

ToolRun swfrender(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(SWFRENDER_PATH), args);
    p.waitForFinished(60000);
    return ToolRun{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                   QString::fromUtf8(p.readAllStandardOutput()),
                   QString::fromUtf8(p.readAllStandardError())};
}

QByteArray twoColourMovie() {
    // Frame 0: red square at the left; frame 1: it moves to the right half.
    swf::SwfWriter w(40, 20, 12);
    w.setBackground({0, 0, 255, 255});
    const auto id = w.defineShape(movietest::square({255, 0, 0, 255}, 20));
    w.placeObject(1, id);
    w.showFrame();
    w.moveObject(1, swf::Matrix::translate(swf::px(20), 0));
    w.showFrame();
    return w.finish();
}

TEST(SwfRenderTool, PrintsTheHeaderFactsAndRendersTheLastFrameByDefault) {
    QTemporaryDir dir;
    const QString in = dir.filePath("m.swf"), out = dir.filePath("m.png");
    ASSERT_TRUE(movietest::writeFile(in, twoColourMovie()));
    const ToolRun r = swfrender({in, QStringLiteral("--out"), out});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains(QLatin1String("version: 10\n"))) << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains(QLatin1String("stage: 40x20\n"))) << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains(QLatin1String("rate: 12\n"))) << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains(QLatin1String("frames: 2\n"))) << qPrintable(r.out);
    EXPECT_TRUE(r.out.contains(QLatin1String("tags: "))) << qPrintable(r.out);
    const QImage img(out);
    ASSERT_EQ(img.size(), QSize(40, 20));
    EXPECT_EQ(QColor(img.pixel(30, 10)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(10, 10)), QColor(0, 0, 255));
}

TEST(SwfRenderTool, RendersAChosenFrameAtAChosenSize) {
    QTemporaryDir dir;
    const QString in = dir.filePath("m.swf"), out = dir.filePath("m.png");
    ASSERT_TRUE(movietest::writeFile(in, twoColourMovie()));
    const ToolRun r =
        swfrender({in, QStringLiteral("--frame"), QStringLiteral("0"), QStringLiteral("--out"), out,
                   QStringLiteral("--size"), QStringLiteral("80x40")});
    EXPECT_EQ(r.status, 0) << qPrintable(r.err);
    const QImage img(out);
    ASSERT_EQ(img.size(), QSize(80, 40));
    EXPECT_EQ(QColor(img.pixel(20, 20)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(60, 20)), QColor(0, 0, 255));
}

TEST(SwfRenderTool, ARefusedFileGivesOneErrorLineAndStatus1) {
    QTemporaryDir dir;
    const QString in = dir.filePath("bad.swf");
    ASSERT_TRUE(movietest::writeFile(in, QByteArray("ZWS\x0d\x10\x00\x00\x00", 8)));
    const ToolRun r = swfrender({in, QStringLiteral("--out"), dir.filePath("x.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.trimmed().count(QLatin1Char('\n')), 0) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QLatin1String("ZWS"))) << qPrintable(r.err);
}

}  // namespace
