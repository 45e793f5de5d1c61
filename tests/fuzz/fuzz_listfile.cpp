// List file reader: any bytes parse without fault, and records that can be written read
// back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/SettingsFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tc::ElementList list;
    tc::ParseListFile(std::string_view(reinterpret_cast<const char*>(data), size), list);
    tc::ElementList back;
    if (!tc::ParseListFile(tc::FormatListFile(list), back)) std::abort();
    // A record whose folder ends in a lone CR loses it to the CR LF translation; the
    // records before the first such record must come back exactly.
    for (std::size_t i = 0; i < back.size() && i < list.size(); ++i) {
        if (!list[i].folder.empty() && list[i].folder.back() == '\r') break;
        if (!(back[i] == list[i])) std::abort();
    }
    return 0;
}
