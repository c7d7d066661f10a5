// What follows reading an archive: the viewer with its tabs, the texts handed
// to the editor or their association, or the no-text reaction.
#pragma once

#include "archive/opened_archive.h"

namespace quibex {

// Reads the archive and acts on what it found; false when nothing was shown
// (the program then ends).
bool ShowArchive(const OpenedArchive& archive);

}  // namespace quibex
