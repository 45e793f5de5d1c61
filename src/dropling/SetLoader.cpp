#include "dropling/SetLoader.h"

#include "skin/PngDecoder.h"
#include "skin/Resources.h"

namespace tc {

namespace {

std::optional<DibImage> ReadPicture(FileSystem& files, const std::string& folderPath) {
    if (const auto png = files.ReadWholeFile(folderPath + "surface0.png")) {
        std::vector<std::uint8_t> image;
        if (!DecodePng(*png, image)) return std::nullopt;
        return ParseBmpImage(std::move(image));
    }
    if (const auto bmp = files.ReadWholeFile(folderPath + "surface0.bmp")) return ParseBmpFile(*bmp);
    return std::nullopt;
}

}  // namespace

std::optional<LoadedSet> LoadSet(FileSystem& files, const std::string& baseDirectory, const std::string& folder) {
    const std::string folderPath = baseDirectory + "dropling\\" + folder + "\\";
    const auto droplingTxt = files.ReadWholeFile(folderPath + "dropling.txt");
    if (!droplingTxt) return std::nullopt;
    auto picture = ReadPicture(files, folderPath);
    if (!picture) return std::nullopt;

    LoadedSet set;
    set.folder = folder;
    set.displayName = DroplingListName(*droplingTxt).value_or(folder);
    if (set.displayName.empty()) set.displayName = folder;
    set.text = ReadSetText(*droplingTxt);
    set.shape = BuildSurfaceShape(*picture);
    set.picture = std::move(*picture);
    if (set.shape.runs.empty()) return std::nullopt;
    return set;
}

}  // namespace tc
