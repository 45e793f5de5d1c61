// The command texts of our archiver libraries: any text parses into a request or a refusal
// code; a request always names an archive, and no word keeps a quote or a blank outside
// quotes; pattern matching of any pattern against any name ends without crashing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "archivers/ArchiverCommand.h"
#include "archivers/MemberPath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto kind : {tc::archivers::ArchiverKind::Lzh, tc::archivers::ArchiverKind::Zip}) {
        const tc::archivers::ParsedCommand parsed = tc::archivers::ParseCommand(kind, text);
        if (parsed.result == 0 && parsed.request.archive.empty()) std::abort();
        if (parsed.result != 0 && parsed.result != 0x801C && parsed.result != 0x8019) std::abort();
    }
    for (const std::string& word : tc::archivers::SplitCommandWords(text)) {
        if (word.find('\0') != std::string::npos && text.find('\0') == std::string_view::npos) std::abort();
    }
    const std::size_t half = size / 2;
    const std::string pattern(text.substr(0, half));
    const std::string name(text.substr(half));
    tc::archivers::MatchesPattern(pattern, {name}, true);
    tc::archivers::MatchesPattern(pattern, {"dir", name}, false);
    if (tc::archivers::IsSafePart(name) &&
        (name == ".." || name.find('/') != std::string::npos || name.find(':') != std::string::npos)) {
        std::abort();
    }
    return 0;
}
