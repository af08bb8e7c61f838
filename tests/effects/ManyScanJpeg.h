#pragma once
// A progressive grey JPEG with as many scans as asked, made in memory with libjpeg's own scan
// scripts: the DC scan, one scan per AC coefficient and then refinement scans of them.

#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace tesk::testing {

/// `scans` from 2 to 127. Each pixel is a grey of its own, so every coefficient has data.
inline std::vector<uint8_t> manyScanJpeg(int width, int height, int scans) {
    if (scans < 2 || scans > 127) {
        throw std::invalid_argument("scans");
    }
    std::vector<jpeg_scan_info> script;
    const auto scan = [&script](int first, int last, int high, int low) {
        jpeg_scan_info s{};
        s.comps_in_scan = 1;
        s.component_index[0] = 0;
        s.Ss = first;
        s.Se = last;
        s.Ah = high;
        s.Al = low;
        script.push_back(s);
    };
    scan(0, 0, 0, 0);
    if (scans <= 64) {
        // Single coefficients, the last scan taking the rest of the band.
        for (int k = 1; k < scans - 1; ++k) {
            scan(k, k, 0, 0);
        }
        scan(scans - 1, 63, 0, 0);
    } else {
        // Every coefficient at half precision, then the low bit of the first ones.
        for (int k = 1; k <= 63; ++k) {
            scan(k, k, 0, 1);
        }
        for (int k = 1; k < scans - 63; ++k) {
            scan(k, k, 1, 0);
        }
    }

    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.scan_info = script.data();
    cinfo.num_scans = static_cast<int>(script.size());
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            row[static_cast<size_t>(x)] =
                static_cast<uint8_t>((x * 37 + static_cast<int>(cinfo.next_scanline) * 91) ^ x);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

/// The number of start-of-scan markers: scan data never holds 0xFF 0xDA, so a count over the
/// bytes after the header is exact for these files.
inline int countScans(const std::vector<uint8_t>& jpeg) {
    int count = 0;
    for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
        count += jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA ? 1 : 0;
    }
    return count;
}

} // namespace tesk::testing
