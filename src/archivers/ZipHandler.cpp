// ZIP archives through libarchive's ZIP reader: by the central directory (the archive is
// sought in), or member by member from the local headers, for an archive whose central
// directory is damaged or displaced (see Extractor.cpp). Read through the directory, a
// member's name is the directory's (ZipDirectory.h); from the local headers, libarchive's:
// Shift_JIS unless the member carries the UTF-8 flag (or Info-ZIP's Unicode path field that
// matches its name), in which case it is UTF-8.
#include <archive.h>

#include "archivers/ArchiveHandler.h"

namespace tc::archivers {

namespace {

class ZipArchiveHandler : public ArchiveHandler {
public:
    explicit ZipArchiveHandler(bool localHeaders) : m_localHeaders(localHeaders) {}
    const char* Name() const override { return "ZIP"; }
    bool Configure(archive* reader) const override {
        // The directory's reader alone: an archive it cannot read is read from its local
        // headers by the other handler, never by a fallback inside libarchive.
        const int enabled = m_localHeaders ? archive_read_support_format_zip_streamable(reader)
                                           : archive_read_support_format_zip_seekable(reader);
        return enabled == ARCHIVE_OK &&
               archive_read_set_format_option(reader, "zip", "hdrcharset", "CP932") == ARCHIVE_OK;
    }

    bool NamesFromDirectory() const override { return !m_localHeaders; }

private:
    bool m_localHeaders;
};

}  // namespace

const ArchiveHandler& ZipHandler() {
    static const ZipArchiveHandler handler(false);
    return handler;
}

const ArchiveHandler& ZipLocalHeadersHandler() {
    static const ZipArchiveHandler handler(true);
    return handler;
}

}  // namespace tc::archivers
