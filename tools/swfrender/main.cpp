// swfrender FILE.swf [--frame N] [--out OUT.png] [--size WxH]
//
// Prints the movie's header facts, one per line (version, stage, rate, frames, tags), and with
// --out renders frame N (0-based; default: the last frame) to a PNG at the stage size or the
// given size. A refused file gives one error line and exit status 1.

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
}  // namespace

int main(int argc, char** argv) {
    // No application object: reading, drawing into an image and writing a PNG need none.
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QString file, out;
    int frame = -1;
    QSize size;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--frame") && i + 1 < args.size()) {
            bool ok = false;
            frame = args[++i].toInt(&ok);
            if (!ok || frame < 0) return usage();
        } else if (a == QLatin1String("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else if (a == QLatin1String("--size") && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(QLatin1Char('x'));
            if (wh.size() != 2) return usage();
            size = QSize(wh[0].toInt(), wh[1].toInt());
            if (size.width() <= 0 || size.height() <= 0 || size.width() > 16384 ||
                size.height() > 16384)
                return usage();
        } else if (a.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return usage();
        } else {
            file = a;
        }
    }
    if (file.isEmpty()) return usage();

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
