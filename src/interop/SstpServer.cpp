#include "interop/SstpServer.h"

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

}  // namespace

std::string_view CopyDataText(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

bool IsSstpAnswer(std::string_view text) { return text.substr(0, 4) == "SSTP"; }

std::vector<std::string_view> SplitSstpLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size() && lines.size() < kSstpMaxLines) {
        const std::size_t cr = text.find('\r', start);
        if (cr == start) break;  // an empty line ends the request
        const std::size_t end = cr == std::string_view::npos ? text.size() : cr;
        lines.push_back(SjisPrefix(text.substr(start, end - start), kSstpMaxLineBytes));
        if (cr == std::string_view::npos) break;
        start = cr + 2;  // the byte after the CR is taken to be its LF
    }
    return lines;
}

SstpRequest ParseSstpRequest(std::string_view text) {
    SstpRequest request;
    for (std::string_view line : SplitSstpLines(text)) Recognise(line, request);
    return request;
}

ExecuteCommand ParseExecuteCommand(std::string_view command) {
    if (EqualsNoCase(command, "GetName")) return ExecuteCommand::GetName;
    if (EqualsNoCase(command, "GetVersion")) return ExecuteCommand::GetVersion;
    if (EqualsNoCase(command, "GetObjectList")) return ExecuteCommand::GetObjectList;
    return ExecuteCommand::Unknown;
}

std::string FormatValueAnswer(std::string_view value) { return OkWith(value); }

std::string FormatNameAnswer(std::string_view name) { return OkWith(std::string(name) + ",empty"); }

std::string FormatObjectListAnswer(const std::vector<std::string>& names) {
    const std::size_t room = kSstpBufferSize - 1 - kAnswerOk.size() - 4;
    std::string list;
    for (const std::string& name : names) {
        const std::size_t added = (list.empty() ? 0 : 1) + name.size();
        if (list.size() + added > room) break;  // whole names only
        if (!list.empty()) list += ',';
        list += name;
    }
    return OkWith(list);
}

}  // namespace tc
