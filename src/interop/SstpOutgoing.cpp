#include "interop/SstpOutgoing.h"

#include "common/Sjis.h"

namespace tc {

namespace {

constexpr std::string_view kScriptHead = "SEND SSTP/1.1\r\nSender: たんぶる\r\nScript: ";
constexpr std::string_view kScriptEnd = "\\e\r\nCharset: SJIS\r\nHWnd: ";

}  // namespace

std::string FormatScriptRequest(std::string_view script, std::int32_t hwnd) {
    const std::string tail = std::string(kScriptEnd) + std::to_string(hwnd) + "\r\n\r\n";
    const std::size_t room = kSstpBufferSize - 1 - kScriptHead.size() - tail.size();
    std::string request(kScriptHead);
    request += SjisPrefix(script, room);
    request += tail;
    return request;
}

std::string FormatCommandRequest(SstpCommand command, std::int32_t hwnd) {
    std::string request = "EXECUTE SSTP/1.3\r\nSender: たんぶる\r\nCommand: ";
    request += command == SstpCommand::Quiet ? "Quiet" : "Restore";
    request += "\r\nCharset: SJIS\r\nHWnd: ";
    request += std::to_string(hwnd);
    request += "\r\n\r\n";
    return request;
}

std::string FormatStandLine(std::string_view script) { return "tumblecat\tsay " + std::string(script); }

}  // namespace tc
