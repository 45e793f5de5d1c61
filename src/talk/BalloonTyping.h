// The speech balloon's state without its window: where it stands, and the typing of its text
// one character per 50 ms tick into rows of 48 bytes, of which the last five are shown. The
// balloon window derives from BalloonTyping and carries out what each operation returns
// (hide, show, invalidate); painting reads VisibleRows() and m_caption.
//
// The window is 328 wide and H + 96 high (H = m_lowerTop, the desktop's height when the
// balloon was made) and holds two shapes: the upper one at y 0 (side 0, balloon right of the
// cat, tail on its left) and the lower one at y H (side 1, balloon left of the cat). The
// window is moved up by H on side 1, so the shape in use stands at m_y and the other is off
// the screen.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "talk/SakuraScript.h"

namespace tc {

constexpr int kBalloonWidth = 328;
constexpr int kBalloonShapeHeight = 96;
constexpr int kBalloonTimerId = 100;
constexpr int kBalloonTickMs = 50;
constexpr int kBalloonRowBytes = 48;      // a row wraps once it holds this many bytes (a last
                                          // double-byte character may make it 49)
constexpr int kBalloonVisibleRows = 5;
constexpr int kBalloonCloseTicks = 100;   // 5 s after the text is complete the balloon hides

// Where the text rows stand in a shape: side 0 is the upper shape (tail on the left), side 1
// the lower one (tail on the right).
constexpr int kBalloonRowHeight = 14;
constexpr int kBalloonTextTop = 10;
constexpr int BalloonTextX(int side) { return side == 1 ? 12 : 22; }

// What the balloon window does after an operation: hide first, show last, and invalidate
// (without erasing) one rectangle in window coordinates. A tick that invalidates the newest
// character's cell and then the whole text area reports the text area, which holds the cell.
struct BalloonUpdate {
    bool hide = false;
    bool show = false;
    std::optional<Rect> invalidate;
    std::optional<int> surface;  // a script's \s[n] was reached: the cat shows surface n
};

// Where the balloon goes beside the cat.
struct BalloonPlacementInputs {
    int posX = 0, posY = 0;  // the cat window's position
    int winWidth = 0;        // and width
    int extentLeft = 0;      // the current surface's opaque extent, as m_surfaceExtent holds it
    int extentRight = 0;
    int surfaceHeight = 0;   // the current surface image's height
    int offsetX = 1024;      // balloon.txt, 1024 when not given
    int offsetY = 1024;
    int scale = 1;           // the offsets and the balloon are enlarged with the cat's pictures
    Rect screen;             // the free part of the cat's monitor
};
struct BalloonPlacement {
    int x = 0, y = 0;
    int side = 0;
    bool operator==(const BalloonPlacement&) const = default;
};

// Beside the cat on the side of its monitor with more room: right of its rightmost opaque
// column when the cat's middle is in the monitor's left half, else left of its leftmost one; balloon.txt
// X widens the gap. The top is a third of the surface down, or balloon.txt Y below the cat's
// top when X is given, and never lower than the screen's bottom - 96.
// Then the balloon is kept on the screen whatever the cat's position: x is clamped into
// [screen.left, screen.right - 328] and y into [screen.top, screen.bottom - 96] (on a screen
// too small for the balloon, its left and top edges win).
BalloonPlacement PlaceBalloon(const BalloonPlacementInputs& in);

class BalloonTyping {
public:
    // Starts typing text from its beginning (the window then hides, places itself beside the
    // cat, moves, and shows when the text is not empty). A sender gives the grey caption
    // "from <sender> (DirectSSTP)". A pause in progress is not cut short.
    BalloonUpdate Start(std::string_view text, std::optional<std::string_view> sender = std::nullopt);
    // The same for an interpreted script: its text is typed by the same rules ("w" and a digit
    // pauses there too), and its marks act when typing reaches them (a wait pauses, a clear empties the rows, a surface change
    // is reported, an untimed span is typed in one tick up to its next mark).
    BalloonUpdate Start(const ShownScript& script, std::optional<std::string_view> sender = std::nullopt);

    // The 50 ms typing tick (timer 100). A double-byte character is typed whole; "w" with a
    // digit d from 1 to 9 pauses d ticks and a lone "w" one tick, neither shown; a line feed
    // starts a new row. After the text is complete, m_speaking falls to 0 and the balloon
    // hides itself 100 ticks later.
    BalloonUpdate Tick();

    // A click hides a balloon whose text is complete and does nothing while it types.
    BalloonUpdate Click();
    // A double click hides it at once; typing goes on unseen until the text is complete.
    BalloonUpdate DoubleClick();

    void Place(const BalloonPlacement& placement);
    // The window's top: the lower shape is H below it, so side 1 moves the window up by H.
    int WindowTop() const { return m_side == 1 ? m_y - m_lowerTop : m_y; }

    bool IsComplete() const { return m_typePos >= m_text.size() && m_nextMark >= m_marks.size(); }
    // The rows to paint, at most five: the last ones, the row being typed last.
    std::span<const std::string> VisibleRows() const;
    // The text area of the shape in use, and the cell of the newest character in it.
    Rect TextArea() const;
    Rect CellRect() const;

    int m_x = 0;     // screen x of the left edge
    int m_y = 0;     // screen y of the top of the shape in use
    int m_side = 0;  // 0: right of the cat, upper shape; 1: left of the cat, lower shape
    std::string m_text;
    std::vector<std::string> m_rows{std::string()};  // never empty
    int m_row = 0;               // the row being typed
    int m_column = 0;            // bytes typed into it
    std::size_t m_typePos = 0;   // the next byte of m_text to type
    int m_closeCount = 0;        // 0: never closes by itself; else counts ticks after completion
    int m_wait = 0;              // pause ticks left
    int m_lowerTop = 0;          // H
    int m_scale = 1;             // every measure of the balloon is enlarged this many times
    bool m_speaking = false;     // from Start until the text is typed completely
    std::string m_caption;
    std::vector<ScriptMark> m_marks;  // an interpreted script's marks
    std::size_t m_nextMark = 0;
    bool m_quick = false;             // in an untimed span

private:
    bool MarkDue() const { return m_nextMark < m_marks.size() && m_marks[m_nextMark].at <= m_typePos; }
    // Acts on the marks due before the next character; true when a wait takes this tick.
    bool ApplyMarks(BalloonUpdate& update);
    void TypeCharacter(BalloonUpdate& update);
};

}  // namespace tc
