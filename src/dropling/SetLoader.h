// A falling-object set as dropling.exe uses it: the folder dropling\<set>\ with its
// dropling.txt (display name, reaction lines, profile, knobs) and its picture surface0.png or
// surface0.bmp, cut out like a skin's surfaces: every pixel of the top-left pixel's value is
// outside the object. A set that lacks either file, or whose picture does not decode or is
// all key colour, cannot be dropped.
#pragma once

#include <optional>
#include <string>

#include "falling/SetText.h"
#include "platform/FileSystem.h"
#include "skin/DibImage.h"
#include "skin/Shape.h"

namespace tc {

struct LoadedSet {
    std::string folder;
    std::string displayName;  // as the cat's lists read it; the folder name when there is none
    SetText text;
    DibImage picture;
    SurfaceShape shape;
};

// The picture is looked for as .png first, as for skins. baseDirectory ends in a backslash.
std::optional<LoadedSet> LoadSet(FileSystem& files, const std::string& baseDirectory, const std::string& folder);

}  // namespace tc
