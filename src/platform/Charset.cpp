#include "platform/Charset.h"

#include "common/Sjis.h"

namespace tc {

namespace {

struct CharsetAlias {
    std::string_view name;
    Charset charset;
};

constexpr CharsetAlias kAliases[] = {
    {"Shift_JIS", Charset::ShiftJis}, {"Shift-JIS", Charset::ShiftJis}, {"SJIS", Charset::ShiftJis},
    {"x-sjis", Charset::ShiftJis},    {"Windows-31J", Charset::ShiftJis}, {"CP932", Charset::ShiftJis},
    {"MS932", Charset::ShiftJis},     {"MS_Kanji", Charset::ShiftJis},    {"csShiftJIS", Charset::ShiftJis},
    {"UTF-8", Charset::Utf8},         {"UTF8", Charset::Utf8},
    {"EUC-JP", Charset::EucJp},       {"EUCJP", Charset::EucJp},          {"x-euc-jp", Charset::EucJp},
    {"ISO-2022-JP", Charset::Iso2022Jp}, {"JIS", Charset::Iso2022Jp},     {"CP50220", Charset::Iso2022Jp},
    {"csISO2022JP", Charset::Iso2022Jp},
};

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Code points whose Shift_JIS form would be a mark (0x5C, 0x7E) take their full-width form;
// JIS's mapping of six signs (the wave dash most often) takes the one code page 932 reads
// back, which WideCharToMultiByte without best-fit guesses requires; unreadable input
// becomes the substitute.
char32_t ForShiftJis(char32_t c) {
    switch (c) {
    case 0x00A5: return 0xFFE5;  // YEN SIGN -> FULLWIDTH YEN SIGN
    case 0x203E: return 0xFFE3;  // OVERLINE -> FULLWIDTH MACRON
    case 0x301C: return 0xFF5E;  // WAVE DASH -> FULLWIDTH TILDE
    case 0x2016: return 0x2225;  // DOUBLE VERTICAL LINE -> PARALLEL TO
    case 0x2212: return 0xFF0D;  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    case 0x00A2: return 0xFFE0;  // CENT SIGN
    case 0x00A3: return 0xFFE1;  // POUND SIGN
    case 0x00AC: return 0xFFE2;  // NOT SIGN
    case 0x2014: return 0x2015;  // EM DASH -> HORIZONTAL BAR
    case kUnreadable: return kSubstitute;
    default: return c;
    }
}

// ISO-2022-JP's own shifts may not stand in its text: a receiver would switch its state.
bool IsIso2022JpShift(char32_t c) { return c == 0x1B || c == 0x0E || c == 0x0F; }

}  // namespace

std::optional<Charset> CharsetFromName(std::string_view name) {
    name = TrimBlanks(name);
    for (const CharsetAlias& alias : kAliases) {
        if (EqualsNoCase(name, alias.name)) return alias.charset;
    }
    return std::nullopt;
}

std::string_view CharsetName(Charset charset) {
    switch (charset) {
    case Charset::ShiftJis: return "Shift_JIS";
    case Charset::Utf8: return "UTF-8";
    case Charset::EucJp: return "EUC-JP";
    case Charset::Iso2022Jp: return "ISO-2022-JP";
    }
    return "Shift_JIS";
}

std::string ToShiftJis(std::string_view text, Charset charset) {
    if (charset == Charset::ShiftJis) return std::string(text);
    std::u32string wide = DecodeCharset(text, charset);
    for (char32_t& c : wide) c = ForShiftJis(c);
    return EncodeCharset(wide, Charset::ShiftJis);
}

std::string FromShiftJis(std::string_view sjis, Charset charset) {
    if (charset == Charset::ShiftJis) return std::string(sjis);
    std::u32string wide = DecodeCharset(sjis, Charset::ShiftJis);
    for (char32_t& c : wide) {
        if (c == kUnreadable || (charset == Charset::Iso2022Jp && IsIso2022JpShift(c))) c = kSubstitute;
    }
    return EncodeCharset(wide, charset);
}

}  // namespace tc
