// The yardstick of the viewer benchmark: the least a Win32 program does to
// put text on the screen (one window, one static text, shown at once).
#include <windows.h>

#include "yardstick_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    return yardstick::Run(instance, show, L"QuibexBenchMinimal", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                          [instance](HWND window) {
                              return CreateWindowExW(0, L"STATIC", yardstick::kLine, WS_CHILD | WS_VISIBLE, 8, 8, 600,
                                                     20, window, nullptr, instance, nullptr) != nullptr;
                          });
}
