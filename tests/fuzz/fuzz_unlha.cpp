// UNLHA32's whole command ("x <archive> <destination>\") on any bytes: see ArchiverFuzzing.h.
#include "ArchiverFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::RunArchiverCommand(tc::archivers::ArchiverKind::Lzh, data, size);
    return 0;
}
