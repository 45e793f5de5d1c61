// Installing a skin or a falling-object set from an archive dropped on the cat: the install
// itself is install/Installer.h (the first dropped file only); the window hides its balloon,
// says the outcome's line and rebuilds the lists of the installed kind.
//
// An install (up to the output cap of 256 MB) runs away from the window's thread, so the cat
// stays responsive: meanwhile the balloon says it is working and the cat stands in a drop
// pose; a drop while an install runs is ignored (the balloon already says why). The install
// touches nothing of the window: its context holds copies and the platform's services, and
// its outcome goes into storage the window reads once the install has ended. The window
// waits for a running install before it goes (quit, session end).
#include <algorithm>
#include <memory>
#include <utility>

#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "install/Installer.h"
#include "skin/Resources.h"
#include "skin/SkinFiles.h"
#include "talk/MessageConfig.h"

namespace tc {

namespace {

constexpr const char* kInstallWorkingLine = "インストールしています…";

ResourceListKind FilesetKind(InstallType type) {
    return type == InstallType::Dropling ? ResourceListKind::FilesetDroplings : ResourceListKind::FilesetSkins;
}

}  // namespace

bool CTumbleDlg::OnDropFiles(const std::vector<std::string>& paths) {
    if (DialogOpen()) return true;  // an install would change what the open dialog shows
    if (platform().background.Busy()) return true;  // one install at a time
    if (m_balloon) m_balloon->Hide();
    if (paths.empty()) {
        platform().files.ChangeDirectory(s_baseDirectory);
        return true;
    }
    FileSystem& files = platform().files;
    const InstallContext context{
        files, platform().libraries, platform().controls, m_hWnd, s_baseDirectory,
        [&files, base = s_baseDirectory](InstallType type, const std::string& folder, const std::string& destination) {
            ElementList listed;
            ScanResources(files, base, FilesetKind(type), listed);
            const bool inList = std::any_of(listed.begin(), listed.end(),
                                            [&](const SElement& element) { return element.folder == folder; });
            return inList && ReadFirstPicture(files, destination).has_value();
        }};
    // Further files of the same drop are ignored.
    auto outcome = std::make_shared<InstallOutcome>();
    m_installOutcome = outcome;
    auto work = [context, path = paths.front(), outcome] { *outcome = RunInstall(context, path); };
    Say(kInstallWorkingLine);
    SetPose(true);
    // The outcome comes back as kMsgInstallDone; without a thread the install runs here.
    if (!platform().background.Start(work, m_hWnd, kMsgInstallDone)) {
        work();
        OnInstallDone();
    }
    return true;
}

void CTumbleDlg::OnInstallDone() {
    platform().background.Finish();
    const std::shared_ptr<InstallOutcome> outcome = std::exchange(m_installOutcome, nullptr);
    if (!outcome) return;
    EndDropPose();
    if (m_balloon) m_balloon->Hide();  // the working line goes, whether or not a line follows
    ShowInstallOutcome(*outcome);
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
