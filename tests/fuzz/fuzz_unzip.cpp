// UNZIP32's whole command ("<archive> -d <destination>") on any bytes: see ArchiverFuzzing.h.
#include "ArchiverFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::RunArchiverCommand(tc::archivers::ArchiverKind::Zip, data, size);
    return 0;
}
