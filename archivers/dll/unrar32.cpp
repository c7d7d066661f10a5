// UNRAR32.DLL: the RAR library, version 1.00 and sub-version 0, read through
// the engine's libarchive reader; a volume of a set is read from volume 1 on.
#include "exports.h"

namespace {
arcdll::Library& lib() {
    static arcdll::Library library({arc::Format::Rar, 100, 0, '\\'});
    return library;
}
}  // namespace

ARCDLL_DEFINE_EXPORTS(Unrar)

extern "C" WORD WINAPI UnrarGetSubVersion(void) { return lib().subVersion(); }
