// The small text files of a skin folder: balloon.txt (balloon offsets), headrect.txt (a
// head rectangle per surface), separate.txt (normal and drop poses) and omni.txt (free
// placement and the remembered position). Each reader takes the file's bytes, or nothing
// when the file cannot be opened, and gives the values with their defaults applied.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tc {

constexpr int kSurfaceCount = 32;
constexpr int kOffsetNotGiven = 1024;

struct HeadRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const HeadRect&) const = default;
};

struct Extent {
    int left = 1024;  // leftmost opaque column
    int right = 0;    // one past the rightmost opaque column
};

struct BalloonOffsets {
    int x = kOffsetNotGiven;
    int y = kOffsetNotGiven;
};
BalloonOffsets ParseBalloonOffsets(const std::optional<std::string>& file);

// Default head rectangle of a surface: the middle half of its opaque extent, rows 0 to 31.
HeadRect DefaultHeadRect(const Extent& extent);
// Applies headrect.txt lines over rects (which hold the defaults).
void ParseHeadRects(std::string_view file, std::array<HeadRect, kSurfaceCount>& rects);

// The first drop pose: separate.txt's number when it lies in 1 to surfaceCount - 1, else 1.
int ParseSeparation(const std::optional<std::string>& file, int surfaceCount);

struct OmniPlacement {
    int mode = 0;  // 0 bottom of the screen, 1 free, 2 free with the height computed once
    std::optional<int> x, y;
};
OmniPlacement ParseOmni(const std::optional<std::string>& file);
// omni.txt as written: x, y and an empty line, each ended by CR LF.
std::string FormatOmni(int x, int y);

}  // namespace tc
