// PNG through libpng. Every colour type and depth is turned into 8-bit RGB plus a zero filler
// byte, which is exactly the packed pixel layout, so rows decode straight into the picture.
// libpng reports errors by longjmp; the two functions that set the jump target hold nothing
// with a destructor, and the picture is allocated between them.

#include "PictureDecoders.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>

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
};

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
    png_set_filler(s->png, 0, PNG_FILLER_AFTER);
    s->passes = png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);
    return png_get_rowbytes(s->png, s->info) == size_t{s->width} * 4;
}

/// Decodes every pass into the rows of `pixels`. False on any error.
bool readRows(PngSession* s, uint32_t* pixels) {
    if (setjmp(png_jmpbuf(s->png)) != 0) {
        return false;
    }
    for (int pass = 0; pass < s->passes; ++pass) {
        for (png_uint_32 y = 0; y < s->height; ++y) {
            png_read_row(s->png, reinterpret_cast<png_bytep>(pixels + size_t{y} * s->width),
                         nullptr);
        }
    }
    // Read on to the end marker, so a file cut short after its last row is refused too.
    png_read_end(s->png, nullptr);
    return true;
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
        if (!allocatePixels(image, static_cast<int>(s.width), static_cast<int>(s.height))) {
            result = DecodeResult::OutOfMemory;
        } else if (readRows(&s, image.pixels.data())) {
            for (uint32_t& p : image.pixels) {
                p &= 0x00FFFFFFu;
            }
            result = DecodeResult::Ok;
        }
    }
    png_destroy_read_struct(&s.png, s.info != nullptr ? &s.info : nullptr, nullptr);
    return result;
}

} // namespace tesk::picture
