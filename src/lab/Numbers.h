#pragma once

#include <QString>
#include <optional>

// Numbers shown and typed in the windows: general format, at most 15 significant digits, no
// trailing zeros, and always the comma as the decimal separator (the key filters admit only
// the comma, so it must be the separator whatever the system locale).
QString formatGeneral(double value);
// Parses a number written with a decimal comma; blanks around it are allowed.
std::optional<double> parseNumber(const QString& text);
// Rounds x to the nearest multiple of 1/n, a tie going away from zero.
double roundToFraction(int n, double x);
