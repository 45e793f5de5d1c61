// UNLHA32.DLL: the LZH library ("Unlha"). Its command syntax is in ArchiverCommand.h.
#include "archivers/win32/ArchiverDll.h"

TC_ARCHIVER_EXPORTS(Unlha, tc::archivers::ArchiverKind::Lzh)
