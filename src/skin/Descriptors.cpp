#include "skin/Descriptors.h"

#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

namespace {
constexpr std::size_t kLineBuffer = 1024;
}

BalloonOffsets ParseBalloonOffsets(const std::optional<std::string>& file) {
    BalloonOffsets offsets;
    if (!file) return offsets;
    TextReader reader(*file);
    std::string line;
    if (!reader.ReadLine(line, kLineBuffer)) return offsets;
    offsets.x = ParseLenientInt(line);
    if (reader.ReadLine(line, kLineBuffer)) offsets.y = ParseLenientInt(line);
    return offsets;
}

HeadRect DefaultHeadRect(const Extent& extent) {
    const int quarter = (extent.right - extent.left) >> 2;
    return {extent.left + quarter, 0, extent.right - quarter, 31};
}

void ParseHeadRects(std::string_view file, std::array<HeadRect, kSurfaceCount>& rects) {
    TextReader reader(file);
    std::string line;
    for (int k = 0; k < kSurfaceCount && reader.ReadLine(line, kLineBuffer); ++k) {
        DropTrailingLineFeed(line);
        int* fields[] = {&rects[k].left, &rects[k].top, &rects[k].right};
        std::size_t start = 0;
        bool allCommas = true;
        for (int* field : fields) {
            const std::size_t comma = FindSjisChar(line, ',', start);
            if (comma == std::string::npos) {
                allCommas = false;
                break;
            }
            *field = ParseLenientInt(std::string_view(line).substr(start, comma - start));
            start = comma + 1;
        }
        if (allCommas && start < line.size()) rects[k].bottom = ParseLenientInt(std::string_view(line).substr(start));
    }
}

int ParseSeparation(const std::optional<std::string>& file, int surfaceCount) {
    int first = 1;
    if (file) {
        TextReader reader(*file);
        std::string line;
        first = reader.ReadLine(line, kLineBuffer) ? ParseLenientInt(line) : 0;
    }
    return (first < 1 || first >= surfaceCount) ? 1 : first;
}

OmniPlacement ParseOmni(const std::optional<std::string>& file) {
    OmniPlacement placement;
    if (!file) return placement;
    if (file->size() < 2) {
        placement.mode = 2;
        return placement;
    }
    placement.mode = 1;
    TextReader reader(*file);
    std::string line;
    reader.ReadLine(line, kLineBuffer);
    placement.x = ParseLenientInt(line);
    reader.ReadLine(line, kLineBuffer);  // without a second line the first one is read again
    placement.y = ParseLenientInt(line);
    return placement;
}

std::string FormatOmni(int x, int y) { return std::to_string(x) + "\r\n" + std::to_string(y) + "\r\n\r\n"; }

}  // namespace tc
