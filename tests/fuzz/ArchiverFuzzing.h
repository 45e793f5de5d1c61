// A whole command of one of our archiver libraries on arbitrary archive bytes, in a
// temporary folder of the fuzz process's own: the archive is written to root/in/, extracted
// into root/out/, and afterwards nothing may exist outside root/out/ but the archive, nor more
// than the output cap inside it. The output is removed for the next input.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "archivers/Extractor.h"
#include "archivers/ResultCodes.h"

namespace fuzzing {

inline const std::filesystem::path& Parent() {
    static const std::filesystem::path parent = [] {
        const auto path = std::filesystem::temp_directory_path() / ("tc-archiver-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path / "root" / "in");
        return path;
    }();
    return parent;
}

inline void RunArchiverCommand(tc::archivers::ArchiverKind kind, const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    const fs::path root = Parent() / "root";
    const fs::path archive = root / "in" / "a.arc";
    {
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string out = (root / "out").string();
    const std::string command = kind == tc::archivers::ArchiverKind::Lzh
                                    ? "x \"" + archive.string() + "\" \"" + out + "/\""
                                    : "\"" + archive.string() + "\" -d \"" + out + "\"";
    const auto outcome = tc::archivers::RunCommand(kind, command, tc::archivers::SystemArchiveFiles());
    if (outcome.code < 0) std::abort();

    long long total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(Parent())) {
        const fs::path& path = entry.path();
        const bool inOut = path.string().rfind(out, 0) == 0;
        if (!inOut && path != root && path != root / "in" && path != archive) std::abort();  // written outside
        if (entry.is_symlink()) std::abort();
        if (entry.is_regular_file() && inOut) total += static_cast<long long>(entry.file_size());
    }
    if (total > tc::archivers::kMaxOutputBytes) std::abort();
    fs::remove_all(root / "out");
}

}  // namespace fuzzing
