// tumblecat.cfg reader: any bytes give settings within their documented ranges, and the
// file written back from them reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/SettingsFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tc::CharacterSettings settings;
    tc::ApplySettingsFile(std::string_view(reinterpret_cast<const char*>(data), size), settings);
    if (settings.m_reactionMethod != 0 && settings.m_reactionMethod != 1) std::abort();
    if (settings.m_alpha < 0 || settings.m_alpha > 255) std::abort();
    if (settings.m_autoDropMinutes < 1 || settings.m_autoDropMinutes > 127) std::abort();
    if (settings.m_sstpPort == 0) std::abort();

    // Names with line breaks cannot survive a line-based file; everything else must.
    if (settings.m_skinName.find_first_of("\r\n") == std::string::npos &&
        settings.m_target.find_first_of("\r\n") == std::string::npos && !settings.m_skinName.empty()) {
        const std::string written = tc::FormatSettingsFile(settings);
        tc::CharacterSettings back;
        tc::ApplySettingsFile(written, back);
        if (tc::FormatSettingsFile(back) != written) std::abort();
    }
    return 0;
}
