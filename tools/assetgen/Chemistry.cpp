#include "Chemistry.h"

#include <cmath>

namespace chemistry {
namespace {
constexpr double molarity[variantCount] = {0.1, 0.05, 0.1, 0.05, 0.2, 0.2};
// Tube 4 times; the other tubes scale with the thiosulfate share, 5 / (k + 1). Variants with
// the same solutions take the same time, and a stronger thiosulfate or acid is never slower.
constexpr double tube4Seconds[variantCount] = {16, 21, 16, 21, 13, 12};

QByteArray trimZeros(QByteArray text) {
    if (text.contains('.')) {
        while (text.endsWith('0')) text.chop(1);
        if (text.endsWith('.')) text.chop(1);
    }
    if (text == "-0") text = "0";
    return text;
}
}  // namespace

int thiosulfateMl(int tube) {
    return tube + 1;
}
int waterMl(int tube) {
    return 4 - tube;
}

double tubeConcentration(int variant, int tube) {
    return molarity[variant - 1] * (tube + 1) / 10.0;
}

double tubeSeconds(int variant, int tube) {
    return tube4Seconds[variant - 1] * 5.0 / (tube + 1);
}

double heatedSeconds(int variant, int step) {
    return tubeSeconds(variant, 1) / double(1 << step);
}

int secondsToFrames(double seconds) {
    // A hair below the half is still a half: 6.875 s is 82.5 frames and rounds up.
    return int(std::floor(seconds * framesPerSecond + 0.5 + 1e-9));
}

QByteArray formatNumber(double value, int decimals) {
    return trimZeros(QByteArray::number(value, 'f', decimals));
}

QByteArray formatSignificant(double value, int digits) {
    if (value == 0) return "0";
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, digits - 1 - magnitude);
    return trimZeros(QByteArray::number(value, 'f', decimals));
}

QByteArray dannieTxt() {
    QByteArray out;
    for (int v = 1; v <= variantCount; ++v) {
        for (int k = 1; k <= tubeCount; ++k) {
            const double t = tubeSeconds(v, k);
            out += formatNumber(t, 2) + ' ' + formatSignificant(1.0 / t, 4) + ' ' +
                   formatNumber(tubeConcentration(v, k), 4) + '\n';
        }
        out += '\n';
    }
    for (int v = 1; v <= variantCount; ++v) {
        for (int step = 0; step < 3; ++step) {
            const double t = heatedSeconds(v, step);
            out += QByteArray::number(temperatures[step]) + ' ' + formatNumber(t, 3) + ' ' +
                   formatSignificant(1.0 / t, 4) + ' ' + (step == 0 ? "0" : "2") + '\n';
        }
        out += '\n';
    }
    return out;
}

}  // namespace chemistry
