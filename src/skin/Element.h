// The record of the four resource lists: the drop and skin submenus and the two file sets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tc {

struct SElement {
    std::int32_t commandId = 0;
    std::string text;    // menu label, or availability mark followed by the display name
    std::string folder;  // folder name, under the skin or dropling folder

    bool operator==(const SElement&) const = default;
};

using ElementList = std::vector<SElement>;

}  // namespace tc
