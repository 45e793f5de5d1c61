// The charsets other programs may write their requests in, and the conversion between them
// and the Shift_JIS (code page 932) every text of the system is kept in.
//
// Conversion goes through Unicode and is done by the system's own tables: the Win32 back end
// uses MultiByteToWideChar/WideCharToMultiByte with code pages 932, 65001, 20932 and 50220,
// the native one glibc's iconv (CP932, UTF-8, EUC-JP-MS, ISO-2022-JP). A character that cannot
// be read, or has no form in the charset written, becomes the geta mark "〓" (U+3013): it is
// visible, exists in every charset here and is never half of a double-byte pair. A yen sign
// or overline becomes its full-width form, never the 0x5C or 0x7E that a script reads as a
// mark.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tc {

enum class Charset { ShiftJis, Utf8, EucJp, Iso2022Jp };

// The charset a "Charset" value names, compared without case, blanks around it ignored:
// Shift_JIS (also SJIS, x-sjis, Windows-31J, CP932, MS932, MS_Kanji), UTF-8 (UTF8),
// EUC-JP (x-euc-jp, eucJP), ISO-2022-JP (JIS, CP50220). Nothing for any other name.
std::optional<Charset> CharsetFromName(std::string_view name);

// The name the cat writes in its own "Charset:" lines.
std::string_view CharsetName(Charset charset);

// The text, written in charset, as Shift_JIS. Shift_JIS text is returned unchanged.
std::string ToShiftJis(std::string_view text, Charset charset);

// The Shift_JIS text written in charset. Shift_JIS is returned unchanged.
std::string FromShiftJis(std::string_view sjis, Charset charset);

// What each back end provides (win32/Win32Charset.cpp, posix/PosixCharset.cpp). Decoding
// gives U+FFFD for what cannot be read; encoding writes the substitute for every code point
// with no form in the charset (ISO-2022-JP text ends in its ASCII state).
constexpr char32_t kUnreadable = 0xFFFD;
constexpr char32_t kSubstitute = 0x3013;
std::u32string DecodeCharset(std::string_view text, Charset charset);
std::string EncodeCharset(std::u32string_view text, Charset charset);

}  // namespace tc
