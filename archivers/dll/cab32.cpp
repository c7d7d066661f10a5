// CAB32.DLL: the cabinet library, version 1.00. Cabinets store '\' between folders.
#include "exports.h"

namespace {
arcdll::Library& lib() {
    static arcdll::Library library({arc::Format::Cab, 100, 0, '\\'});
    return library;
}
}  // namespace

ARCDLL_DEFINE_EXPORTS(Cab)
