#include "support/OurArchivers.h"

#include <cstdint>

#include "archivers/ArchiverApi.h"
#include "archivers/Extractor.h"
#include "install/ArcBase.h"

namespace tc::test {

namespace {

int Run(archivers::ArchiverKind kind, const char* command, char* output, std::uint32_t size) {
    const archivers::CommandOutcome outcome =
        archivers::RunCommand(kind, command ? command : "", archivers::SystemArchiveFiles());
    archivers::CopyOut(outcome.output, output, size);
    return outcome.code;
}

int TC_ARCHIVER_CALL Unlha(void*, const char* command, char* output, std::uint32_t size) {
    return Run(archivers::ArchiverKind::Lzh, command, output, size);
}

int TC_ARCHIVER_CALL UnZip(void*, const char* command, char* output, std::uint32_t size) {
    return Run(archivers::ArchiverKind::Zip, command, output, size);
}

int TC_ARCHIVER_CALL Query(int number) { return archivers::OffersFunction(number) ? 1 : 0; }

template <typename Fn>
void* Entry(Fn fn) {
    return reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(fn));
}

}  // namespace

void AddOurArchivers(FakeLibraries& libraries, const std::string& folder, bool lzh, bool zip) {
    if (lzh) {
        libraries.available[folder + "UNLHA32.DLL"].entryPoints = {{"Unlha", Entry(&Unlha)},
                                                          {"UnlhaQueryFunctionList", Entry(&Query)}};
    }
    if (zip) {
        libraries.available[folder + "UNZIP32.DLL"].entryPoints = {{"UnZip", Entry(&UnZip)},
                                                          {"UnZipQueryFunctionList", Entry(&Query)}};
    }
}

}  // namespace tc::test
