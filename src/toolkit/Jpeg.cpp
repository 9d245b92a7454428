#include "toolkit/Jpeg.h"

#include <QFile>
#include <QFileInfo>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h declares its functions with C linkage itself.
#include <jpeglib.h>

namespace {
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void refuse(j_common_ptr cinfo, const char* why) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "%s", why);
    std::longjmp(err->jump, 1);
}

void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// A warning means damaged data, which is refused anyway: stop at the first one rather than
// decode the rest of a corrupt stream.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0) refuse(cinfo, "corrupt JPEG data");
}

// Pictures larger than this are refused before any pixel memory is taken; the laboratory's
// own pictures are at most 715 pixels wide, 1430 at double size.
constexpr unsigned maxSide = 4096;
// Nor is a picture of more pixels than this one of ours: nearly three times the largest the
// laboratory shows (1430 x 1012, at double size). Decoding one this large takes up to 60 MB: a
// coefficient buffer for the whole picture when it is progressive, then the image itself.
constexpr unsigned long maxPixels = 4ul * 1024 * 1024;
// A progressive picture is a handful of scans (ten for the usual encoders), and each scan is
// decoded over the whole picture: a file of thousands of tiny scans costs minutes of processor
// time for a few hundred kilobytes. The decoder's progress hook stops one with more than this.
constexpr int maxScans = 100;

void onProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > maxScans)
        refuse(cinfo, "too many scans");
}
}  // namespace

QImage decodeJpeg(const QByteArray& data, QString* error) {
    if (data.isEmpty()) {
        if (error) *error = QStringLiteral("empty file");
        return {};
    }
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = onProgress;
    QImage image;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        if (error) *error = QString::fromLocal8Bit(err.message);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;  // after the creation, which clears the whole structure
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > maxSide ||
        cinfo.image_height > maxSide ||
        static_cast<unsigned long>(cinfo.image_width) * cinfo.image_height > maxPixels) {
        jpeg_destroy_decompress(&cinfo);
        if (error) *error = QStringLiteral("picture size out of range");
        return {};
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        if (error) *error = QStringLiteral("out of memory");
        return {};
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage loadJpegFile(const QString& path, QString* error) {
    // Only a regular file: a pipe in its place would block the read until a writer comes.
    if (!QFileInfo(path).isFile()) {
        if (error) *error = QStringLiteral("not a regular file");
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return {};
    }
    // A JPEG asset is at most a few hundred kilobytes; anything far larger is not one of ours.
    if (file.size() > 64 * 1024 * 1024) {
        if (error) *error = QStringLiteral("file too large");
        return {};
    }
    return decodeJpeg(file.readAll(), error);
}

QByteArray encodeJpeg(const QImage& source, int quality) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    if (image.isNull()) return {};
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.output_message = [](j_common_ptr) {};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}
