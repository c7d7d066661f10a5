// A CAB32.DLL that reports version 0.89, from the time before the library
// read self-extracting programs: Quibex must cut the cabinet out itself.
#include "exports.h"

namespace {
arcdll::Library& lib() {
    static arcdll::Library library({arc::Format::Cab, 89, 0, '\\'});
    return library;
}
}  // namespace

ARCDLL_DEFINE_EXPORTS(Cab)
