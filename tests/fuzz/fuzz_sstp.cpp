// The SSTP request parser on arbitrary bytes: never more than 16 lines of 1024 bytes, and
// every value of a Shift_JIS request is a piece of it (fuzz_sstp_charset covers the others).
// The TCP framing: a request taken before the end is a prefix ending in its empty line.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "interop/SstpIncoming.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view text = tc::CopyDataText(bytes);
    const auto lines = tc::SplitSstpLines(text);
    if (lines.size() > tc::kSstpMaxLines) std::abort();
    for (std::string_view line : lines) {
        if (line.size() > tc::kSstpMaxLineBytes) std::abort();
    }
    const tc::SstpRequest request = tc::ParseSstpRequest(text);
    for (const std::string* value : {&request.sender, &request.argument, &request.object}) {
        if (value->size() > tc::kSstpMaxLineBytes) std::abort();
        if (request.charset == tc::Charset::ShiftJis && text.find(*value) == std::string_view::npos) std::abort();
    }
    const std::string answer = tc::FormatObjectListAnswer({request.sender, request.argument, request.object});
    if (answer.size() >= tc::kSstpBufferSize) std::abort();

    for (const bool ended : {false, true}) {
        const auto tcp = tc::CompleteTcpRequest(bytes, ended);
        if (!tcp) {
            if (ended) std::abort();
            continue;
        }
        if (!bytes.starts_with(tcp->text)) std::abort();
        if (tcp->text.size() != bytes.size() && !tcp->text.ends_with("\r\n\r\n")) std::abort();
        if (!ended && !tcp->text.ends_with("\r\n\r\n")) std::abort();
    }
    return 0;
}
