// Opening a text of the work folder for reading and choosing its decoder.
#pragma once

#include <windows.h>

#include <string>

#include "viewer/text_view/text_encoding.h"

namespace quibex {

// The text opened for reading (shared, so that clean-up may delete it while
// it is shown), or INVALID_HANDLE_VALUE.
HANDLE OpenTextFile(const std::wstring& path);
// A decoder for the file's encoding, told from its first bytes; the file is
// left at its start.
TextDecoder DecoderFor(HANDLE file);
uint64_t TextFileSize(const std::wstring& path);

}  // namespace quibex
