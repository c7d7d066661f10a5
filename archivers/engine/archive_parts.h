// Opening a file that lies beside an archive, as its later parts do: the
// platform part finds the name in the folder the way Windows would (case
// does not count), on file systems that tell case apart as well.
#pragma once

#include <memory>
#include <string>

#include "byte_source.h"

namespace arc {

// The file `name` (no folder parts) in `folder` (UTF-8); null when absent.
std::unique_ptr<ByteSource> openFileInFolder(const std::string& folder, const std::string& name);

}  // namespace arc
