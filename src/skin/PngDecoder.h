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
    std::size_t peakDecoderBytes = 0;  // the most libpng held at once (also for a refused file)
};

// What libpng may hold at once for one decoding (the picture itself is not counted: it goes
// straight into bmpImage); a file that needs more is refused.
inline constexpr std::size_t kMaxDecoderBytes = 4u << 20;

// Decodes a whole PNG file into bmpImage (emptied first). Returns false, with bmpImage
// empty, for a refused or damaged file. Chunks a surface does not use are skipped unread.
bool DecodePng(std::string_view file, std::vector<std::uint8_t>& bmpImage, PngDecodeResult* result = nullptr);

}  // namespace tc
