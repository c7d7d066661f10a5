// A UNLHA32.DLL of an old release: version 1.98 with sub-version 2.03, older
// than the about window accepts. Only the version queries.
#include <windows.h>

extern "C" WORD WINAPI UnlhaGetVersion() { return 198; }
extern "C" WORD WINAPI UnlhaGetSubVersion() { return 203; }
