#include "skin/SkinFiles.h"

#include "common/TextReader.h"
#include "skin/PngDecoder.h"

namespace tc {

namespace {
constexpr std::size_t kLineBuffer = 1024;
}

std::string SkinFilePath(const std::string& baseDirectory, const std::string& skinName, std::string_view fileName) {
    std::string path = baseDirectory + "skin\\" + skinName + "\\";
    path += fileName;
    return path;
}

void ParseProfile(std::string_view fileBytes, std::string& title, std::string& profile) {
    TextReader reader(fileBytes);
    std::string line;
    title.clear();
    if (reader.ReadLine(line, kLineBuffer)) {
        DropTrailingLineFeed(line);
        title = line;
    }
    profile.clear();
    while (reader.ReadLine(line, kLineBuffer)) {
        DropTrailingLineFeed(line);
        profile += line;
        profile += "\r\n";
    }
}

SurfaceKind ProbeSurfaceKind(FileSystem& files, const std::string& baseDirectory, const std::string& skinName) {
    if (files.CanOpen(SkinFilePath(baseDirectory, skinName, "surface0.png"))) return SurfaceKind::Png;
    if (files.CanOpen(SkinFilePath(baseDirectory, skinName, "surface0.bmp"))) return SurfaceKind::Bmp;
    return SurfaceKind::None;
}

std::optional<DibImage> ReadFirstPicture(FileSystem& files, const std::string& folderPath) {
    if (const auto png = files.ReadWholeFile(folderPath + "surface0.png")) {
        std::vector<std::uint8_t> image;
        if (!DecodePng(*png, image)) return std::nullopt;
        return ParseBmpImage(std::move(image));
    }
    if (const auto bmp = files.ReadWholeFile(folderPath + "surface0.bmp")) return ParseBmpFile(*bmp);
    return std::nullopt;
}

}  // namespace tc
