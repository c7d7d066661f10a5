// The small window a library shows while a long extraction runs: the member
// being written and a progress bar. It lives on a thread of its own so the
// extraction never has to pump messages (which could re-enter the library).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace arcdll {

class ProgressWindow {
public:
    explicit ProgressWindow(HWND owner);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Records the state; the window shows it on its next tick.
    void update(uint64_t done, uint64_t total, const std::wstring& member);
    HWND window() const { return hwnd_.load(); }

private:
    void run();
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    void refresh();

    HWND owner_;
    std::atomic<HWND> hwnd_{nullptr};
    HWND label_ = nullptr, bar_ = nullptr;
    std::mutex mutex_;
    uint64_t done_ = 0, total_ = 0;
    std::wstring member_;
    bool memberChanged_ = false;
    HANDLE ready_ = nullptr;
    std::thread thread_;
};

}  // namespace arcdll
