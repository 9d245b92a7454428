#include "lab/Numbers.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

QString formatGeneral(double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0) return QStringLiteral("0");
    // 15 significant digits as d.dddddddddddddde±x, then laid out as the general format does.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t e = s.find('e');
    int exponent = std::stoi(s.substr(e + 1));
    std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    // Position of the decimal point after the first digit, counted as in 0.d1d2... × 10^k.
    const int k = exponent + 1;
    std::string out;
    if (k > 15 || k < -3) {
        out = digits.substr(0, 1);
        if (digits.size() > 1) out += "," + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (k <= 0) {
        out = "0," + std::string(std::size_t(-k), '0') + digits;
    } else if (std::size_t(k) >= digits.size()) {
        out = digits + std::string(std::size_t(k) - digits.size(), '0');
    } else {
        out = digits.substr(0, std::size_t(k)) + "," + digits.substr(std::size_t(k));
    }
    if (negative) out.insert(0, "-");
    return QString::fromStdString(out);
}

std::optional<double> parseNumber(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?(?:[0-9]+,?[0-9]*|,[0-9]+)(?:[eE][+-]?[0-9]+)?)\\s*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch()) return std::nullopt;
    std::string s = m.captured(1).toStdString();
    for (char& ch : s)
        if (ch == ',') ch = '.';
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
    return value;
}

double roundToFraction(int n, double x) {
    const double i = std::trunc(x);
    const double f = x - i;
    // The product is rounded to double before it is looked at: roundToFraction(10, 0.15) = 0.2.
    volatile double b = f * double(n);
    const double bb = b;
    double d = std::trunc(bb);
    const double c = bb - d;
    if (c >= 0.5) d += 1;
    if (c <= -0.5) d -= 1;
    return double(static_cast<long double>(i) + static_cast<long double>(d) / n);
}
