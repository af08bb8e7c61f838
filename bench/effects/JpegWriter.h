#pragma once
// Writes the JPEG files the picture benchmarks load.

#include <cstdio>
#include <jpeglib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tesk::bench {

/// A baseline RGB JPEG of quality 90; `fillRow(y, rgb)` writes row y's width x 3 bytes.
template <typename FillRow>
void writeJpeg(const std::string& path, uint32_t width, uint32_t height, FillRow fillRow) {
    FILE* file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t{width} * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        fillRow(cinfo.next_scanline, row.data());
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

} // namespace tesk::bench
