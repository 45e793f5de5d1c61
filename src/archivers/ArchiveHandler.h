// One archive kind behind one interface: a handler sets up libarchive's reader for its
// format (LzhHandler.cpp, ZipHandler.cpp); everything else (member names, bounds, writing)
// is the same for every kind.
#pragma once

#include "archivers/ArchiverCommand.h"

struct archive;

namespace tc::archivers {

class ArchiveHandler {
public:
    virtual ~ArchiveHandler() = default;
    virtual const char* Name() const = 0;
    // Enables the format's reader on a fresh libarchive reader; false when it cannot.
    virtual bool Configure(archive* reader) const = 0;
    // Member names come from the ZIP central directory (ZipDirectory.h), not from libarchive.
    virtual bool NamesFromDirectory() const { return false; }
};

const ArchiveHandler& LzhHandler();
const ArchiveHandler& ZipHandler();
// ZIP members read one after the other from their local headers, without the central directory.
const ArchiveHandler& ZipLocalHeadersHandler();
const ArchiveHandler& HandlerFor(ArchiverKind kind);

}  // namespace tc::archivers
