// Device-independent bitmaps as the surfaces need them: a 40-byte BITMAPINFOHEADER with a
// full colour table and bottom-up pixel rows padded to 4 bytes, at 1, 4, 8 or 24 bits per
// pixel. Every surface and frame file, BMP or PNG, is turned into this one form.
//
// BMP files are checked before anything is read: the headers, the colour table and every
// uncompressed pixel row must lie inside the file; a run-length stream is read only as far
// as the file goes. Accepted are uncompressed files of 1, 4, 8, 16, 24 and 32 bits (16 and
// 32 bits, plain or with bit-field masks, are converted to 24 bits), with any header
// version from the 40-byte one on, bottom-up or top-down; run-length encoded files (BI_RLE8
// at 8 bits, BI_RLE4 at 4 bits, bottom-up only), unpacked into plain rows of the same bit
// count; and OS/2 files with the 12-byte core header at 1, 4, 8 or 24 bits. Embedded
// JPEG/PNG bitmaps are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tc {

constexpr int kMaxImageSide = 4096;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;

struct DibImage {
    int width = 0;
    int height = 0;    // rows are stored bottom row first
    int bitCount = 0;  // 1, 4, 8 or 24
    int stride = 0;    // bytes per stored row, a multiple of 4
    std::vector<std::uint8_t> header;   // BITMAPINFOHEADER followed by the colour table
    std::vector<std::uint8_t> storage;  // holds the pixel rows from bitsOffset on
    std::size_t bitsOffset = 0;

    const std::uint8_t* Bits() const { return storage.data() + bitsOffset; }
    std::size_t BitsSize() const { return static_cast<std::size_t>(stride) * static_cast<std::size_t>(height); }

    int ColorEntries() const { return bitCount <= 8 ? (1 << bitCount) : 0; }
    // The value of the pixel at column x of picture row y (0 is the top row), as the
    // shape rules compare them: a palette index, or the three stored bytes of a 24-bit
    // pixel as one number, first byte highest.
    std::uint32_t PixelValue(int x, int y) const;
};

// Bytes per row of width pixels at bitCount bits, padded to 4 bytes.
int DibStride(int width, int bitCount);

// Parses a whole BMP file.
std::optional<DibImage> ParseBmpFile(std::string_view file);

// The same for a BMP image in memory that the result may take over, so that its pixel rows
// are not copied (the PNG decoder's output).
std::optional<DibImage> ParseBmpImage(std::vector<std::uint8_t>&& image);

}  // namespace tc
