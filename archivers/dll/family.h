// Types and numbers of the archiver family's C interface, shared by the
// three libraries. Names carry our own prefix: some clash with winerror.h.
#pragma once

#include <windows.h>

#include <cstddef>

#include "archive_entry_info.h"

namespace arcdll {

using HARC = HANDLE;

using IndividualInfo = archiver_api::ArchiveEntryInfo;

// Codes the libraries return that the engine's Status does not name.
constexpr int kErrNotFindArcFile = 0x8029;
constexpr int kErrAlreadyRunning = 0x801F;
constexpr int kErrHarcIsNotOpened = 0x8021;
constexpr int kErrNotSearchMode = 0x8022;
constexpr int kErrArcFileOpen = 0x8018;
constexpr int kErrMoreHeapMemory = 0x801D;
constexpr int kErrNotArcFile = 0x8019;

// OpenArchive modes that change behaviour; the rest are accepted and ignored.
constexpr DWORD kModeCheckAllPath = 0x00000100;
constexpr DWORD kModeCheckFilenameOnly = 0x00000200;

// CheckArchive modes: the low bits choose how thoroughly.
constexpr int kCheckRapid = 0, kCheckBasic = 1, kCheckFullCrc = 2;

}  // namespace arcdll
