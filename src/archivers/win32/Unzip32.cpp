// UNZIP32.DLL: the ZIP library ("UnZip"). Its command syntax is in ArchiverCommand.h.
#include "archivers/win32/ArchiverDll.h"

TC_ARCHIVER_EXPORTS(UnZip, tc::archivers::ArchiverKind::Zip)
