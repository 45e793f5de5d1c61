// dropling.txt as the falling-object program reads it: any bytes give reaction lines that are
// not blank and cannot end a request's header line, a profile of whole CR LF lines, knobs
// within their limits, and requests built from them that keep every value on its own line.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "falling/HitRequests.h"
#include "falling/SetText.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Every CR is the start of a CR LF, and the request ends with its empty line.
void CheckRequest(const std::string& request, std::size_t headerLines) {
    std::size_t lines = 0;
    for (std::size_t i = 0; i < request.size(); ++i) {
        if (request[i] == '\n') Check(i > 0 && request[i - 1] == '\r');
        if (request[i] == '\r') {
            Check(i + 1 < request.size() && request[i + 1] == '\n');
            ++lines;
        }
    }
    Check(lines == headerLines + 1);
    Check(request.size() >= 4 && request.compare(request.size() - 4, 4, "\r\n\r\n") == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tc::SetText text = tc::ReadSetText(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::string& line : text.reactions) {
        Check(line.find_first_not_of(" \t") != std::string::npos);
        Check(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos);
    }
    if (!text.profile.empty()) {
        Check(text.profile.size() >= 2 && text.profile.compare(text.profile.size() - 2, 2, "\r\n") == 0);
    }
    Check(text.knobs.gravity >= tc::kMinGravity && text.knobs.gravity <= tc::kMaxGravity);
    Check(text.knobs.bouncePercent >= tc::kMinBouncePercent && text.knobs.bouncePercent <= tc::kMaxBouncePercent);
    Check(text.knobs.bounces >= tc::kMinBounces && text.knobs.bounces <= tc::kMaxBounces);

    // The first line also as set name and target: untrusted text in every value.
    const std::string first = text.reactions.empty() ? std::string() : text.reactions.front();
    const tc::HitReport hit{first, first, first, first};
    const std::string send = tc::FormatHitSend(hit, 1234);
    CheckRequest(send, 5);
    Check(send.find("\\e\r\n") != std::string::npos);
    CheckRequest(tc::FormatHitNotify(hit, 0), 8);
    return 0;
}
