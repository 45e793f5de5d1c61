#include "install/Installer.h"

#include <optional>

#include "install/ArcBase.h"

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

// Removes a folder (path ending in a backslash) with everything in it.
void RemoveTree(FileSystem& files, const std::string& folder) {
    if (const auto entries = files.ListFolder(folder.substr(0, folder.size() - 1))) {
        for (const DirEntry& entry : *entries) {
            if (entry.name == "." || entry.name == "..") continue;
            if (entry.directory) {
                RemoveTree(files, folder + entry.name + "\\");
            } else {
                files.RemoveFile(folder + entry.name);
            }
        }
    }
    files.RemoveEmptyFolder(folder);
}

// The private folder install.txt is extracted into: made new (a taken name is never used)
// and removed with everything in it when it goes.
class InstallWorkFolder {
public:
    InstallWorkFolder(FileSystem& files, const std::string& base) : m_files(files) {
        for (int i = 1; i <= kInstallWorkTries; ++i) {
            const std::string candidate = base + kInstallWorkFolder + (i == 1 ? "" : std::to_string(i)) + "\\";
            if (m_files.MakeFolder(candidate)) {
                m_path = candidate;
                return;
            }
        }
    }
    ~InstallWorkFolder() {
        if (!m_path.empty()) RemoveTree(m_files, m_path);
    }
    InstallWorkFolder(const InstallWorkFolder&) = delete;
    InstallWorkFolder& operator=(const InstallWorkFolder&) = delete;

    // Ends in a backslash; empty when no folder could be made.
    const std::string& Path() const { return m_path; }

private:
    FileSystem& m_files;
    std::string m_path;
};

InstallOutcome Said(InstallLine line, InstallType type = InstallType::Skin) {
    InstallOutcome outcome;
    outcome.line = line;
    outcome.type = type;
    return outcome;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string WithoutSeparator(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

// The command texts: the archive by its full path, the output folder named in the command.
std::string InstallTxtCommand(bool lzh, const std::string& archive, const std::string& folder) {
    return lzh ? "e " + Quoted(archive) + " " + Quoted(folder) + " install.txt"
               : Quoted(archive) + " install.txt -d " + Quoted(WithoutSeparator(folder));
}

std::string WholeArchiveCommand(bool lzh, const std::string& archive, const std::string& folder) {
    return lzh ? "e " + Quoted(archive) + " " + Quoted(folder) + " *.*"
               : Quoted(archive) + " -d " + Quoted(WithoutSeparator(folder));
}

class Install {
public:
    Install(const InstallContext& context, ArchiveKind kind, std::string archive)
        : m_context(context), m_files(context.files), m_lzh(kind == ArchiveKind::Lzh),
          m_arc(context.libraries, context.controls, context.owner, m_lzh ? kArcLzh : kArcZip),
          m_archive(std::move(archive)) {
        m_arc.m_dllFolder = context.baseDirectory;
        m_arc.m_showErrors = false;
    }

    InstallOutcome Run() {
        const std::optional<InstallDescriptor> descriptor = ReadDescriptor();
        if (!descriptor) return Said(InstallLine::Extract);
        InstallOutcome outcome = Said(InstallLine::Structure, descriptor->type);
        const std::string root =
            m_context.baseDirectory + (descriptor->type == InstallType::Dropling ? "dropling\\" : "skin\\");
        if (!descriptor->valid || !IsAcceptableFolderName(descriptor->folder, root.size())) return outcome;

        // The whole archive, into its folder (an existing folder is no failure).
        m_files.MakeFolder(root);
        const std::string destination = root + descriptor->folder + "\\";
        const bool made = m_files.MakeFolder(destination);
        if (RunCommand(WholeArchiveCommand(m_lzh, m_archive, destination)) != 0) {
            outcome.line = InstallLine::Extract;
            return outcome;
        }
        if (m_context.isUsable && !m_context.isUsable(descriptor->type, descriptor->folder, destination)) {
            if (made) RemoveTree(m_files, destination);
            return outcome;
        }
        outcome.line = InstallLine::Complete;
        outcome.folder = descriptor->folder;
        outcome.destination = destination;
        return outcome;
    }

private:
    // install.txt through the private folder: nothing when it cannot be extracted.
    std::optional<InstallDescriptor> ReadDescriptor() {
        InstallWorkFolder work(m_files, m_context.baseDirectory);
        if (work.Path().empty()) return std::nullopt;
        if (RunCommand(InstallTxtCommand(m_lzh, m_archive, work.Path())) != 0) return std::nullopt;
        const auto bytes = m_files.ReadWholeFile(work.Path() + "install.txt");
        return ReadInstallTxt(bytes ? *bytes : std::string());
    }

    int RunCommand(const std::string& command) {
        std::string output(kCommandOutputSize, '\0');
        return m_arc.Command(m_context.owner, command, output.data(), kCommandOutputSize);
    }

    const InstallContext& m_context;
    FileSystem& m_files;
    bool m_lzh;
    CArcBase m_arc;
    std::string m_archive;
};

}  // namespace

InstallOutcome RunInstall(const InstallContext& context, const std::string& droppedPath) {
    BaseDirectoryScope backToBase(context.files, context.baseDirectory);
    const DroppedPath dropped = SplitDroppedPath(droppedPath);
    const ArchiveKind kind = ArchiveKindOf(dropped.fileName);
    if (kind == ArchiveKind::None) return Said(InstallLine::Filetype);
    const std::string library = context.baseDirectory + ArcLibraryName(kind == ArchiveKind::Lzh ? kArcLzh : kArcZip);
    if (!IsArchiverAvailable(context.libraries, library)) return Said(InstallLine::Dll);
    return Install(context, kind, droppedPath).Run();
}

}  // namespace tc
