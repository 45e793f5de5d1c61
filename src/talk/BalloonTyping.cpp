#include "talk/BalloonTyping.h"

#include <algorithm>
#include <cstdint>

namespace tc {

namespace {

// Bytes that start a double-byte character as the balloon reads them: a little wider than
// Shift_JIS's lead bytes, so a stray 0x80, 0xA0 or 0xFD to 0xFF also takes its follower along.
bool StartsDoubleByte(unsigned char b) { return (b >= 0x80 && b <= 0xA0) || b >= 0xE0; }

constexpr int kCellWidth = 12;
constexpr int kHalfCell = 6;  // a single-byte character's width; the cell spans two of them

}  // namespace

BalloonPlacement PlaceBalloon(const BalloonPlacementInputs& in) {
    // Offsets come from a file and may be any number: work wide, then clamp to the screen.
    constexpr int kNotGiven = 1024;
    BalloonPlacement placement;
    std::int64_t x = 0;
    const std::int64_t middle = (static_cast<std::int64_t>(in.screen.left) + in.screen.right) >> 1;
    if ((in.winWidth >> 1) + static_cast<std::int64_t>(in.posX) < middle) {
        placement.side = 0;
        x = static_cast<std::int64_t>(in.posX) + in.extentRight;
        if (in.offsetX != kNotGiven) x += static_cast<std::int64_t>(in.offsetX) * in.scale;
    } else {
        placement.side = 1;
        x = static_cast<std::int64_t>(in.posX) + in.extentLeft - kBalloonWidth * in.scale;
        if (in.offsetX != kNotGiven) x -= static_cast<std::int64_t>(in.offsetX) * in.scale;
    }
    std::int64_t y = static_cast<std::int64_t>(in.posY) + (in.offsetX == kNotGiven ? in.surfaceHeight / 3 : static_cast<std::int64_t>(in.offsetY) * in.scale);
    y = std::min<std::int64_t>(y, static_cast<std::int64_t>(in.screen.bottom) - kBalloonShapeHeight * in.scale);

    // Keep the balloon on the screen, even for a cat dragged partly off it.
    x = std::max<std::int64_t>(
        std::min<std::int64_t>(x, static_cast<std::int64_t>(in.screen.right) - kBalloonWidth * in.scale), in.screen.left);
    y = std::max<std::int64_t>(y, in.screen.top);
    placement.x = static_cast<int>(x);
    placement.y = static_cast<int>(y);
    return placement;
}

BalloonUpdate BalloonTyping::Start(std::string_view text, std::optional<std::string_view> sender) {
    m_speaking = true;
    m_text = text;
    m_marks.clear();
    m_nextMark = 0;
    m_quick = false;
    m_closeCount = 1;
    m_typePos = 0;
    m_column = 0;
    m_rows.assign(1, std::string());
    m_row = 0;
    m_caption = sender ? "from " + std::string(*sender) + " (DirectSSTP)" : std::string();
    BalloonUpdate update;
    update.hide = true;
    update.show = !m_text.empty();
    return update;
}

BalloonUpdate BalloonTyping::Start(const ShownScript& script, std::optional<std::string_view> sender) {
    BalloonUpdate update = Start(script.text, sender);
    m_marks = script.marks;
    return update;
}

BalloonUpdate BalloonTyping::Tick() {
    BalloonUpdate update;
    if (m_wait != 0) {
        --m_wait;
        return update;
    }
    if (IsComplete()) {
        m_speaking = false;
        if (m_closeCount != 0 && ++m_closeCount > kBalloonCloseTicks) {
            m_closeCount = 0;
            m_wait = 0;
            update.hide = true;
        }
        return update;
    }
    if (ApplyMarks(update) || m_typePos >= m_text.size()) return update;
    const bool cleared = update.invalidate.has_value();
    std::size_t typed = 0;
    do {
        TypeCharacter(update);
        ++typed;
    } while (m_quick && m_typePos < m_text.size() && !MarkDue());
    if (cleared || typed > 1) update.invalidate = TextArea();
    return update;
}

bool BalloonTyping::ApplyMarks(BalloonUpdate& update) {
    while (MarkDue()) {
        const ScriptMark& mark = m_marks[m_nextMark++];
        switch (mark.kind) {
        case ScriptMark::Kind::Wait:
            // This tick is the wait's first, as with "w" and a digit.
            m_wait = std::max(1, (mark.value + kBalloonTickMs - 1) / kBalloonTickMs) - 1;
            return true;
        case ScriptMark::Kind::Surface:
            update.surface = mark.value;
            break;
        case ScriptMark::Kind::Clear:
            m_rows.assign(1, std::string());
            m_row = 0;
            m_column = 0;
            update.invalidate = TextArea();
            break;
        case ScriptMark::Kind::Quick:
            m_quick = mark.value != 0;
            break;
        }
    }
    return false;
}

void BalloonTyping::TypeCharacter(BalloonUpdate& update) {
    const unsigned char b = static_cast<unsigned char>(m_text[m_typePos]);
    bool scroll = false;
    if (StartsDoubleByte(b)) {
        // A lead byte at the very end is typed alone, and the text is complete.
        const std::size_t width = std::min<std::size_t>(2, m_text.size() - m_typePos);
        m_rows.back().append(m_text, m_typePos, width);
        m_typePos += width;
        m_column += static_cast<int>(width);
    } else if (b == 'w') {
        ++m_typePos;
        m_wait = 0;
        if (m_typePos < m_text.size() && m_text[m_typePos] >= '1' && m_text[m_typePos] <= '9') {
            m_wait = m_text[m_typePos] - '1';
            ++m_typePos;
        }
    } else if (b == '\n') {
        ++m_typePos;
        m_rows.emplace_back();
        ++m_row;
        m_column = 0;
        scroll = m_row >= kBalloonVisibleRows;
    } else {
        m_rows.back().push_back(static_cast<char>(b));
        ++m_column;
        ++m_typePos;
    }
    update.invalidate = scroll ? TextArea() : CellRect();

    if (m_column >= kBalloonRowBytes) {
        m_rows.emplace_back();
        ++m_row;
        m_column = 0;
        if (m_row >= kBalloonVisibleRows) update.invalidate = TextArea();
    }
}

BalloonUpdate BalloonTyping::Click() {
    BalloonUpdate update;
    if (IsComplete()) {
        m_wait = 0;
        update.hide = true;
    }
    return update;
}

BalloonUpdate BalloonTyping::DoubleClick() {
    m_wait = 0;
    BalloonUpdate update;
    update.hide = true;
    return update;
}

void BalloonTyping::Place(const BalloonPlacement& placement) {
    m_x = placement.x;
    m_y = placement.y;
    m_side = placement.side;
}

std::span<const std::string> BalloonTyping::VisibleRows() const {
    const int first = std::max(0, m_row - (kBalloonVisibleRows - 1));
    const int count = std::min(m_row, kBalloonVisibleRows - 1) + 1;
    return std::span<const std::string>(m_rows).subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(count));
}

Rect BalloonTyping::TextArea() const {
    const int s = m_scale;
    const int top = m_side == 1 ? m_lowerTop : 0;
    return {12 * s, top + kBalloonTextTop * s, 319 * s, top + 97 * s};
}

Rect BalloonTyping::CellRect() const {
    const int rowLength = static_cast<int>(m_rows.back().size());
    const int e = std::max(0, kHalfCell * (rowLength - 2));
    const int r = std::min(m_row, kBalloonVisibleRows - 1);
    const int s = m_scale;
    const int left = (BalloonTextX(m_side) + e) * s;
    const int top = (m_side == 1 ? m_lowerTop : 0) + (kBalloonTextTop + kBalloonRowHeight * r) * s;
    return {left, top, left + kCellWidth * s, top + kBalloonRowHeight * s};
}

}  // namespace tc
