// Which library reads the archive: plain archives by their extension (or,
// when it names no kind, by a 7z or RAR signature at the start), a
// self-extracting program by asking the libraries in a fixed order.
#pragma once

#include <optional>
#include <string>

#include "archive/opened_archive.h"

namespace quibex {

// The archive at `path` (its kind and the path its library reads). A cabinet
// inside a program that the CAB library cannot check is cut out into
// `cabWorkFolder`. On failure the message has been shown and the program
// must end: nothing is returned.
std::optional<OpenedArchive> DetectArchiveKind(const std::wstring& path, const std::wstring& cabWorkFolder);

// Cuts the cabinet after the last "MSCF" of the program into `cabWorkFolder`;
// the cabinet's path, empty when there is none or it could not be written.
std::wstring FindCabInExe(const std::wstring& path, const std::wstring& cabWorkFolder);

}  // namespace quibex
