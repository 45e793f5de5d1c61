// The archive corpus (tests/corpus/make_corpus.py, made at test time), natively through the
// code of UNLHA32.DLL and UNZIP32.DLL: each archive extracted into a fresh folder gives its
// expected result, and after a success every listed member, and no other file, has arrived
// with its bytes. The
// end-to-end suite runs the same corpus through the DLLs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "archivers/Extractor.h"
#include "support/TempDir.h"

namespace tc {
namespace {

struct CorpusCase {
    std::string file;
    int expected = 0;
    std::vector<std::pair<std::string, std::string>> members;  // Shift_JIS name, bytes
};

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::vector<CorpusCase> ReadManifest(const std::string& manifest) {
    std::vector<CorpusCase> cases;
    std::istringstream lines(manifest);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        if (fields.size() < 2) continue;
        CorpusCase c{fields[0], std::stoi(fields[1], nullptr, 16), {}};
        for (std::size_t i = 2; i + 1 < fields.size(); i += 2) c.members.push_back({FromHex(fields[i]), FromHex(fields[i + 1])});
        cases.push_back(c);
    }
    return cases;
}

TEST(Corpus, EveryArchiveGivesItsExpectedResultAndItsMembers) {
    test::TempDir corpus;
    // From the corpus folder: earlier tests may leave the process in a folder since removed.
    const std::string command = "cd '" + corpus.Base() + "' && python3 " TUMBLECAT_SOURCE_DIR
                                "/tests/corpus/make_corpus.py .";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<CorpusCase> cases = ReadManifest(corpus.Read("expected.txt"));
    ASSERT_GT(cases.size(), 20u);
    for (const CorpusCase& c : cases) {
        test::TempDir out;
        const bool lzh = c.file.ends_with(".lzh");
        const std::string archive = corpus.Base() + c.file;
        const std::string text = lzh ? "x \"" + archive + "\" \"" + out.Base() + "\""
                                     : "\"" + archive + "\" -d \"" + out.Base().substr(0, out.Base().size() - 1) + "\"";
        const archivers::CommandOutcome outcome = archivers::RunCommand(
            lzh ? archivers::ArchiverKind::Lzh : archivers::ArchiverKind::Zip, text, archivers::SystemArchiveFiles());
        EXPECT_EQ(outcome.code, c.expected) << c.file;
        if (outcome.code != 0) continue;
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(out.Base())) files += entry.is_regular_file();
        EXPECT_EQ(files, c.members.size()) << c.file << ": the members and nothing else";
        for (const auto& [name, bytes] : c.members) {
            EXPECT_EQ(out.Exists(name) ? out.Read(name) : "(missing)", bytes) << c.file << ": " << name;
        }
    }
}

}  // namespace
}  // namespace tc
