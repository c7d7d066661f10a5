// Holds the Wine session of a test run open: started once before the Wine
// tests, it keeps a user process on the desktop, so the server, its services
// and the virtual desktop stay up between the test programs instead of being
// torn down after each one and started again under the next (Debian's loader
// starts the server with no persistence). Nothing is shown: its one window is
// message-only. It ends when the server is stopped.
#include <windows.h>

int main() {
    GetDesktopWindow();  // joins the desktop: while this process lives, it stays
    HWND anchor = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!anchor) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
