#include "skin/Scale.h"

#include <cstring>
#include <vector>

#include "common/Bytes.h"

namespace tc {

namespace {

std::uint32_t PackedValue(const std::uint8_t* row, int x, int bitCount) {
    const int bit = x * bitCount;
    const int shift = 8 - bitCount - (bit & 7);
    return (row[bit >> 3] >> shift) & ((1u << bitCount) - 1);
}

void PutPackedValue(std::uint8_t* row, int x, int bitCount, std::uint32_t value) {
    const int bit = x * bitCount;
    const int shift = 8 - bitCount - (bit & 7);
    const std::uint8_t mask = static_cast<std::uint8_t>(((1u << bitCount) - 1) << shift);
    row[bit >> 3] = static_cast<std::uint8_t>((row[bit >> 3] & ~mask) | ((value << shift) & mask));
}

// Whole bytes per pixel: each pixel copied factor times, the copy's size known to the
// compiler so that it becomes plain moves.
template <int Bytes>
void WidenBytes(const std::uint8_t* from, int width, int factor, std::uint8_t* to) {
    for (int x = 0; x < width; ++x, from += Bytes) {
        for (int k = 0; k < factor; ++k, to += Bytes) std::memcpy(to, from, Bytes);
    }
}

// One stored row widened factor times.
void WidenRow(const std::uint8_t* from, int width, int bitCount, int factor, std::uint8_t* to) {
    if (bitCount == 24) {
        WidenBytes<3>(from, width, factor, to);
        return;
    }
    if (bitCount == 8) {
        WidenBytes<1>(from, width, factor, to);
        return;
    }
    for (int x = 0; x < width; ++x) {
        const std::uint32_t value = PackedValue(from, x, bitCount);
        for (int k = 0; k < factor; ++k) PutPackedValue(to, x * factor + k, bitCount, value);
    }
}

}  // namespace

std::optional<DibImage> ScaleImage(const DibImage& image, int factor) {
    if (factor < 1) factor = 1;
    if (image.width * factor > kMaxImageSide || image.height * factor > kMaxImageSide) return std::nullopt;
    DibImage scaled;
    scaled.width = image.width * factor;
    scaled.height = image.height * factor;
    scaled.bitCount = image.bitCount;
    scaled.stride = DibStride(scaled.width, scaled.bitCount);
    scaled.header = image.header;
    WriteU32(scaled.header, 4, static_cast<std::uint32_t>(scaled.width));
    WriteU32(scaled.header, 8, static_cast<std::uint32_t>(scaled.height));
    WriteU32(scaled.header, 20, static_cast<std::uint32_t>(scaled.BitsSize()));
    // Each source row is widened once and appended factor times (rows are stored bottom-up
    // in both pictures, so stored row r of the result is stored row r / factor of the
    // original); every byte of the result is written once.
    scaled.storage.reserve(scaled.BitsSize());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(scaled.stride), 0);
    for (int y = 0; y < image.height; ++y) {
        WidenRow(image.Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.stride), image.width,
                 image.bitCount, factor, row.data());
        for (int k = 0; k < factor; ++k) scaled.storage.insert(scaled.storage.end(), row.begin(), row.end());
    }
    return scaled;
}

SurfaceShape ScaleShape(const SurfaceShape& shape, int factor) {
    if (factor <= 1 || shape.runs.empty()) return shape;
    SurfaceShape scaled;
    scaled.runs.reserve(shape.runs.size() * static_cast<std::size_t>(factor));
    std::size_t rowStart = 0;
    while (rowStart < shape.runs.size()) {
        std::size_t rowEnd = rowStart;
        while (rowEnd < shape.runs.size() && shape.runs[rowEnd].y == shape.runs[rowStart].y) ++rowEnd;
        for (int k = 0; k < factor; ++k) {
            for (std::size_t i = rowStart; i < rowEnd; ++i) {
                const ShapeRun& run = shape.runs[i];
                scaled.runs.push_back({run.y * factor + k, run.left * factor, run.right * factor});
            }
        }
        rowStart = rowEnd;
    }
    scaled.extentLeft = shape.extentLeft * factor;
    scaled.extentRight = shape.extentRight * factor;
    return scaled;
}

}  // namespace tc
