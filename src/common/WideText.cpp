#include "common/WideText.h"

#include "common/Sjis.h"

namespace tc {

namespace {

constexpr wchar_t kUnreadableWide = 0xFFFD;
constexpr std::string_view kGetaMark = "\x81\xAC";  // 〓

bool IsHighSurrogate(wchar_t c) { return sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return sizeof(wchar_t) == 2 && c >= 0xDC00 && c <= 0xDFFF; }

// Units of the character starting at wide[i]: 2 for a surrogate pair, else 1.
std::size_t WideCharWidth(std::wstring_view wide, std::size_t i) {
    return IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1]) ? 2 : 1;
}

// Bytes of the character starting at sjis[i]: a lead byte takes the next one only when that
// may be a second byte, so a broken pair costs its lead byte alone.
std::size_t PairWidth(std::string_view sjis, std::size_t i) {
    return IsSjisLeadByte(static_cast<unsigned char>(sjis[i])) && i + 1 < sjis.size() &&
                   IsSjisTrailByte(static_cast<unsigned char>(sjis[i + 1]))
               ? 2
               : 1;
}

// The whole text converted, or else each character alone, mark in place of those that do not.
template <typename Out, typename In, typename Convert, typename Width>
Out ByCharacter(In text, Convert convert, Width width, std::basic_string_view<typename Out::value_type> mark) {
    if (auto whole = convert(text)) return *std::move(whole);
    Out out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = width(text, i);
        const auto one = convert(text.substr(i, n));
        out += one ? std::basic_string_view<typename Out::value_type>(*one) : mark;
        i += n;
    }
    return out;
}

}  // namespace

std::wstring WideText(std::string_view sjis) {
    return ByCharacter<std::wstring>(sjis, ShiftJisToWide, PairWidth, std::wstring_view(&kUnreadableWide, 1));
}

std::string ShiftJisText(std::wstring_view wide) {
    return ByCharacter<std::string>(wide, WideToShiftJis, WideCharWidth, kGetaMark);
}

std::wstring_view WidePrefix(std::wstring_view wide, std::size_t capacity) {
    if (capacity == 0) return {};
    std::size_t end = 0;
    while (end < wide.size()) {
        const std::size_t width = WideCharWidth(wide, end);
        if (end + width > capacity - 1) break;
        end += width;
    }
    return wide.substr(0, end);
}

}  // namespace tc
