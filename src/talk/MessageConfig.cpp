#include "talk/MessageConfig.h"

#include <algorithm>
#include <array>
#include <climits>

#include "common/Random.h"
#include "common/Sjis.h"
#include "common/TextReader.h"
#include "talk/ScriptText.h"

namespace tc {

namespace {

// The twelve lists, in the order of the record.
enum ListId : int {
    kWelcomeScripts,
    kGoodbyeScripts,
    kExecute,
    kExecuteAlone,
    kWelcomeAlone,
    kGoodbyeAlone,
    kInstallCompleteSkin,
    kInstallCompleteDropling,
    kInstallFailureFiletype,
    kInstallFailureDll,
    kInstallFailureExtract,
    kInstallFailureStructure,
    kListCount,
    kNoList = -1,  // a group that is recognised and discarded
};

struct SectionKey {
    std::string_view key;
    int list;
};
constexpr std::array<SectionKey, kSectionKeyCount> kSectionKeys = {{
    {"#welcome.sstp.ex", kWelcomeScripts},
    {"#welcome.script.ex", kWelcomeScripts},
    {"#goodbye.sstp.ex", kGoodbyeScripts},
    {"#goodbye.script.ex", kGoodbyeScripts},
    {"#execute.message", kExecute},
    {"#execute.alone.message", kExecuteAlone},
    {"#welcome.alone.message", kWelcomeAlone},
    {"#goodbye.alone.message", kGoodbyeAlone},
    {"#install.complete.skin.message", kInstallCompleteSkin},
    {"#install.complete.dropling.message", kInstallCompleteDropling},
    {"#install.failure.filetype.message", kInstallFailureFiletype},
    {"#install.failure.dll.message", kInstallFailureDll},
    {"#install.failure.extract.message", kInstallFailureExtract},
    {"#install.failure.structure.message", kInstallFailureStructure},
    {"#welcome.communicate.message", kNoList},
    {"#goodbye.communicate.message", kNoList},
    {"#install.failure.message", kNoList},
    {"#install.complete.message", kNoList},
}};

constexpr std::array<SectionKey, 10> kPlainKeys = {{
    {"welcome.sstp.ex", kWelcomeScripts},
    {"welcome.script.ex", kWelcomeScripts},
    {"goodbye.sstp.ex", kGoodbyeScripts},
    {"goodbye.script.ex", kGoodbyeScripts},
    {"execute.message", kExecute},
    {"execute.alone.message", kExecuteAlone},
    {"welcome.alone.message", kWelcomeAlone},
    {"goodbye.alone.message", kGoodbyeAlone},
    {"welcome.communicate.message", kNoList},
    {"goodbye.communicate.message", kNoList},
}};

std::vector<STriangleScript>& ScriptList(TalkRecord& talk, int list) {
    return list == kWelcomeScripts ? talk.m_scriptWelcome : talk.m_scriptGoodbye;
}

std::vector<std::string>& LineList(TalkRecord& talk, int list) {
    switch (list) {
        case kExecute: return talk.m_msgExecute;
        case kExecuteAlone: return talk.m_msgExecuteAlone;
        case kWelcomeAlone: return talk.m_msgWelcomeAlone;
        case kGoodbyeAlone: return talk.m_msgGoodbyeAlone;
        case kInstallCompleteSkin: return talk.m_msgInstallCompleteSkin;
        case kInstallCompleteDropling: return talk.m_msgInstallCompleteDropling;
        case kInstallFailureFiletype: return talk.m_msgInstallFailureFiletype;
        case kInstallFailureDll: return talk.m_msgInstallFailureDll;
        case kInstallFailureExtract: return talk.m_msgInstallFailureExtract;
        default: return talk.m_msgInstallFailureStructure;
    }
}

bool IsScriptList(int list) { return list == kWelcomeScripts || list == kGoodbyeScripts; }

// The entries of a plain key's value. A byte of 0x80 or above takes the byte after it along,
// so a comma there never separates. Half-width katakana are paired with their follower too:
// the format counts every high byte as the start of a double-byte character.
std::vector<std::string> SplitEntries(std::string_view value) {
    std::vector<std::string> entries;
    std::string entry;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            entry.push_back(c);
            if (i + 1 < value.size()) entry.push_back(value[++i]);
        } else if (c == ',') {
            if (!entry.empty()) entries.push_back(std::move(entry));
            entry.clear();
        } else {
            entry.push_back(c);
        }
    }
    if (!entry.empty()) entries.push_back(std::move(entry));
    return entries;
}

