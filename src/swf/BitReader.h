#pragma once

// A bounds-checked little-endian byte and bit reader over [data, data + size): the stream layer
// of the SWF reader. Reading past the end sets bad() and returns zeros; callers check bad() once
// after a tag.

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace swf {

class BitReader {
public:
    BitReader(const std::uint8_t* data, size_t size, size_t base)
        : d_(data), n_(size), base_(base) {}

    bool bad() const { return bad_; }
    size_t pos() const { return pos_; }
    size_t remaining() const { return pos_ < n_ ? n_ - pos_ : 0; }
    size_t offset() const { return base_ + pos_; }  // position in the uncompressed file
    const std::uint8_t* here() const { return d_ + pos_; }

    void align() {
        if (bit_) {
            bit_ = 0;
            ++pos_;
        }
    }
    std::uint32_t u8() {
        align();
        if (pos_ >= n_) return fail();
        return d_[pos_++];
    }
    std::uint32_t u16() {
        align();
        if (n_ - pos_ < 2 || pos_ > n_) return fail();
        const std::uint32_t v = d_[pos_] | (std::uint32_t(d_[pos_ + 1]) << 8);
        pos_ += 2;
        return v;
    }
    std::uint32_t u32() {
        const std::uint32_t lo = u16();
        return lo | (u16() << 16);
    }
    void skip(size_t k) {
        align();
        if (k > remaining()) {
            fail();
            pos_ = n_;
            return;
        }
        pos_ += k;
    }
    QByteArray bytes(size_t k) {
        align();
        if (k > remaining()) {
            fail();
            return {};
        }
        QByteArray b(reinterpret_cast<const char*>(d_ + pos_), qsizetype(k));
        pos_ += k;
        return b;
    }
    QByteArray string() {
        align();
        const std::uint8_t* start = d_ + pos_;
        const void* z = std::memchr(start, 0, remaining());
        if (!z) {
            fail();
            pos_ = n_;
            return {};
        }
        const size_t len = size_t(static_cast<const std::uint8_t*>(z) - start);
        QByteArray s(reinterpret_cast<const char*>(start), qsizetype(len));
        pos_ += len + 1;
        return s;
    }
    std::uint32_t ub(int k) {
        std::uint32_t v = 0;
        while (k > 0) {
            if (pos_ >= n_) return fail();
            const int avail = 8 - bit_;
            const int take = std::min(avail, k);
            const std::uint32_t byte = d_[pos_];
            const std::uint32_t bits = (byte >> (avail - take)) & ((1u << take) - 1u);
            v = (take == 32 ? 0 : (v << take)) | bits;
            k -= take;
            bit_ += take;
            if (bit_ == 8) {
                bit_ = 0;
                ++pos_;
            }
        }
        return v;
    }
    std::int32_t sb(int k) {
        if (k <= 0) return 0;
        const std::uint32_t v = ub(k);
        if (k >= 32) return std::int32_t(v);
        const std::uint32_t sign = 1u << (k - 1);
        return std::int32_t((v ^ sign) - sign);
    }

private:
    std::uint32_t fail() {
        bad_ = true;
        return 0;
    }
    const std::uint8_t* d_;
    size_t n_;
    size_t base_;
    size_t pos_ = 0;
    int bit_ = 0;
    bool bad_ = false;
};

}  // namespace swf
