#pragma once

#include <QByteArray>
#include <QString>

// The numbers behind the experiment movies and the reference data: how long each tube of each
// variant takes, and what goes into it. The movies and Dannie.txt are both written from these,
// so the times the student measures agree with the reference line of the graph.
namespace chemistry {

inline constexpr int variantCount = 6;
inline constexpr int tubeCount = 4;
inline constexpr double framesPerSecond = 12.0;

// Millilitres in tube k (1..4): thiosulfate k + 1, water 4 − k, acid 5.
int thiosulfateMl(int tube);
int waterMl(int tube);
inline constexpr int acidMl = 5;

// Concentration of thiosulfate in tube k after mixing: C · (k + 1) / 10.
double tubeConcentration(int variant, int tube);

// Seconds from the acid going in until the cross can no longer be seen.
double tubeSeconds(int variant, int tube);
// The same time at 25, 35 and 45 °C (step 0, 1, 2): t₁, t₁ / 2, t₁ / 4.
double heatedSeconds(int variant, int step);
inline constexpr int temperatures[3] = {25, 35, 45};

// A time as whole frames of the movies, to the nearest frame.
int secondsToFrames(double seconds);

// The reference data file, 54 lines.
QByteArray dannieTxt();

// A number as Dannie.txt writes it: a full stop, no trailing zeros.
QByteArray formatNumber(double value, int decimals);
QByteArray formatSignificant(double value, int digits);

}  // namespace chemistry
