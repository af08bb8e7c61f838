// Writes the JPEG files of tests/data/pictures with libjpeg: baseline, progressive, grey,
// subsampled, CMYK with and without the Adobe marker, YCCK, and a larger one for reduced
// decoding. Usage: tesk_make_test_jpegs OUTPUT_FOLDER
#include <cstdio>
#include <jpeglib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

struct JpegSetup {
    int width = 16;
    int height = 8;
    J_COLOR_SPACE input = JCS_RGB;
    J_COLOR_SPACE stored = JCS_YCbCr;
    bool progressive = false;
    bool subsample = false;
    bool adobeMarker = true;
    int quality = 100;
};

using Sampler = std::function<void(int x, int y, uint8_t* out)>;

bool writeJpeg(const std::string& path, const JpegSetup& setup, const Sampler& sample) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(setup.width);
    cinfo.image_height = static_cast<JDIMENSION>(setup.height);
    cinfo.in_color_space = setup.input;
    cinfo.input_components = setup.input == JCS_GRAYSCALE ? 1 : setup.input == JCS_CMYK ? 4 : 3;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, setup.stored);
    jpeg_set_quality(&cinfo, setup.quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        const int factor = (setup.subsample && c == 0) ? 2 : 1;
        cinfo.comp_info[c].h_samp_factor = factor;
        cinfo.comp_info[c].v_samp_factor = factor;
    }
    cinfo.write_Adobe_marker = setup.adobeMarker ? TRUE : FALSE;
    if (setup.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(setup.width * cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < setup.width; ++x) {
            sample(x, static_cast<int>(cinfo.next_scanline),
                   row.data() + static_cast<size_t>(x * cinfo.input_components));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

// The same formulas are in tst_PictureFile.cpp.
void colour(int x, int y, uint8_t* out) {
    out[0] = static_cast<uint8_t>(x * 15 + 10);
    out[1] = static_cast<uint8_t>(y * 30 + 10);
    out[2] = static_cast<uint8_t>(200 - x * 5);
}

void greyRamp(int x, int y, uint8_t* out) {
    out[0] = static_cast<uint8_t>(x * 12 + y * 8);
}

/// Ink amounts (0 = none) of the CMYK files.
void ink(int x, int y, uint8_t* out) {
    out[0] = static_cast<uint8_t>(x * 15);
    out[1] = static_cast<uint8_t>(y * 30);
    out[2] = 100;
    out[3] = static_cast<uint8_t>((x + y) * 8);
}

void invertedInk(int x, int y, uint8_t* out) {
    ink(x, y, out);
    for (int c = 0; c < 4; ++c) {
        out[c] = static_cast<uint8_t>(255 - out[c]);
    }
}

void largeColour(int x, int y, uint8_t* out) {
    out[0] = static_cast<uint8_t>(x * 2);
    out[1] = static_cast<uint8_t>(y * 4);
    out[2] = static_cast<uint8_t>(x < 64 ? 40 : 220);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 64;
    }
    const std::string dir = std::string(argv[1]) + "/";
    bool ok = true;
    JpegSetup setup;
    ok &= writeJpeg(dir + "rgb_baseline.jpg", setup, colour);
    setup.progressive = true;
    ok &= writeJpeg(dir + "rgb_progressive.jpg", setup, colour);
    setup = JpegSetup{};
    setup.subsample = true;
    setup.quality = 95;
    ok &= writeJpeg(dir + "rgb_subsampled.jpg", setup, colour);
    setup = JpegSetup{};
    setup.input = JCS_GRAYSCALE;
    setup.stored = JCS_GRAYSCALE;
    ok &= writeJpeg(dir + "grey.jpg", setup, greyRamp);
    setup.progressive = true;
    ok &= writeJpeg(dir + "grey_progressive.jpg", setup, greyRamp);
    setup = JpegSetup{};
    setup.input = JCS_CMYK;
    setup.stored = JCS_CMYK;
    setup.adobeMarker = false;
    ok &= writeJpeg(dir + "cmyk_plain.jpg", setup, ink);
    setup.adobeMarker = true;
    ok &= writeJpeg(dir + "cmyk_adobe.jpg", setup, invertedInk);
    setup.stored = JCS_YCCK;
    ok &= writeJpeg(dir + "ycck_adobe.jpg", setup, invertedInk);
    setup.progressive = true;
    ok &= writeJpeg(dir + "ycck_adobe_progressive.jpg", setup, invertedInk);
    setup = JpegSetup{};
    setup.width = 128;
    setup.height = 64;
    setup.quality = 90;
    ok &= writeJpeg(dir + "large_128x64.jpg", setup, largeColour);
    return ok ? 0 : 1;
}
