#pragma once

#include <QByteArray>
#include <QString>

#include "Art.h"

// The program's icon: a conical flask of red liquid on the laboratory's blue tile, drawn once
// on a 256 × 256 canvas and written both as scalable SVG and as PNG in the hicolor sizes.
namespace icon {

art::Art drawing();
QByteArray svg();
QByteArray png(int size);

// Writes DIR/hicolor/scalable/apps/NAME.svg and DIR/hicolor/NxN/apps/NAME.png for every size.
bool writeIconTheme(const QString& dir, const QString& name, QString* error = nullptr);

}  // namespace icon
