// The export table every library of the family has, under its prefix P:
// P (the command routine), PGetVersion, PGetRunning, ... Each forwards to
// lib(), a function the including file defines; Library's methods catch
// everything, so no exception crosses an export.
#pragma once

#include "library_core.h"

#define ARCDLL_DEFINE_EXPORTS(P)                                                                           \
    extern "C" {                                                                                           \
    WORD WINAPI P##GetVersion(void) { return lib().version(); }                      \
    BOOL WINAPI P##GetRunning(void) { return lib().running(); }                      \
    BOOL WINAPI P##GetCursorMode(void) { return lib().cursorMode(); }                \
    BOOL WINAPI P##SetCursorMode(BOOL on) { return lib().setCursorMode(on); }        \
    BOOL WINAPI P##CheckArchive(LPCSTR path, int mode) {                             \
        return lib().checkArchive(path, mode);                                                             \
    }                                                                                                      \
    int WINAPI P(HWND owner, LPCSTR cmd, LPSTR out, DWORD size) {                    \
        return lib().command(owner, cmd, out, size);                                                       \
    }                                                                                                      \
    arcdll::HARC WINAPI P##OpenArchive(HWND owner, LPCSTR path, DWORD mode) {        \
        return lib().openArchive(owner, path, mode);                                                       \
    }                                                                                                      \
    int WINAPI P##FindFirst(arcdll::HARC h, LPCSTR patterns,                         \
                                                  arcdll::IndividualInfo* info) {                          \
        return lib().findFirst(h, patterns, info);                                                         \
    }                                                                                                      \
    int WINAPI P##FindNext(arcdll::HARC h, arcdll::IndividualInfo* info) {           \
        return lib().findNext(h, info);                                                                    \
    }                                                                                                      \
    int WINAPI P##CloseArchive(arcdll::HARC h) { return lib().closeArchive(h); }     \
    }
