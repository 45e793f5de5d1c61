// The other desktop characters: the shared block "Sakura" that SSTP-capable characters
// publish, read into directory entries, and the rules by which entries are picked.
//
// The block's text is a run of lines "identifier.key<0x01>value<CR><LF>". Identifiers and
// keys compare without regard to case; the keys read are hwnd, name, keroname and path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tc {

struct SDSakura {
    std::string id;
    std::int32_t hwnd = 0;
    std::string name;
    std::string keroname;
    std::string path;
    bool operator==(const SDSakura&) const = default;
};

// The drop targets that name no character: one at random, or everyone shown.
constexpr const char* kTargetRandom = "%rnd";
constexpr const char* kTargetAll = "%all";

constexpr const char* kSakuraBlockName = "Sakura";
constexpr const char* kSakuraGuardMutex = "SakuraFMO";
constexpr std::size_t kSakuraTextOffset = 4;  // after the block's 32-bit size
constexpr const char* kOwnBlockName = "Tumblecat";
constexpr std::size_t kOwnBlockSize = 0x10000;
// Asked of the cat's window by the falling-object program: its head rectangle.
constexpr unsigned kMsgRectangleQuery = 0x8065;  // WM_APP + 0x65
constexpr const char* kStandWindowClass = "Texture0";
constexpr int kStandWindowSide = 400;
constexpr const char* kStandPath = "stand.exe";

// Parses the block's text. The parse ends when fewer than 6 characters remain, or when a
// pass consumes nothing (a tail without dot, 0x01 or line end); such a pass stores no
// entry, so an empty text gives none.
std::vector<SDSakura> ParseSakuraText(std::string_view text);

// A character window counts as shown when the top byte of its style is 0x94 or 0x96
// (WS_POPUP, WS_VISIBLE and WS_CLIPSIBLINGS, WS_CLIPCHILDREN either way).
bool IsShownStyle(std::uint32_t style);

// The entry of the program Stand, found by its window.
SDSakura StandEntry(std::int32_t hwnd);
bool IsStandEntry(const SDSakura& entry);

// The own block's bytes: its size (65536, little-endian), ".hwnd", 0x01, the handle in
// decimal, CR LF and a NUL.
std::string FormatOwnBlock(std::int32_t hwnd);

}  // namespace tc
