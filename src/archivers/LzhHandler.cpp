// LZH archives through libarchive's LHA reader. Names in LZH headers are Shift_JIS (the
// reader turns them into Unicode itself, and only then makes a backslash a separator, so the
// second byte of 表 stays part of its character); headers that name their own code page or
// carry UTF-16 names keep theirs.
#include <archive.h>

#include "archivers/ArchiveHandler.h"

namespace tc::archivers {

namespace {

class LzhArchiveHandler : public ArchiveHandler {
public:
    const char* Name() const override { return "LZH"; }
    bool Configure(archive* reader) const override {
        return archive_read_support_format_lha(reader) == ARCHIVE_OK &&
               archive_read_set_format_option(reader, "lha", "hdrcharset", "CP932") == ARCHIVE_OK;
    }
};

}  // namespace

const ArchiveHandler& LzhHandler() {
    static const LzhArchiveHandler handler;
    return handler;
}

const ArchiveHandler& HandlerFor(ArchiverKind kind) { return kind == ArchiverKind::Lzh ? LzhHandler() : ZipHandler(); }

}  // namespace tc::archivers
