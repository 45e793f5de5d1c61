// Surface pictures: BMP files of every accepted form and PNG files of the accepted colour
// types become the same bottom-up bitmap; refused or damaged files fail cleanly; the window
// shape is made of runs of pixels that differ from the top-left pixel.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

#include "skin/Shape.h"
#include "skin/DibImage.h"
#include "skin/PngDecoder.h"
#include "support/Images.h"

namespace tc {
namespace {

using test::BmpOptions;
using test::MakeBmp;
using test::MakePng;
using test::PngOptions;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::string_view View(const std::vector<std::uint8_t>& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

// A diagonal pattern that tells rows and columns apart.
std::uint32_t Pattern(int x, int y) { return static_cast<std::uint32_t>((x * 7 + y * 13) % 16); }

TEST(BmpFile, PaletteDepthsKeepTheirIndicesAndFullColourTables) {
    for (int bits : {1, 4, 8}) {
        BmpOptions o;
        o.bitCount = bits;
        o.palette = {0x112233, 0x445566};
        const int mask = (1 << bits) - 1;
        const auto image = ParseBmpFile(MakeBmp(13, 5, [&](int x, int y) { return Pattern(x, y) & mask; }, o));
        ASSERT_TRUE(image) << bits;
        EXPECT_EQ(image->bitCount, bits);
        EXPECT_EQ(image->stride, ((13 * bits + 31) / 32) * 4);
        EXPECT_EQ(image->header.size(), 40u + 4u * (1u << bits)) << "header and a full colour table";
        EXPECT_EQ(image->header[40], 0x33);
        EXPECT_EQ(image->header[46], 0x44);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 13; ++x) ASSERT_EQ(image->PixelValue(x, y), Pattern(x, y) & mask) << bits;
        }
    }
}

TEST(BmpFile, TwentyFourBitsHaveNoColourTable) {
    const auto image = ParseBmpFile(MakeBmp(3, 2, [](int x, int y) { return 0x010203u * (x + 1) + y; }));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->header.size(), 40u) << "a 24-bit surface copies 44 bytes with its one table entry slot unused";
    EXPECT_EQ(image->stride, 12) << "9 bytes of pixels padded to 12";
    EXPECT_EQ(U32(image->header, 20), 24u) << "image size = stride x height";
    // Bottom-up: the first stored row is the bottom picture row (y = 1).
    EXPECT_EQ(image->Bits()[0], 0x03 + 1);
    EXPECT_EQ(image->PixelValue(0, 0), 0x030201u) << "stored bytes B, G, R read as one number, first byte highest";
}

TEST(BmpFile, TopDownAndLargerHeadersAreNormalised) {
    BmpOptions topDown;
    topDown.topDown = true;
    const auto a = ParseBmpFile(MakeBmp(4, 3, [](int x, int y) { return 0x100000u * y + x; }, topDown));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->PixelValue(2, 0), (0x000002u << 16));  // stored B=2,G=0,R=0 -> 0x020000
    EXPECT_EQ(a->PixelValue(0, 2), 0x000020u);
    EXPECT_EQ(static_cast<int>(U32(a->header, 8)), 3) << "positive height: rows are stored bottom-up";

    BmpOptions v5;
    v5.headerSize = 124;
    v5.bitCount = 8;
    v5.palette = {0xAABBCC};
    const auto b = ParseBmpFile(MakeBmp(4, 3, [](int x, int) { return static_cast<std::uint32_t>(x); }, v5));
    ASSERT_TRUE(b);
    EXPECT_EQ(U32(b->header, 0), 40u);
    EXPECT_EQ(b->header[40], 0xCC) << "the colour table follows the longer header";
    EXPECT_EQ(b->PixelValue(3, 1), 3u);
}

TEST(BmpFile, ShortColourTablesAreCompletedWithBlack) {
    BmpOptions o;
    o.bitCount = 8;
    o.colorsUsed = 2;
    o.palette = {0x010101, 0x020202};
    const auto image = ParseBmpFile(MakeBmp(2, 2, [](int x, int) { return static_cast<std::uint32_t>(x); }, o));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->header.size(), 40u + 1024u);
    EXPECT_EQ(image->header[44], 0x02);
    EXPECT_EQ(image->header[48], 0x00) << "entries the file does not give are not taken from the pixels";
    EXPECT_EQ(image->PixelValue(1, 0), 1u);
}

