#include "toolkit/Fonts.h"

#include <QStringList>

void installFontSubstitutions() {
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont::insertSubstitutions("Arial Black", {"Liberation Sans", "Arimo", "DejaVu Sans"});
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"});
}

QFont labFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    // "Arial Black" has no counterpart of its own here: the heaviest available weight stands in.
    if (family == QLatin1String("Arial Black")) {
        font.setWeight(QFont::Black);
    } else if (bold) {
        font.setBold(true);
    }
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
