// speak.txt reader: any bytes give lists whose entries are single line pieces (scripts as
// written, never empty; line entries as written too, tags and all), and a file read over itself changes nothing,
// because every list a file mentions is rebuilt from that file alone.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>

#include "talk/MessageConfig.h"

namespace {

auto Lists(const tc::TalkRecord& t) {
    return std::tie(t.m_scriptWelcome, t.m_scriptGoodbye, t.m_msgExecute, t.m_msgExecuteAlone, t.m_msgWelcomeAlone,
                    t.m_msgGoodbyeAlone, t.m_msgInstallCompleteSkin, t.m_msgInstallCompleteDropling,
                    t.m_msgInstallFailureFiletype, t.m_msgInstallFailureDll, t.m_msgInstallFailureExtract,
                    t.m_msgInstallFailureStructure);
}

void CheckScripts(const std::vector<tc::STriangleScript>& scripts) {
    for (const auto& entry : scripts) {
        if (entry.script.empty() || entry.script.size() >= tc::kSpeakLineBuffer) std::abort();
        if (entry.script.find('\n') != std::string::npos || entry.target.find('\n') != std::string::npos) std::abort();
    }
}

void CheckLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (line.size() >= tc::kSpeakLineBuffer) std::abort();
        if (line.find('\n') != std::string::npos) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);

    tc::TalkRecord once;
    tc::LoadMessageConfig(file, std::nullopt, once);
    CheckScripts(once.m_scriptWelcome);
    CheckScripts(once.m_scriptGoodbye);
    std::apply([](const auto&, const auto&, const auto&... lines) { (CheckLines(lines), ...); }, Lists(once));

    tc::TalkRecord twice;
    tc::LoadMessageConfig(file, file, twice);
    if (Lists(twice) != Lists(once)) std::abort();

    tc::TalkRecord skinOnly, defaults;
    tc::LoadMessageConfig(std::nullopt, file, skinOnly);
    tc::ResetMessageDefaults(defaults);
    if (Lists(skinOnly) != Lists(defaults)) std::abort();
    return 0;
}
