// The charsets through the system's own code pages. Reading replaces what cannot be read by
// U+FFFD (no MB_ERR_INVALID_CHARS). Writing first tries every character alone, without
// best-fit guesses, and puts the substitute in place of those with no form, then converts
// the whole text at once so that ISO-2022-JP's escapes come out right. Code page 50220 takes
// neither flags nor a default character, so its characters are tried against 932, whose
// repertoire it shares.
#include <windows.h>

#include "platform/Charset.h"

namespace tc {

namespace {

UINT CodePage(Charset charset) {
    switch (charset) {
    case Charset::ShiftJis: return 932;
    case Charset::Utf8: return CP_UTF8;
    case Charset::EucJp: return 20932;
    case Charset::Iso2022Jp: return 50220;
    }
    return 932;
}

void AppendUtf16(std::wstring& out, char32_t c) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
        c -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        out.push_back(static_cast<wchar_t>(kSubstitute));
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

bool HasForm(std::wstring_view unit, UINT codePage) {
    if (codePage == CP_UTF8) return true;
    const UINT probe = codePage == 50220 ? 932 : codePage;
    char bytes[16];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(probe, WC_NO_BEST_FIT_CHARS, unit.data(), static_cast<int>(unit.size()), bytes,
                                      sizeof bytes, nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

}  // namespace

std::u32string DecodeCharset(std::string_view text, Charset charset) {
    std::u32string decoded;
    if (text.empty()) return decoded;
    const UINT codePage = CodePage(charset);
    const int size = static_cast<int>(text.size());
    const int wideSize = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (wideSize <= 0) return std::u32string(1, kUnreadable);
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), wideSize);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char32_t c = static_cast<char16_t>(wide[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            decoded.push_back(0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(wide[i + 1]) - 0xDC00));
            ++i;
        } else {
            decoded.push_back(c >= 0xD800 && c <= 0xDFFF ? kUnreadable : c);
        }
    }
    return decoded;
}

std::string EncodeCharset(std::u32string_view text, Charset charset) {
    const UINT codePage = CodePage(charset);
    std::wstring wide;
    for (char32_t c : text) {
        std::wstring unit;
        AppendUtf16(unit, c);
        if (!HasForm(unit, codePage)) unit.assign(1, static_cast<wchar_t>(kSubstitute));
        wide += unit;
    }
    std::string out;
    if (wide.empty()) return out;
    const DWORD flags = codePage == 932 || codePage == 20932 ? WC_NO_BEST_FIT_CHARS : 0;
    const int size = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return out;
    out.resize(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace tc
