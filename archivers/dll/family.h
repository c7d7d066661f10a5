// Types and numbers of the archiver family's C interface, shared by the
// three libraries. Names carry our own prefix: some clash with winerror.h.
#pragma once

#include <windows.h>

#include <cstddef>

namespace arcdll {

using HARC = HANDLE;

#pragma pack(push, 1)
struct IndividualInfo {
    DWORD dwOriginalSize;
    DWORD dwCompressedSize;
    DWORD dwCRC;
    UINT uFlag;
    UINT uOSType;
    WORD wRatio;  // per mille
    WORD wDate;   // DOS date
    WORD wTime;   // DOS time
    char szFileName[513];
    char dummy1[3];
    char szAttribute[8];
    char szMode[8];
};
#pragma pack(pop)
static_assert(sizeof(IndividualInfo) == 558);
static_assert(offsetof(IndividualInfo, wRatio) == 20 && offsetof(IndividualInfo, wTime) == 24);
static_assert(offsetof(IndividualInfo, szFileName) == 26 && offsetof(IndividualInfo, dummy1) == 539);
static_assert(offsetof(IndividualInfo, szAttribute) == 542 && offsetof(IndividualInfo, szMode) == 550);

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
