#pragma once

#include <QImage>
#include <QString>

// Decodes a JPEG file with libjpeg. On failure returns a null image and says why in *error.
QImage loadJpegFile(const QString& path, QString* error = nullptr);
QImage decodeJpeg(const QByteArray& data, QString* error = nullptr);

// Encodes an image as a baseline JPEG with libjpeg (quality 1..100).
QByteArray encodeJpeg(const QImage& image, int quality = 92);
