#pragma once

#include <QFont>
#include <QString>

// The windows name fonts that Linux lacks ("Arial", "Arial Black", "MS Sans Serif"); they are
// mapped once to the metric-compatible fonts installed here.
void installFontSubstitutions();

// A font by family and character height in pixels, as the window tables give them.
QFont labFont(const QString& family, int pixelSize, bool bold = false);
