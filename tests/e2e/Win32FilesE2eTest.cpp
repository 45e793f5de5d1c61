// The back end's file functions on names whose last byte is a Shift_JIS second byte 0x5C (表,
// ソ, 能): such a name ends in a character, not in a separator, and keeps it.
#include <gtest/gtest.h>

#include <algorithm>

#include "CatHarness.h"
#include "platform/win32/Win32Platform.h"

namespace e2e {
namespace {

TEST(Win32Files, AFolderWhoseNameEndsInASecondByte0x5CKeepsItsLastCharacter) {
    CatHarness cat;
    tc::Win32FileSystem files;
    for (const std::string name : {"表", "ソ", "十能"}) {
        const std::string folder = cat.Base() + name;
        ASSERT_TRUE(files.MakeFolder(folder)) << name;
        ASSERT_TRUE(files.WriteWholeFile(folder + "\\a.txt", "x")) << name;
        const auto entries = files.ListFolder(folder);
        ASSERT_TRUE(entries) << name;
        EXPECT_TRUE(std::any_of(entries->begin(), entries->end(), [](const tc::DirEntry& e) { return e.name == "a.txt"; }))
            << name;
        EXPECT_TRUE(files.SetHidden(folder + "\\", true)) << name << ": a separator after it is dropped";
        EXPECT_TRUE(files.IsHidden(folder)) << name;
        EXPECT_TRUE(files.RemoveFile(folder + "\\a.txt")) << name;
        EXPECT_TRUE(files.RemoveEmptyFolder(folder)) << name;
        EXPECT_FALSE(cat.FileExists(name)) << name;
    }
}

}  // namespace
}  // namespace e2e
