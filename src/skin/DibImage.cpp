#include "skin/DibImage.h"

#include <algorithm>
#include <cstring>

#include "common/Bytes.h"

namespace tc {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kCoreHeaderSize = 12;  // OS/2 BITMAPCOREHEADER

// One colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask == 0) return;
        while (((mask >> shift) & 1) == 0) ++shift;
        while (width < 32 - shift && ((mask >> (shift + width)) & 1) != 0) ++width;
    }
    std::uint8_t Extract(std::uint32_t pixel) const {
        if (width == 0) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (width >= 8) return static_cast<std::uint8_t>(v >> (width - 8));
        const std::uint32_t max = (1u << width) - 1;
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
};

struct BmpLayout {
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0;  // positive
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue

    bool Core() const { return headerSize == kCoreHeaderSize; }
    bool RunLength() const { return compression == kBiRle8 || compression == kBiRle4; }
};

// An OS/2 core header: 16-bit sides, always bottom-up, no compression, a colour table of
// 3-byte entries.
std::optional<BmpLayout> ReadCoreLayout(std::string_view f) {
    if (f.size() < kFileHeaderSize + kCoreHeaderSize) return std::nullopt;
    BmpLayout l;
    l.pixelOffset = ReadU32(f, 10);
    l.headerSize = kCoreHeaderSize;
    l.width = static_cast<int>(ReadU16(f, 18));
    l.height = static_cast<int>(ReadU16(f, 20));
    l.bitCount = static_cast<int>(ReadU16(f, 24));
    if (l.width < 1 || l.width > kMaxImageSide || l.height < 1 || l.height > kMaxImageSide) return std::nullopt;
    if (l.bitCount != 1 && l.bitCount != 4 && l.bitCount != 8 && l.bitCount != 24) return std::nullopt;
    return l;
}

std::optional<BmpLayout> ReadLayout(std::string_view f) {
    if (f.size() < kFileHeaderSize + 4 || f[0] != 'B' || f[1] != 'M') return std::nullopt;
    if (ReadU32(f, 14) == kCoreHeaderSize) return ReadCoreLayout(f);
    if (f.size() < kFileHeaderSize + kInfoHeaderSize) return std::nullopt;
    BmpLayout l;
    l.pixelOffset = ReadU32(f, 10);
    l.headerSize = ReadU32(f, 14);
    if (l.headerSize < kInfoHeaderSize || l.headerSize > f.size() - kFileHeaderSize) return std::nullopt;
    const auto width = static_cast<std::int32_t>(ReadU32(f, 18));
    const auto height = static_cast<std::int32_t>(ReadU32(f, 22));
    l.bitCount = static_cast<int>(ReadU16(f, 28));
    l.compression = ReadU32(f, 30);
    l.colorsUsed = ReadU32(f, 46);
    if (width < 1 || width > kMaxImageSide || height == 0 || height < -kMaxImageSide || height > kMaxImageSide) {
        return std::nullopt;
    }
    l.width = width;
    l.topDown = height < 0;
    l.height = l.topDown ? -height : height;
    switch (l.bitCount) {
    case 1: case 4: case 8: case 24:
        if (l.compression == kBiRgb) break;
        // Run-length streams are stored bottom row first; top-down ones do not exist.
        if (l.topDown) return std::nullopt;
        if (l.compression == kBiRle8 && l.bitCount == 8) break;
        if (l.compression == kBiRle4 && l.bitCount == 4) break;
        return std::nullopt;
    case 16: case 32:
        if (l.compression == kBiRgb) {
            l.masks[0] = l.bitCount == 16 ? 0x7C00 : 0xFF0000;
            l.masks[1] = l.bitCount == 16 ? 0x03E0 : 0x00FF00;
            l.masks[2] = l.bitCount == 16 ? 0x001F : 0x0000FF;
        } else if (l.compression == kBiBitfields) {
            // The masks follow a 40-byte header, or are part of a larger one.
            const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
            if (f.size() < at + 12) return std::nullopt;
            for (int i = 0; i < 3; ++i) l.masks[i] = ReadU32(f, at + 4 * static_cast<std::size_t>(i));
        } else {
            return std::nullopt;
        }
        break;
    default:
        return std::nullopt;
    }
    return l;
}

