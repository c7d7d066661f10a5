// One Quibexsetup run in a fresh program folder beside Quibex.exe, for the
// scenarios: its window, its check boxes, OK and the report it shows.
#pragma once

#include <e2e/driver.h>
#include <e2e/gtest_support.h>

#include <array>
#include <string>

// The extensions of the check boxes, in their order.
inline const std::array<std::wstring, 6> kCaptions = {L"LZH", L"ZIP", L"CAB", L"7Z", L"RAR", L"EXE"};

class SetupSession {
public:
    // Copies the tool with Quibex.exe, the libraries and a settings file, or
    // with `toolOnly` the tool alone.
    explicit SetupSession(bool toolOnly = false);
    ~SetupSession();
    bool start();
    // Starts the tool, points `shot` (if any) at it and waits for its window.
    bool open(e2e::ScreenshotAtEnd* shot = nullptr);
    e2e::ProgramFolder& folder() { return folder_; }
    e2e::Process& process() { return process_; }
    // The tool's window; nullptr on timeout.
    HWND waitWindow();
    HWND window() const { return window_; }
    HWND control(int id) const;
    std::wstring itemName() const;
    // The ticks of LZH, ZIP, CAB, 7Z, RAR and EXE, as "110000".
    std::wstring ticks() const;
    // Sets the box of extension `index` and waits until it shows that.
    bool tick(size_t index, bool on);
    // Presses OK and returns the message box that follows (read), answered
    // with OK unless `leaveOpen`.
    e2e::MessageBoxInfo pressOk(HWND* box = nullptr, bool leaveOpen = false);
    // The command every verb must carry: this folder's Quibex.exe and the file, quoted.
    std::wstring verbCommand() const;

private:
    e2e::ProgramFolder folder_;
    e2e::Process process_;
    HWND window_ = nullptr;
};

// The report text for the four extensions, each "追加処理に成功しました。",
// "処理をスキップしました。" etc. (the words after "項目の").
std::wstring Report(const std::array<std::wstring, 6>& outcomes);
