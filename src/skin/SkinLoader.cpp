#include "skin/SkinLoader.h"

#include <algorithm>

#include "skin/PngDecoder.h"
#include "skin/Scale.h"
#include "skin/Shape.h"

namespace tc {

namespace {

const char* Extension(SurfaceKind kind) { return kind == SurfaceKind::Png ? "png" : "bmp"; }

std::optional<DibImage> ReadSurfaceImage(const SkinSource& source, const std::string& path, SurfaceKind kind,
                                         SkinRecord& skin) {
    const auto bytes = source.files.ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    if (kind == SurfaceKind::Bmp) return ParseBmpFile(*bytes);
    if (!DecodePng(*bytes, skin.m_pngImage)) return std::nullopt;
    auto image = ParseBmpImage(std::move(skin.m_pngImage));
    skin.m_pngImage.clear();  // emptied after each picture, whoever holds its bytes now
    return image;
}

HeadRect Enlarged(const HeadRect& rect, int scale) {
    return {rect.left * scale, rect.top * scale, rect.right * scale, rect.bottom * scale};
}

OwnedObject ScreenBitmapOf(Painting& painting, const DibImage& image) {
    return OwnedObject(painting, painting.CreateScreenBitmap(image.header, image.Bits()));
}

}  // namespace

std::string SurfaceFileName(int surface, SurfaceKind kind) {
    return "surface" + std::to_string(surface) + (surface >= 10 ? "m." : ".") + Extension(kind);
}

std::string FrameFileName(int surface, int frame, SurfaceKind kind) {
    return "surface" + std::to_string(surface) + std::to_string(frame) + "." + Extension(kind);
}

bool ReadProfile(const SkinSource& source, SkinRecord& skin) {
    const auto bytes = source.files.ReadWholeFile(source.Path("profile.txt"));
    if (!bytes) return false;
    ParseProfile(*bytes, skin.m_skinTitle, skin.m_skinProfile);
    return true;
}

void ReleaseSurfaces(SkinRecord& skin) {
    for (int s = 0; s < kSurfaceCount; ++s) {
        skin.m_surfaceBitmap[s].Reset();
        skin.m_surfaceRegion[s].Reset();
        for (OwnedObject& frame : skin.m_surfaceFrames[s]) frame.Reset();
        skin.m_surfaceInfo[s].reset();
        skin.m_surfaceBitsSize[s] = 0;
        skin.m_surfaceLastFrame[s] = -1;
        skin.m_surfaceExtent[s] = Extent{};
    }
}

void ResetSurfaceCounts(SkinRecord& skin) {
    skin.m_dropSurfaceFirst = 1;
    skin.m_normalSurfaceCount = 1;
    skin.m_dropSurfaceCount = 1;
    skin.m_surfaceCount = 2;
}

bool LoadSkinPictures(const SkinSource& source, SkinRecord& skin) {
    skin.m_scale = std::max(1, source.scale);
    const SurfaceKind kind = ProbeSurfaceKind(source.files, source.baseDirectory, source.skinName);
    if (kind == SurfaceKind::None) return false;
    if (!LoadSurfaces(source, kind, skin)) {
        ReleaseSurfaces(skin);
        return false;
    }
    ReadBalloonOffsets(source, skin);
    LoadFrames(source, kind, skin);
    ReadHeadRects(source, skin);
    ReadSeparation(source, skin);
    return true;
}

bool LoadSurfaces(const SkinSource& source, SurfaceKind kind, SkinRecord& skin) {
    int loaded = 0;
    while (loaded < kSurfaceCount && LoadSurface(source, source.Path(SurfaceFileName(loaded, kind)), loaded, kind, skin)) {
        ++loaded;
    }
    if (loaded == 0) return false;
    skin.m_surfaceCount = loaded;
    return true;
}

bool LoadSurface(const SkinSource& source, const std::string& path, int surface, SurfaceKind kind, SkinRecord& skin) {
    const auto image = ReadSurfaceImage(source, path, kind, skin);
    if (!image) return false;
    OwnedObject bitmap = ScreenBitmapOf(source.painting, *image);
    if (!bitmap) return false;
    skin.m_surfaceBitmap[surface] = std::move(bitmap);
    // The bitmap keeps the picture's own size (the window system draws it enlarged); the
    // surface is shown as large as the enlarged picture, and takes its shape, found from the
    // original's runs.
    const int scale = skin.m_scale;
    skin.m_surfaceInfo[surface] = SurfaceInfo{image->width * scale, image->height * scale, image->bitCount};
    skin.m_surfaceBitsSize[surface] = static_cast<int>(image->BitsSize());
    SurfaceShape shape = BuildSurfaceShape(*image);
    if (scale > 1) shape = ScaleShape(shape, scale);
    skin.m_surfaceExtent[surface] = {shape.extentLeft, shape.extentRight};
    skin.m_surfaceRegion[surface] = OwnedObject(source.painting, source.painting.CreateRegion(shape.runs));
    return true;
}

void ReadBalloonOffsets(const SkinSource& source, SkinRecord& skin) {
    const BalloonOffsets offsets = ParseBalloonOffsets(source.files.ReadWholeFile(source.Path("balloon.txt")));
    skin.m_balloonOffsetX = offsets.x;
    skin.m_balloonOffsetY = offsets.y;
}

void LoadFrames(const SkinSource& source, SurfaceKind kind, SkinRecord& skin) {
    for (int s = 0; s < skin.m_surfaceCount; ++s) {
        int frames = 0;
        for (; frames < kFramesPerSurface; ++frames) {
            const std::string path = source.Path(FrameFileName(s, frames, kind));
            if (!source.files.CanOpen(path)) break;
            const auto image = ReadSurfaceImage(source, path, kind, skin);
            // A BMP frame that exists but does not decode still counts, and its surface shows
            // while it is due. A PNG frame that does not decode ends the frames.
            if (!image && kind == SurfaceKind::Png) break;
            if (image) skin.m_surfaceFrames[s][frames] = ScreenBitmapOf(source.painting, *image);
        }
        skin.m_surfaceLastFrame[s] = frames - 1;
    }
    skin.m_pngImage.clear();
}

void ReadHeadRects(const SkinSource& source, SkinRecord& skin) {
    // Found at the pictures' own size, as headrect.txt gives them, then enlarged with them.
    const int scale = skin.m_scale;
    for (int s = 0; s < kSurfaceCount; ++s) {
        Extent extent = skin.m_surfaceExtent[s];
        if (extent.right > 0) extent = {extent.left / scale, extent.right / scale};
        skin.m_headRect[s] = DefaultHeadRect(extent);
    }
    if (const auto bytes = source.files.ReadWholeFile(source.Path("headrect.txt"))) ParseHeadRects(*bytes, skin.m_headRect);
    for (HeadRect& rect : skin.m_headRect) rect = Enlarged(rect, scale);
}

void ReadSeparation(const SkinSource& source, SkinRecord& skin) {
    const int first = ParseSeparation(source.files.ReadWholeFile(source.Path("separate.txt")), skin.m_surfaceCount);
    skin.m_normalSurfaceCount = first;
    skin.m_dropSurfaceFirst = first;
    skin.m_dropSurfaceCount = skin.m_surfaceCount - first;
}

}  // namespace tc
