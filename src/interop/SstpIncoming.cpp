#include "interop/SstpIncoming.h"

#include <optional>

#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

namespace {

// The value of a header line whose value starts at column, one further after a blank.
std::string_view ValueFrom(std::string_view line, std::size_t column) {
    if (line.size() > column && line[column] == ' ') ++column;
    return column < line.size() ? line.substr(column) : std::string_view();
}

void Recognise(std::string_view line, SstpRequest& request) {
    if (StartsWithNoCase(line, "SEND ")) {
        request.kind = SstpKind::Send;
    } else if (StartsWithNoCase(line, "EXECU")) {
        request.kind = SstpKind::Execute;
    } else if (StartsWithNoCase(line, "DROP ")) {
        request.kind = SstpKind::Drop;
    } else if (StartsWithNoCase(line, "NOTIF")) {
        request.kind = SstpKind::Notify;
    } else if (StartsWithNoCase(line, "Sende")) {
        request.sender = ValueFrom(line, 7);
    } else if (StartsWithNoCase(line, "Scrip")) {
        request.argument = ValueFrom(line, 7);
    } else if (StartsWithNoCase(line, "Docum")) {
        // recognised and ignored
    } else if (StartsWithNoCase(line, "Comma")) {
        request.argument = ValueFrom(line, 8);
    } else if (StartsWithNoCase(line, "HWnd:")) {
        request.replyWindow = ParseLenientInt(ValueFrom(line, 5));
    } else if (StartsWithNoCase(line, "Targe")) {
        request.argument = ValueFrom(line, 7);
    } else if (StartsWithNoCase(line, "Objec")) {
        request.object = ValueFrom(line, 7);
    }
}

std::string OkWith(std::string_view value) {
    std::string answer(kAnswerOk);
    answer += value;
    answer += "\r\n\r\n";
    return answer;
}

// The request's lines as received, before any cut: at most 16, up to the first empty line.
std::vector<std::string_view> RawLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size() && lines.size() < kSstpMaxLines) {
        const std::size_t cr = text.find('\r', start);
        if (cr == start) break;  // an empty line ends the request
        const std::size_t end = cr == std::string_view::npos ? text.size() : cr;
        lines.push_back(text.substr(start, end - start));
        if (cr == std::string_view::npos) break;
        start = cr + 2;  // the byte after the CR is taken to be its LF
    }
    return lines;
}

// The value of the last "Charset" line, if any. Its name is ASCII in every charset read, so
// it is found before anything is converted.
std::optional<std::string_view> CharsetLine(const std::vector<std::string_view>& lines) {
    std::optional<std::string_view> value;
    for (std::string_view line : lines) {
        if (StartsWithNoCase(line, "Chars")) value = ValueFrom(line, 8);
    }
    return value;
}

}  // namespace

std::optional<TcpRequest> CompleteTcpRequest(std::string_view received, bool ended) {
    constexpr std::string_view kEmptyLine = "\r\n\r\n";
    if (const std::size_t end = received.find(kEmptyLine); end != std::string_view::npos) {
        return TcpRequest{std::string(received.substr(0, end + kEmptyLine.size())), false};
    }
    if (!ended) return std::nullopt;
    return TcpRequest{std::string(received), received.size() >= kSstpTcpMaxRequestBytes};
}

std::string_view CopyDataText(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

bool IsSstpAnswer(std::string_view text) { return text.substr(0, 4) == "SSTP"; }

std::vector<std::string_view> SplitSstpLines(std::string_view text) {
    std::vector<std::string_view> lines = RawLines(text);
    for (std::string_view& line : lines) line = SjisPrefix(line, kSstpMaxLineBytes);
    return lines;
}

SstpRequest ParseSstpRequest(std::string_view text) {
    SstpRequest request;
    const std::vector<std::string_view> lines = RawLines(text);
    if (const std::optional<std::string_view> name = CharsetLine(lines)) {
        const std::optional<Charset> charset = CharsetFromName(*name);
        if (!charset) {
            request.unknownCharset = true;
            return request;
        }
        request.charset = *charset;
    }
    for (std::string_view line : lines) {
        if (request.charset == Charset::ShiftJis) {
            Recognise(SjisPrefix(line, kSstpMaxLineBytes), request);
        } else {
            const std::string converted = ToShiftJis(line, request.charset);
            Recognise(SjisPrefix(converted, kSstpMaxLineBytes), request);
        }
    }
    return request;
}

NativeHandle ChooseReplyWindow(std::int32_t named, NativeHandle sender,
                               const std::function<bool(NativeHandle)>& isWindow) {
    const NativeHandle window = named != 0 ? WindowHandleOf(named) : sender;
    return IsAddressable(window) && isWindow(window) ? window : 0;
}

ExecuteCommand ParseExecuteCommand(std::string_view command) {
    if (EqualsNoCase(command, "GetName")) return ExecuteCommand::GetName;
    if (EqualsNoCase(command, "GetVersion")) return ExecuteCommand::GetVersion;
    if (EqualsNoCase(command, "GetObjectList")) return ExecuteCommand::GetObjectList;
    return ExecuteCommand::Unknown;
}

std::string FormatValueAnswer(std::string_view value) { return OkWith(value); }

std::string FormatNameAnswer(std::string_view name) { return OkWith(std::string(name) + ",empty"); }

std::string FormatObjectListAnswer(const std::vector<std::string>& names, Charset charset) {
    // Each name is converted alone (an ISO-2022-JP name ends in ASCII, so the commas stay
    // commas), and the room is counted in the bytes sent.
    std::string answer = EncodeSstpAnswer(kAnswerOk, charset);
    const std::size_t room = kSstpBufferSize - 1 - answer.size() - 4;
    std::string list;
    for (const std::string& name : names) {
        const std::string converted = FromShiftJis(name, charset);
        const std::size_t added = (list.empty() ? 0 : 1) + converted.size();
        if (list.size() + added > room) break;  // whole names only
        if (!list.empty()) list += ',';
        list += converted;
    }
    answer += list;
    answer += "\r\n\r\n";
    return answer;
}

std::string EncodeSstpAnswer(std::string_view answer, Charset charset) {
    if (charset == Charset::ShiftJis) return std::string(answer);
    const std::size_t statusEnd = answer.find("\r\n");
    if (statusEnd == std::string_view::npos) return FromShiftJis(answer, charset);
    std::string encoded(answer.substr(0, statusEnd + 2));
    encoded += "Charset: ";
    encoded += CharsetName(charset);
    encoded += "\r\n";
    encoded += FromShiftJis(answer.substr(statusEnd + 2), charset);
    return encoded;
}

}  // namespace tc
