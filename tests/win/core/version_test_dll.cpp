// A library that answers only the version queries, to test the loader.
#include <windows.h>

extern "C" WORD WINAPI UnlhaGetVersion() { return 321; }
extern "C" WORD WINAPI UnlhaGetSubVersion() { return 7; }
