// 7z archives (self-extracting programs included) through libarchive.
#include "archive.h"
#include "libarchive_reader.h"

namespace arc {

std::unique_ptr<Archive> openSevenZip(ByteSource& src, Status* error) {
    ArchiveVolumes volumes;
    volumes.inOrder.push_back(&src);
    return openWithLibarchive(LibarchiveFormat::SevenZip, std::move(volumes), error);
}

bool looksLikeSevenZip(ByteSource& src) { return libarchiveReads(LibarchiveFormat::SevenZip, src); }

}  // namespace arc
