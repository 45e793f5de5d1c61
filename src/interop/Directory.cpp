#include "interop/Directory.h"

#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

namespace {

constexpr std::size_t kMinimumRest = 6;

// Splits rest at the first mark: returns what lies before it and leaves rest after it.
// Without the mark, returns empty and leaves rest whole.
std::string_view TakeBefore(std::string_view& rest, char mark) {
    const std::size_t at = FindSjisChar(rest, mark);
    if (at == std::string_view::npos) return {};
    const std::string_view before = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    return before;
}

SDSakura& EntryFor(std::vector<SDSakura>& entries, std::string_view id) {
    for (SDSakura& entry : entries) {
        if (EqualsNoCase(entry.id, id)) return entry;
    }
    entries.push_back(SDSakura{std::string(id), 0, {}, {}, {}});
    return entries.back();
}

void Store(SDSakura& entry, std::string_view key, std::string_view value) {
    if (EqualsNoCase(key, "hwnd")) {
        entry.hwnd = ParseLenientInt(value);
    } else if (EqualsNoCase(key, "name")) {
        entry.name = value;
    } else if (EqualsNoCase(key, "keroname")) {
        entry.keroname = value;
    } else if (EqualsNoCase(key, "path")) {
        entry.path = value;
    }
}

}  // namespace

std::vector<SDSakura> ParseSakuraText(std::string_view text) {
    std::vector<SDSakura> entries;
    std::string_view rest = text;
    for (;;) {
        const std::size_t before = rest.size();
        std::string_view id = TakeBefore(rest, '.');
        if (!id.empty() && id.front() == '\r') id.remove_prefix(id.size() < 2 ? id.size() : 2);
        const std::string_view key = TakeBefore(rest, '\x01');
        // The value ends at the CR, which stays in rest and is dropped with the next identifier.
        std::string_view value;
        const std::size_t cr = FindSjisChar(rest, '\r');
        if (cr != std::string_view::npos) {
            value = rest.substr(0, cr);
            rest.remove_prefix(cr);
        }
        // A pass that consumed nothing found no line: it stores no entry, which would
        // otherwise count as a character without a name or window.
        if (rest.size() == before) break;
        Store(EntryFor(entries, id), key, value);
        if (rest.size() < kMinimumRest) break;
    }
    return entries;
}

bool IsShownStyle(std::uint32_t style) {
    const std::uint32_t top = style >> 24;
    return top == 0x94 || top == 0x96;
}

SDSakura StandEntry(std::int32_t hwnd) { return SDSakura{"", hwnd, "(Stand)", "Stand/Texture1", kStandPath}; }

bool IsStandEntry(const SDSakura& entry) { return entry.path == kStandPath; }

std::string FormatOwnBlock(std::int32_t hwnd) {
    std::string block("\x00\x00\x01\x00", 4);
    block += ".hwnd\x01";
    block += std::to_string(hwnd);
    block += "\r\n";
    block.push_back('\0');
    return block;
}

}  // namespace tc
