// The window and dialog bases: a throwing handler never reaches Windows,
// activation is reported, the object learns of its window's end, and a
// dialog is centred over its owner and returns what it was ended with.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <vector>

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

// Filters on a control: the latest sees a message first, an answered message
// goes no further, a second call with the same filter only changes its data,
// a throwing filter is contained, and the control's own procedure is back in
// charge once the filters have gone with the control.
std::vector<int> g_seen;
bool FirstFilter(HWND, UINT msg, WPARAM, LPARAM, DWORD_PTR data, LRESULT&) {
    if (msg != kAnswer) return false;
    g_seen.push_back(1000 + static_cast<int>(data));
    return false;
}
bool SecondFilter(HWND, UINT msg, WPARAM wp, LPARAM, DWORD_PTR data, LRESULT& result) {
    if (msg == kThrow) throw std::runtime_error("filter failed");
    if (msg != kAnswer) return false;
    g_seen.push_back(2000 + static_cast<int>(data));
    if (wp != 1) return false;
    result = 7;
    return true;
}

TEST(WinWindowBase, FiltersSeeMessagesLatestFirstAndGoWithTheControl) {
    ProbeWindow probe;
    ASSERT_TRUE(probe.Make());
    HWND hwnd = probe.hwnd();
    ASSERT_TRUE(quibex::FilterMessages(hwnd, FirstFilter, 1));
    ASSERT_TRUE(quibex::FilterMessages(hwnd, SecondFilter, 2));
    ASSERT_TRUE(quibex::FilterMessages(hwnd, FirstFilter, 3));  // the data changes, not the order
    EXPECT_EQ(SendMessageW(hwnd, kAnswer, 0, 0), 42);
    EXPECT_EQ(g_seen, (std::vector<int>{2002, 1003}));
    g_seen.clear();
    EXPECT_EQ(SendMessageW(hwnd, kAnswer, 1, 0), 7);
    EXPECT_EQ(g_seen, (std::vector<int>{2002}));
    EXPECT_EQ(SendMessageW(hwnd, kThrow, 0, 0), 0);
    EXPECT_TRUE(IsWindow(hwnd));
    DestroyWindow(hwnd);
    EXPECT_TRUE(probe.destroyed);
    EXPECT_FALSE(quibex::FilterMessages(hwnd, FirstFilter, 1));
}
