// The "Sakura" block parser: any text ends its parse, every pass that stores an entry
// consumes at least one byte, and every entry's identifier occurs only once (identifiers
// compare without regard to case).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/Sjis.h"
#include "interop/Directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto entries = tc::ParseSakuraText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (entries.size() > size) std::abort();  // a stored pass always made progress
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            if (tc::EqualsNoCase(entries[i].id, entries[j].id)) std::abort();
        }
    }
    return 0;
}
