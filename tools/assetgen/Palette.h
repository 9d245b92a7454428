#pragma once

#include <QColor>

// One palette for every picture and movie, so the laboratory looks like one book; the
// contrast of each text colour on the grounds we use is in docs/art-direction.md.
namespace palette {
inline const QColor stage{0xF4, 0xF7, 0xFB};   // movie background
inline const QColor ink{0x1F, 0x2D, 0x3D};     // body text
inline const QColor muted{0x52, 0x60, 0x6F};   // secondary text
inline const QColor accent{0x1F, 0x5F, 0xA8};  // headings
inline const QColor action{0xA8, 0x4A, 0x0C};  // what the student should do now
inline const QColor good{0x2A, 0x6E, 0x2E};    // right answers, conclusions
inline const QColor bad{0xB7, 0x1C, 0x1C};     // wrong answers
inline const QColor panel{0xFF, 0xFF, 0xFF};
inline const QColor panelLine{0xC5, 0xD3, 0xE2};
inline const QColor box{0xFF, 0xFF, 0xFF};  // blank boxes under the window's controls
inline const QColor boxLine{0x8F, 0xA6, 0xBF};
inline const QColor glassLine{0x4E, 0x66, 0x7C};
inline const QColor glassFill{0xDD, 0xEB, 0xF5, 0x70};
inline const QColor clearLiquid{0xB9, 0xDD, 0xF3, 0xA0};
inline const QColor sulfur{0xF3, 0xEE, 0xD8};  // milky, as colloidal sulfur scatters light
inline const QColor thiocyanate{0xB0, 0x1E, 0x2A, 0xE0};
inline const QColor ironChloride{0xE8, 0xB4, 0x4A, 0xC0};
inline const QColor manganese{0x3A, 0x2C, 0x26};
inline const QColor water{0x9F, 0xCF, 0xEF, 0xB0};
inline const QColor acid{0xF7, 0xD8, 0xE2};  // the stock sulfuric acid: a faint pink
inline const QColor table{0xD9, 0xC7, 0xA8};
inline const QColor linkBand{0xDC, 0xE6, 0xF0};  // the link band of the experiment windows
}  // namespace palette