void WriteInfoHeader(DibImage& image) {
    image.header.assign(kInfoHeaderSize + 4 * static_cast<std::size_t>(image.ColorEntries()), 0);
    WriteU32(image.header, 0, kInfoHeaderSize);
    WriteU32(image.header, 4, static_cast<std::uint32_t>(image.width));
    WriteU32(image.header, 8, static_cast<std::uint32_t>(image.height));
    WriteU16(image.header, 12, 1);
    WriteU16(image.header, 14, static_cast<std::uint32_t>(image.bitCount));
    WriteU32(image.header, 20, static_cast<std::uint32_t>(image.stride) * static_cast<std::uint32_t>(image.height));
}

// Copies the stored colour table as 4-byte entries; entries the file does not give stay
// black. A core header's table of 3-byte entries is as long as the pixels leave room for.
bool CopyColorTable(std::string_view f, const BmpLayout& l, DibImage& image) {
    const std::size_t full = static_cast<std::size_t>(image.ColorEntries());
    const std::size_t at = kFileHeaderSize + l.headerSize;
    const std::size_t entrySize = l.Core() ? 3 : 4;
    std::size_t given = (l.colorsUsed > 0 && l.colorsUsed < full) ? l.colorsUsed : full;
    if (l.Core() && given > (l.pixelOffset - at) / entrySize) given = (l.pixelOffset - at) / entrySize;
    if (given * entrySize > f.size() - at) return false;
    for (std::size_t i = 0; i < given; ++i) {
        std::memcpy(image.header.data() + kInfoHeaderSize + 4 * i, f.data() + at + entrySize * i, 3);
    }
    return true;
}

// Unpacks a BI_RLE8 or BI_RLE4 stream into the zeroed rows of image, which has the stream's
// bit count. The stream gives the bottom row first, like the stored rows. Damage does not
// refuse the picture: a stream that breaks off, or moves past the last row, ends the
// decoding and what was decoded stays; pixels beyond the right edge of a row are dropped
// (encoders that pad odd-width 4-bit rows put one there).
void DecodeRunLength(std::string_view stream, bool fourBits, DibImage& image) {
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(stream[at]); };
    int x = 0;
    int y = 0;
    const auto put = [&](unsigned value) {
        if (x < image.width) {
            std::uint8_t* row = image.storage.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.stride);
            if (!fourBits) {
                row[x] = static_cast<std::uint8_t>(value);
            } else if (x % 2 == 0) {
                row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & 0x0F) | (value << 4));
            } else {
                row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & 0xF0) | value);
            }
        }
        ++x;
    };
    // A 4-bit run or absolute byte holds two pixels, high nibble first.
    const auto pixel = [&](unsigned data, unsigned i) { return fourBits ? (i % 2 == 0 ? data >> 4 : data & 0x0F) : data; };
    std::size_t pos = 0;
    while (y < image.height && stream.size() - pos >= 2) {
        const unsigned count = byte(pos);
        const unsigned code = byte(pos + 1);
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < image.width; ++i) put(pixel(code, i));
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            if (stream.size() - pos < 2) return;
            x += byte(pos);
            y += byte(pos + 1);
            pos += 2;
        } else {
            const std::size_t bytes = fourBits ? (code + 1) / 2 : code;
            if (stream.size() - pos < bytes) return;
            for (unsigned i = 0; i < code && x < image.width; ++i) put(pixel(byte(pos + (fourBits ? i / 2 : i)), i));
            // Absolute runs are padded to 16 bits; the pad may be missing at the very end.
            pos = std::min(stream.size(), pos + bytes + bytes % 2);
        }
        // Only whether x is past the edge matters from here on; keeping it small keeps a
        // long stream of runs on one row from overflowing it.
        x = std::min(x, image.width);
    }
}

