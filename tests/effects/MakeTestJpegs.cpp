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

struct JpegSpec {
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

bool writeJpeg(const std::string& path, const JpegSpec& spec, const Sampler& sample) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(spec.width);
    cinfo.image_height = static_cast<JDIMENSION>(spec.height);
    cinfo.in_color_space = spec.input;
    cinfo.input_components = spec.input == JCS_GRAYSCALE ? 1 : spec.input == JCS_CMYK ? 4 : 3;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, spec.stored);
    jpeg_set_quality(&cinfo, spec.quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        const int factor = (spec.subsample && c == 0) ? 2 : 1;
        cinfo.comp_info[c].h_samp_factor = factor;
        cinfo.comp_info[c].v_samp_factor = factor;
    }
    cinfo.write_Adobe_marker = spec.adobeMarker ? TRUE : FALSE;
    if (spec.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(spec.width * cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < spec.width; ++x) {
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
    JpegSpec spec;
    ok &= writeJpeg(dir + "rgb_baseline.jpg", spec, colour);
    spec.progressive = true;
    ok &= writeJpeg(dir + "rgb_progressive.jpg", spec, colour);
    spec = JpegSpec{};
    spec.subsample = true;
    spec.quality = 95;
    ok &= writeJpeg(dir + "rgb_subsampled.jpg", spec, colour);
    spec = JpegSpec{};
    spec.input = JCS_GRAYSCALE;
    spec.stored = JCS_GRAYSCALE;
    ok &= writeJpeg(dir + "grey.jpg", spec, greyRamp);
    spec.progressive = true;
    ok &= writeJpeg(dir + "grey_progressive.jpg", spec, greyRamp);
    spec = JpegSpec{};
    spec.input = JCS_CMYK;
    spec.stored = JCS_CMYK;
    spec.adobeMarker = false;
    ok &= writeJpeg(dir + "cmyk_plain.jpg", spec, ink);
    spec.adobeMarker = true;
    ok &= writeJpeg(dir + "cmyk_adobe.jpg", spec, invertedInk);
    spec.stored = JCS_YCCK;
    ok &= writeJpeg(dir + "ycck_adobe.jpg", spec, invertedInk);
    spec.progressive = true;
    ok &= writeJpeg(dir + "ycck_adobe_progressive.jpg", spec, invertedInk);
    spec = JpegSpec{};
    spec.width = 128;
    spec.height = 64;
    spec.quality = 90;
    ok &= writeJpeg(dir + "large_128x64.jpg", spec, largeColour);
    return ok ? 0 : 1;
}
