#include "app/SettingsFiles.h"

#include <limits>

#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

namespace {

constexpr int kSettingsLines = 12;
// tumblecat.cfg lines are read whole: a target list (names joined by "^") or a skin name
// may run past any fixed buffer, and a line read in pieces would shift every line after it.
constexpr std::size_t kWholeLine = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kListLineBuffer = 8192;
constexpr char kFieldSeparator = '\x01';

// A truth-value line is taken only when it holds exactly 0 or 1.
void ApplyTruthValue(int value, bool& setting) {
    if (value == 0 || value == 1) setting = value == 1;
}

void ApplyAutoDrop(int value, CharacterSettings& s) {
    if (value > 255) {
        s.m_autoDrop = false;
        s.m_autoDropMinutes = 10;
        return;
    }
    s.m_autoDrop = (value >> 7) != 0;
    s.m_autoDropMinutes = value & 127;
    if (s.m_autoDropMinutes == 0) s.m_autoDropMinutes = 10;
}

void ApplyTransparency(int value, CharacterSettings& s) {
    if ((value & 512) == 0) {
        s.m_alpha = 255;
        s.m_transparent = false;
        s.m_transparentDroplings = false;
        return;
    }
    s.m_alpha = value & 255;
    s.m_transparent = (value & 256) != 0;
    s.m_transparentDroplings = (value & 1024) != 0;
}

void ApplySettingsLine(int lineNumber, const std::string& line, CharacterSettings& s) {
    const int value = ParseLenientInt(line);
    switch (lineNumber) {
    case 0: s.m_posX = value; break;
    case 1: s.m_skinName = line; break;
    case 2: ApplyAutoDrop(value, s); break;
    case 3: s.m_reactionMethod = (value == 0 || value == 1) ? value : 0; break;
    case 4: s.m_sstpTcpDoor = value != 1; break;
    case 6: s.m_sstpPort = value == 0 ? 9801 : value; break;
    case 7: ApplyTruthValue(value, s.m_noConsecutiveDrop); break;
    case 8: ApplyTransparency(value, s); break;
    case 9: ApplyTruthValue(value, s.m_alwaysOnTop); break;
    case 10:
        if (line.size() > 1) s.m_target = line;
        break;
    case 11: s.m_size = value >= 1 && value <= kLargestSize ? value : kSizeFollowDisplay; break;
    default: break;  // line 5 is reserved
    }
}

}  // namespace

void ApplySettingsFile(std::string_view fileBytes, CharacterSettings& settings) {
    TextReader reader(fileBytes);
    std::string line;
    std::string previous;
    for (int lineNumber = 0; lineNumber < kSettingsLines; ++lineNumber) {
        reader.ReadLine(line, kWholeLine);  // a failed read keeps the previous line
        DropTrailingLineFeed(line);
        if (reader.AtEnd() && line == previous) break;
        ApplySettingsLine(lineNumber, line, settings);
        previous = line;
    }
}

std::string FormatSettingsFile(const CharacterSettings& s) {
    const int autoDrop = (s.m_autoDrop ? 128 : 0) + s.m_autoDropMinutes;
    const int transparency =
        s.m_alpha + 256 * (s.m_transparent ? 1 : 0) + 512 + 1024 * (s.m_transparentDroplings ? 1 : 0);
    std::string text;
    text += std::to_string(s.m_posX) + "\n";
    text += s.m_skinName + "\n";
    text += std::to_string(autoDrop) + "\n";
    text += std::to_string(s.m_reactionMethod) + "\n";
    text += std::string(s.m_sstpTcpDoor ? "0" : "1") + "\n0\n";
    text += std::to_string(s.m_sstpPort) + "\n";
    text += std::to_string(s.m_noConsecutiveDrop ? 1 : 0) + "\n";
    text += std::to_string(transparency) + "\n";
    text += std::to_string(s.m_alwaysOnTop ? 1 : 0) + "\n";
    text += s.m_target + "\n";
    if (s.m_size != kSizeFollowDisplay) text += std::to_string(s.m_size) + "\n";
    return ToCrLf(text);
}

bool ParseListFile(std::string_view fileBytes, ElementList& list) {
    TextReader reader(fileBytes);
    std::string line;
    for (;;) {
        const bool gotLine = reader.ReadLine(line, kListLineBuffer);
        DropTrailingLineFeed(line);
        if (reader.AtEnd() || !gotLine || line.empty()) return true;
        const std::size_t first = FindSjisChar(line, kFieldSeparator);
        if (first == std::string::npos) return false;
        const std::size_t second = FindSjisChar(line, kFieldSeparator, first + 1);
        if (second == std::string::npos) return false;
        SElement element;
        element.commandId = ParseLenientInt(std::string_view(line).substr(0, first));
        element.text = line.substr(first + 1, second - first - 1);
        element.folder = line.substr(second + 1);
        list.push_back(std::move(element));
    }
}

std::string FormatListFile(const ElementList& list) {
    std::string text;
    for (const SElement& element : list) {
        text += std::to_string(element.commandId);
        text += kFieldSeparator;
        text += element.text;
        text += kFieldSeparator;
        text += element.folder;
        text += '\n';
    }
    return ToCrLf(text);
}

}  // namespace tc

