// Code page 932 through glibc's iconv (its CP932 table reads and writes as Windows's does);
// wide text is the C library's wchar_t (UTF-32). iconv stops at a broken pair or at a
// character CP932 lacks, which makes both conversions exact.
#include <iconv.h>

#include <cstring>

#include "common/WideText.h"

namespace tc {

namespace {

// All of in converted into a buffer of outSize bytes; nothing on any failure.
std::optional<std::string> Convert(const char* to, const char* from, const char* in, std::size_t inSize,
                                   std::size_t outSize) {
    iconv_t convert = ::iconv_open(to, from);
    if (convert == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(outSize, '\0');
    char* inp = const_cast<char*>(in);
    std::size_t inLeft = inSize;
    char* outp = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = ::iconv(convert, &inp, &inLeft, &outp, &outLeft);
    ::iconv_close(convert);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::optional<std::string> WideToShiftJis(std::wstring_view wide) {
    return Convert("CP932", "WCHAR_T", reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t),
                   wide.size() * 2 + 4);
}

std::optional<std::wstring> ShiftJisToWide(std::string_view sjis) {
    const auto bytes = Convert("WCHAR_T", "CP932", sjis.data(), sjis.size(), (sjis.size() + 1) * sizeof(wchar_t));
    if (!bytes) return std::nullopt;
    std::wstring wide(bytes->size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), bytes->data(), wide.size() * sizeof(wchar_t));
    return wide;
}

}  // namespace tc