TEST(BmpFile, SixteenAndThirtyTwoBitsAreConvertedToTwentyFour) {
    BmpOptions o32;
    o32.bitCount = 32;
    const auto a = ParseBmpFile(MakeBmp(2, 2, [](int x, int) { return x == 0 ? 0xFF00FFu : 0x123456u; }, o32));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->bitCount, 24);
    EXPECT_EQ(a->PixelValue(0, 0), 0xFF00FFu);
    EXPECT_EQ(a->PixelValue(1, 1), 0x563412u);  // stored B,G,R = 56,34,12

    BmpOptions o16;
    o16.bitCount = 16;
    const auto b = ParseBmpFile(MakeBmp(2, 1, [](int x, int) { return x == 0 ? 0xFFFFFFu : 0x000000u; }, o16));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->PixelValue(0, 0), 0xFFFFFFu) << "5-bit channels are scaled to full 8 bits";
    EXPECT_EQ(b->PixelValue(1, 0), 0u);
}

TEST(BmpFile, LyingOrDamagedFilesAreRefusedWithoutReadingPastTheEnd) {
    const std::string good = MakeBmp(8, 8, [](int, int) { return 0x808080u; });
    ASSERT_TRUE(ParseBmpFile(good));

    EXPECT_FALSE(ParseBmpFile(good.substr(0, good.size() - 1))) << "truncated pixel rows";
    EXPECT_FALSE(ParseBmpFile(good.substr(0, 30))) << "truncated header";
    EXPECT_FALSE(ParseBmpFile("")) << "empty file";

    std::string offsetPastEnd = good;
    offsetPastEnd[10] = static_cast<char>(0xF0);
    offsetPastEnd[11] = static_cast<char>(0xFF);
    EXPECT_FALSE(ParseBmpFile(offsetPastEnd));

    std::string offsetInsideHeader = good;
    offsetInsideHeader[10] = 20;
    offsetInsideHeader[11] = 0;
    EXPECT_FALSE(ParseBmpFile(offsetInsideHeader));

    std::string widerThanData = good;
    widerThanData[18] = 64;  // width 64 with the rows of an 8-pixel picture
    EXPECT_FALSE(ParseBmpFile(widerThanData));

    std::string absurd = good;
    absurd[21] = 0x7F;  // width near 2^31
    EXPECT_FALSE(ParseBmpFile(absurd));

    std::string zeroHeight = good;
    zeroHeight[22] = 0;
    EXPECT_FALSE(ParseBmpFile(zeroHeight));

    std::string notBmp = good;
    notBmp[0] = 'X';
    EXPECT_FALSE(ParseBmpFile(notBmp));

    std::string hugeHeader = good;
    hugeHeader[14] = static_cast<char>(0xFF);
    hugeHeader[15] = static_cast<char>(0xFF);
    EXPECT_FALSE(ParseBmpFile(hugeHeader));
}

// Every pixel value, top row first.
std::vector<std::uint32_t> Pixels(const DibImage& image) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) pixels.push_back(image.PixelValue(x, y));
    }
    return pixels;
}

// A decoded file must be exactly what the same picture stored uncompressed with a 40-byte
// header gives: header, colour table and rows.
void ExpectSameImage(const std::optional<DibImage>& decoded, const std::optional<DibImage>& plain) {
    ASSERT_TRUE(decoded);
    ASSERT_TRUE(plain);
    EXPECT_EQ(decoded->bitCount, plain->bitCount);
    EXPECT_EQ(decoded->header, plain->header);
    ASSERT_EQ(decoded->BitsSize(), plain->BitsSize());
    EXPECT_EQ(std::memcmp(decoded->Bits(), plain->Bits(), plain->BitsSize()), 0);
}

