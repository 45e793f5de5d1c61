// Skin loading speed: a large synthetic skin (32 surfaces with 10 frames each, 400 x 400
// truecolour PNGs) and the default skin are loaded through the character window's loader
// (files, PNG decoding, bitmap form, shapes; the window system is the recording double) and
// compared with libpng's bare decode of the same files. Prints the time per surface and the
// ratio; the goal is a whole load within 1.5 times the bare decode. Each side's figure is
// the best of several rounds, which keeps other work on the machine out of the ratio.
// Then the same loads at the sizes 2 and 3 (pictures, shapes and frames enlarged), against
// the load at size 1; the goal is a load at 3 within twice the load at 1.
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "support/DialogHarness.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Read as the loader's file system reads: one read of the whole file.
std::string ReadFile(const fs::path& path) { return *tc::PosixFileSystem().ReadWholeFile(path.string()); }

// A cat-sized blob with shading, so the files compress like drawings rather than flat fills.
std::uint32_t SyntheticPixel(int x, int y, int variant) {
    const double dx = x - 200.0, dy = y - 220.0;
    if (dx * dx / 160.0 / 160.0 + dy * dy / 170.0 / 170.0 > 1.0) return 0xFF00FFu;
    const int shade = static_cast<int>(120 + 60 * std::sin((x + variant * 7) / 13.0) * std::cos(y / 17.0));
    return static_cast<std::uint32_t>((shade << 16) | ((shade / 2 + variant) << 8) | 40);
}

struct MemoryInput {
    const std::string* data;
    std::size_t pos;
};

void ReadMemory(png_structp png, png_bytep out, png_size_t n) {
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    std::memcpy(out, in->data->data() + in->pos, n);
    in->pos += n;
}

// libpng's plain decode of one file already in memory: header, rows, nothing else.
void BareDecode(const std::string& file) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryInput input{&file, 0};
    png_set_read_fn(png, &input, ReadMemory);
    png_read_info(png, info);
    std::vector<png_byte> pixels(png_get_rowbytes(png, info) * png_get_image_height(png, info));
    std::vector<png_bytep> rows(png_get_image_height(png, info));
    for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = pixels.data() + y * png_get_rowbytes(png, info);
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
}

// Reading each file and decoding it, as the loader must.
double BareDecodeSeconds(const fs::path& folder, int rounds) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png") files.push_back(entry.path());
    }
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        for (const fs::path& f : files) BareDecode(ReadFile(f));
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

double LoaderSeconds(tc::test::DialogHarness& harness, const std::string& skin, int rounds, int& surfaces,
                     int size = 1) {
    harness.UseSkin(skin);
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        tc::CTumbleDlg& dlg = harness.Start();
        dlg.m_size = size;
        const auto start = Clock::now();
        dlg.LoadSkin(true);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
        surfaces = dlg.m_surfaceCount;
        harness.Destroy();
    }
    return best;
}

void Report(const char* name, int surfaces, int files, double loader, double bare) {
    std::printf("%-22s %2d surfaces, %3d files: loader %7.2f ms (%6.3f ms/surface), bare decode %7.2f ms, ratio %.2f\n",
                name, surfaces, files, loader * 1000, loader * 1000 / surfaces, bare * 1000, loader / bare);
}

}  // namespace

int main() {
    tc::test::DialogHarness harness;
    const fs::path base = tc::PosixFileSystem::ToNativePath(harness.dir.Base());

    const fs::path big = base / "skin" / "big";
    fs::create_directories(big);
    std::ofstream(big / "profile.txt") << "Big\r\n";
    for (int s = 0; s < 32; ++s) {
        const std::string name = "surface" + std::to_string(s) + (s >= 10 ? "m" : "");
        std::ofstream(big / (name + ".png"), std::ios::binary)
            << tc::test::MakePng(400, 400, [s](int x, int y) { return SyntheticPixel(x, y, s); });
        for (int f = 0; f < 10; ++f) {
            std::ofstream(big / ("surface" + std::to_string(s) + std::to_string(f) + ".png"), std::ios::binary)
                << tc::test::MakePng(400, 400, [s, f](int x, int y) { return SyntheticPixel(x, y, s + f); });
        }
    }
    fs::copy(fs::path(TUMBLECAT_SOURCE_DIR) / "data/skin/whiskerby", base / "skin" / "whiskerby");

    int surfaces = 0;
    const double bigLoader = LoaderSeconds(harness, "big", 5, surfaces);
    const double bigBare = BareDecodeSeconds(big, 5);
    Report("synthetic 400x400", surfaces, static_cast<int>(std::distance(fs::directory_iterator(big), {})) - 1,
           bigLoader, bigBare);

    const fs::path whiskerby = base / "skin" / "whiskerby";
    const double smallLoader = LoaderSeconds(harness, "whiskerby", 200, surfaces);
    const double smallBare = BareDecodeSeconds(whiskerby, 200);
    int pngs = 0;
    for (const auto& e : fs::directory_iterator(whiskerby)) pngs += e.path().extension() == ".png";
    Report("whiskerby", surfaces, pngs, smallLoader, smallBare);

    for (const auto& [name, rounds, one] : {std::tuple{"synthetic 400x400", 3, bigLoader},
                                            {"whiskerby", 100, smallLoader}}) {
        const std::string skin = name[0] == 's' ? "big" : "whiskerby";
        for (int size = 2; size <= 3; ++size) {
            const double enlarged = LoaderSeconds(harness, skin, rounds, surfaces, size);
            std::printf("%-22s size %d: loader %7.2f ms, %.2f times the load at size 1 (%.2f ms)\n", name, size,
                        enlarged * 1000, enlarged / one, one * 1000);
        }
    }
    return 0;
}
