// Our archiver libraries' core, natively, standing in for UNLHA32.DLL and UNZIP32.DLL in the
// recording double of loaded libraries: the same command texts and result codes the DLLs
// give, on the real temporary folders of a test.
#pragma once

#include <string>

#include "support/FakePlatform.h"

namespace tc::test {

// Offers "UNLHA32.DLL" and/or "UNZIP32.DLL" in folder (a path ending in a backslash, as the
// program loads them from its own folder) with their command entry point and
// QueryFunctionList.
void AddOurArchivers(FakeLibraries& libraries, const std::string& folder, bool lzh = true, bool zip = true);

}  // namespace tc::test
