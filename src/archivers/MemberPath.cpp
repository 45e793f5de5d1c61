#include "archivers/MemberPath.h"

#include "archivers/ArchiverCommand.h"
#include "common/Sjis.h"

namespace tc::archivers {

MemberName DecodeMemberName(std::wstring_view name) {
    MemberName result;
    if (!name.empty() && (name[0] == L'/' || name[0] == L'\\')) return {MemberNameVerdict::Unsafe, {}};
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && name[end] != L'/' && name[end] != L'\\') ++end;
        const std::wstring_view wide = name.substr(start, end - start);
        start = end + 1;
        if (wide.empty() || wide == L".") {
            if (end >= name.size()) break;
            continue;
        }
        const auto part = WideToShiftJis(wide);
        if (!part) return {MemberNameVerdict::Undecodable, {}};
        if (!IsSafePart(*part)) return {MemberNameVerdict::Unsafe, {}};
        result.parts.push_back(*part);
        if (end >= name.size()) break;
    }
    return result;
}

std::string OutputPath(const std::string& destination, const std::vector<std::string>& parts) {
    std::string path = destination;
    for (const std::string& part : parts) {
        if (!path.empty() && !EndsInSeparator(path)) path += '\\';
        path += part;
    }
    return path;
}

}  // namespace tc::archivers
