// Windows folders ignore case themselves.
#include "archive_parts.h"
#include "native_files.h"

namespace arc {

std::unique_ptr<ByteSource> openFileInFolder(const std::string& folder, const std::string& name) {
    return openFileSource(native::joinPath(folder, name));
}

}  // namespace arc
