// PNG surfaces through libpng: truecolour at 8 bits and palette images at 4 or 8 bits are
// accepted and turned into the complete image of a BMP file (file header, info header,
// colour table, bottom-up rows); every other kind, alpha and grey among them, is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tc {

struct PngDecodeResult {
    std::size_t totalBytes = 0;
    std::size_t colorTableBytes = 0;
};

// Decodes a whole PNG file into bmpImage (emptied first). Returns false, with bmpImage
// empty, for a refused or damaged file.
bool DecodePng(std::string_view file, std::vector<std::uint8_t>& bmpImage, PngDecodeResult* result = nullptr);

}  // namespace tc
