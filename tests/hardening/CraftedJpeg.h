#pragma once

// Pictures made to freeze the decoder: a progressive JPEG whose one scan of the fine detail is
// repeated thousands of times (each repeat is valid and decoded over the whole picture), the
// regression input of the decoder's scan limit. Written with libjpeg by the tests and the
// benchmarks themselves.

#include <jpeglib.h>

#include <QByteArray>
#include <cstdlib>
#include <vector>

namespace crafted {

// A grey picture of 8 x 8 blocks in a checker of two shades (no fine detail: each block is its
// average), progressive: one scan of the averages and one of the detail, then the detail scan
// again until the file holds `scans` scans. 20,000 scans of a 715 x 505 picture take 300 KB.
inline QByteArray manyScanJpeg(int scans, int width = 715, int height = 505) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    static const jpeg_scan_info script[2] = {{1, {0, 0, 0, 0}, 0, 0, 0, 0},
                                             {1, {0, 0, 0, 0}, 1, 63, 0, 0}};
    c.scan_info = script;
    c.num_scans = 2;
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width));
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < width; ++x)
            row[size_t(x)] = JSAMPLE(((x / 8 + int(c.next_scanline) / 8) % 2) ? 200 : 60);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    const QByteArray file(reinterpret_cast<const char*>(buffer), qsizetype(size));
    jpeg_destroy_compress(&c);
    std::free(buffer);
    // The detail scan: from its marker (the second start-of-scan) to the end-of-picture marker.
    const qsizetype detail = file.indexOf("\xFF\xDA", file.indexOf("\xFF\xDA") + 2);
    const QByteArray scan = file.mid(detail, file.size() - 2 - detail);
    return file.left(file.size() - 2) + scan.repeated(scans - 2) + QByteArray("\xFF\xD9", 2);
}

}  // namespace crafted
