#include "archivers/MemberPath.h"

#include "archivers/ArchiverCommand.h"
#include "common/Sjis.h"

namespace tc::archivers {

namespace {

unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

bool EqualsUpper(std::string_view text, std::string_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (Upper(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(upper[i])) return false;
    }
    return true;
}

}  // namespace

bool IsDeviceName(std::string_view part) {
    // The device is named by the text before the first dot, blanks at its end ignored.
    std::string_view base = part.substr(0, std::min(part.size(), FindSjisChar(part, '.')));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
        if (EqualsUpper(base, device)) return true;
    }
    if (base.size() == 4 && (EqualsUpper(base.substr(0, 3), "COM") || EqualsUpper(base.substr(0, 3), "LPT"))) {
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

MemberName DecodeMemberName(std::wstring_view name) {
    MemberName result;
    if (!name.empty() && (name[0] == L'/' || name[0] == L'\\')) return {MemberNameVerdict::Unsafe, {}};
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && name[end] != L'/' && name[end] != L'\\') ++end;
        const std::wstring_view wide = name.substr(start, end - start);
        start = end + 1;
        if (wide.empty() || wide == L".") {
            if (end >= name.size()) break;
            continue;
        }
        const auto part = WideToShiftJis(wide);
        if (!part) return {MemberNameVerdict::Undecodable, {}};
        if (!IsSafePart(*part)) return {MemberNameVerdict::Unsafe, {}};
        result.parts.push_back(*part);
        if (end >= name.size()) break;
    }
    return result;
}

std::string OutputPath(const std::string& destination, const std::vector<std::string>& parts) {
    std::string path = destination;
    for (const std::string& part : parts) {
        if (!path.empty() && !EndsInSeparator(path)) path += '\\';
        path += part;
    }
    return path;
}

}  // namespace tc::archivers
