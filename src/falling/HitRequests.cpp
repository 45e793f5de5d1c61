#include "falling/HitRequests.h"

#include "common/Sjis.h"

namespace tc {

namespace {

constexpr std::string_view kScriptEnd = "\\e";

std::string HeaderValue(std::string_view value) {
    std::string clean(value);
    for (char& c : clean) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return clean;
}

// Whether the script already ends with "\e" (its backslash a character of its own).
bool EndsWithScriptEnd(std::string_view script) {
    if (script.size() < kScriptEnd.size()) return false;
    const std::size_t at = script.size() - kScriptEnd.size();
    return script.substr(at) == kScriptEnd && FindSjisChar(script, '\\', at) == at;
}

std::string Script(std::string_view line) {
    std::string script(SjisPrefix(HeaderValue(line), kMaxScriptBytes - kScriptEnd.size()));
    if (!EndsWithScriptEnd(script)) script += kScriptEnd;
    return script;
}

std::string Closing(std::int32_t replyWindow) {
    std::string text = "Charset: SJIS\r\n";
    if (replyWindow != 0) text += "HWnd: " + std::to_string(replyWindow) + "\r\n";
    return text + "\r\n";
}

}  // namespace

std::string FormatHitSend(const HitReport& hit, std::int32_t replyWindow) {
    return "SEND SSTP/1.1\r\nSender: " + HeaderValue(hit.setName) + "\r\nScript: " + Script(hit.line) + "\r\n" +
           Closing(replyWindow);
}

std::string FormatHitNotify(const HitReport& hit, std::int32_t replyWindow) {
    return std::string("NOTIFY SSTP/1.1\r\nSender: ") + HeaderValue(hit.setName) + "\r\nEvent: " + kHitEvent +
           "\r\nReference0: " + HeaderValue(hit.setName) + "\r\nReference1: " + HeaderValue(hit.setFolder) +
           "\r\nReference2: " + HeaderValue(hit.target) + "\r\nReference3: " +
           std::string(SjisPrefix(HeaderValue(hit.line), kMaxScriptBytes)) + "\r\n" + Closing(replyWindow);
}

}  // namespace tc
