// How a window looks: screen bitmaps, shape regions, painting and layered transparency.
// Objects made here are released with DeleteObject (OwnedObject does it).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

namespace tc {

class Painting {
public:
    virtual ~Painting() = default;

    // A bitmap compatible with the screen, made from a device-independent image: info is a
    // BITMAPINFOHEADER with its colour table, bits the bottom-up rows.
    virtual NativeHandle CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) = 0;
    // A region made of the runs; 0 when there are none.
    virtual NativeHandle CreateRegion(const std::vector<ShapeRun>& runs) = 0;
    virtual void DeleteObject(NativeHandle object) = 0;
    // Gives the window a copy of region as its shape; without a region the window keeps a
    // one-pixel shape.
    virtual void SetWindowShape(NativeHandle window, NativeHandle region) = 0;
    // Paints bitmap (or nothing, when 0) at the window's top-left corner; answers WM_PAINT.
    virtual void PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height) = 0;

    // Makes the window layered with the opacity alpha (0 to 255); false when the system has
    // no layered windows.
    virtual bool SetLayeredAlpha(NativeHandle window, int alpha) = 0;
    // Makes the window opaque again (no layered style).
    virtual void ClearLayered(NativeHandle window) = 0;
};

}  // namespace tc
