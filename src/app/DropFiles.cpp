// Installing a skin or a falling-object set from an archive dropped on the cat: the install
// itself is install/Installer.h (the first dropped file only); the window hides its balloon,
// says the outcome's line and rebuilds the lists of the installed kind.
#include <algorithm>

#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "install/Installer.h"
#include "skin/Resources.h"
#include "skin/SkinFiles.h"
#include "talk/MessageConfig.h"

namespace tc {

namespace {

ResourceListKind FilesetKind(InstallType type) {
    return type == InstallType::Dropling ? ResourceListKind::FilesetDroplings : ResourceListKind::FilesetSkins;
}

}  // namespace

bool CTumbleDlg::OnDropFiles(const std::vector<std::string>& paths) {
    if (DialogOpen()) return true;  // an install would change what the open dialog shows
    if (m_balloon) m_balloon->Hide();
    if (paths.empty()) {
        platform().files.ChangeDirectory(s_baseDirectory);
        return true;
    }
    FileSystem& files = platform().files;
    const InstallContext context{
        files, platform().libraries, platform().controls, m_hWnd, s_baseDirectory,
        [&files](InstallType type, const std::string& folder, const std::string& destination) {
            ElementList listed;
            ScanResources(files, s_baseDirectory, FilesetKind(type), listed);
            const bool inList = std::any_of(listed.begin(), listed.end(),
                                            [&](const SElement& element) { return element.folder == folder; });
            return inList && ReadFirstPicture(files, destination).has_value();
        }};
    // Further files of the same drop are ignored.
    ShowInstallOutcome(RunInstall(context, paths.front()));
    return true;
}

void CTumbleDlg::ShowInstallOutcome(const InstallOutcome& outcome) {
    switch (outcome.line) {
    case InstallLine::None: return;
    case InstallLine::Filetype: SayRandomLine(m_msgInstallFailureFiletype); return;
    case InstallLine::Dll: SayRandomLine(m_msgInstallFailureDll); return;
    case InstallLine::Extract: SayRandomLine(m_msgInstallFailureExtract); return;
    case InstallLine::Structure: SayRandomLine(m_msgInstallFailureStructure); return;
    case InstallLine::Complete: break;
    }
    FileSystem& files = platform().files;
    const bool dropling = outcome.type == InstallType::Dropling;
    AnnounceInstall(outcome.destination, dropling);
    if (dropling) {
        ScanResources(files, s_baseDirectory, ResourceListKind::MenuDroplings, m_menuDroplings);
        ScanResources(files, s_baseDirectory, ResourceListKind::FilesetDroplings, s_filesetDroplings);
    } else {
        ScanResources(files, s_baseDirectory, ResourceListKind::MenuSkins, m_menuSkins);
        ScanResources(files, s_baseDirectory, ResourceListKind::FilesetSkins, s_filesetSkins);
    }
}

void CTumbleDlg::AnnounceInstall(const std::string& folderPath, bool isDropling) {
    const std::vector<std::string>& lines = isDropling ? m_msgInstallCompleteDropling : m_msgInstallCompleteSkin;
    std::string line = PickLine(lines).value_or(std::string());
    const auto nameFile = platform().files.ReadWholeFile(folderPath + (isDropling ? "dropling.txt" : "profile.txt"));
    ReplaceAll(line, "@objname", InstalledName(nameFile ? *nameFile : std::string(), isDropling));
    Say(line);
}

}  // namespace tc
