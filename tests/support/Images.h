// Pictures made byte by byte for the tests: BMP files of every header variant and PNG files
// of every colour type, so that decoders and shapes can be checked against known pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tc::test {

// Pixel value at (x, y), y = 0 the top row: a palette index, or 0xRRGGBB.
using PixelFn = std::function<std::uint32_t(int x, int y)>;

struct BmpOptions {
    int bitCount = 24;         // 1, 4, 8, 16, 24, 32
    bool topDown = false;      // negative height
    int headerSize = 40;       // 40, 108, 124 ..., or 12 for an OS/2 core header
    int colorsUsed = 0;        // biClrUsed; 0 means a full table
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB entries for <= 8 bits
};

std::string MakeBmp(int width, int height, const PixelFn& pixel, const BmpOptions& options = {});

// The same headers and colour table followed by the given pixel data as it is, such as a
// run-length stream (options.compression 1 or 2).
std::string MakeBmpWithData(int width, int height, const std::string& data, const BmpOptions& options);

struct PngOptions {
    int colorType = 2;  // 0 grey, 2 truecolour, 3 palette, 4 grey+alpha, 6 RGBA
    int bitDepth = 8;
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    bool withGamma = false;
    double gamma = 0.45455;
    bool interlaced = false;  // Adam7
};

std::string MakePng(int width, int height, const PixelFn& pixel, const PngOptions& options = {});

// A test skin from tests/data/skins copied into folder (a Windows-form path).
void CopyTestSkin(const std::string& testSkin, const std::string& targetFolder);

}  // namespace tc::test