void SetMessageKey(std::string_view key, std::string_view value, TalkRecord& talk) {
    int list = kNoList;
    for (const SectionKey& plain : kPlainKeys) {
        if (plain.key == key) {
            list = plain.list;
            break;
        }
    }
    if (list == kNoList) return;
    std::vector<std::string> entries = SplitEntries(value);
    if (IsScriptList(list)) {
        auto& scripts = ScriptList(talk, list);
        scripts.clear();
        for (std::string& entry : entries) scripts.push_back({"", std::move(entry)});
    } else {
        LineList(talk, list) = std::move(entries);
    }
}

}  // namespace

void ResetMessageDefaults(TalkRecord& talk) {
    talk.m_scriptWelcome = {{"", "(WelcomeScriptEx not found)"}};
    talk.m_scriptGoodbye = {{"", "(GoodbyeScriptEx not found)"}};
    talk.m_msgExecute = {"(ExecuteMessage not found)"};
    talk.m_msgExecuteAlone = {"(ExecuteAloneMessage not found)"};
    talk.m_msgWelcomeAlone = {"(WelcomeAloneMessage not found)"};
    talk.m_msgGoodbyeAlone = {"(GoodbyeAloneMessage not found)"};
    talk.m_msgInstallCompleteSkin = {"(InstallCompleteMessageSkin not found)"};
    talk.m_msgInstallCompleteDropling = {"(InstallCompleteMessageDropling not found)"};
    talk.m_msgInstallFailureFiletype = {"(InstallFailureMessageFiletype not found)"};
    talk.m_msgInstallFailureDll = {"(InstallFailureMessageDll not found)"};
    talk.m_msgInstallFailureExtract = {"(InstallFailureMessageExtract not found)"};
    talk.m_msgInstallFailureStructure = {"(InstallFailureMessageStructure not found)"};
}

int FindSectionKey(std::string_view head) {
    for (int i = 0; i < kSectionKeyCount; ++i) {
        if (EqualsNoCase(head, kSectionKeys[i].key)) return i;
    }
    return -1;
}

void ReadSpeakFile(std::string_view fileBytes, TalkRecord& talk) {
    // A list is fresh until this file gives it its first entry; the two keys of a script
    // list share its flag, so a file empties each list at most once.
    std::array<bool, kListCount> sectionFresh;
    sectionFresh.fill(true);
    int section = -1;
    std::string target;

    TextReader reader(fileBytes);
    std::string line;
    while (reader.ReadTextLine(line, kSpeakLineBuffer)) {
        DropTrailingLineFeed(line);
        if (line.empty()) continue;  // does not close the section

        const std::string_view whole(line);
        const std::size_t at = FindSjisChar(whole, '@');
        const int key = FindSectionKey(whole.substr(0, at));
        if (key != -1) {
            section = key;
            target = at == std::string_view::npos ? std::string() : std::string(whole.substr(at + 1));
            continue;
        }

        if (section != -1) {
            const int list = kSectionKeys[section].list;
            if (list == kNoList) continue;
            const bool fresh = sectionFresh[list];
            sectionFresh[list] = false;
            if (IsScriptList(list)) {
                auto& scripts = ScriptList(talk, list);
                if (fresh) scripts.clear();
                scripts.push_back({target, line});
            } else {
                auto& lines = LineList(talk, list);
                if (fresh) lines.clear();
                lines.push_back(line);
            }
            continue;
        }

        const std::size_t comma = FindSjisChar(whole, ',');
        if (comma == std::string_view::npos) continue;
        std::string_view name = whole.substr(0, comma);
        name = name.substr(0, name.find_first_of(" \t"));
        std::string_view value = whole.substr(comma + 1);
        value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
        SetMessageKey(name, value, talk);
    }
}

void LoadMessageConfig(const std::optional<std::string>& commonFile, const std::optional<std::string>& skinFile,
                       TalkRecord& talk) {
    ResetMessageDefaults(talk);
    if (!commonFile) return;
    ReadSpeakFile(*commonFile, talk);
    if (skinFile) ReadSpeakFile(*skinFile, talk);
}

std::optional<std::string> PickLine(const std::vector<std::string>& lines) {
    const int count = lines.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(lines.size());
    const int i = RandomIndex(count);
    if (i == -1) return std::nullopt;
    return lines[static_cast<std::size_t>(i)];
}

}  // namespace tc
