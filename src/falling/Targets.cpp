#include "falling/Targets.h"

#include <algorithm>
#include <climits>

namespace tc {

ResolvedTarget ResolveTarget(std::string_view token, const std::vector<CharacterWindow>& characters,
                             std::int32_t catWindow) {
    if (token.substr(0, kCatTargetPrefix.size()) == kCatTargetPrefix) {
        if (catWindow != 0) return {TargetKind::Cat, catWindow};
        return {};
    }
    for (const CharacterWindow& character : characters) {
        if (character.shown && character.hwnd != 0 && character.name == token) {
            return {TargetKind::Character, character.hwnd};
        }
    }
    return {};
}

Landing ShapeLanding(const Rect& window, const std::vector<Rect>& shapeRects) {
    if (shapeRects.empty()) return {window.top, (window.left + window.right) / 2};
    Rect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Rect& r : shapeRects) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    // A raised hand or an ear at the edge is no head: only the middle half counts.
    const int quarter = bounds.Width() / 4;
    const int spanLeft = bounds.left + quarter;
    const int spanRight = bounds.right - quarter;
    int top = INT_MAX;
    for (const Rect& r : shapeRects) {
        if (r.right > spanLeft && r.left < spanRight) top = std::min(top, r.top);
    }
    if (top == INT_MAX) top = bounds.top;
    return {window.top + top, window.left + (bounds.left + bounds.right) / 2};
}

Landing HeadLanding(const Rect& window, const Rect& head) {
    return {window.top + head.top, window.left + (head.left + head.right) / 2};
}

Landing FloorLanding(const Rect& screen, int centerX) { return {screen.bottom, centerX}; }

namespace {

constexpr std::size_t kMaxNumberChars = 7;  // a sign and six digits: beyond any screen

std::optional<int> TakeNumber(std::string_view& rest, bool last) {
    const std::size_t end = last ? rest.size() : rest.find(',');
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view number = rest.substr(0, end);
    rest.remove_prefix(last ? end : end + 1);
    const bool negative = !number.empty() && number.front() == '-';
    if (negative) number.remove_prefix(1);
    if (number.empty() || number.size() >= kMaxNumberChars) return std::nullopt;
    int value = 0;
    for (char c : number) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<Rect> ParseRectangleAnswer(std::string_view text) {
    const auto left = TakeNumber(text, false);
    const auto top = left ? TakeNumber(text, false) : std::nullopt;
    const auto right = top ? TakeNumber(text, false) : std::nullopt;
    const auto bottom = right ? TakeNumber(text, true) : std::nullopt;
    if (!bottom) return std::nullopt;
    const Rect head{*left, *top, *right, *bottom};
    if (head.Width() <= 0 || head.Height() <= 0) return std::nullopt;
    return head;
}

}  // namespace tc
