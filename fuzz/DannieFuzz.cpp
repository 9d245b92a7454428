// Fuzz target: the reader of the experiment 1 reference data, on arbitrary bytes.
#include <QByteArray>
#include <cstdint>

#include "lab/ReferenceData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)parseReferenceData(bytes);
    return 0;
}
