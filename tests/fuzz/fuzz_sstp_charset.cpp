// The SSTP request parser on requests in every charset: the first byte chooses the Charset
// line put in front of the rest. Converted values are whole Shift_JIS characters of at most
// 1024 bytes, an unknown charset leaves the request empty, and the answer in the request's
// charset stays within the sending buffer and reads back without an unreadable character.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/Sjis.h"
#include "interop/SstpIncoming.h"

namespace {

constexpr std::string_view kNames[] = {"", "Charset: Shift_JIS\r\n", "Charset: UTF-8\r\n", "Charset: EUC-JP\r\n",
                                       "Charset: ISO-2022-JP\r\n", "Charset: x-unknown\r\n"};

bool EndsInWholeCharacter(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (tc::IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 == text.size()) return false;
        i += tc::SjisCharWidth(text, i);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string text = std::string(kNames[data[0] % std::size(kNames)]) +
                             std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    const tc::SstpRequest request = tc::ParseSstpRequest(text);
    const std::string* values[] = {&request.sender, &request.argument, &request.object};
    if (request.unknownCharset) {
        if (request.kind != tc::SstpKind::None) std::abort();
        for (const std::string* value : values) {
            if (!value->empty()) std::abort();
        }
        return 0;
    }
    for (const std::string* value : values) {
        if (value->size() > tc::kSstpMaxLineBytes) std::abort();
        if (request.charset != tc::Charset::ShiftJis && !EndsInWholeCharacter(*value)) std::abort();
    }

    const std::string answer = tc::FormatObjectListAnswer({request.sender, request.argument, request.object},
                                                          request.charset);
    if (answer.size() >= tc::kSstpBufferSize) std::abort();
    if (request.charset != tc::Charset::ShiftJis) {
        for (char32_t c : tc::DecodeCharset(answer, request.charset)) {
            if (c == tc::kUnreadable) std::abort();
        }
    }
    return 0;
}
