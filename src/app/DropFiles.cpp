// Installing a skin or a falling-object set from an archive dropped on the cat: the first
// dropped file only; its install.txt says what it holds and under which folder name; the
// archiver library of its kind unpacks it into skin\<name>\ or dropling\<name>\, the lists
// of that kind are rebuilt and the cat announces the new item. Every failure says one line
// of its list and stops there.
//
// Two things are done more carefully than a plain reading of the steps would: install.txt
// is first extracted into a private folder of our own under the base directory (never into
// the archive's folder, where it would replace and then carry off a file of the user's), and
// that folder goes with everything in it on every path; and the folder name install.txt gives
// must be a plain name (see IsAcceptableFolderName). After every attempt the current folder
// is the base directory.
#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "install/ArcBase.h"
#include "skin/Resources.h"
#include "talk/MessageConfig.h"

namespace tc {

namespace {

constexpr std::uint32_t kCommandOutputSize = 1024;

// Puts the base directory back as the current folder when the attempt ends, however it ends.
class BaseDirectoryScope {
public:
    BaseDirectoryScope(FileSystem& files, std::string base) : m_files(files), m_base(std::move(base)) {}
    ~BaseDirectoryScope() { m_files.ChangeDirectory(m_base); }
    BaseDirectoryScope(const BaseDirectoryScope&) = delete;
    BaseDirectoryScope& operator=(const BaseDirectoryScope&) = delete;

private:
    FileSystem& m_files;
    std::string m_base;
};

// The private folder install.txt is extracted into: made new (a taken name is never used),
// removed with everything in it when it goes (after leaving it, as a current folder cannot
// be removed).
class InstallWorkFolder {
public:
    InstallWorkFolder(FileSystem& files, const std::string& base) : m_files(files), m_base(base) {
        for (int i = 1; i <= kInstallWorkTries; ++i) {
            const std::string candidate = base + kInstallWorkFolder + (i == 1 ? "" : std::to_string(i)) + "\\";
            if (m_files.MakeFolder(candidate)) {
                m_path = candidate;
                return;
            }
        }
    }
    ~InstallWorkFolder() {
        if (m_path.empty()) return;
        m_files.ChangeDirectory(m_base);
        RemoveTree(m_path);
    }
    InstallWorkFolder(const InstallWorkFolder&) = delete;
    InstallWorkFolder& operator=(const InstallWorkFolder&) = delete;

    // Ends in a backslash; empty when no folder could be made.
    const std::string& Path() const { return m_path; }

private:
    void RemoveTree(const std::string& folder) {
        if (const auto entries = m_files.ListFolder(folder.substr(0, folder.size() - 1))) {
            for (const DirEntry& entry : *entries) {
                if (entry.name == "." || entry.name == "..") continue;
                if (entry.directory) {
                    RemoveTree(folder + entry.name + "\\");
                } else {
                    m_files.RemoveFile(folder + entry.name);
                }
            }
        }
        m_files.RemoveEmptyFolder(folder);
    }

    FileSystem& m_files;
    std::string m_base;
    std::string m_path;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

bool CTumbleDlg::OnDropFiles(const std::vector<std::string>& paths) {
    if (DialogOpen()) return true;  // an install would change what the open dialog shows
    BaseDirectoryScope backToBase(platform().files, s_baseDirectory);
    if (m_balloon) m_balloon->Hide();
    if (paths.empty()) return true;
    // Further files of the same drop are ignored.
    const DroppedPath dropped = SplitDroppedPath(paths.front());
    switch (ArchiveKindOf(dropped.fileName)) {
    case ArchiveKind::Lzh:
        InstallLzh(dropped.folder, dropped.fileName);
        break;
    case ArchiveKind::Zip:
        InstallZip(dropped.folder, dropped.fileName);
        break;
    case ArchiveKind::None:
        SayRandomLine(m_msgInstallFailureFiletype);
        break;
    }
    return true;
}

void CTumbleDlg::InstallLzh(const std::string& folder, const std::string& fileName) {
    InstallArchive(ArchiveKind::Lzh, folder, fileName);
}

void CTumbleDlg::InstallZip(const std::string& folder, const std::string& fileName) {
    InstallArchive(ArchiveKind::Zip, folder, fileName);
}

void CTumbleDlg::InstallArchive(ArchiveKind kind, const std::string& folder, const std::string& fileName) {
    FileSystem& files = platform().files;
    const bool lzh = kind == ArchiveKind::Lzh;
    const int arcKind = lzh ? kArcLzh : kArcZip;
    if (!IsArchiverAvailable(platform().libraries, ArcLibraryName(arcKind))) {
        SayRandomLine(m_msgInstallFailureDll);
        return;
    }
    CArcBase arc(platform().libraries, platform().controls, m_hWnd, arcKind);
    arc.m_showErrors = false;
    std::string output(kCommandOutputSize, '\0');
    const auto run = [&](const std::string& command) {
        return arc.Command(m_hWnd, command, output.data(), kCommandOutputSize);
    };
    const std::string archivePath = folder + "\\" + fileName;

    // install.txt, into the private folder.
    std::optional<InstallDescriptor> descriptor;
    {
        InstallWorkFolder work(files, s_baseDirectory);
        if (work.Path().empty()) {
            SayRandomLine(m_msgInstallFailureExtract);
            return;
        }
        int result = 0;
        if (lzh) {
            files.ChangeDirectory(folder);
            result = run("e " + Quoted(fileName) + " " + Quoted(work.Path()) + " install.txt");
        } else {
            files.ChangeDirectory(work.Path());
            result = run(Quoted(archivePath) + " install.txt");
        }
        if (result != 0) {
            SayRandomLine(m_msgInstallFailureExtract);
            return;
        }
        const auto bytes = files.ReadWholeFile(work.Path() + "install.txt");
        descriptor = ReadInstallTxt(bytes ? *bytes : std::string());
    }
    const bool dropling = descriptor->type == InstallType::Dropling;
    const std::string root =
        ResourceFolder(s_baseDirectory, dropling ? ResourceListKind::FilesetDroplings : ResourceListKind::FilesetSkins);
    if (!descriptor->valid || !IsAcceptableFolderName(descriptor->folder, root.size())) {
        SayRandomLine(m_msgInstallFailureStructure);
        return;
    }

    // The whole archive, into its folder (an existing folder is no failure).
    files.MakeFolder(root);
    const std::string destination = root + descriptor->folder + "\\";
    files.MakeFolder(destination);
    files.ChangeDirectory(folder);
    int result = 0;
    if (lzh) {
        result = run("e " + Quoted(fileName) + " " + Quoted(destination) + " *.*");
    } else {
        // As the steps go: a copy of the archive is unpacked in the destination and removed
        // after a success (after a failure it stays there).
        files.CopyOver(fileName, destination + fileName);
        files.ChangeDirectory(destination);
        result = run(Quoted(fileName));
        if (result == 0) files.RemoveFile(destination + fileName);
    }
    if (result != 0) {
        SayRandomLine(m_msgInstallFailureExtract);
        return;
    }
    files.ChangeDirectory(s_baseDirectory);
    AnnounceInstall(destination, dropling);
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
