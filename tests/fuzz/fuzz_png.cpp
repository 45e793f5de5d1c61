// PNG decoder: any bytes are refused or give a BMP image that the BMP loader accepts, with
// the sizes the decoder reports, and libpng never holds more than the decoder's bound.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/DibImage.h"
#include "skin/PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bmp;
    tc::PngDecodeResult result;
    const bool decoded = tc::DecodePng(std::string_view(reinterpret_cast<const char*>(data), size), bmp, &result);
    if (result.peakDecoderBytes > tc::kMaxDecoderBytes) std::abort();
    if (!decoded) {
        if (!bmp.empty()) std::abort();
        return 0;
    }
    if (bmp.size() != result.totalBytes) std::abort();
    const auto image = tc::ParseBmpFile(std::string_view(reinterpret_cast<const char*>(bmp.data()), bmp.size()));
    if (!image) std::abort();
    return 0;
}
