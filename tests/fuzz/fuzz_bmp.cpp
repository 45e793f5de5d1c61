// BMP loader: any bytes are either refused or give an image whose rows lie inside it, and
// whose shape can be built.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/Shape.h"
#include "skin/DibImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = tc::ParseBmpFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!image) return 0;
    if (image->BitsSize() != static_cast<std::size_t>(image->stride) * static_cast<std::size_t>(image->height)) {
        std::abort();
    }
    if (image->header.size() != 40u + 4u * static_cast<std::size_t>(image->ColorEntries())) std::abort();
    const tc::SurfaceShape shape = tc::BuildSurfaceShape(*image);
    for (const tc::ShapeRun& run : shape.runs) {
        if (run.left < 0 || run.right > image->width || run.left >= run.right) std::abort();
    }
    return 0;
}