TEST(BmpFile, RunLengthEncodedFilesBecomePlainRows) {
    BmpOptions rle8;
    rle8.bitCount = 8;
    rle8.compression = 1;
    rle8.palette = {0x112233, 0x445566};
    // Bottom row first: a run of three 5s, an odd absolute run padded to 16 bits, a run of
    // one 9; then 1 2 3 4 ending the line early; then a delta that skips a row and two
    // columns, a run of two 7s and the end of the bitmap.
    const std::string stream8("\x03\x05\x00\x03\x0A\x0B\x0C\x00\x01\x09\x00\x00"
                              "\x00\x04\x01\x02\x03\x04\x00\x00"
                              "\x00\x02\x02\x01\x02\x07\x00\x01", 28);
    const std::vector<std::vector<std::uint32_t>> rows8 = {
        {0, 0, 7, 7, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 0, 0, 0}, {5, 5, 5, 10, 11, 12, 9}};
    BmpOptions plain8 = rle8;
    plain8.compression = 0;
    ExpectSameImage(ParseBmpFile(test::MakeBmpWithData(7, 4, stream8, rle8)),
                    ParseBmpFile(MakeBmp(7, 4, [&](int x, int y) { return rows8[y][x]; }, plain8)));

    BmpOptions rle4;
    rle4.bitCount = 4;
    rle4.compression = 2;
    rle4.palette = {0x010203};
    // Five pixels wide: a run of six alternating 1, 2 whose last pixel lies beyond the row
    // and is dropped, not carried to the next row; then a delta of one column and an
    // absolute run of five (three bytes and a pad byte) that loses its last pixel too.
    const std::string stream4("\x06\x12\x00\x00"
                              "\x00\x02\x01\x00\x00\x05\x34\x56\x70\x00\x00\x01", 16);
    const std::vector<std::vector<std::uint32_t>> rows4 = {{0, 3, 4, 5, 6}, {1, 2, 1, 2, 1}};
    BmpOptions plain4 = rle4;
    plain4.compression = 0;
    ExpectSameImage(ParseBmpFile(test::MakeBmpWithData(5, 2, stream4, rle4)),
                    ParseBmpFile(MakeBmp(5, 2, [&](int x, int y) { return rows4[y][x]; }, plain4)));
}

TEST(BmpFile, DamagedRunLengthStreamsKeepWhatCameBeforeTheDamage) {
    BmpOptions rle8;
    rle8.bitCount = 8;
    rle8.compression = 1;
    const auto decode = [&](const std::string& stream) {
        const auto image = ParseBmpFile(test::MakeBmpWithData(4, 2, stream, rle8));
        return image ? Pixels(*image) : std::vector<std::uint32_t>{};
    };
    const std::vector<std::uint32_t> twoFives = {0, 0, 0, 0, 5, 5, 0, 0};
    EXPECT_EQ(decode(std::string("\x02\x05\x00\x00\x02", 5)), twoFives) << "stream ends inside a code";
    EXPECT_EQ(decode(std::string("\x02\x05\x00\x02\x00\x05\x02\x07", 8)), twoFives) << "delta below the picture";
    EXPECT_EQ(decode(std::string("\x02\x05\x00\x00\x00\x00\x02\x07", 8)), twoFives) << "lines past the last one";
    EXPECT_EQ(decode(std::string("\x02\x05\x00\x05\x01\x02", 6)), twoFives) << "absolute run longer than the stream";
    EXPECT_EQ(decode(std::string("\x00\x03\x01\x02\x03", 5)), (std::vector<std::uint32_t>{0, 0, 0, 0, 1, 2, 3, 0}))
        << "odd absolute run without its pad byte at the very end";
    EXPECT_EQ(decode(std::string("\xFF\x05\x00\x02\xFF\x00\xFF\x06", 8)),
              (std::vector<std::uint32_t>{0, 0, 0, 0, 5, 5, 5, 5}))
        << "runs and deltas far beyond the right edge write nothing";
    EXPECT_EQ(decode(""), std::vector<std::uint32_t>(8, 0)) << "pixels the stream does not reach are index 0";
}

TEST(BmpFile, RunLengthAndDepthMismatchesAreRefused) {
    const auto refused = [](int bits, std::uint32_t compression, bool topDown = false) {
        BmpOptions o;
        o.bitCount = bits;
        o.compression = compression;
        o.topDown = topDown;
        // An end of bitmap code, then enough bytes for the rows of an uncompressed file.
        return !ParseBmpFile(test::MakeBmpWithData(4, 4, std::string("\x00\x01", 2) + std::string(62, '\0'), o));
    };
    EXPECT_FALSE(refused(8, 1));
    EXPECT_FALSE(refused(4, 2));
    EXPECT_TRUE(refused(8, 1, true)) << "run-length rows cannot be stored top-down";
    EXPECT_TRUE(refused(4, 1)) << "8-bit runs in a 4-bit file";
    EXPECT_TRUE(refused(8, 2)) << "4-bit runs in an 8-bit file";
    EXPECT_TRUE(refused(24, 1));
    EXPECT_TRUE(refused(24, 4)) << "embedded JPEG";
    EXPECT_TRUE(refused(24, 5)) << "embedded PNG";
    BmpOptions two;
    two.bitCount = 2;
    EXPECT_FALSE(ParseBmpFile(MakeBmp(4, 4, [](int, int) { return 0u; }, two)));
}

