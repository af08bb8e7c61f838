// JPEG through libjpeg-turbo: baseline and progressive, grey, YCbCr, RGB, CMYK and YCCK.
// Colour pictures decode straight into the packed pixel layout (RGBX); CMYK is converted after.
// libjpeg reports errors by longjmp; the two functions that set the jump target hold nothing
// with a destructor, and the picture is allocated between them.

#include "PictureDecoders.h"

#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
// after jpeglib.h, which it needs
#include <jerror.h>

#include <bit>
#include <csetjmp>

namespace tesk::picture {

static_assert(std::endian::native == std::endian::little,
              "rows are decoded straight into packed little-endian pixels");

namespace {

// A hostile progressive file can hold thousands of tiny scans, each costing a pass over the
// whole coefficient buffer.
constexpr int kMaxScans = 256;

struct JpegSession {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    bool outOfMemory;
    bool cmyk;
    bool invertedCmyk;
};

JpegSession* sessionOf(j_common_ptr cinfo) {
    return static_cast<JpegSession*>(cinfo->client_data);
}

[[noreturn]] void failJpeg(j_common_ptr cinfo) {
    JpegSession* s = sessionOf(cinfo);
    if (cinfo->err->msg_code == JERR_OUT_OF_MEMORY) {
        s->outOfMemory = true;
    }
    std::longjmp(s->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
    // A file that ends early or whose scan data runs into a marker is damaged: refuse it rather
    // than show a half-grey picture. Other warnings and traces are dropped.
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
        std::longjmp(sessionOf(cinfo)->jump, 1);
    }
}

void onProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        std::longjmp(sessionOf(cinfo)->jump, 1);
    }
}

/// Smallest scale n/8 that keeps the output at least the wanted size.
unsigned chooseScale(const jpeg_decompress_struct& cinfo, const DecodeOptions& options) {
    if (options.minWidth <= 0 || options.minHeight <= 0) {
        return 8;
    }
    const auto wantW = static_cast<uint64_t>(options.minWidth);
    const auto wantH = static_cast<uint64_t>(options.minHeight);
    for (unsigned n = 1; n < 8; ++n) {
        const uint64_t w = (uint64_t{cinfo.image_width} * n + 7) / 8;
        const uint64_t h = (uint64_t{cinfo.image_height} * n + 7) / 8;
        if (w >= wantW && h >= wantH) {
            return n;
        }
    }
    return 8;
}

bool readHeader(JpegSession* s, std::span<const uint8_t> bytes, const DecodeOptions* options) {
    if (setjmp(s->jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&s->cinfo);
    s->cinfo.mem->max_memory_to_use = static_cast<long>(options->maxDecoderMemory);
    s->cinfo.progress = &s->progress;
    jpeg_mem_src(&s->cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    // Application markers are not kept: nothing in them is needed but the Adobe transform,
    // which the library reads for itself.
    if (jpeg_read_header(&s->cinfo, TRUE) != JPEG_HEADER_OK ||
        !sizeAllowed(s->cinfo.image_width, s->cinfo.image_height, *options)) {
        return false;
    }
    s->cmyk = s->cinfo.jpeg_color_space == JCS_CMYK || s->cinfo.jpeg_color_space == JCS_YCCK;
    // Adobe writes CMYK inverted (0 = full ink) and says so with its marker.
    s->invertedCmyk = s->cmyk && s->cinfo.saw_Adobe_marker;
    s->cinfo.out_color_space = s->cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    s->cinfo.scale_num = chooseScale(s->cinfo, *options);
    s->cinfo.scale_denom = 8;
    jpeg_calc_output_dimensions(&s->cinfo);
    return s->cinfo.output_components == 4 &&
           sizeAllowed(s->cinfo.output_width, s->cinfo.output_height, *options);
}

bool readRows(JpegSession* s, uint32_t* pixels) {
    if (setjmp(s->jump) != 0) {
        return false;
    }
    jpeg_start_decompress(&s->cinfo);
    const JDIMENSION width = s->cinfo.output_width;
    while (s->cinfo.output_scanline < s->cinfo.output_height) {
        JSAMPROW row =
            reinterpret_cast<JSAMPROW>(pixels + size_t{s->cinfo.output_scanline} * width);
        if (jpeg_read_scanlines(&s->cinfo, &row, 1) != 1) {
            return false;
        }
    }
    jpeg_finish_decompress(&s->cinfo);
    return true;
}

void cmykToRgb(uint32_t* pixels, size_t count, bool inverted) {
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = pixels[i];
        uint32_t c = p & 0xFFu;
        uint32_t m = (p >> 8) & 0xFFu;
        uint32_t y = (p >> 16) & 0xFFu;
        uint32_t k = p >> 24;
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        // Here each value is the amount of light left: 255 = no ink.
        pixels[i] = packRgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

} // namespace

DecodeResult decodeJpeg(std::span<const uint8_t> bytes, ImageBuffer& image,
                        const DecodeOptions& options) {
    JpegSession s{};
    s.cinfo.err = jpeg_std_error(&s.err);
    s.cinfo.client_data = &s;
    s.err.error_exit = failJpeg;
    s.err.emit_message = onMessage;
    s.progress.progress_monitor = onProgress;
    DecodeResult result = DecodeResult::Unreadable;
    if (readHeader(&s, bytes, &options)) {
        const auto width = static_cast<int>(s.cinfo.output_width);
        const auto height = static_cast<int>(s.cinfo.output_height);
        if (!allocatePixels(image, width, height)) {
            result = DecodeResult::OutOfMemory;
        } else if (readRows(&s, image.pixels.data())) {
            if (s.cmyk) {
                cmykToRgb(image.pixels.data(), image.pixels.size(), s.invertedCmyk);
            } else {
                for (uint32_t& p : image.pixels) {
                    p &= 0x00FFFFFFu;
                }
            }
            result = DecodeResult::Ok;
        }
    }
    if (s.outOfMemory) {
        result = DecodeResult::OutOfMemory;
    }
    jpeg_destroy_decompress(&s.cinfo);
    return result;
}

} // namespace tesk::picture
