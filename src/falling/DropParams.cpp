#include "falling/DropParams.h"

#include "common/Sjis.h"

namespace tc {

namespace {

constexpr int kMaxOpacityField = kOpacityFlag + kOpaque;
constexpr std::size_t kMaxDigits = 9;  // far beyond every range, well within int

// Plain decimal digits only: the cat writes these fields with "%d", so anything else was
// not written by it.
std::optional<int> ParseField(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > kMaxDigits) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

// Splits off the text before the next "~"; nothing when there is none.
std::optional<std::string_view> TakeField(std::string_view& rest) {
    const std::size_t at = FindSjisChar(rest, kDropFieldMark);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view field = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    return field;
}

// Bytes below 0x40 are never the second byte of a double-byte character, so these marks
// are refused wherever they stand; a backslash (0x5C) can be a second byte and counts only
// at a character's start.
bool IsSafeFolderName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("/:*?\"<>").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return FindSjisChar(name, '\\') == std::string_view::npos && FindSjisChar(name, '|') == std::string_view::npos;
}

bool OnlyBlanks(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

std::vector<std::string> SplitTargets(std::string_view list) {
    std::vector<std::string> names;
    while (!list.empty() && names.size() < kMaxTargets) {
        const std::size_t at = FindSjisChar(list, kTargetEndMark);
        const std::string_view name = list.substr(0, at);
        if (at == std::string_view::npos) {
            if (!OnlyBlanks(name)) names.emplace_back(name);  // a last name without its "^"
            break;
        }
        if (!name.empty()) names.emplace_back(name);
        list.remove_prefix(at + 1);
    }
    return names;
}

}  // namespace

std::string_view CommandLineParameters(std::string_view commandLine) {
    std::size_t i = 0;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const std::size_t close = commandLine.find('"', 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    return commandLine.substr(i);
}

std::optional<DropParams> ParseDropParams(std::string_view parameters) {
    std::string_view rest = parameters;
    const auto set = TakeField(rest);
    const auto reaction = TakeField(rest);
    const auto port = TakeField(rest);
    const auto opacity = TakeField(rest);
    if (!opacity) return std::nullopt;

    const auto reactionValue = ParseField(*reaction, 0, 1);
    const auto portValue = ParseField(*port, 1, 65535);
    const auto opacityValue = ParseField(*opacity, 0, kMaxOpacityField);
    if (!reactionValue || !portValue || !opacityValue || !IsSafeFolderName(*set)) return std::nullopt;

    DropParams params;
    params.set = std::string(*set);
    params.reaction = static_cast<Reaction>(*reactionValue);
    params.port = *portValue;
    params.alpha = (*opacityValue & kOpacityFlag) ? (*opacityValue & kOpaque) : kOpaque;
    params.targets = SplitTargets(rest);
    if (params.targets.empty()) return std::nullopt;
    return params;
}

}  // namespace tc