TEST(BmpFile, Os2CoreHeadersBecomeInfoHeadersWithFourByteColours) {
    for (int bits : {1, 4, 8, 24}) {
        BmpOptions core;
        core.headerSize = 12;
        core.bitCount = bits;
        core.palette = {0x112233, 0x445566};
        BmpOptions info = core;
        info.headerSize = 40;
        const auto pixel = [&](int x, int y) {
            return bits == 24 ? 0x010203u * Pattern(x, y) : Pattern(x, y) % (1u << bits);
        };
        ExpectSameImage(ParseBmpFile(MakeBmp(13, 5, pixel, core)), ParseBmpFile(MakeBmp(13, 5, pixel, info)));
    }

    BmpOptions shortTable;
    shortTable.headerSize = 12;
    shortTable.bitCount = 8;
    shortTable.colorsUsed = 2;  // only two 3-byte entries before the pixels
    shortTable.palette = {0x010101, 0x020202};
    const auto image = ParseBmpFile(MakeBmp(3, 2, [](int x, int) { return static_cast<std::uint32_t>(x); }, shortTable));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->header[44], 0x02);
    EXPECT_EQ(image->header[48], 0x00) << "the pixels are not read as colours";
    EXPECT_EQ(image->PixelValue(2, 1), 2u);

    BmpOptions core;
    core.headerSize = 12;
    const std::string good = MakeBmp(4, 4, [](int, int) { return 0x808080u; }, core);
    ASSERT_TRUE(ParseBmpFile(good));
    EXPECT_FALSE(ParseBmpFile(good.substr(0, good.size() - 1))) << "truncated rows";
    EXPECT_FALSE(ParseBmpFile(good.substr(0, 24))) << "truncated header";
    std::string wide = good;
    wide[19] = 0x20;  // 8196 pixels
    EXPECT_FALSE(ParseBmpFile(wide));
    BmpOptions deep = core;
    deep.bitCount = 32;
    EXPECT_FALSE(ParseBmpFile(MakeBmp(4, 4, [](int, int) { return 0u; }, deep)));
    BmpOptions palette = core;
    palette.bitCount = 8;
    const std::string withTable = MakeBmp(4, 4, [](int, int) { return 0u; }, palette);
    EXPECT_FALSE(ParseBmpFile(withTable.substr(0, 26 + 100))) << "file ends inside the colour table";
}

TEST(PngFile, TruecolourBecomesAPaddedBottomUpBmpImage) {
    std::vector<std::uint8_t> bmp;
    PngDecodeResult result;
    const std::string png = MakePng(3, 2, [](int x, int y) { return y == 0 ? 0xFF0000u : 0x0000FFu * (x == 1); });
    ASSERT_TRUE(DecodePng(png, bmp, &result));
    EXPECT_EQ(result.colorTableBytes, 0u);
    EXPECT_EQ(result.totalBytes, 54u + 12u * 2u) << "rows of 9 bytes padded to 12";
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(U32(bmp, 10), 54u);
    EXPECT_EQ(U32(bmp, 22), 2u);
    // Row 0 of the BMP is the bottom PNG row: pixel 1 is blue, stored B, G, R.
    EXPECT_EQ(bmp[54 + 3], 0xFF);
    EXPECT_EQ(bmp[54 + 5], 0x00);
    // The top row is red; the file's missing gAMA means gamma 0.5, which keeps 0 and 255.
    EXPECT_EQ(bmp[54 + 12 + 2], 0xFF);
    const auto image = ParseBmpFile(View(bmp));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->PixelValue(0, 0), 0x0000FFu);
}

