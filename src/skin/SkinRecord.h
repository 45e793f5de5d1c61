// The loaded skin: its character's name and profile, the surfaces with their bitmaps,
// shapes and animation frames, and what its descriptor files say. The character window
// derives from this record, so these are members of the window as well.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/OwnedHandle.h"
#include "skin/Descriptors.h"

namespace tc {

constexpr int kFramesPerSurface = 10;

// Size and depth of a loaded surface as it is shown: its picture's own size times the
// skin's factor.
struct SurfaceInfo {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

struct SkinRecord {
    SkinRecord() { m_surfaceLastFrame.fill(-1); }

    std::string m_skinTitle;
    std::string m_skinProfile;

    // Surfaces 0 to m_normalSurfaceCount - 1 are normal poses, m_dropSurfaceFirst on the
    // drop poses.
    int m_surfaceCount = 2;
    int m_normalSurfaceCount = 1;
    int m_dropSurfaceFirst = 1;
    int m_dropSurfaceCount = 1;

    std::array<std::optional<SurfaceInfo>, kSurfaceCount> m_surfaceInfo{};
    std::array<OwnedObject, kSurfaceCount> m_surfaceBitmap{};
    std::array<int, kSurfaceCount> m_surfaceBitsSize{};
    std::array<OwnedObject, kSurfaceCount> m_surfaceRegion{};
    std::array<Extent, kSurfaceCount> m_surfaceExtent{};
    // Frame bitmaps; a frame whose file did not decode has none and shows its surface.
    std::array<std::array<OwnedObject, kFramesPerSurface>, kSurfaceCount> m_surfaceFrames{};
    std::array<int, kSurfaceCount> m_surfaceLastFrame{};  // -1 when the surface has no frames
    std::array<HeadRect, kSurfaceCount> m_headRect{};
    std::vector<std::uint8_t> m_pngImage;  // the PNG decoder's output, emptied after each picture

    int m_scale = 1;  // the factor the pictures, shapes and head rectangles were enlarged by
    int m_balloonOffsetX = kOffsetNotGiven;  // as balloon.txt gives them, not enlarged
    int m_balloonOffsetY = kOffsetNotGiven;
};

}  // namespace tc
