// Fuzz target: the JPEG decoder behind every picture of the program, on arbitrary bytes.
// Must refuse cleanly: never crash, hang or leak, and never allocate for an absurd size.
#include <QByteArray>
#include <cstdint>

#include "toolkit/Jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    (void)decodeJpeg(bytes, &error);
    return 0;
}
