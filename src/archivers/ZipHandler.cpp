// ZIP archives through libarchive's ZIP reader (the central directory when the archive can
// be sought in). Names are Shift_JIS unless a member carries the UTF-8 flag (or Info-ZIP's
// Unicode path field that matches its name), in which case they are UTF-8.
#include <archive.h>

#include "archivers/ArchiveHandler.h"

namespace tc::archivers {

namespace {

class ZipArchiveHandler : public ArchiveHandler {
public:
    const char* Name() const override { return "ZIP"; }
    bool Configure(archive* reader) const override {
        return archive_read_support_format_zip(reader) == ARCHIVE_OK &&
               archive_read_set_format_option(reader, "zip", "hdrcharset", "CP932") == ARCHIVE_OK;
    }
};

}  // namespace

const ArchiveHandler& ZipHandler() {
    static const ZipArchiveHandler handler;
    return handler;
}

}  // namespace tc::archivers
