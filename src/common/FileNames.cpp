#include "common/FileNames.h"

#include <algorithm>

#include "common/Sjis.h"

namespace tc {

std::string BaseDirectoryFromModulePath(const std::string& modulePath) {
    const std::size_t backslash = FindLastSjisChar(modulePath, '\\');
    const std::size_t slash = FindLastSjisChar(modulePath, '/');
    std::size_t cut = std::string::npos;
    if (backslash != std::string::npos) cut = backslash;
    if (slash != std::string::npos && (cut == std::string::npos || slash > cut)) cut = slash;
    if (cut == std::string::npos) return std::string();
    return modulePath.substr(0, cut + 1);
}

bool IsDeviceName(std::string_view part) {
    // The device is named by the text before the first dot, blanks at its end ignored.
    std::string_view base = part.substr(0, std::min(part.size(), FindSjisChar(part, '.')));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
        if (EqualsNoCase(base, device)) return true;
    }
    if (base.size() == 4 && (StartsWithNoCase(base, "COM") || StartsWithNoCase(base, "LPT"))) {
        return base[3] >= '1' && base[3] <= '9';
    }
    return false;
}

bool IsSafePart(std::string_view part) {
    if (part.empty() || part == "." || part == "..") return false;
    for (std::size_t i = 0; i < part.size(); i += SjisCharWidth(part, i)) {
        const auto c = static_cast<unsigned char>(part[i]);
        if (SjisCharWidth(part, i) == 2) {
            if (!IsSjisTrailByte(static_cast<unsigned char>(part[i + 1]))) return false;
            continue;
        }
        if (IsSjisLeadByte(c)) return false;  // a lead byte without its second byte
        if (c < 0x20 || c == 0x7F) return false;
        switch (c) {
        case '<': case '>': case ':': case '"': case '|': case '?': case '*': case '/': case '\\':
            return false;
        default:
            break;
        }
    }
    if (part.back() == '.' || part.back() == ' ') {
        // Windows drops these from the end of a name, so "..." or ".. " would name the parent.
        // A double-byte character never ends in either byte.
        std::size_t last = 0;
        for (std::size_t i = 0; i < part.size(); i += SjisCharWidth(part, i)) last = i;
        if (SjisCharWidth(part, last) == 1) return false;
    }
    return !IsDeviceName(part);
}

}  // namespace tc