TEST(PngFile, PaletteImagesKeepIndicesAndCarryTheirPalette) {
    PngOptions four;
    four.colorType = 3;
    four.bitDepth = 4;
    four.palette = {0xFF00FF, 0x000000, 0xFFFFFF};
    std::vector<std::uint8_t> bmp;
    PngDecodeResult result;
    ASSERT_TRUE(DecodePng(MakePng(5, 3, [](int x, int) { return static_cast<std::uint32_t>(x % 3); }, four), bmp, &result));
    EXPECT_EQ(result.colorTableBytes, 64u);
    EXPECT_EQ(U32(bmp, 10), 118u) << "14 + 40 + 64";
    EXPECT_EQ(result.totalBytes, 118u + 4u * 3u) << "rows of 3 bytes padded to 4";
    EXPECT_EQ(bmp[54], 0xFF);
    EXPECT_EQ(bmp[55], 0x00);
    EXPECT_EQ(bmp[56], 0xFF) << "entry 0 is magenta, stored B, G, R, 0";
    EXPECT_EQ(bmp[54 + 4 * 3], 0) << "entries beyond the palette stay zero";
    const auto image = ParseBmpFile(View(bmp));
    ASSERT_TRUE(image);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(image->PixelValue(x, 1), static_cast<std::uint32_t>(x % 3));

    PngOptions eight = four;
    eight.bitDepth = 8;
    ASSERT_TRUE(DecodePng(MakePng(2, 2, [](int x, int y) { return static_cast<std::uint32_t>(x + y); }, eight), bmp, &result));
    EXPECT_EQ(result.colorTableBytes, 1024u);
}

TEST(PngFile, RefusedTypesAndDamagedFilesFail) {
    std::vector<std::uint8_t> bmp;
    const auto pixel = [](int, int) { return 0x123456u; };
    PngOptions rgba;
    rgba.colorType = 6;
    EXPECT_FALSE(DecodePng(MakePng(4, 4, pixel, rgba), bmp));
    EXPECT_TRUE(bmp.empty());
    PngOptions grey;
    grey.colorType = 0;
    EXPECT_FALSE(DecodePng(MakePng(4, 4, pixel, grey), bmp));
    PngOptions greyAlpha;
    greyAlpha.colorType = 4;
    EXPECT_FALSE(DecodePng(MakePng(4, 4, pixel, greyAlpha), bmp));
    PngOptions deep;
    deep.bitDepth = 16;
    EXPECT_FALSE(DecodePng(MakePng(4, 4, pixel, deep), bmp));

    const std::string good = MakePng(16, 16, pixel);
    ASSERT_TRUE(DecodePng(good, bmp));
    EXPECT_FALSE(DecodePng(good.substr(0, good.size() / 2), bmp)) << "truncated";
    std::string corrupt = good;
    corrupt[good.size() / 2] = static_cast<char>(corrupt[good.size() / 2] ^ 0x55);
    EXPECT_FALSE(DecodePng(corrupt, bmp)) << "bad checksum";
    EXPECT_FALSE(DecodePng("\x89PNG", bmp));
    EXPECT_FALSE(DecodePng("GIF89a", bmp));
    EXPECT_TRUE(bmp.empty());
}

TEST(PngFile, ChunksDeclaringHugeLengthsAreRefused) {
    std::string png = MakePng(7, 3, [](int, int) { return 0x102030u; });
    // A tEXt chunk of 402 MB declared length, right after IHDR (8 + 25 bytes). The fuzz
    // corpus keeps the input that found it, so a run that allocated it again would fail.
    const std::string chunk("\x18\x00\x00\x25tEXtdafy", 12);
    png.insert(33, chunk);
    std::vector<std::uint8_t> bmp;
    EXPECT_FALSE(DecodePng(png, bmp));
}

