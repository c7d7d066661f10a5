// 7-ZIP32.DLL: the 7z library, version 9.20 and sub-version 0, read through
// the engine's libarchive reader. Listed names use '\' as 7z archivers show them.
#include "exports.h"

namespace {
arcdll::Library& lib() {
    static arcdll::Library library({arc::Format::SevenZip, 920, 0, '\\'});
    return library;
}
}  // namespace

ARCDLL_DEFINE_EXPORTS(SevenZip)

extern "C" WORD WINAPI SevenZipGetSubVersion(void) { return lib().subVersion(); }
