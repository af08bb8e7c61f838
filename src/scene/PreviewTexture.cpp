#include "PreviewTexture.h"

#include "PictureFile.h"

#include <algorithm>
#include <array>
#include <string>

namespace tesk {

namespace {

/// Digits 0-9 on a 3 x 5 grid, one row of three bits per entry, top row first.
constexpr std::array<std::array<uint8_t, 5>, 10> kDigitRows = {{
    {7, 5, 5, 5, 7},
    {2, 6, 2, 2, 7},
    {7, 1, 7, 4, 7},
    {7, 1, 7, 1, 7},
    {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7},
    {7, 4, 7, 5, 7},
    {7, 1, 1, 1, 1},
    {7, 5, 7, 5, 7},
    {7, 5, 7, 1, 7},
}};

constexpr int kDigitScale = 6;               // pixels per grid square
constexpr int kDigitWidth = 4 * kDigitScale; // three squares and a gap

void drawNumber(ImageBuffer& image, int number, int left, int top) {
    const std::string text = std::to_string(number);
    for (size_t k = 0; k < text.size(); ++k) {
        const auto& rows = kDigitRows[static_cast<size_t>(text[k] - '0')];
        for (int y = 0; y < 5 * kDigitScale; ++y) {
            for (int x = 0; x < 3 * kDigitScale; ++x) {
                if ((rows[static_cast<size_t>(y / kDigitScale)] >> (2 - x / kDigitScale) & 1) !=
                    0) {
                    const int px = left + static_cast<int>(k) * kDigitWidth + x;
                    image.pixels[static_cast<size_t>(top + y) * kTextureSide +
                                 static_cast<size_t>(px)] = kCheckerDigit;
                }
            }
        }
    }
}

} // namespace

void makeCheckerPicture(ImageBuffer& image) {
    constexpr int cell = kTextureSide / kCheckerCells;
    image.allocate(kTextureSide, kTextureSide);
    for (int y = 0; y < kTextureSide; ++y) {
        for (int x = 0; x < kTextureSide; ++x) {
            const bool dark = (x / cell + y / cell) % 2 != 0;
            image.pixels[static_cast<size_t>(y) * kTextureSide + static_cast<size_t>(x)] =
                dark ? kCheckerDark : kCheckerLight;
        }
    }
    for (int row = 0; row < kCheckerCells; ++row) {
        for (int column = 0; column < kCheckerCells; ++column) {
            const int number = row * kCheckerCells + column + 1;
            const int digits = number < 10 ? 1 : 2;
            const int width = digits * kDigitWidth - kDigitScale;
            drawNumber(image, number, column * cell + (cell - width) / 2,
                       row * cell + (cell - 5 * kDigitScale) / 2);
        }
    }
    image.filePath.clear();
}

int loadTexturePicture(ImageBuffer& image, const std::string& path, Messages& messages) {
    DecodeOptions options;
    // Rows are filtered as they are decoded, so even a huge picture is never held whole.
    options.minWidth = kTextureSide;
    options.minHeight = kTextureSide;
    options.resampleWidth = kTextureSide;
    options.resampleHeight = kTextureSide;
    return LoadImageFile(image, path, messages, options);
}

} // namespace tesk
