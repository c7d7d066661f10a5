// Member list of a ZIP archive whose end was cut off (an interrupted
// download): rebuilt by walking the local headers from the start of the file.
//
// Where real archives differ from the published format description:
// - Members written with data descriptors carry zero sizes in their local
//   header. Their end is found by searching for the descriptor whose
//   compressed size equals the distance searched, rather than by decoding: a
//   highly compressed member would make opening as slow as extracting. The
//   descriptor signature is optional in the format, but every streaming writer
//   seen writes it; without it the walk stops. Descriptor sizes are 8 bytes
//   wide only when the local header has a ZIP64 field.
#pragma once

#include "zip_directory.h"

namespace arc::zip {

// Fills out->entries from the local headers at the start of `src`. Returns Ok
// when at least one member was found; the last member may extend past the end
// of the file (its extraction then reports the cut).
Status scanLocalHeaders(ByteSource& src, Directory* out);

}  // namespace arc::zip
