#include "core/lazy_comdlg32.h"

#include "core/lazy_library.h"

namespace quibex::lazy {
namespace {

LazyLibrary g_comdlg32{L"comdlg32.dll"};
LazyFunction<decltype(&::GetOpenFileNameW)> g_getOpenFileName{g_comdlg32, "GetOpenFileNameW"};
LazyFunction<decltype(&::ChooseFontW)> g_chooseFont{g_comdlg32, "ChooseFontW"};
LazyFunction<decltype(&::ChooseColorW)> g_chooseColor{g_comdlg32, "ChooseColorW"};
LazyFunction<decltype(&::CommDlgExtendedError)> g_extendedError{g_comdlg32, "CommDlgExtendedError"};

}  // namespace

BOOL GetOpenFileNameW(OPENFILENAMEW* ofn) {
    auto f = g_getOpenFileName.get();
    return f ? f(ofn) : FALSE;
}

BOOL ChooseFontW(CHOOSEFONTW* cf) {
    auto f = g_chooseFont.get();
    return f ? f(cf) : FALSE;
}

BOOL ChooseColorW(CHOOSECOLORW* cc) {
    auto f = g_chooseColor.get();
    return f ? f(cc) : FALSE;
}

DWORD CommDlgExtendedError() {
    auto f = g_extendedError.get();
    return f ? f() : CDERR_LOADSTRFAILURE;
}

}  // namespace quibex::lazy
