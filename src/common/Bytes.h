// Little-endian numbers in byte buffers, as Windows file formats store them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tc {

inline std::uint32_t ReadU16(std::string_view b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8);
}

inline std::uint32_t ReadU32(std::string_view b, std::size_t at) { return ReadU16(b, at) | (ReadU16(b, at + 2) << 16); }

inline void WriteU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void WriteU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    WriteU16(b, at, v & 0xFFFF);
    WriteU16(b, at + 2, v >> 16);
}

}  // namespace tc
