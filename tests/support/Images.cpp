#include "support/Images.h"

#include <png.h>

#include <filesystem>
#include <stdexcept>

#include "platform/posix/PosixFileSystem.h"

namespace tc::test {

namespace {

void Put16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

void WriteToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}

// File header, info or core header and colour table, sized for dataSize bytes of pixels.
std::string BmpHeaders(int width, int height, const BmpOptions& o, std::size_t dataSize) {
    const bool core = o.headerSize == 12;
    const int entrySize = core ? 3 : 4;
    const int entries = o.bitCount <= 8 ? (o.colorsUsed > 0 ? o.colorsUsed : (1 << o.bitCount)) : 0;
    const std::size_t tableOffset = 14 + static_cast<std::size_t>(o.headerSize);
    const std::size_t pixelOffset = tableOffset + static_cast<std::size_t>(entrySize * entries);
    std::string b(pixelOffset + dataSize, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(pixelOffset));
    Put32(b, 14, static_cast<std::uint32_t>(o.headerSize));
    if (core) {
        Put16(b, 18, static_cast<std::uint32_t>(width));
        Put16(b, 20, static_cast<std::uint32_t>(height));
        Put16(b, 22, 1);
        Put16(b, 24, static_cast<std::uint32_t>(o.bitCount));
    } else {
        Put32(b, 18, static_cast<std::uint32_t>(width));
        Put32(b, 22, static_cast<std::uint32_t>(o.topDown ? -height : height));
        Put16(b, 26, 1);
        Put16(b, 28, static_cast<std::uint32_t>(o.bitCount));
        Put32(b, 30, o.compression);
        Put32(b, 46, static_cast<std::uint32_t>(o.colorsUsed));
    }
    for (int i = 0; i < entries && i < static_cast<int>(o.palette.size()); ++i) {
        const std::uint32_t c = o.palette[static_cast<std::size_t>(i)];
        const std::size_t at = tableOffset + static_cast<std::size_t>(entrySize * i);
        b[at] = static_cast<char>(c & 0xFF);
        b[at + 1] = static_cast<char>((c >> 8) & 0xFF);
        b[at + 2] = static_cast<char>((c >> 16) & 0xFF);
    }
    return b;
}

}  // namespace

std::string MakeBmpWithData(int width, int height, const std::string& data, const BmpOptions& o) {
    std::string b = BmpHeaders(width, height, o, data.size());
    b.replace(b.size() - data.size(), data.size(), data);
    return b;
}

std::string MakeBmp(int width, int height, const PixelFn& pixel, const BmpOptions& o) {
    const int stride = ((width * o.bitCount + 31) / 32) * 4;
    std::string b = BmpHeaders(width, height, o, static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    const std::size_t pixelOffset = b.size() - static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    for (int y = 0; y < height; ++y) {
        const int stored = o.topDown ? y : height - 1 - y;
        const std::size_t row = pixelOffset + static_cast<std::size_t>(stored) * static_cast<std::size_t>(stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            switch (o.bitCount) {
            case 32:
                Put32(b, row + 4 * static_cast<std::size_t>(x), v);
                break;
            case 24:
                b[row + 3 * x] = static_cast<char>(v & 0xFF);
                b[row + 3 * x + 1] = static_cast<char>((v >> 8) & 0xFF);
                b[row + 3 * x + 2] = static_cast<char>((v >> 16) & 0xFF);
                break;
            case 16:  // 5-5-5 from the top bits of each channel
                Put16(b, row + 2 * static_cast<std::size_t>(x),
                      ((v >> 19) & 0x1F) << 10 | ((v >> 11) & 0x1F) << 5 | ((v >> 3) & 0x1F));
                break;
            case 8:
                b[row + x] = static_cast<char>(v);
                break;
            case 4:
                b[row + x / 2] = static_cast<char>(b[row + x / 2] | (x % 2 == 0 ? (v & 0xF) << 4 : (v & 0xF)));
                break;
            default:
                if (v & 1) b[row + x / 8] = static_cast<char>(b[row + x / 8] | (0x80 >> (x % 8)));
                break;
            }
        }
    }
    return b;
}

std::string MakePng(int width, int height, const PixelFn& pixel, const PngOptions& o) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png write failed");
    }
    png_set_write_fn(png, &out, WriteToString, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), o.bitDepth, o.colorType,
                 o.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::uint32_t c : o.palette) {
        palette.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
    }
    if (o.colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (o.withGamma) png_set_gAMA(png, info, o.gamma);
    png_write_info(png, info);

    const int channels = o.colorType == 2 ? 3 : o.colorType == 6 ? 4 : o.colorType == 4 ? 2 : 1;
    const int bytesPerSample = o.bitDepth == 16 ? 2 : 1;
    const std::size_t rowBytes = static_cast<std::size_t>(width * channels * bytesPerSample) + 8;
    std::vector<png_byte> rows(rowBytes * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        png_byte* row = rows.data() + rowBytes * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            if (channels == 1 && o.bitDepth < 8) {
                const int perByte = 8 / o.bitDepth;
                const int shift = 8 - o.bitDepth * (x % perByte + 1);
                row[static_cast<std::size_t>(x / perByte)] |= static_cast<png_byte>((v & ((1u << o.bitDepth) - 1)) << shift);
                continue;
            }
            for (int c = 0; c < channels; ++c) {
                const png_byte sample = channels >= 3 ? static_cast<png_byte>(v >> (8 * (2 - (c < 3 ? c : 2)))) : static_cast<png_byte>(v);
                for (int s = 0; s < bytesPerSample; ++s) {
                    row[static_cast<std::size_t>((x * channels + c) * bytesPerSample + s)] = sample;
                }
            }
        }
    }
    // Interlaced files take every row once per pass; libpng picks the pixels of each pass.
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) png_write_row(png, rows.data() + rowBytes * static_cast<std::size_t>(y));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void CopyTestSkin(const std::string& testSkin, const std::string& targetFolder) {
    namespace fs = std::filesystem;
    const fs::path target = PosixFileSystem::ToNativePath(targetFolder);
    fs::create_directories(target);
    fs::copy(fs::path(TUMBLECAT_SOURCE_DIR) / "tests/data/skins" / testSkin, target,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

}  // namespace tc::test
