// Screen bitmaps, shape regions, painting and layered transparency through GDI.
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/win32/Win32Handles.h"
#include "common/WideText.h"

namespace tc {

Win32Painting::Win32Painting() {
    // Older systems have no layered windows, so the function is looked up rather than
    // linked; user32 stays loaded for the life of the process.
    if (HMODULE user32 = GetModuleHandleW(L"user32")) {
        m_setLayered =
            reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    }
}

NativeHandle Win32Painting::CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) {
    if (info.size() < sizeof(BITMAPINFOHEADER)) return 0;
    WindowDc screen;
    if (!screen.Get()) return 0;
    const auto* bitmapInfo = reinterpret_cast<const BITMAPINFO*>(info.data());
    return FromHandle(
        CreateDIBitmap(screen.Get(), &bitmapInfo->bmiHeader, CBM_INIT, bits, bitmapInfo, DIB_RGB_COLORS));
}

NativeHandle Win32Painting::CreateRegion(const std::vector<ShapeRun>& runs) {
    if (runs.empty()) return 0;
    // One call for the whole shape instead of combining a region per run.
    std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(runs.size());
    data->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const RECT r{runs[i].left, runs[i].y, runs[i].right, runs[i].y + 1};
        std::memcpy(&rects[i], &r, sizeof r);
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    data->rdh.rcBound = bounds;
    return FromHandle(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

void Win32Painting::DeleteObject(NativeHandle object) {
    if (object) ::DeleteObject(reinterpret_cast<HGDIOBJ>(object));
}

NativeHandle Win32Painting::LoadBitmapResource(int resourceId) {
    return FromHandle(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0,
                                 LR_DEFAULTCOLOR));
}

NativeHandle Win32Painting::CreateTextFont(const std::string& face, int height) {
    return FromHandle(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                  OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY,
                                  FF_MODERN | DEFAULT_PITCH, WideText(face).c_str()));
}

NativeHandle Win32Painting::CreateRoundRectRegion(const Rect& rect, int cornerWidth, int cornerHeight) {
    return FromHandle(CreateRoundRectRgn(rect.left, rect.top, rect.right, rect.bottom, cornerWidth, cornerHeight));
}

NativeHandle Win32Painting::CreatePolygonRegion(const std::vector<Point>& points) {
    std::vector<POINT> corners;
    for (const Point& p : points) corners.push_back({p.x, p.y});
    return FromHandle(CreatePolygonRgn(corners.data(), static_cast<int>(corners.size()), WINDING));
}

NativeHandle Win32Painting::UniteRegions(NativeHandle first, NativeHandle second) {
    HRGN united = CreateRectRgn(0, 0, 0, 0);
    if (united) CombineRgn(united, reinterpret_cast<HRGN>(first), reinterpret_cast<HRGN>(second), RGN_OR);
    return FromHandle(united);
}

void Win32Painting::SetWindowShape(NativeHandle window, NativeHandle region) {
    HRGN shape = CreateRectRgn(0, 0, 1, 1);
    if (region) CombineRgn(shape, reinterpret_cast<HRGN>(region), nullptr, RGN_COPY);
    // The window owns the region from here on.
    SetWindowRgn(ToHwnd(window), shape, TRUE);
}

namespace {

// Copies width by height pixels of bitmap from its point from on to at of dc, each pixel as
// a factor × factor block. A whole factor without blending repeats every pixel exactly: the
// shape built from the enlarged runs fits the picture pixel for pixel, and the art stays crisp.
void DrawBlocks(HDC dc, NativeHandle bitmap, Point at, int width, int height, Point from, int factor) {
    MemoryDc memory(dc);
    if (!memory.Get()) return;
    ScopedSelect selected(memory.Get(), reinterpret_cast<HGDIOBJ>(bitmap));
    if (factor <= 1) {
        BitBlt(dc, at.x, at.y, width, height, memory.Get(), from.x, from.y, SRCCOPY);
        return;
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, at.x, at.y, width * factor, height * factor, memory.Get(), from.x, from.y, width, height, SRCCOPY);
}

}  // namespace

void Win32Painting::PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height, int factor) {
    PaintScope paint(ToHwnd(window));
    if (!paint.Get() || !bitmap) return;
    DrawBlocks(paint.Get(), bitmap, {0, 0}, width, height, {0, 0}, factor);
}

namespace {

// Drawing into the device context of one paint.
class Win32Canvas : public Canvas {
public:
    explicit Win32Canvas(HDC dc) : m_dc(dc) { SetBkMode(dc, TRANSPARENT); }

    void DrawBitmap(NativeHandle bitmap, Point at, int width, int height, Point from, int factor) override {
        if (bitmap) DrawBlocks(m_dc, bitmap, at, width, height, from, factor);
    }

    void DrawString(NativeHandle font, std::uint32_t rgb, Point at, std::string_view text) override {
        ScopedSelect selected(m_dc, reinterpret_cast<HGDIOBJ>(font));
        SetTextColor(m_dc, rgb);
        const std::wstring wide = WideText(text);
        TextOutW(m_dc, at.x, at.y, wide.data(), static_cast<int>(wide.size()));
    }

private:
    HDC m_dc;
};

}  // namespace

void Win32Painting::PaintCanvas(NativeHandle window, const std::function<void(Canvas&)>& draw) {
    PaintScope paint(ToHwnd(window));
    if (!paint.Get()) return;
    Win32Canvas canvas(paint.Get());
    draw(canvas);
}

bool Win32Painting::SetLayeredAlpha(NativeHandle window, int alpha) {
    HWND hwnd = ToHwnd(window);
    if (!hwnd || !m_setLayered) return false;
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    return m_setLayered(hwnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA) != FALSE;
}

void Win32Painting::ClearLayered(NativeHandle window) {
    HWND hwnd = ToHwnd(window);
    if (!hwnd) return;
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    // Without the layered style the window must be drawn again by itself.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace tc
