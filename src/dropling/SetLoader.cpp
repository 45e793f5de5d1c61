#include "dropling/SetLoader.h"

#include "skin/Resources.h"
#include "skin/SkinFiles.h"

namespace tc {

std::optional<LoadedSet> LoadSet(FileSystem& files, const std::string& baseDirectory, const std::string& folder) {
    const std::string folderPath = baseDirectory + "dropling\\" + folder + "\\";
    const auto droplingTxt = files.ReadWholeFile(folderPath + "dropling.txt");
    if (!droplingTxt) return std::nullopt;
    auto picture = ReadFirstPicture(files, folderPath);
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
