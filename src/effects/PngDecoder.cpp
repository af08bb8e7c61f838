// PNG through libpng. Every colour type and depth is turned into 8-bit RGB. Rows come one at a
// time through a scratch row and are packed into the row sink. Interlaced rows are revisited by
// every pass, so they decode with a zero filler byte straight into the sink's packed rows; the
// rows nobody reads share one scratch row. libpng reports errors by longjmp; the two functions
// that set the jump target hold nothing with a destructor, and the sink is set up between them.

#include "PictureDecoders.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

namespace tesk::picture {

static_assert(std::endian::native == std::endian::little,
              "rows are decoded straight into packed little-endian pixels");

namespace {

struct PngInput {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

struct PngSession {
    png_structp png;
    png_infop info;
    PngInput input;
    png_uint_32 width;
    png_uint_32 height;
    int passes;
    uint8_t* scratch; ///< one row: RGB when passes == 1, else packed pixels
    RowSink* sink;
};

void packRow(const uint8_t* rgb, uint32_t* out, png_uint_32 width) {
    for (png_uint_32 x = 0; x < width; ++x, rgb += 3) {
        out[x] = packRgb(rgb[0], rgb[1], rgb[2]);
    }
}

void readBytes(png_structp png, png_bytep out, size_t length) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > input->size - input->pos) {
        png_error(png, "read past the end");
    }
    std::memcpy(out, input->data + input->pos, length);
    input->pos += length;
}

[[noreturn]] void fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

/// Reads the header and sets up the conversions. False on any error.
bool readHeader(PngSession* s, const DecodeOptions* options) {
    if (setjmp(png_jmpbuf(s->png)) != 0) {
        return false;
    }
    png_set_read_fn(s->png, &s->input, readBytes);
    png_set_user_limits(s->png, static_cast<png_uint_32>(options->maxSide),
                        static_cast<png_uint_32>(options->maxSide));
    png_set_chunk_malloc_max(s->png, png_alloc_size_t{8} << 20);
    png_set_chunk_cache_max(s->png, 256);
    // Nothing here reads text, profiles, times or any other ancillary chunk. Skipped unparsed,
    // hundreds of compressed text chunks cannot make the library inflate and keep gigabytes;
    // it only checks their checksums. The transparency chunk stays, the palette needs it.
    png_set_keep_unknown_chunks(s->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    // The checksum of every chunk is still verified; zlib's own one over the same bytes is
    // redundant and costs a pass over the whole inflated picture.
    png_set_option(s->png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(s->png, s->info);

    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(s->png, s->info, &s->width, &s->height, &bitDepth, &colorType, nullptr, nullptr,
                 nullptr);
    if (!sizeAllowed(s->width, s->height, *options)) {
        return false;
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(s->png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(s->png);
    }
    if (bitDepth == 16) {
        png_set_scale_16(s->png);
    }
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(s->png);
    }
    // Transparency is dropped: an effect picture only carries heights in its colours.
    png_set_strip_alpha(s->png);
    const bool interlaced = png_get_interlace_type(s->png, s->info) != PNG_INTERLACE_NONE;
    if (interlaced) {
        png_set_filler(s->png, 0, PNG_FILLER_AFTER);
    }
    s->passes = png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);
    return png_get_rowbytes(s->png, s->info) == size_t{s->width} * (interlaced ? 4 : 3);
}

/// Decodes every pass into the rows of the sink. False on any error.
bool readRows(PngSession* s) {
    if (setjmp(png_jmpbuf(s->png)) != 0) {
        return false;
    }
    for (int pass = 0; pass < s->passes; ++pass) {
        for (png_uint_32 y = 0; y < s->height; ++y) {
            uint32_t* out = s->sink->row(static_cast<int>(y));
            if (s->passes == 1) {
                png_read_row(s->png, s->scratch, nullptr);
                if (out != nullptr) {
                    packRow(s->scratch, out, s->width);
                }
            } else {
                png_read_row(s->png, out != nullptr ? reinterpret_cast<png_bytep>(out) : s->scratch,
                             nullptr);
            }
        }
    }
    // Read on to the end marker, so a file cut short after its last row is refused too.
    png_read_end(s->png, nullptr);
    return true;
}

DecodeResult readPicture(PngSession* s, std::span<const uint8_t> bytes, ImageBuffer& image,
                         const DecodeOptions& options) {
    std::vector<uint8_t> scratch(size_t{s->width} * 4);
    s->scratch = scratch.data();
    RowSink sink;
    s->sink = &sink;
    const DecodeResult begun =
        sink.begin(image, static_cast<int>(s->width), static_cast<int>(s->height), options,
                   memoryLeft(bytes, options));
    if (begun != DecodeResult::Ok) {
        return begun;
    }
    if (!readRows(s)) {
        return DecodeResult::Unreadable;
    }
    sink.finish();
    return DecodeResult::Ok;
}

} // namespace

DecodeResult decodePng(std::span<const uint8_t> bytes, ImageBuffer& image,
                       const DecodeOptions& options) {
    PngSession s{};
    s.input = PngInput{bytes.data(), bytes.size(), 0};
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, ignoreWarning);
    if (s.png == nullptr) {
        return DecodeResult::OutOfMemory;
    }
    s.info = png_create_info_struct(s.png);
    DecodeResult result = DecodeResult::Unreadable;
    if (s.info == nullptr) {
        result = DecodeResult::OutOfMemory;
    } else if (readHeader(&s, &options)) {
        try {
            result = readPicture(&s, bytes, image, options);
        } catch (const std::bad_alloc&) {
            result = DecodeResult::OutOfMemory; // after the libpng objects are freed below
        }
    }
    png_destroy_read_struct(&s.png, s.info != nullptr ? &s.info : nullptr, nullptr);
    return result;
}

} // namespace tesk::picture