// The stored row for picture row y (0 at the top).
const char* SourceRow(std::string_view f, const BmpLayout& l, int sourceStride, int y) {
    const int storedIndex = l.topDown ? y : l.height - 1 - y;
    return f.data() + l.pixelOffset + static_cast<std::size_t>(storedIndex) * static_cast<std::size_t>(sourceStride);
}

void ConvertRowTo24(const char* source, const BmpLayout& l, std::uint8_t* target) {
    const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
    const int bytesPerPixel = l.bitCount / 8;
    for (int x = 0; x < l.width; ++x) {
        std::uint32_t pixel = 0;
        for (int i = 0; i < bytesPerPixel; ++i) {
            pixel |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(source[x * bytesPerPixel + i])) << (8 * i);
        }
        target[3 * x] = blue.Extract(pixel);
        target[3 * x + 1] = green.Extract(pixel);
        target[3 * x + 2] = red.Extract(pixel);
    }
}

}  // namespace

int DibStride(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

std::uint32_t DibImage::PixelValue(int x, int y) const {
    const std::uint8_t* row = Bits() + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(stride);
    switch (bitCount) {
    case 24:
        return (static_cast<std::uint32_t>(row[3 * x]) << 16) | (static_cast<std::uint32_t>(row[3 * x + 1]) << 8) |
               row[3 * x + 2];
    case 8:
        return row[x];
    case 4:
        return (x % 2 == 0) ? (row[x / 2] >> 4) : (row[x / 2] & 0x0F);
    default:
        return (row[(x * bitCount) / 8] >> (7 - x % 8)) & 1;
    }
}

namespace {

std::optional<DibImage> ParseBmp(std::string_view f, std::vector<std::uint8_t>* owned) {
    const auto layout = ReadLayout(f);
    if (!layout) return std::nullopt;
    const BmpLayout& l = *layout;

    const int sourceStride = DibStride(l.width, l.bitCount);
    const std::uint64_t pixelBytes =
        l.RunLength() ? 0 : static_cast<std::uint64_t>(sourceStride) * static_cast<std::uint64_t>(l.height);
    if (l.pixelOffset < kFileHeaderSize + l.headerSize || l.pixelOffset > f.size() ||
        pixelBytes > f.size() - l.pixelOffset) {
        return std::nullopt;
    }

    DibImage image;
    image.width = l.width;
    image.height = l.height;
    image.bitCount = (l.bitCount == 16 || l.bitCount == 32) ? 24 : l.bitCount;
    image.stride = DibStride(image.width, image.bitCount);
    WriteInfoHeader(image);
    if (image.ColorEntries() > 0 && !CopyColorTable(f, l, image)) return std::nullopt;

    if (l.RunLength()) {
        image.storage.assign(image.BitsSize(), 0);
        DecodeRunLength(f.substr(l.pixelOffset), l.compression == kBiRle4, image);
        return image;
    }
    const bool convert = image.bitCount != l.bitCount;
    if (owned && !convert && !l.topDown) {
        // The rows are already in their final form: take them over where they lie.
        image.storage = std::move(*owned);
        image.bitsOffset = l.pixelOffset;
        return image;
    }
    image.storage.assign(image.BitsSize(), 0);
    const std::size_t rowBytes = static_cast<std::size_t>(DibStride(l.width, l.bitCount));
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* target = image.storage.data() + static_cast<std::size_t>(image.height - 1 - y) *
                                                          static_cast<std::size_t>(image.stride);
        const char* source = SourceRow(f, l, sourceStride, y);
        if (convert) {
            ConvertRowTo24(source, l, target);
        } else {
            std::memcpy(target, source, rowBytes);
        }
    }
    return image;
}

}  // namespace

std::optional<DibImage> ParseBmpFile(std::string_view file) { return ParseBmp(file, nullptr); }

std::optional<DibImage> ParseBmpImage(std::vector<std::uint8_t>&& image) {
    const std::string_view view(reinterpret_cast<const char*>(image.data()), image.size());
    return ParseBmp(view, &image);
}

}  // namespace tc
