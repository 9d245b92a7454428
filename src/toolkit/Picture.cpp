#include "toolkit/Picture.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

#include "toolkit/Accessibility.h"
#include "toolkit/Jpeg.h"

Picture::Picture(QWidget* parent) : QWidget(parent) {
    labAccessibility::install();
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

bool Picture::loadFromFile(const QString& path, QString* error) {
    QImage loaded = loadJpegFile(path, error);
    if (loaded.isNull()) return false;
    setImage(loaded);
    doubleSizeFile_ = doubleSizePath(path);
    return true;
}

void Picture::setImage(const QImage& image) {
    image_ = image;
    drawing_ = nullptr;
    doubleSizeFile_.clear();
    doubleSize_ = QImage();
    doubleSizeTried_ = false;
    update();
}

void Picture::setDrawing(QSize size, Drawing drawing) {
    QImage plain(size, QImage::Format_ARGB32_Premultiplied);
    plain.fill(Qt::transparent);
    {
        QPainter p(&plain);
        drawing(p);
    }
    // An opaque drawing is kept as an opaque image, as a loaded picture would be.
    bool opaque = true;
    for (int y = 0; y < plain.height() && opaque; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(plain.constScanLine(y));
        for (int x = 0; x < plain.width() && opaque; ++x) opaque = qAlpha(line[x]) == 255;
    }
    setImage(opaque ? plain.convertToFormat(QImage::Format_RGB32) : plain);
    drawing_ = std::move(drawing);
}

QString Picture::doubleSizePath(const QString& path) {
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash + 1) return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

QImage Picture::imageForRatio(double ratio) const {
    if (ratio <= 1.0 || doubleSizeFile_.isEmpty()) return image_;
    if (!doubleSizeTried_) {
        doubleSizeTried_ = true;
        // Only an image of exactly twice the size can stand in for the 1x one; anything else
        // (a stale or foreign file) is passed over quietly, as is a file that does not read.
        QImage loaded =
            QFileInfo(doubleSizeFile_).isFile() ? loadJpegFile(doubleSizeFile_) : QImage();
        if (!loaded.isNull() && loaded.size() == image_.size() * 2) {
            loaded.setDevicePixelRatio(2.0);
            doubleSize_ = loaded;
        }
    }
    return doubleSize_.isNull() ? image_ : doubleSize_;
}

void Picture::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter p(this);
    const double ratio = devicePixelRatioF();
    if (drawing_ && ratio != 1.0) {
        // Drawn straight onto the screen's pixels instead of blowing up the 1x rendering.
        p.setClipRect(QRect(QPoint(0, 0), image_.size()), Qt::IntersectClip);
        drawing_(p);
        return;
    }
    const QImage shown = imageForRatio(ratio);
    p.setRenderHint(QPainter::SmoothPixmapTransform, shown.devicePixelRatio() != ratio);
    p.drawImage(QPointF(0, 0), shown);
}

void Picture::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = true;
    const QPoint pos = event->position().toPoint();
    Q_EMIT mouseDown(event->button(), pos.x(), pos.y());
}

void Picture::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Q_EMIT mouseMove(pos.x(), pos.y());
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const bool wasPressed = pressedInside_;
    pressedInside_ = false;
    Q_EMIT mouseUp(event->button(), pos.x(), pos.y());
    if (wasPressed && rect().contains(pos) && event->button() == Qt::LeftButton) Q_EMIT clicked();
}
