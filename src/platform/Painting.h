// How a window looks: screen bitmaps, shape regions, painting and layered transparency.
// Objects made here are released with DeleteObject (OwnedObject does it).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"

namespace tc {

// What a paint handler draws with, inside one paint of a window.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Copies width by height pixels of bitmap, from its point from on, to at, each pixel
    // drawn as a factor × factor block.
    virtual void DrawBitmap(NativeHandle bitmap, Point at, int width, int height, Point from = {}, int factor = 1) = 0;
    // Draws one line of text with its top-left corner at at, transparent behind the letters.
    virtual void DrawString(NativeHandle font, std::uint32_t rgb, Point at, std::string_view text) = 0;
};

// An RGB colour as the window system stores it (red in the low byte).
constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

class Painting {
public:
    virtual ~Painting() = default;

    // A bitmap compatible with the screen, made from a device-independent image: info is a
    // BITMAPINFOHEADER with its colour table, bits the bottom-up rows.
    virtual NativeHandle CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) = 0;
    // A region made of the runs; 0 when there are none.
    virtual NativeHandle CreateRegion(const std::vector<ShapeRun>& runs) = 0;
    virtual void DeleteObject(NativeHandle object) = 0;
    // A bitmap of the program's resources; 0 when there is none.
    virtual NativeHandle LoadBitmapResource(int resourceId) = 0;
    // A Shift_JIS font of the face at the pixel height, of normal weight and fixed pitch.
    virtual NativeHandle CreateTextFont(const std::string& face, int height) = 0;
    // Regions: a rectangle with rounded corners, a polygon (winding fill), and the union of
    // two regions as a new one.
    virtual NativeHandle CreateRoundRectRegion(const Rect& rect, int cornerWidth, int cornerHeight) = 0;
    virtual NativeHandle CreatePolygonRegion(const std::vector<Point>& points) = 0;
    virtual NativeHandle UniteRegions(NativeHandle first, NativeHandle second) = 0;
    // Gives the window a copy of region as its shape; without a region the window keeps a
    // one-pixel shape.
    virtual void SetWindowShape(NativeHandle window, NativeHandle region) = 0;
    // Paints width by height pixels of bitmap (or nothing, when 0) at the window's top-left
    // corner, each pixel as a factor × factor block of its colour; answers WM_PAINT.
    virtual void PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height, int factor = 1) = 0;

    // Answers WM_PAINT by letting draw paint the window.
    virtual void PaintCanvas(NativeHandle window, const std::function<void(Canvas&)>& draw) = 0;

    // Makes the window layered with the opacity alpha (0 to 255); false when the system has
    // no layered windows.
    virtual bool SetLayeredAlpha(NativeHandle window, int alpha) = 0;
    // Makes the window opaque again (no layered style).
    virtual void ClearLayered(NativeHandle window) = 0;
};

}  // namespace tc
