// JPEG through libjpeg-turbo: baseline and progressive, grey, YCbCr, RGB, CMYK and YCCK.
// Colour pictures decode straight into the packed pixel layout (RGBX) of the row sink's rows;
// CMYK is converted row by row.
// libjpeg reports errors by longjmp; the two functions that set the jump target hold nothing
// with a destructor, and the row sink is set up between them.

#include "PictureDecoders.h"

#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
// after jpeglib.h, which it needs
#include <jerror.h>

#include <bit>
#include <csetjmp>
#include <new>
#include <vector>

namespace tesk::picture {

static_assert(std::endian::native == std::endian::little,
              "rows are decoded straight into packed little-endian pixels");

namespace {

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
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
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

/// The whole-picture coefficient buffers the library keeps for a file of several scans
/// (progressive, or one component a scan): a pass over every scan before any row comes out.
size_t coefficientBytes(const jpeg_decompress_struct& cinfo) {
    if (!cinfo.progressive_mode && cinfo.comps_in_scan >= cinfo.num_components) {
        return 0;
    }
    size_t total = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        const auto roundUp = [](size_t n, int factor) {
            const auto f = static_cast<size_t>(factor);
            return (n + f - 1) / f * f;
        };
        total += roundUp(comp.width_in_blocks, comp.h_samp_factor) *
                 roundUp(comp.height_in_blocks, comp.v_samp_factor) * sizeof(JBLOCK);
    }
    return total;
}

void finishRow(uint32_t* row, size_t count, const JpegSession& s) {
    if (s.cmyk) {
        cmykToRgb(row, count, s.invertedCmyk);
    } else {
        for (size_t x = 0; x < count; ++x) {
            row[x] &= 0x00FFFFFFu;
        }
    }
}

bool readRows(JpegSession* s, RowSink* sink, uint32_t* scratch) {
    if (setjmp(s->jump) != 0) {
        return false;
    }
    jpeg_start_decompress(&s->cinfo);
    const JDIMENSION width = s->cinfo.output_width;
    while (s->cinfo.output_scanline < s->cinfo.output_height) {
        uint32_t* out = sink->row(static_cast<int>(s->cinfo.output_scanline));
        JSAMPROW row = reinterpret_cast<JSAMPROW>(out != nullptr ? out : scratch);
        if (jpeg_read_scanlines(&s->cinfo, &row, 1) != 1) {
            return false;
        }
        if (out != nullptr) {
            finishRow(out, width, *s);
        }
    }
    jpeg_finish_decompress(&s->cinfo);
    return true;
}

DecodeResult readPicture(JpegSession* s, std::span<const uint8_t> bytes, ImageBuffer& image,
                         const DecodeOptions& options) {
    // The coefficient buffers come first from what the file leaves, then the picture; the
    // library may take the rest of the budget for its own rows and tables.
    const size_t left = memoryLeft(bytes, options);
    const size_t coefficients = coefficientBytes(s->cinfo);
    if (coefficients > left) {
        return DecodeResult::Unreadable;
    }
    RowSink sink;
    const DecodeResult begun =
        sink.begin(image, static_cast<int>(s->cinfo.output_width),
                   static_cast<int>(s->cinfo.output_height), options, left - coefficients);
    if (begun != DecodeResult::Ok) {
        return begun;
    }
    s->cinfo.mem->max_memory_to_use = static_cast<long>(left - sink.bytes());
    std::vector<uint32_t> scratch(s->cinfo.output_width);
    if (!readRows(s, &sink, scratch.data())) {
        return DecodeResult::Unreadable;
    }
    sink.finish();
    return DecodeResult::Ok;
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
        try {
            result = readPicture(&s, bytes, image, options);
        } catch (const std::bad_alloc&) {
            result = DecodeResult::OutOfMemory; // after the library's objects are freed below
        }
    }
    if (s.outOfMemory) {
        result = DecodeResult::OutOfMemory;
    }
    jpeg_destroy_decompress(&s.cinfo);
    return result;
}

} // namespace tesk::picture