TEST(PngFile, ChunksTheSurfaceDoesNotUseAreSkippedUnreadWhateverTheyDeclare) {
    // Each chunk declares the largest length a PNG chunk may have and holds a few bytes; a
    // decoder that reads it allocates (and clears) gigabytes before it finds the file short.
    const std::string ihdrOnly = MakePng(2, 2, [](int, int) { return 0u; }).substr(0, 33);
    for (const char* type : {"pCAL", "sCAL", "tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "eXIf", "hIST", "prVt"}) {
        const std::string file = ihdrOnly + std::string("\x7F\xFF\xFF\xFF", 4) + type + "abcdefghijklmnop";
        std::vector<std::uint8_t> bmp;
        PngDecodeResult result;
        EXPECT_FALSE(DecodePng(file, bmp, &result)) << type;
        EXPECT_LT(result.peakDecoderBytes, 64u * 1024) << type;
    }
    // A picture of the largest accepted side stays within what the decoder may hold.
    PngDecodeResult result;
    std::vector<std::uint8_t> bmp;
    PngOptions interlaced;
    interlaced.interlaced = true;
    ASSERT_TRUE(DecodePng(MakePng(4096, 8, [](int x, int y) { return static_cast<std::uint32_t>(x * y); }, interlaced),
                          bmp, &result));
    EXPECT_GT(result.peakDecoderBytes, 0u);
    EXPECT_LE(result.peakDecoderBytes, kMaxDecoderBytes);
}

TEST(PngFile, GammaFromTheFileIsApplied) {
    PngOptions linear;
    linear.withGamma = true;
    linear.gamma = 1.0 / 2.2;  // matches the screen: values unchanged
    std::vector<std::uint8_t> bmp;
    ASSERT_TRUE(DecodePng(MakePng(1, 1, [](int, int) { return 0x808080u; }, linear), bmp));
    EXPECT_EQ(bmp[54], 0x80);
    ASSERT_TRUE(DecodePng(MakePng(1, 1, [](int, int) { return 0x808080u; }), bmp));
    EXPECT_NE(bmp[54], 0x80) << "without gAMA the file counts as gamma 0.5";
}

// libpng's own gamma correction of a truecolour file, for comparison.
std::vector<std::uint8_t> ReferenceRgb(const std::string& file) {
    struct Input {
        const std::string* data;
        std::size_t pos;
    } input{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &input, [](png_structp p, png_bytep out, png_size_t n) {
        auto* in = static_cast<Input*>(png_get_io_ptr(p));
        std::memcpy(out, in->data->data() + in->pos, n);
        in->pos += n;
    });
    png_read_info(png, info);
    double gamma = 0.5;
    if (!png_get_gAMA(png, info, &gamma)) gamma = 0.5;
    png_set_gamma(png, 2.2, gamma);
    png_read_update_info(png, info);
    std::vector<std::uint8_t> pixels(png_get_rowbytes(png, info) * png_get_image_height(png, info));
    std::vector<png_bytep> rows(png_get_image_height(png, info));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = pixels.data() + y * png_get_rowbytes(png, info);
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return pixels;
}

TEST(PngFile, TruecolourGammaMatchesLibpngForEveryValue) {
    for (double gamma : {0.0, 0.45455, 0.5, 1.0, 0.3, 0.7, 0.43, 0.48, 2.0}) {
        PngOptions o;
        o.withGamma = gamma > 0;
        o.gamma = gamma;
        const std::string png = MakePng(256, 2, [](int x, int y) {
            return static_cast<std::uint32_t>((x << 16) | ((255 - x) << 8) | (y ? x ^ 0x55 : x));
        }, o);
        const std::vector<std::uint8_t> reference = ReferenceRgb(png);
        std::vector<std::uint8_t> bmp;
        ASSERT_TRUE(DecodePng(png, bmp));
        const auto image = ParseBmpFile(View(bmp));
        ASSERT_TRUE(image);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 256; ++x) {
                const std::uint8_t* ref = reference.data() + (y * 256 + x) * 3;
                const std::uint32_t expected = (static_cast<std::uint32_t>(ref[2]) << 16) | (ref[1] << 8) | ref[0];
                ASSERT_EQ(image->PixelValue(x, y), expected) << "gamma " << gamma << " at " << x << "," << y;
            }
        }
    }
}

