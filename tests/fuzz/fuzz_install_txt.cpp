// install.txt and the dropped path: any bytes give a descriptor whose folder is one line
// piece; a folder name that is accepted holds no separator, drive mark or "..", so it never
// leaves skin\ or dropling\; a dropped path is cut into parts that give it back whole.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "install/InstallRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const tc::InstallDescriptor descriptor = tc::ReadInstallTxt(bytes);
    if (descriptor.folder.find('\n') != std::string::npos || descriptor.folder.size() > 1023 - 10) std::abort();
    if (!descriptor.valid && descriptor.type != tc::InstallType::Skin && descriptor.type != tc::InstallType::Dropling) {
        std::abort();
    }
    for (std::string_view name : {std::string_view(descriptor.folder), bytes.substr(0, 300)}) {
        if (!tc::IsAcceptableFolderName(name, 40)) continue;
        if (name.find("..") != std::string_view::npos || name.find('/') != std::string_view::npos ||
            name.find(':') != std::string_view::npos || name.empty() || name.size() + 41 > tc::kMaxInstallFolderPath) {
            std::abort();
        }
    }

    const tc::DroppedPath dropped = tc::SplitDroppedPath(bytes);
    const std::string whole = dropped.folder.empty() && dropped.fileName == bytes
                                  ? std::string(bytes)
                                  : dropped.folder + "\\" + dropped.fileName;
    if (whole != bytes) std::abort();
    if (tc::ArchiveKindOf(dropped.fileName) != tc::ArchiveKind::None && dropped.fileName.size() < 5) std::abort();

    const std::string name = tc::InstalledName(bytes, size % 2 == 0);
    if (name.find('\n') != std::string::npos) std::abort();
    return 0;
}
