#include "lab/ReferenceData.h"

#include <QFile>
#include <QFileInfo>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "lab/Cp1251.h"

namespace {
constexpr int VariantBlocks = 6;
constexpr int TubeLines = 4;
constexpr int TubeNumbers = 3;
constexpr int AuxiliaryLines = 3;
constexpr int AuxiliaryNumbers = 4;
constexpr std::size_t MaxNumberLength = 64;

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}
bool isGap(char c) {
    return c == ' ' || c == '\t' || isLineEnd(c);
}
bool endsNumber(char c) {
    return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
}

// Optional sign, digits with an optional full stop (at least one digit), optional exponent.
bool isNumberSyntax(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == s.size();
}

// A cursor over the file image that cannot run off its end.
class TextCursor {
public:
    explicit TextCursor(const QByteArray& bytes)
        : data_(bytes.constData(), std::size_t(bytes.size())) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    // Only blanks, tabs and line ends are left (or nothing): trailing empty lines are no data.
    bool onlyGapsLeft() const {
        for (std::size_t i = pos_; i < data_.size(); ++i)
            if (!isGap(data_[i])) return false;
        return true;
    }
    // A number was asked for after the data had ended.
    bool ranOut() const { return ranOut_; }

    // The next number, 0 at the end of the data; nullopt (and the reason) for a malformed one.
    std::optional<double> readNumber(std::optional<ReferenceNumberError>* error) {
        while (!atEnd() && isGap(data_[pos_])) advance();
        if (atEnd()) {
            ranOut_ = true;
            return 0.0;
        }
        const std::size_t start = pos_;
        const int line = line_;
        while (!atEnd() && !endsNumber(data_[pos_]) && pos_ - start < MaxNumberLength) ++pos_;
        std::string_view token = data_.substr(start, pos_ - start);
        const QString text = Cp1251::decode(QByteArray(token.data(), qsizetype(token.size())));
        using Kind = ReferenceNumberError::Kind;
        if (!isNumberSyntax(token)) {
            *error = ReferenceNumberError{Kind::NotANumber, line, qsizetype(start + 1), text};
            return std::nullopt;
        }
        if (token.front() == '+') token.remove_prefix(1);
        double value = 0;
        const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (ec != std::errc() || end != token.data() + token.size()) {
            *error = ReferenceNumberError{Kind::OutOfRange, line, qsizetype(start + 1), text};
            return std::nullopt;
        }
        return value;
    }

    // Skips the rest of the line and its line end (CR LF, LF or CR); nothing at the end.
    void skipLine() {
        while (!atEnd() && !isLineEnd(data_[pos_])) ++pos_;
        if (atEnd()) return;
        const bool cr = data_[pos_] == '\r';
        advance();
        if (cr && !atEnd() && data_[pos_] == '\n') advance();
    }

private:
    void advance() {
        // A CR LF pair counts as one line end: the line number moves on at its LF.
        const char c = data_[pos_++];
        if (c == '\n' || (c == '\r' && (atEnd() || data_[pos_] != '\n'))) ++line_;
    }

    std::string_view data_;
    std::size_t pos_ = 0;
    int line_ = 1;
    bool ranOut_ = false;
};

bool readPass(TextCursor& in, ReferenceParseResult& out) {
    for (int v = 1; v <= VariantBlocks; ++v) {
        for (int k = 1; k <= TubeLines; ++k) {
            for (int n = 1; n <= TubeNumbers; ++n) {
                const std::optional<double> value = in.readNumber(&out.error);
                if (!value) return false;
                out.reference[v][n][k] = *value;
            }
            in.skipLine();
        }
        in.skipLine();
    }
    for (int b = 1; b <= VariantBlocks; ++b) {
        for (int k = 1; k <= AuxiliaryLines; ++k) {
            for (int n = 1; n <= AuxiliaryNumbers; ++n) {
                const std::optional<double> value = in.readNumber(&out.error);
                if (!value) return false;
                out.auxiliary[b][n][k] = *value;
            }
            in.skipLine();
        }
        in.skipLine();
    }
    return true;
}
}  // namespace

ReferenceParseResult parseReferenceData(const QByteArray& bytes) {
    ReferenceParseResult result;
    TextCursor in(bytes);
    // Every pass consumes at least one line or reaches the end, so this loop ends. Blank lines
    // after a complete pass are no second pass; anything else is.
    while (!in.onlyGapsLeft()) {
        if (!readPass(in, result)) {
            result.ok = false;
            break;
        }
    }
    result.complete = result.ok && !in.ranOut();
    for (int v = 1; v <= VariantBlocks; ++v)
        for (int n = 1; n <= TubeNumbers; ++n)
            for (int k = 1; k <= TubeLines; ++k) {
                const double value = result.reference[v][n][k];
                if (value == 0 || !std::isfinite(value)) result.complete = false;
            }
    return result;
}

QString ReferenceNumberError::describe() const {
    const QString where = QStringLiteral("line %1, byte %2: ").arg(line).arg(byte);
    return where + QStringLiteral("'%1' ").arg(text) +
           (kind == Kind::NotANumber ? QStringLiteral("is not a number")
                                     : QStringLiteral("is out of range"));
}

double ReferenceData::rateOfTube4(int variant) const {
    if (variant < 1 || variant > VariantBlocks) return 0;
    return reference_[variant][2][TubeLines];
}

double ReferenceData::concentrationOfTube4(int variant) const {
    if (variant < 1 || variant > VariantBlocks) return 0;
    return reference_[variant][3][TubeLines];
}

ReferenceData::Tube ReferenceData::tube(int variant, int tube) const {
    if (variant < 1 || variant > VariantBlocks || tube < 1 || tube > TubeLines) return {};
    return {reference_[variant][1][tube], reference_[variant][2][tube],
            reference_[variant][3][tube]};
}

ReferenceData::Load ReferenceData::load(const QString& path) {
    Load load;
    QFile file(path);
    // Only a regular file: opening a pipe in its place would wait for a writer for ever.
    load.opened = QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
    QByteArray bytes;
    if (load.opened) {
        bytes = file.readAll();
        load.opened = file.error() == QFileDevice::NoError;
    }
    if (!load.opened) return load;
    const ReferenceParseResult parsed = parseReferenceData(bytes);
    reference_ = parsed.reference;
    if (!parsed.ok) load.malformed = parsed.error;
    load.complete = parsed.complete;
    return load;
}
