// Who each target name of the parameter string is, and where on the screen its head is.
//
// A name is a character of the "Sakura" block, taken only while its window is shown; the
// name "%nek:" followed by a skin name is the cat itself, whose window the block "Tumblecat"
// gives. Anything else (a character that left, a hidden one, a name nobody has) has no
// window: its object lands on the bottom of the screen, and it is told over TCP.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DroplingContract.h"
#include "falling/Fall.h"
#include "platform/Geometry.h"

namespace tc {

// One entry of the "Sakura" block as far as targeting needs it.
struct CharacterWindow {
    std::string name;
    std::int32_t hwnd = 0;
    bool shown = false;
};

enum class TargetKind { Character, Cat, Missing };

struct ResolvedTarget {
    TargetKind kind = TargetKind::Missing;
    std::int32_t hwnd = 0;
    bool operator==(const ResolvedTarget&) const = default;
};

// The first shown character whose name is the token, byte for byte; the cat for its token
// when catWindow is not 0.
ResolvedTarget ResolveTarget(std::string_view token, const std::vector<CharacterWindow>& characters,
                             std::int32_t catWindow);

// Landing on a character: the top of its visible shape (shapeRects, relative to the
// window; empty for an unshaped window) across the middle half of the shape, centred on it.
Landing ShapeLanding(const Rect& window, const std::vector<Rect>& shapeRects);

// Landing on the cat: the top middle of its head rectangle (relative to its window).
Landing HeadLanding(const Rect& window, const Rect& head);

// Landing on the bottom of the screen, for a target without a window.
Landing FloorLanding(const Rect& screen, int centerX);

// The answer to the rectangle query: "left,top,right,bottom" in decimal (a sign allowed),
// nothing else. Nothing for any other text, or a rectangle with no area.
std::optional<Rect> ParseRectangleAnswer(std::string_view text);

}  // namespace tc
