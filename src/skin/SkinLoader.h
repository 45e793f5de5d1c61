// Loading a skin folder into a SkinRecord: profile, surfaces with their shapes, animation
// frames and the descriptor files, in the order the window relies on. Nothing here touches
// the window: the caller decides what a failure means and shows the result.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "skin/SkinFiles.h"
#include "skin/SkinRecord.h"

namespace tc {

// Where a skin's files are read from and where its bitmaps are made.
struct SkinSource {
    FileSystem& files;
    Painting& painting;
    std::string baseDirectory;
    std::string skinName;
    int scale = 1;  // every picture enlarged this many times (see skin/Scale.h)

    std::string Path(std::string_view fileName) const { return SkinFilePath(baseDirectory, skinName, fileName); }
};

// surface0 to surface9, then surface10m to surface31m: surface10.bmp is a frame of surface 1.
std::string SurfaceFileName(int surface, SurfaceKind kind);
// "surface" + surface number + frame number.
std::string FrameFileName(int surface, int frame, SurfaceKind kind);

// profile.txt into m_skinTitle and m_skinProfile; false when it cannot be read.
bool ReadProfile(const SkinSource& source, SkinRecord& skin);

// Releases every surface, frame and shape and forgets their sizes.
void ReleaseSurfaces(SkinRecord& skin);
// The surface counts of a skin not yet loaded.
void ResetSurfaceCounts(SkinRecord& skin);

// Surfaces, balloon offsets, frames, head rectangles and the pose separation. False (with
// every surface released) when the skin has no loadable surface 0.
bool LoadSkinPictures(const SkinSource& source, SkinRecord& skin);

// The single steps, in the order LoadSkinPictures takes them.
bool LoadSurfaces(const SkinSource& source, SurfaceKind kind, SkinRecord& skin);
bool LoadSurface(const SkinSource& source, const std::string& path, int surface, SurfaceKind kind, SkinRecord& skin);
void ReadBalloonOffsets(const SkinSource& source, SkinRecord& skin);
void LoadFrames(const SkinSource& source, SurfaceKind kind, SkinRecord& skin);
void ReadHeadRects(const SkinSource& source, SkinRecord& skin);
void ReadSeparation(const SkinSource& source, SkinRecord& skin);

}  // namespace tc
