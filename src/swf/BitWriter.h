#pragma once

// The bit encoder of the SWF writer: the counterpart of BitReader.h.

#include <QByteArray>
#include <cstdint>

namespace swf {

// The bits an unsigned field needs for v (0 for 0).
inline int ubits(std::uint32_t v) {
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}
// The bits a signed field needs for v, sign included.
inline int sbits(std::int32_t v) {
    return (v >= 0 ? ubits(std::uint32_t(v)) : ubits(~std::uint32_t(v))) + 1;
}

// Appends bit fields (most significant bit first) and little-endian bytes; byte writes align.
class BitWriter {
public:
    void ub(int n, std::uint32_t v) {
        for (int i = n - 1; i >= 0; --i) {
            acc_ = std::uint8_t((acc_ << 1) | ((v >> i) & 1u));
            if (++nbits_ == 8) {
                out_.append(char(acc_));
                acc_ = 0;
                nbits_ = 0;
            }
        }
    }
    void sb(int n, std::int32_t v) { ub(n, std::uint32_t(v)); }
    void align() {
        if (nbits_ > 0) ub(8 - nbits_, 0);
    }
    void u8(std::uint32_t v) {
        align();
        out_.append(char(v & 0xFF));
    }
    void u16(std::uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void bytes(const QByteArray& b) {
        align();
        out_.append(b);
    }
    void string(const QByteArray& s) {
        align();
        QByteArray t = s;
        const qsizetype z = t.indexOf('\0');
        if (z >= 0) t.truncate(z);
        out_.append(t);
        out_.append('\0');
    }
    QByteArray take() {
        align();
        return std::move(out_);
    }

private:
    QByteArray out_;
    std::uint8_t acc_ = 0;
    int nbits_ = 0;
};

}  // namespace swf
