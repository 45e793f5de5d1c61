// The archive corpus (tests/corpus/make_corpus.py, made at test time) through the real
// UNLHA32.DLL and UNZIP32.DLL, loaded as the cat loads them: each archive extracted into a
// fresh folder gives its expected result, and after a success every listed member has
// arrived with its bytes. The unit tests run the same corpus natively.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>

#include "CatHarness.h"
#include "install/InstallDrop.h"

namespace e2e {
namespace {

using CommandFn = int(WINAPI*)(HWND, const char*, char*, DWORD);

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

TEST(CorpusE2e, EveryArchiveGivesItsExpectedResultThroughTheDlls) {
    CatHarness files;  // a fresh folder; no cat is started
    files.MakeFolder("corpus");
    ASSERT_TRUE(RunUnixProgram({"/usr/bin/python3", std::string(TUMBLECAT_SOURCE_DIR) + "/tests/corpus/make_corpus.py",
                                UnixPathOf(files.Base() + "corpus")}));
    HMODULE unlha = LoadLibraryA(TUMBLECAT_UNLHA_PATH);
    HMODULE unzip = LoadLibraryA(TUMBLECAT_UNZIP_PATH);
    ASSERT_TRUE(unlha && unzip);
    const auto lzhCommand = reinterpret_cast<CommandFn>(reinterpret_cast<void*>(GetProcAddress(unlha, "Unlha")));
    const auto zipCommand = reinterpret_cast<CommandFn>(reinterpret_cast<void*>(GetProcAddress(unzip, "UnZip")));
    ASSERT_TRUE(lzhCommand && zipCommand);

    std::istringstream lines(files.ReadFile("corpus\\expected.txt"));
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        if (fields.size() < 2) continue;
        const std::string out = "out" + std::to_string(++count);
        files.MakeFolder(out);
        const std::string archive = "\"" + files.Base() + "corpus\\" + fields[0] + "\"";
        const bool lzh = fields[0].ends_with(".lzh");
        const std::string command = lzh ? "x " + archive + " \"" + files.Base() + out + "\\\""
                                        : archive + " -d \"" + files.Base() + out + "\"";
        char output[1024] = {};
        const int code = (lzh ? lzhCommand : zipCommand)(nullptr, command.c_str(), output, sizeof output);
        EXPECT_EQ(code, std::stoi(fields[1], nullptr, 16)) << fields[0];
        if (code != 0) continue;
        for (std::size_t i = 2; i + 1 < fields.size(); i += 2) {
            const std::string member = out + "\\" + FromHex(fields[i]);
            EXPECT_EQ(files.FileExists(member) ? files.ReadFile(member) : "(missing)", FromHex(fields[i + 1]))
                << fields[0] << ": " << member;
        }
    }
    EXPECT_GT(count, 20);
    FreeLibrary(unzip);
    FreeLibrary(unlha);
}

}  // namespace
}  // namespace e2e
