#include "skin/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "skin/DibImage.h"

namespace tc {

namespace {

constexpr double kScreenGamma = 2.2;
constexpr double kAssumedFileGamma = 0.5;
constexpr std::size_t kSignatureBytes = 4;

struct MemoryReader {
    std::string_view data;
    std::size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->data.size() - reader->pos) png_error(png, "unexpected end of file");
    std::memcpy(out, reader->data.data() + reader->pos, length);
    reader->pos += length;
}

void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void QuietWarning(png_structp, png_const_charp) {}

bool IsAcceptedType(int colorType, int bitDepth) {
    if (colorType == PNG_COLOR_TYPE_RGB) return bitDepth == 8;
    if (colorType == PNG_COLOR_TYPE_PALETTE) return bitDepth == 4 || bitDepth == 8;
    return false;
}

void PutU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    PutU16(b, at, v & 0xFFFF);
    PutU16(b, at + 2, v >> 16);
}

// Owns the libpng structures for one decoding.
class PngReader {
public:
    PngReader() {
        m_png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
        if (m_png) m_info = png_create_info_struct(m_png);
    }
    ~PngReader() { png_destroy_read_struct(&m_png, m_info ? &m_info : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool Ready() const { return m_png && m_info; }
    png_structp png() const { return m_png; }
    png_infop info() const { return m_info; }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

struct Decoded {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    std::vector<std::uint8_t> pixels;  // rows top first, rowBytes each
    std::size_t rowBytes = 0;
    png_colorp palette = nullptr;
    int paletteEntries = 0;
};

// Everything that may raise a libpng error runs here, with no C++ object that owns memory
// alive across the error return other than the caller's.
bool DecodeRows(PngReader& reader, MemoryReader& input, Decoded& d, std::vector<png_bytep>& rows) {
    png_structp png = reader.png();
    png_infop info = reader.info();
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_read_fn(png, &input, ReadFromMemory);
    png_set_sig_bytes(png, static_cast<int>(kSignatureBytes));
    png_read_info(png, info);
    png_get_IHDR(png, info, &d.width, &d.height, &d.bitDepth, &d.colorType, nullptr, nullptr, nullptr);
    if (!IsAcceptedType(d.colorType, d.bitDepth)) return false;

    double fileGamma = kAssumedFileGamma;
    if (!png_get_gAMA(png, info, &fileGamma)) fileGamma = kAssumedFileGamma;
    png_set_gamma(png, kScreenGamma, fileGamma);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    d.width = png_get_image_width(png, info);
    d.height = png_get_image_height(png, info);
    d.rowBytes = png_get_rowbytes(png, info);
    d.pixels.resize(d.rowBytes * d.height);
    rows.resize(d.height);
    for (png_uint_32 y = 0; y < d.height; ++y) rows[y] = d.pixels.data() + y * d.rowBytes;
    png_read_image(png, rows.data());
    if (d.colorType == PNG_COLOR_TYPE_PALETTE) png_get_PLTE(png, info, &d.palette, &d.paletteEntries);
    return true;
}

void WriteBmpImage(const Decoded& d, std::vector<std::uint8_t>& image, PngDecodeResult* result) {
    const bool palette = d.colorType == PNG_COLOR_TYPE_PALETTE;
    const int bitCount = palette ? d.bitDepth : 24;
    const std::size_t rowBytes = (static_cast<std::size_t>(d.width) * static_cast<std::size_t>(bitCount) + 7) / 8;
    const std::size_t stride = static_cast<std::size_t>(DibStride(static_cast<int>(d.width), bitCount));
    const std::size_t colorTableBytes = palette ? 4u << d.bitDepth : 0;
    const std::size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + colorTableBytes;
    const std::size_t total = pixelOffset + stride * d.height;

    image.assign(total, 0);
    image[0] = 'B';
    image[1] = 'M';
    PutU32(image, 2, static_cast<std::uint32_t>(total));
    PutU32(image, 10, static_cast<std::uint32_t>(pixelOffset));
    PutU32(image, 14, kInfoHeaderSize);
    PutU32(image, 18, d.width);
    PutU32(image, 22, d.height);
    PutU16(image, 26, 1);
    PutU16(image, 28, static_cast<std::uint32_t>(bitCount));

    const std::size_t maxEntries = colorTableBytes / 4;
    for (int i = 0; palette && i < d.paletteEntries && static_cast<std::size_t>(i) < maxEntries; ++i) {
        std::uint8_t* entry = image.data() + kFileHeaderSize + kInfoHeaderSize + 4 * static_cast<std::size_t>(i);
        entry[0] = d.palette[i].blue;
        entry[1] = d.palette[i].green;
        entry[2] = d.palette[i].red;
    }

    for (png_uint_32 y = 0; y < d.height; ++y) {
        const std::uint8_t* source = d.pixels.data() + y * d.rowBytes;
        std::uint8_t* target = image.data() + pixelOffset + (d.height - 1 - y) * stride;
        if (palette) {
            std::memcpy(target, source, rowBytes);
            continue;
        }
        for (png_uint_32 x = 0; x < d.width; ++x) {
            target[3 * x] = source[3 * x + 2];
            target[3 * x + 1] = source[3 * x + 1];
            target[3 * x + 2] = source[3 * x];
        }
    }
    if (result) *result = {total, colorTableBytes};
}

}  // namespace

bool DecodePng(std::string_view file, std::vector<std::uint8_t>& bmpImage, PngDecodeResult* result) {
    bmpImage.clear();
    if (file.size() < kSignatureBytes ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(file.data()), 0, kSignatureBytes) != 0) {
        return false;
    }
    PngReader reader;
    if (!reader.Ready()) return false;
    MemoryReader input{file, kSignatureBytes};
    Decoded decoded;
    std::vector<png_bytep> rows;
    if (!DecodeRows(reader, input, decoded, rows)) return false;
    WriteBmpImage(decoded, bmpImage, result);
    return true;
}

}  // namespace tc
