// swfrender FILE.swf [--frame N] [--out OUT.png] [--size WxH]
//
// Prints the movie's header facts, one per line (version, stage, rate, frames, tags), and with
// --out renders frame N (0-based; default: the last frame) to a PNG at the stage size or the
// given size. A refused file gives one error line and exit status 1.

#include <QCommandLineParser>
#include <QImage>
#include <QStringList>
#include <cstdio>

#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace {
int usage() {
    std::fprintf(stderr, "usage: swfrender FILE.swf [--frame N] [--out OUT.png] [--size WxH]\n");
    return 2;
}

// "WxH" with both sides from 1 to 16384 pixels; an empty size otherwise.
QSize parseSize(const QString& text) {
    const QStringList wh = text.split(QLatin1Char('x'));
    if (wh.size() != 2) return QSize();
    const QSize size(wh[0].toInt(), wh[1].toInt());
    if (size.width() <= 0 || size.height() <= 0 || size.width() > 16384 || size.height() > 16384)
        return QSize();
    return size;
}
}  // namespace

int main(int argc, char** argv) {
    // No application object: reading, drawing into an image and writing a PNG need none.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const QCommandLineOption frameOption(
        QStringLiteral("frame"), QStringLiteral("Frame to render, from 0 (default: the last)."),
        QStringLiteral("N"));
    const QCommandLineOption outOption(QStringLiteral("out"),
                                       QStringLiteral("Render the frame to this PNG file."),
                                       QStringLiteral("OUT.png"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Image size (default: the stage size)."),
                                        QStringLiteral("WxH"));
    parser.addOptions({frameOption, outOption, sizeOption});
    parser.addPositionalArgument(QStringLiteral("FILE.swf"), QStringLiteral("The movie."));
    if (!parser.parse(args) || parser.positionalArguments().size() != 1) return usage();
    const QString file = parser.positionalArguments().constFirst();
    const QString out = parser.value(outOption);
    int frame = -1;
    if (parser.isSet(frameOption)) {
        bool ok = false;
        frame = parser.value(frameOption).toInt(&ok);
        if (!ok || frame < 0) return usage();
    }
    QSize size;
    if (parser.isSet(sizeOption)) {
        size = parseSize(parser.value(sizeOption));
        if (size.isEmpty()) return usage();
    }

    swf::ReadResult r = swf::readSwfFile(file);
    if (!r.ok) {
        std::fprintf(stderr, "swfrender: %s: %s\n", qPrintable(file),
                     qPrintable(swf::describe(r.error)));
        return 1;
    }
    const swf::Header h = r.movie.header;
    const int tags = r.tagCount;
    const QString warning = swf::describe(r.warning);
    std::printf("version: %d\n", h.version);
    std::printf("stage: %dx%d\n", swf::stageSizePx(h).width(), swf::stageSizePx(h).height());
    std::printf("rate: %g\n", h.framesPerSecond());
    std::printf("frames: %d\n", h.frameCount);
    std::printf("tags: %d\n", tags);
    if (!warning.isEmpty()) std::fprintf(stderr, "swfrender: warning: %s\n", qPrintable(warning));
    if (out.isEmpty()) return 0;

    swf::Timeline tl(std::move(r.movie), true, false);
    const int last = tl.framesPresent() - 1;
    const int target = frame < 0 ? last : std::min(frame, last);
    for (int i = 0; i < 100000 && tl.frameNum() < target && tl.root().playing(); ++i) tl.tick();
    if (tl.frameNum() != target) tl.gotoFrame(target);
    const QImage img = swf::renderFrame(tl, size);
    if (!img.convertToFormat(QImage::Format_RGB32).save(out, "PNG")) {
        std::fprintf(stderr, "swfrender: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
