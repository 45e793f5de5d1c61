// The skin's text files: profile.txt, balloon.txt, headrect.txt, separate.txt and omni.txt
// read any bytes without fault; separation stays within the surfaces.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/Descriptors.h"
#include "skin/SkinFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    std::string title, profile;
    tc::ParseProfile(file, title, profile);
    tc::ParseBalloonOffsets(file);
    std::array<tc::HeadRect, tc::kSurfaceCount> rects{};
    tc::ParseHeadRects(file, rects);
    const int surfaces = 1 + static_cast<int>(size % 32);
    const int first = tc::ParseSeparation(file, surfaces);
    if (first < 1 || (surfaces > 1 && first >= surfaces)) std::abort();
    const tc::OmniPlacement omni = tc::ParseOmni(file);
    if (omni.mode == 1 && (!omni.x || !omni.y)) std::abort();
    return 0;
}