TEST(PngFile, PaletteGammaMatchesTruecolourWithOrWithoutInterlacing) {
    // 256 entries that run through every value in each channel.
    const auto colour = [](int i) { return static_cast<std::uint32_t>((i << 16) | ((255 - i) << 8) | (i ^ 0x55)); };
    PngOptions o;
    o.colorType = 3;
    for (int i = 0; i < 256; ++i) o.palette.push_back(colour(i));
    const auto index = [](int x, int y) { return static_cast<std::uint32_t>(16 * y + x); };
    const auto table = [](const std::vector<std::uint8_t>& bmp, int i) {
        const std::uint8_t* entry = bmp.data() + 54 + 4 * i;
        return (static_cast<std::uint32_t>(entry[2]) << 16) | (entry[1] << 8) | entry[0];
    };
    // 0.46 and 0.478 bring the overall exponent within 5 % of 1, where libpng changes nothing.
    for (double gamma : {0.0, 0.45455, 0.5, 1.0, 0.3, 0.7, 0.43, 0.48, 2.0, 0.46, 0.478}) {
        o.withGamma = gamma > 0;
        o.gamma = gamma;
        PngOptions rgb;
        rgb.withGamma = o.withGamma;
        rgb.gamma = gamma;
        const std::vector<std::uint8_t> reference =
            ReferenceRgb(MakePng(256, 1, [&](int x, int) { return colour(x); }, rgb));
        for (bool interlaced : {false, true}) {
            o.interlaced = interlaced;
            std::vector<std::uint8_t> bmp;
            ASSERT_TRUE(DecodePng(MakePng(16, 16, index, o), bmp));
            for (int i = 0; i < 256; ++i) {
                const std::uint8_t* ref = reference.data() + 3 * i;
                const std::uint32_t expected = (static_cast<std::uint32_t>(ref[0]) << 16) | (ref[1] << 8) | ref[2];
                ASSERT_EQ(table(bmp, i), expected)
                    << "gamma " << gamma << (interlaced ? " interlaced" : "") << " entry " << i;
                if (gamma == 0.46 || gamma == 0.478) {
                    ASSERT_EQ(table(bmp, i), colour(i)) << gamma;
                }
            }
            const auto image = ParseBmpFile(View(bmp));
            ASSERT_TRUE(image);
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) ASSERT_EQ(image->PixelValue(x, y), index(x, y)) << interlaced;
            }
        }
    }
}

TEST(Shape, OnePixelRunsAndTheExtent) {
    // 1 bit, top-left 0: the shape is the 1 bits.
    BmpOptions one;
    one.bitCount = 1;
    const auto mono = ParseBmpFile(MakeBmp(16, 2, [](int x, int y) { return (y == 1 && x >= 3 && x < 7) ? 1u : 0u; }, one));
    ASSERT_TRUE(mono);
    const SurfaceShape shape = BuildSurfaceShape(*mono);
    EXPECT_EQ(shape.runs, (std::vector<ShapeRun>{{1, 3, 7}}));
    EXPECT_EQ(shape.extentLeft, 3);
    EXPECT_EQ(shape.extentRight, 7);
}

TEST(Shape, EightBitKeyIsTheTopLeftByte) {
    BmpOptions eight;
    eight.bitCount = 8;
    const auto image = ParseBmpFile(MakeBmp(60, 3, [](int x, int y) -> std::uint32_t {
        if (y == 0 && x == 0) return 17;
        if (x >= 10 && x < 50) return y == 1 ? 3u : 0u;
        return 17;
    }, eight));
    ASSERT_TRUE(image);
    const SurfaceShape shape = BuildSurfaceShape(*image);
    // Rows 1 and 2 hold bytes 3 and 0 in columns 10 to 49: both differ from 17.
    EXPECT_EQ(shape.runs, (std::vector<ShapeRun>{{0, 10, 50}, {1, 10, 50}, {2, 10, 50}}));
    EXPECT_EQ(shape.extentLeft, 10);
    EXPECT_EQ(shape.extentRight, 50);
}

TEST(Shape, RunsOpenAtTheRowEndAndSeveralPerRow) {
    BmpOptions four;
    four.bitCount = 4;
    const auto image = ParseBmpFile(MakeBmp(9, 1, [](int x, int) { return (x == 1 || x == 2 || x >= 6) ? 5u : 0u; }, four));
    ASSERT_TRUE(image);
    const SurfaceShape shape = BuildSurfaceShape(*image);
    EXPECT_EQ(shape.runs, (std::vector<ShapeRun>{{0, 1, 3}, {0, 6, 9}}));
    EXPECT_EQ(shape.extentRight, 9);
}

TEST(Shape, TwentyFourBitsAndPicturesWithoutOpaquePixels) {
    const auto image = ParseBmpFile(MakeBmp(4, 2, [](int x, int y) { return (x == 2 && y == 1) ? 0xFF00FEu : 0xFF00FFu; }));
    ASSERT_TRUE(image);
    EXPECT_EQ(BuildSurfaceShape(*image).runs, (std::vector<ShapeRun>{{1, 2, 3}}));

    const auto empty = ParseBmpFile(MakeBmp(4, 2, [](int, int) { return 0xFF00FFu; }));
    const SurfaceShape none = BuildSurfaceShape(*empty);
    EXPECT_TRUE(none.runs.empty());
    EXPECT_EQ(none.extentLeft, 1024);
    EXPECT_EQ(none.extentRight, 0);
}

}  // namespace
}  // namespace tc
