// Archive install speed: a skin of about 5 MB (surfaces as incompressible as PNG files are,
// a profile and install.txt), packed as an LZH archive (stored members) and as a ZIP archive
// (deflated members), is installed by dropping it on the character window, with our archiver
// libraries' core standing in for UNLHA32.DLL and UNZIP32.DLL (two commands with their
// header passes, the private folder, the list rebuild and the announcement), and compared
// with libarchive's bare extraction of the same archive file to disk (both read the file the
// user dropped, not a copy in memory). Figures only; each side's figure is the best of
// several rounds.
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

#include "support/ArchiveMaker.h"
#include "support/DialogHarness.h"
#include "support/Images.h"
#include "support/OurArchivers.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
constexpr int kRounds = 15;  // a round takes milliseconds: more of them steady the best
constexpr std::size_t kReadBlock = 64 * 1024;

std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// name -> bytes of the skin, about 5 MB.
std::vector<std::pair<std::string, std::string>> SkinFiles() {
    std::vector<std::pair<std::string, std::string>> files = {
        {"install.txt", "type,skin\r\ndirectory,bench\r\n"}, {"profile.txt", "Bench\r\nA large skin.\r\n"}};
    // The install checks that the first picture decodes; the others only have to arrive.
    files.push_back({"surface0.png", tc::test::MakePng(64, 64, [](int x, int y) { return (x ^ y) * 0x010203u; })});
    for (int i = 1; i < 13; ++i) {
        files.push_back({"surface" + std::to_string(i) + ".png", Noise(420 * 1024, static_cast<unsigned>(i))});
    }
    return files;
}

double InstallSeconds(const std::string& archiveName, const std::string& bytes) {
    double best = 1e9;
    for (int r = 0; r < kRounds; ++r) {
        tc::test::DialogHarness harness;
        harness.WriteRectangleSkin("cat", 2, 20, 40);
        harness.UseSkin("cat");
        harness.dir.Write("in/" + archiveName, bytes);
        tc::test::AddOurArchivers(harness.fake.libraries, harness.dir.Base());
        tc::CTumbleDlg& dlg = harness.Start();
        const auto start = Clock::now();
        dlg.OnDropFiles({harness.dir.Base() + "in\\" + archiveName});
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
        if (!harness.dir.Exists("skin/bench/surface11.png")) {
            std::printf("install of %s failed\n", archiveName.c_str());
            return -1;
        }
    }
    return best;
}

// The same file as the install is given, read in blocks of the size our libraries read in.
double BareExtractionSeconds(const std::string& archiveName, const std::string& bytes) {
    double best = 1e9;
    for (int r = 0; r < kRounds; ++r) {
        tc::test::TempDir dir;
        dir.Write("in/" + archiveName, bytes);
        const fs::path out = fs::path(dir.Base()) / "out";
        fs::create_directories(out);
        const auto start = Clock::now();
        archive* reader = archive_read_new();
        archive_read_support_format_lha(reader);
        archive_read_support_format_zip(reader);
        archive_read_open_filename(reader, (dir.Base() + "in/" + archiveName).c_str(), kReadBlock);
        archive* writer = archive_write_disk_new();
        archive_entry* entry = nullptr;
        while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
            archive_entry_set_pathname(entry, (out / archive_entry_pathname(entry)).c_str());
            archive_write_header(writer, entry);
            const void* block = nullptr;
            size_t size = 0;
            la_int64_t offset = 0;
            while (archive_read_data_block(reader, &block, &size, &offset) == ARCHIVE_OK) {
                archive_write_data_block(writer, block, size, offset);
            }
            archive_write_finish_entry(writer);
        }
        archive_write_free(writer);
        archive_read_free(reader);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main() {
    const auto files = SkinFiles();
    std::vector<tc::test::LzhMember> lzhMembers;
    std::vector<tc::test::ZipMember> zipMembers;
    for (const auto& [name, bytes] : files) {
        lzhMembers.push_back({name, bytes});
        zipMembers.push_back({name, bytes, false, true});
    }
    const struct {
        const char* kind;
        const char* file;
        std::string bytes;
    } archives[] = {{"LZH", "bench.lzh", tc::test::MakeLzh(lzhMembers)}, {"ZIP", "bench.zip", tc::test::MakeZip(zipMembers)}};
    std::printf("archive install (best of %d rounds)\n", kRounds);
    for (const auto& a : archives) {
        const double install = InstallSeconds(a.file, a.bytes);
        const double bare = BareExtractionSeconds(a.file, a.bytes);
        std::printf("  %s %.1f MB: install %.1f ms, libarchive bare extraction %.1f ms, ratio %.2f\n", a.kind,
                    static_cast<double>(a.bytes.size()) / (1024.0 * 1024.0), install * 1000, bare * 1000,
                    install / bare);
    }
    return 0;
}
