#include "progress_window.h"

#include <commctrl.h>

#include "library_texts.h"
#include "this_module.h"

namespace arcdll {

namespace {

constexpr wchar_t kClassName[] = L"QuibexArchiverProgress";
constexpr UINT kCloseMessage = WM_APP + 1;
constexpr UINT_PTR kTimerId = 1;
constexpr int kBarRange = 1000;

}  // namespace

ProgressWindow::ProgressWindow(HWND owner) : owner_(owner) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    try {
        thread_ = std::thread([this] { run(); });
        // Wait until the window exists (or failed), so closing never races creation.
        if (ready_) WaitForSingleObject(ready_, 5000);
    } catch (...) {
        // No thread, no window: extraction goes on without it.
    }
}

ProgressWindow::~ProgressWindow() {
    if (HWND w = hwnd_.load()) PostMessageW(w, kCloseMessage, 0, 0);
    if (thread_.joinable()) thread_.join();
    if (ready_) CloseHandle(ready_);
}

void ProgressWindow::update(uint64_t done, uint64_t total, const std::wstring& member) {
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = done;
    total_ = total;
    if (member != member_) {
        member_ = member;
        memberChanged_ = true;
    }
}

void ProgressWindow::refresh() {
    uint64_t done, total;
    std::wstring member;
    bool changed;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done = done_;
        total = total_;
        changed = memberChanged_;
        memberChanged_ = false;
        if (changed) member = member_;
    }
    if (changed) SetWindowTextW(label_, member.c_str());
    int pos = total ? static_cast<int>(done * kBarRange / total) : 0;
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

LRESULT CALLBACK ProgressWindow::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        break;
    case WM_TIMER:
        if (self && wp == kTimerId) self->refresh();
        return 0;
    case WM_CLOSE:
        return 0;  // the user cannot close it; the library does
    case kCloseMessage:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void ProgressWindow::run() {
    HINSTANCE inst = thisModule();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_WAIT);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);  // fails harmlessly when already registered

    const int width = 360, height = 110;
    // Centred over the caller's window, else over the work area.
    RECT area{};
    if (!(owner_ && IsWindow(owner_) && IsWindowVisible(owner_) && GetWindowRect(owner_, &area)))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    HWND w = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, text::kProgressCaption, WS_POPUP | WS_CAPTION,
                             (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, width,
                             height, owner_ && IsWindow(owner_) ? owner_ : nullptr, nullptr, inst, this);
    if (w) {
        HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS, 12, 10, width - 30, 20,
                                 w, nullptr, inst, nullptr);
        bar_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 12, 36, width - 30, 18, w, nullptr,
                               inst, nullptr);
        SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SendMessageW(bar_, PBM_SETRANGE32, 0, kBarRange);
        refresh();
        SetTimer(w, kTimerId, 100, nullptr);
        ShowWindow(w, SW_SHOWNOACTIVATE);
        hwnd_.store(w);
    }
    if (ready_) SetEvent(ready_);
    if (!w) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    hwnd_.store(nullptr);
}

}  // namespace arcdll
