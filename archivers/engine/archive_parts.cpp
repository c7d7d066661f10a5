#include "archive_parts.h"

#include "folder_extract.h"

namespace arc {

PartOpener partsBeside(const std::string& archiveUtf8) {
    size_t cut = archiveUtf8.find_last_of("/\\");
    std::string folder = cut == std::string::npos ? std::string(".") : archiveUtf8.substr(0, cut + 1);
    return [folder](const std::string& stored) -> std::unique_ptr<ByteSource> {
        // Only a name in the archive's own folder: whatever folders or
        // drives the stored name carries are not followed.
        size_t at = stored.find_last_of("/\\:");
        std::string name = at == std::string::npos ? stored : stored.substr(at + 1);
        if (name.empty() || name == "." || name == "..") return nullptr;
        return openFileInFolder(folder, name);
    };
}

}  // namespace arc
