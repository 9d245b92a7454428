#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// A picture control: draws an image at its top-left corner, reports mouse
// presses, moves (also without a pressed button) and releases with X, Y relative to itself.
// Without an image it is a transparent, mouse-sensitive spot.
//
// On a scaled screen (device pixel ratio above 1) a picture loaded from "Name.jpg" is drawn
// from "Name@2x.jpg" beside it when that file exists and reads, so backgrounds stay as sharp as
// the text on them; otherwise from the 1x file. A drawn picture (setDrawing) is painted by its
// function at the screen's own resolution.
class Picture : public QWidget {
    Q_OBJECT
public:
    using Drawing = std::function<void(QPainter&)>;

    explicit Picture(QWidget* parent = nullptr);

    // Loads a JPEG file; returns false (keeping the old picture) and sets *error on failure.
    // The @2x file is read when first needed; a missing or unreadable one is no error.
    bool loadFromFile(const QString& path, QString* error = nullptr);
    void setImage(const QImage& image);
    // A picture drawn by code in logical pixels on an area of the given size; image() holds
    // its 1x rendering.
    void setDrawing(QSize size, Drawing drawing);
    const QImage& image() const { return image_; }
    // The @2x file's path when the picture came from a file (empty otherwise).
    static QString doubleSizePath(const QString& path);
    // The image drawn at the given device pixel ratio: the @2x image when the ratio is above 1
    // and it exists, else the 1x image.
    QImage imageForRatio(double ratio) const;

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(Qt::MouseButton button, int x, int y);
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    Drawing drawing_;
    QString doubleSizeFile_;     // read on first use at a ratio above 1
    mutable QImage doubleSize_;  // null until read, or when unreadable
    mutable bool doubleSizeTried_ = false;
    bool pressedInside_ = false;
};
