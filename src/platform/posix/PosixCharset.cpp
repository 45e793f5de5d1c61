// The charsets through glibc's iconv. glibc's tables are chosen to read and write as the Win32
// code pages do: CP932 for 932, EUC-JP-MS for 20932 (Microsoft's mapping of the wave dash,
// double vertical line and minus sign), ISO-2022-JP for 50220, which knows only JIS's mapping
// of those, so they are turned back into it before writing.
#include <cerrno>
#include <iconv.h>

#include "platform/Charset.h"

namespace tc {

namespace {

const char* IconvName(Charset charset) {
    switch (charset) {
    case Charset::ShiftJis: return "CP932";
    case Charset::Utf8: return "UTF-8";
    case Charset::EucJp: return "EUC-JP-MS";
    case Charset::Iso2022Jp: return "ISO-2022-JP";
    }
    return "CP932";
}

constexpr const char* kWide = "UTF-32LE";

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as it can; returns false with errno set where it stopped.
    bool Convert(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[256];
        for (;;) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            char* inPtr = const_cast<char*>(in);
            const std::size_t result = iconv(m_cd, in ? &inPtr : nullptr, in ? &inLeft : nullptr, &outPtr, &outLeft);
            const int error = errno;
            if (in) in = inPtr;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result != static_cast<std::size_t>(-1)) return true;
            if (error != E2BIG) {
                errno = error;
                return false;
            }
        }
    }

private:
    iconv_t m_cd;
};

void AppendWide(std::u32string& out, std::string_view utf32le) {
    for (std::size_t i = 0; i + 4 <= utf32le.size(); i += 4) {
        char32_t c = 0;
        for (int b = 3; b >= 0; --b) c = (c << 8) | static_cast<unsigned char>(utf32le[i + static_cast<std::size_t>(b)]);
        out.push_back(c);
    }
}

std::string WideBytes(char32_t c) {
    std::string bytes(4, '\0');
    for (std::size_t b = 0; b < 4; ++b) bytes[b] = static_cast<char>((c >> (8 * b)) & 0xFF);
    return bytes;
}

char32_t ForIso2022Jp(char32_t c) {
    switch (c) {
    case 0xFF5E: return 0x301C;  // wave dash
    case 0x2225: return 0x2016;  // double vertical line
    case 0xFF0D: return 0x2212;  // minus sign
    case 0xFFE0: return 0x00A2;  // cent sign
    case 0xFFE1: return 0x00A3;  // pound sign
    case 0xFFE2: return 0x00AC;  // not sign
    default: return c;
    }
}

}  // namespace

std::u32string DecodeCharset(std::string_view text, Charset charset) {
    std::u32string wide;
    Converter converter(kWide, IconvName(charset));
    if (!converter.Valid()) return std::u32string(text.empty() ? 0 : 1, kSubstitute);
    const char* in = text.data();
    std::size_t left = text.size();
    std::string bytes;
    while (left > 0) {
        if (converter.Convert(in, left, bytes)) break;
        AppendWide(wide, bytes);
        bytes.clear();
        wide.push_back(kUnreadable);
        if (errno != EILSEQ) break;  // cut short at the end
        ++in;
        --left;
    }
    AppendWide(wide, bytes);
    return wide;
}

std::string EncodeCharset(std::u32string_view text, Charset charset) {
    std::string wideBytes;
    wideBytes.reserve(text.size() * 4);
    for (char32_t c : text) wideBytes += WideBytes(charset == Charset::Iso2022Jp ? ForIso2022Jp(c) : c);

    std::string out;
    Converter converter(IconvName(charset), kWide);
    if (!converter.Valid()) return out;
    const std::string substitute = WideBytes(kSubstitute);
    const char* in = wideBytes.data();
    std::size_t left = wideBytes.size();
    while (left >= 4) {
        if (converter.Convert(in, left, out)) break;
        const char* sub = substitute.data();
        std::size_t subLeft = substitute.size();
        converter.Convert(sub, subLeft, out);
        in += 4;
        left -= 4;
    }
    const char* flush = nullptr;
    std::size_t none = 0;
    converter.Convert(flush, none, out);  // back to ASCII at the end (ISO-2022-JP)
    return out;
}

}  // namespace tc
