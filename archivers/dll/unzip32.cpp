// UNZIP32.DLL: the ZIP library, version 6.00. Listed names keep ZIP's '/'.
#include "exports.h"

namespace {
arcdll::Library& lib() {
    static arcdll::Library library({arc::Format::Zip, 600, 0, '/'});
    return library;
}
}  // namespace

ARCDLL_DEFINE_EXPORTS(UnZip)
