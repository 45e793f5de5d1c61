// dropling.txt name reader: any bytes give at most one name without a line feed in it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/Resources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto name = tc::DroplingListName(std::string_view(reinterpret_cast<const char*>(data), size));
    if (name && name->find('\n') != std::string::npos) std::abort();
    return 0;
}
