// The window and dialog bases: a throwing handler never reaches Windows,
// activation is reported, the object learns of its window's end, and a
// dialog is centred over its owner and returns what it was ended with.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "resource.h"
#include "core/window_base.h"

namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;
constexpr int kEndCommand = 4000;

HWND g_activated = nullptr;
void RecordActivation(HWND hwnd) { g_activated = hwnd; }

class ProbeWindow : public quibex::Window {
public:
    bool Make() {
        return Create({L"QuibexTestProbe"}, 0, L"probe", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr);
    }
    bool destroyed = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kThrow) throw std::runtime_error("handler failed");
        if (msg == kAnswer) return 42;
        return Default(msg, wp, lp);
    }
    void OnDestroyed() override { destroyed = true; }
};

TEST(WinWindowBase, ThrowingHandlerIsContainedAndTheWindowLivesOn) {
    quibex::SetActivationObserver(RecordActivation);
    ProbeWindow probe;
    ASSERT_TRUE(probe.Make());
    HWND hwnd = probe.hwnd();
    EXPECT_EQ(SendMessageW(hwnd, kThrow, 0, 0), 0);
    EXPECT_EQ(SendMessageW(hwnd, kAnswer, 0, 0), 42);

    ShowWindow(hwnd, SW_SHOW);
    SetActiveWindow(hwnd);
    EXPECT_EQ(g_activated, hwnd);

    DestroyWindow(hwnd);
    EXPECT_TRUE(probe.destroyed);
    EXPECT_EQ(probe.hwnd(), nullptr);
    quibex::SetActivationObserver(nullptr);
}

class ProbeDialog : public quibex::Dialog {
public:
    RECT placed{};

protected:
    bool OnInit() override {
        GetWindowRect(hwnd(), &placed);
        PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_INIT_LBLMSG, 0), 0);
        return true;
    }
    bool OnCommand(int id, int code, HWND control) override {
        if (id == IDC_INIT_LBLMSG) {
            PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(kEndCommand, 0), 0);
            throw std::runtime_error("command failed");  // contained; the dialog goes on
        }
        if (id == kEndCommand) {
            End(7);
            return true;
        }
        return Dialog::OnCommand(id, code, control);
    }
};

TEST(WinWindowBase, ModalDialogIsCentredOverItsOwnerAndReturnsItsResult) {
    ProbeWindow owner;
    ASSERT_TRUE(owner.Make());
    SetWindowPos(owner.hwnd(), nullptr, 200, 150, 600, 400, SWP_NOZORDER | SWP_SHOWWINDOW);
    ProbeDialog dialog;
    EXPECT_EQ(dialog.RunModal(IDD_INIT, owner.hwnd()), 7);
    RECT o{};
    GetWindowRect(owner.hwnd(), &o);
    const RECT& d = dialog.placed;
    EXPECT_NEAR((d.left + d.right) / 2, (o.left + o.right) / 2, 1);
    EXPECT_NEAR((d.top + d.bottom) / 2, (o.top + o.bottom) / 2, 1);
    EXPECT_EQ(dialog.hwnd(), nullptr);
}

}  // namespace
