// What follows reading an archive: the viewer with its tabs, the texts handed
// to the editor or their association, or the no-text reaction.
#pragma once

#include "archive/reader_family.h"

namespace quibex {

// Reads the archive with the reader of `kind` and acts on what it found;
// false when nothing was shown (the program then ends).
bool ShowArchive(ReaderKind kind);

}  // namespace quibex
