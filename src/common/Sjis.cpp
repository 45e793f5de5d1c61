#include "common/Sjis.h"

namespace tc {

std::size_t FindSjisChar(std::string_view s, char mark, std::size_t from) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t width = SjisCharWidth(s, i);
        if (width == 1 && i >= from && s[i] == mark) return i;
        i += width;
    }
    return std::string_view::npos;
}

std::size_t FindLastSjisChar(std::string_view s, char mark) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i += SjisCharWidth(s, i)) {
        if (SjisCharWidth(s, i) == 1 && s[i] == mark) found = i;
    }
    return found;
}

namespace {
unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}
}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        const std::size_t width = SjisCharWidth(a, i);
        if (width != SjisCharWidth(b, i)) return false;
        if (width == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        i += width;
    }
    return true;
}

std::string ReplaceSjisChar(std::string_view s, char from, char to) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); i += SjisCharWidth(out, i)) {
        if (SjisCharWidth(out, i) == 1 && out[i] == from) out[i] = to;
    }
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string_view SjisPrefix(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + SjisCharWidth(text, end);
        if (next > limit) break;
        end = next;
    }
    return text.substr(0, end);
}

}  // namespace tc
