// The exact name first; then any entry of the folder that Windows would take
// for the same name ("DISK2.CAB" for "disk2.cab").
#include <dirent.h>

#include "archive_parts.h"
#include "name_case.h"
#include "native_files.h"

namespace arc {

std::unique_ptr<ByteSource> openFileInFolder(const std::string& folder, const std::string& name) {
    if (auto src = openFileSource(native::joinPath(folder, name))) return src;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return nullptr;
    std::unique_ptr<ByteSource> found;
    while (const dirent* e = ::readdir(dir)) {
        if (compareFileNames(e->d_name, name) == 0 && (found = openFileSource(native::joinPath(folder, e->d_name))))
            break;
    }
    ::closedir(dir);
    return found;
}

}  // namespace arc
