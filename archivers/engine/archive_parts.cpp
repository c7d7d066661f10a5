#include "archive_parts.h"

#include "folder_extract.h"
#include "safe_name.h"

namespace arc {

PartOpener partsBeside(const std::string& archiveUtf8) {
    size_t cut = archiveUtf8.find_last_of("/\\");
    std::string folder = cut == std::string::npos ? std::string(".") : archiveUtf8.substr(0, cut + 1);
    return [folder](const std::string& stored) -> std::unique_ptr<ByteSource> {
        // Only a plain file name in the archive's own folder: a stored name
        // with folders, a drive or a stream names some other file, and one
        // that Windows resolves to a device ("CON", "COM1.cab") or would
        // change (trailing dots, control characters) is no file of the set.
        if (stored.find_first_of("/\\:") != std::string::npos || safeFileName(stored) != stored) return nullptr;
        return openFileInFolder(folder, stored);
    };
}

}  // namespace arc
