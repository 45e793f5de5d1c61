// Shift_JIS (code page 932) helpers. Every text of the system is Shift_JIS bytes, and
// the second byte of a double-byte character may look like an ASCII mark (0x5C is '\'),
// so marks are always searched character by character, never byte by byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tc {

inline bool IsSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Whether c may be the second byte of a double-byte character (0x40-0x7E, 0x80-0xFC): a
// lead byte followed by anything else (a '/' or ':', say) is no character of code page 932.
inline bool IsSjisTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Width in bytes of the character starting at s[i]: 2 for a lead byte followed by
// another byte, else 1 (a lead byte at the very end counts as a single byte).
inline std::size_t SjisCharWidth(std::string_view s, std::size_t i) {
    return (IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// Position of the first single-byte character equal to mark at or after from, or npos.
std::size_t FindSjisChar(std::string_view s, char mark, std::size_t from = 0);

// Position of the last single-byte character equal to mark, or npos.
std::size_t FindLastSjisChar(std::string_view s, char mark);

// Case-insensitive comparison for equality in the way lstrcmpiA treats these texts:
// single-byte letters compare without case, double-byte characters compare exactly.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Whether text starts with prefix, compared as EqualsNoCase compares.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// The longest prefix of text of at most limit bytes that ends at a character boundary.
std::string_view SjisPrefix(std::string_view text, std::size_t limit);

// Replaces every single-byte character from by to, leaving double-byte characters intact.
std::string ReplaceSjisChar(std::string_view s, char from, char to);

}  // namespace tc
