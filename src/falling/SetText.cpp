#include "falling/SetText.h"

#include <algorithm>
#include <optional>

#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

namespace {

enum class Section { None, Name, Reaction, Profile, Physics, Unknown };

// Lines are read whole up to this length (a longer one comes in pieces, each a line).
constexpr std::size_t kLineBuffer = 8192;
constexpr std::size_t kMaxSectionWord = 32;

bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-';
}

// "#word" alone on its line; nothing else is a section line.
bool IsSectionLine(std::string_view line) {
    if (line.size() < 2 || line.size() > kMaxSectionWord + 1 || line.front() != '#') return false;
    return std::all_of(line.begin() + 1, line.end(), IsWordChar);
}

Section SectionNamed(std::string_view word) {
    if (EqualsNoCase(word, "name")) return Section::Name;
    if (EqualsNoCase(word, "reaction")) return Section::Reaction;
    if (EqualsNoCase(word, "profile")) return Section::Profile;
    if (EqualsNoCase(word, "physics")) return Section::Physics;
    return Section::Unknown;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A knob's value: plain digits, held to the knob's range; nothing for anything else.
std::optional<int> KnobNumber(std::string_view text, int low, int high) {
    text = Trimmed(text);
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return std::clamp(value, low, high);
}

void ApplyKnob(std::string_view line, FallKnobs& knobs) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return;
    const std::string_view key = Trimmed(line.substr(0, comma));
    const std::string_view value = line.substr(comma + 1);
    if (EqualsNoCase(key, "gravity")) {
        knobs.gravity = KnobNumber(value, kMinGravity, kMaxGravity).value_or(knobs.gravity);
    } else if (EqualsNoCase(key, "bounce")) {
        knobs.bouncePercent = KnobNumber(value, kMinBouncePercent, kMaxBouncePercent).value_or(knobs.bouncePercent);
    } else if (EqualsNoCase(key, "bounces")) {
        knobs.bounces = KnobNumber(value, kMinBounces, kMaxBounces).value_or(knobs.bounces);
    } else if (EqualsNoCase(key, "leave")) {
        if (EqualsNoCase(Trimmed(value), "fall")) knobs.leave = Leave::Fall;
        if (EqualsNoCase(Trimmed(value), "fade")) knobs.leave = Leave::Fade;
    }
}

void DropBlankTail(std::vector<std::string>& lines) {
    while (!lines.empty() && IsBlank(lines.back())) lines.pop_back();
}

}  // namespace

SetText ReadSetText(std::string_view droplingTxt) {
    SetText text;
    std::vector<std::string> profileLines;
    Section section = Section::None;
    TextReader reader(droplingTxt);
    std::string line;
    while (reader.ReadLine(line, kLineBuffer)) {
        DropTrailingLineFeed(line);
        // A lone CR would end a header line of the request a reaction goes into.
        std::replace(line.begin(), line.end(), '\r', ' ');
        if (IsSectionLine(line)) {
            section = SectionNamed(std::string_view(line).substr(1));
            continue;
        }
        switch (section) {
        case Section::Reaction:
            if (!IsBlank(line)) text.reactions.push_back(line);
            break;
        case Section::Profile:
            profileLines.push_back(line);
            break;
        case Section::Physics:
            ApplyKnob(line, text.knobs);
            break;
        case Section::None:
        case Section::Name:
        case Section::Unknown:
            break;
        }
    }
    DropBlankTail(profileLines);
    for (const std::string& profileLine : profileLines) text.profile += profileLine + "\r\n";
    return text;
}

}  // namespace tc
