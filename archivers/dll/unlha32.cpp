// UNLHA32.DLL: the LZH library. Version 3.30, sub-version 0: the about window
// combines them as version "000" followed by sub-version "000" (330000), well
// above the 1.98 / 204 it asks for, and shows "Ver 3.30".
#include "exports.h"

namespace {
arcdll::Library& lib() {
    static arcdll::Library library({arc::Format::Lzh, 330, 0, '\\'});
    return library;
}
}  // namespace

ARCDLL_DEFINE_EXPORTS(Unlha)

extern "C" WORD WINAPI UnlhaGetSubVersion(void) { return lib().subVersion(); }
