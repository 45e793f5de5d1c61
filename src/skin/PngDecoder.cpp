#include "skin/PngDecoder.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "common/Bytes.h"

#include "skin/DibImage.h"

namespace tc {

namespace {

constexpr png_fixed_point kScreenGammaFixed = 220000;
constexpr png_fixed_point kAssumedFileGammaFixed = 50000;
constexpr std::size_t kSignatureBytes = 4;
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;
constexpr png_uint_32 kMaxCachedChunks = 128;
// The ancillary chunks a surface uses: the gamma (sRGB stands for a gamma too).
constexpr png_byte kReadChunks[] = "gAMA\0sRGB";
constexpr int kReadChunkCount = 2;

// Counts what libpng allocates for one decoding and refuses past kMaxDecoderBytes: the
// pixels go to the caller's buffer, so libpng itself needs rows, zlib's window and small
// chunks only, and a file that makes it ask for more is refused rather than served.
struct AllocationMeter {
    std::size_t current = 0;
    std::size_t peak = 0;
};

constexpr std::size_t kAllocationHeader = alignof(std::max_align_t);

png_voidp MeteredMalloc(png_structp png, png_alloc_size_t size) {
    auto* meter = static_cast<AllocationMeter*>(png_get_mem_ptr(png));
    if (size > kMaxDecoderBytes - meter->current) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(size + kAllocationHeader));
    if (!block) return nullptr;
    std::memcpy(block, &size, sizeof size);
    meter->current += size;
    meter->peak = std::max(meter->peak, meter->current);
    return block + kAllocationHeader;
}

void MeteredFree(png_structp png, png_voidp pointer) {
    if (!pointer) return;
    auto* block = static_cast<unsigned char*>(pointer) - kAllocationHeader;
    png_alloc_size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    static_cast<AllocationMeter*>(png_get_mem_ptr(png))->current -= size;
    std::free(block);
}

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

// Owns the libpng structures for one decoding.
class PngReader {
public:
    explicit PngReader(AllocationMeter& meter) {
        m_png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning, &meter,
                                         MeteredMalloc, MeteredFree);
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

struct Header {
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
};

// The BMP layout of the decoded picture.
struct Layout {
    int bitCount = 0;
    std::size_t stride = 0;
    std::size_t colorTableBytes = 0;
    std::size_t pixelOffset = 0;
    std::size_t total = 0;
};

Layout LayoutFor(const Header& h) {
    Layout l;
    const bool palette = h.colorType == PNG_COLOR_TYPE_PALETTE;
    l.bitCount = palette ? h.bitDepth : 24;
    l.stride = static_cast<std::size_t>(DibStride(static_cast<int>(h.width), l.bitCount));
    l.colorTableBytes = palette ? 4u << h.bitDepth : 0;
    l.pixelOffset = kFileHeaderSize + kInfoHeaderSize + l.colorTableBytes;
    l.total = l.pixelOffset + l.stride * h.height;
    return l;
}

void WriteHeaders(const Header& h, const Layout& l, std::vector<std::uint8_t>& image) {
    image[0] = 'B';
    image[1] = 'M';
    WriteU32(image, 2, static_cast<std::uint32_t>(l.total));
    WriteU32(image, 10, static_cast<std::uint32_t>(l.pixelOffset));
    WriteU32(image, 14, kInfoHeaderSize);
    WriteU32(image, 18, h.width);
    WriteU32(image, 22, h.height);
    WriteU16(image, 26, 1);
    WriteU16(image, 28, static_cast<std::uint32_t>(l.bitCount));
}

using GammaTable = std::array<png_byte, 256>;

// png_set_gamma_fixed(screen, file) applied to 8-bit values, worked out as libpng does it,
// so that a palette colour comes out as the same colour in a truecolour file would. Values
// stay as they are when screen x file, or the exponent 1 / (screen x file) of the table,
// lies within PNG_GAMMA_THRESHOLD (5 %) of 1.
GammaTable MakeGammaTable(png_fixed_point screenGamma, png_fixed_point fileGamma) {
    const auto significant = [](double fixed) {
        return fixed < PNG_FP_1 - PNG_GAMMA_THRESHOLD_FIXED || fixed > PNG_FP_1 + PNG_GAMMA_THRESHOLD_FIXED;
    };
    const double product = std::floor(static_cast<double>(screenGamma) * fileGamma / PNG_FP_1 + .5);
    const double exponent = std::floor(1e15 / fileGamma / screenGamma + .5);
    GammaTable table;
    for (int v = 0; v < 256; ++v) table[v] = static_cast<png_byte>(v);
    if (!significant(product) || !significant(exponent)) return table;
    for (int v = 1; v < 255; ++v) {
        table[v] = static_cast<png_byte>(std::floor(255 * std::pow(v / 255., exponent * .00001) + .5));
    }
    return table;
}

void WriteColorTable(const png_color* palette, int entries, const GammaTable& gamma, const Layout& l,
                     std::vector<std::uint8_t>& image) {
    const std::size_t maxEntries = l.colorTableBytes / 4;
    for (int i = 0; i < entries && static_cast<std::size_t>(i) < maxEntries; ++i) {
        std::uint8_t* entry = image.data() + kFileHeaderSize + kInfoHeaderSize + 4 * static_cast<std::size_t>(i);
        entry[0] = gamma[palette[i].blue];
        entry[1] = gamma[palette[i].green];
        entry[2] = gamma[palette[i].red];
    }
}

// Everything that may raise a libpng error runs here. The caller owns all memory, so the
// error return skips no destructor. Rows are decoded straight into their place in the BMP
// image, bottom row first, with libpng turning RGB into BGR and correcting the gamma of
// truecolour pixels. A palette is corrected here instead: libpng corrects the array behind
// png_get_PLTE on some reading paths only (interlaced files were corrected, others not),
// so the palette is copied as stored, before any transformation, and libpng is not asked
// for gamma on it at all.
bool DecodeInto(PngReader& reader, MemoryReader& input, std::vector<std::uint8_t>& image,
                std::vector<png_bytep>& rows, Layout& layout) {
    png_structp png = reader.png();
    png_infop info = reader.info();
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    // libpng reads ancillary chunks (text, pCAL, sCAL, profiles...) whole into a buffer it
    // allocates and clears first, so one that declares a huge length costs that much memory
    // and time before the read fails. Every chunk a surface does not use is skipped unread:
    // all unknown ones and every known ancillary one (a count of -1), then the gamma back.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kReadChunks, kReadChunkCount);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxCachedChunks);
    png_set_read_fn(png, &input, ReadFromMemory);
    png_set_sig_bytes(png, static_cast<int>(kSignatureBytes));
    png_read_info(png, info);
    Header h;
    png_get_IHDR(png, info, &h.width, &h.height, &h.bitDepth, &h.colorType, nullptr, nullptr, nullptr);
    if (!IsAcceptedType(h.colorType, h.bitDepth)) return false;
    const bool isPalette = h.colorType == PNG_COLOR_TYPE_PALETTE;

    std::array<png_color, PNG_MAX_PALETTE_LENGTH> palette{};
    int paletteEntries = 0;
    png_colorp stored = nullptr;
    if (isPalette && png_get_PLTE(png, info, &stored, &paletteEntries)) {
        if (paletteEntries > PNG_MAX_PALETTE_LENGTH) paletteEntries = PNG_MAX_PALETTE_LENGTH;
        std::memcpy(palette.data(), stored, sizeof(png_color) * static_cast<std::size_t>(paletteEntries));
    }

    // Without a gAMA chunk the file counts as gamma 0.5.
    png_fixed_point fileGamma = kAssumedFileGammaFixed;
    if (!png_get_gAMA_fixed(png, info, &fileGamma)) fileGamma = kAssumedFileGammaFixed;
    if (!isPalette) {
        png_set_gamma_fixed(png, kScreenGammaFixed, fileGamma);
        png_set_bgr(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    h.width = png_get_image_width(png, info);
    h.height = png_get_image_height(png, info);
    layout = LayoutFor(h);
    if (png_get_rowbytes(png, info) > layout.stride) return false;

    image.assign(layout.total, 0);
    WriteHeaders(h, layout, image);
    if (isPalette) {
        WriteColorTable(palette.data(), paletteEntries, MakeGammaTable(kScreenGammaFixed, fileGamma), layout, image);
    }
    rows.resize(h.height);
    for (png_uint_32 y = 0; y < h.height; ++y) {
        rows[y] = image.data() + layout.pixelOffset + (h.height - 1 - y) * layout.stride;
    }
    png_read_image(png, rows.data());
    return true;
}

}  // namespace

bool DecodePng(std::string_view file, std::vector<std::uint8_t>& bmpImage, PngDecodeResult* result) {
    bmpImage.clear();
    if (file.size() < kSignatureBytes ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(file.data()), 0, kSignatureBytes) != 0) {
        return false;
    }
    AllocationMeter meter;
    std::vector<png_bytep> rows;
    Layout layout;
    bool decoded = false;
    {
        PngReader reader(meter);
        MemoryReader input{file, kSignatureBytes};
        decoded = reader.Ready() && DecodeInto(reader, input, bmpImage, rows, layout);
    }
    if (result) *result = {decoded ? layout.total : 0, decoded ? layout.colorTableBytes : 0, meter.peak};
    if (!decoded) bmpImage.clear();
    return decoded;
}

}  // namespace tc
