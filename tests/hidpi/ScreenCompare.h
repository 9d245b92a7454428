#pragma once

// Screenshots of a scaled screen against the movie renderer's own drawing.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <cstdlib>

#include "movie/Renderer.h"
#include "swf/SwfReader.h"
#include "swf/Timeline.h"

namespace screentest {

// The scale the test runs at, as the environment gives it to Qt (1 without one).
inline double scale();

// The renderer's drawing of a movie after `ticks` player ticks (a timeline of its own, stepped
// from the start as the player steps it) at the given device size.
inline QImage rendererFrame(const QString& path, int ticks, QSize size) {
    swf::ReadResult r = swf::readSwfFile(path);
    if (!r.ok) return {};
    swf::Timeline tl(std::move(r.movie), true, true);
    for (int i = 0; i < ticks; ++i) tl.tick();
    return swf::renderFrame(tl, size).convertToFormat(QImage::Format_RGB32);
}

// Keeps a screenshot for looking at when LAB_SCREENSHOT_DIR names a folder.
inline void keep(const QImage& image, const QString& name) {
    const QString dir = qEnvironmentVariable("LAB_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QString scaleText = QString::number(scale());
    scaleText.replace(QLatin1Char('.'), QLatin1Char('_'));
    image.save(QDir(dir).filePath(QStringLiteral("%1-x%2.png").arg(name, scaleText)));
}

// The scale the test runs at, as the environment gives it to Qt (1 without one).
inline double scale() {
    const QByteArray s = qgetenv("QT_SCALE_FACTOR");
    return s.isEmpty() ? 1.0 : s.toDouble();
}

// What the screen shows of a window, in device pixels. On a display server the screen itself
// is read; the offscreen platform's screen hands back only logical pixels, so there the window
// is drawn the way its backing store draws it, at the device pixel ratio.
inline QImage screenshot(QWidget* window) {
    const double ratio = window->devicePixelRatioF();
    const QSize device(int(std::ceil(window->width() * ratio - 1e-6)),
                       int(std::ceil(window->height() * ratio - 1e-6)));
    QPixmap shot;
    if (QGuiApplication::platformName() != QLatin1String("offscreen") && window->screen())
        shot = window->screen()->grabWindow(window->winId());
    if (shot.width() < device.width() - 1 || shot.height() < device.height() - 1)
        shot = window->grab();
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// The device-pixel rectangle a child widget covers in its window's screenshot.
inline QRect deviceRect(QWidget* child, double ratio) {
    const QPoint at = child->mapTo(child->window(), QPoint(0, 0));
    const int x = int(std::lround(at.x() * ratio)), y = int(std::lround(at.y() * ratio));
    return QRect(x, y, int(std::ceil(child->width() * ratio - 1e-6)),
                 int(std::ceil(child->height() * ratio - 1e-6)));
}

// The share of pixels (0..1) of `a` whose three channels all lie within `tolerance` of the
// pixel at the same place in `b`, over `area` (both images' own coordinates).
inline double sameShare(const QImage& a, const QImage& b, const QRect& area, int tolerance = 10) {
    const QRect r = area.intersected(a.rect()).intersected(b.rect());
    if (r.isEmpty()) return 0;
    qint64 same = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            if (std::abs(qRed(pa[x]) - qRed(pb[x])) <= tolerance &&
                std::abs(qGreen(pa[x]) - qGreen(pb[x])) <= tolerance &&
                std::abs(qBlue(pa[x]) - qBlue(pb[x])) <= tolerance)
                ++same;
        }
    }
    return double(same) / double(qint64(area.width()) * area.height());
}

// Where two renderings of the same movie at different frames agree: the part of the picture
// that does not change while it plays.
inline QImage steadyMask(const QList<QImage>& frames, int tolerance = 2) {
    QImage mask(frames.first().size(), QImage::Format_Grayscale8);
    mask.fill(255);
    for (int y = 0; y < mask.height(); ++y) {
        uchar* m = mask.scanLine(y);
        for (const QImage& f : frames) {
            const QRgb* a = reinterpret_cast<const QRgb*>(frames.first().constScanLine(y));
            const QRgb* b = reinterpret_cast<const QRgb*>(f.constScanLine(y));
            for (int x = 0; x < mask.width(); ++x)
                if (std::abs(qRed(a[x]) - qRed(b[x])) > tolerance ||
                    std::abs(qGreen(a[x]) - qGreen(b[x])) > tolerance ||
                    std::abs(qBlue(a[x]) - qBlue(b[x])) > tolerance)
                    m[x] = 0;
        }
    }
    return mask;
}

// sameShare restricted to the pixels the mask marks (255); `a` is compared from `offset`.
inline double sameShareMasked(const QImage& a, QPoint offset, const QImage& b, const QImage& mask,
                              int tolerance = 10) {
    qint64 same = 0, counted = 0;
    for (int y = 0; y < b.height() && y + offset.y() < a.height(); ++y) {
        const QRgb* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y + offset.y()));
        const QRgb* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        const uchar* m = mask.constScanLine(y);
        for (int x = 0; x < b.width() && x + offset.x() < a.width(); ++x) {
            if (!m[x]) continue;
            ++counted;
            const QRgb ca = pa[x + offset.x()];
            if (std::abs(qRed(ca) - qRed(pb[x])) <= tolerance &&
                std::abs(qGreen(ca) - qGreen(pb[x])) <= tolerance &&
                std::abs(qBlue(ca) - qBlue(pb[x])) <= tolerance)
                ++same;
        }
    }
    return counted ? double(same) / double(counted) : 0;
}

}  // namespace screentest
