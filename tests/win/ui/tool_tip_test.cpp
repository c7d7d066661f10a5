// The tooltip class over a real tooltip control: creating once, tools over
// the whole owner or a rectangle, the rectangle setters keeping the other
// dimensions, delays packed into one parameter. (The two-line tip as shown
// is the options scenarios'.)
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "ui/tool_tip.h"

namespace {

using quibex::ToolTip;

class WinToolTip : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExW(0, L"BUTTON", L"owner", WS_POPUP | BS_CHECKBOX, 100, 100, 180, 24, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(owner_);
        GetClientRect(owner_, &client_);
    }
    void TearDown() override { DestroyWindow(owner_); }
    HWND owner_ = nullptr;
    RECT client_{};
};

std::wstring TipText(const ToolTip& tip, UINT_PTR key, HWND owner) {
    wchar_t text[256] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = owner;
    ti.uId = key;
    ti.lpszText = text;
    SendMessageW(tip.hWnd(), TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&ti));
    return text;
}

TEST_F(WinToolTip, CreatedOnceKeepingTheFirstWindow) {
    ToolTip tip;
    EXPECT_EQ(tip.hWnd(), nullptr);
    EXPECT_FALSE(tip.ToolAdd(1, L"x", 0, 0, 0, 0)) << "no window yet: nothing happens";
    EXPECT_EQ(tip.ToolCount(), 0);
    ASSERT_TRUE(tip.Create(owner_));
    HWND first = tip.hWnd();
    EXPECT_TRUE(IsWindow(first));
    wchar_t cls[32] = {};
    GetClassNameW(first, cls, 32);
    EXPECT_STREQ(cls, TOOLTIPS_CLASSW);
    EXPECT_FALSE(tip.Create(owner_));
    EXPECT_EQ(tip.hWnd(), first);
}

TEST_F(WinToolTip, ToolRectanglesAndTheirSetters) {
    ToolTip tip;
    ASSERT_TRUE(tip.Create(owner_));
    // Left, height and width 0: the whole client area, whatever the top.
    ASSERT_TRUE(tip.ToolAdd(1, L"全体", 0, 5, 0, 0));
    EXPECT_EQ(tip.ToolLeft(1), 0);
    EXPECT_EQ(tip.ToolTop(1), 0);
    EXPECT_EQ(tip.ToolWidth(1), client_.right);
    EXPECT_EQ(tip.ToolHeight(1), client_.bottom);
    ASSERT_TRUE(tip.ToolAdd(2, L"一部", 4, 6, 10, 20));
    EXPECT_EQ(tip.ToolLeft(2), 4);
    EXPECT_EQ(tip.ToolTop(2), 6);
    EXPECT_EQ(tip.ToolHeight(2), 10);
    EXPECT_EQ(tip.ToolWidth(2), 20);
    EXPECT_EQ(tip.ToolCount(), 2);

    tip.SetToolWidth(2, 0);  // right edge on the left edge
    EXPECT_EQ(tip.ToolLeft(2), 4);
    EXPECT_EQ(tip.ToolWidth(2), 0);
    tip.SetToolLeft(2, 30);  // moved, size kept
    EXPECT_EQ(tip.ToolLeft(2), 30);
    EXPECT_EQ(tip.ToolWidth(2), 0);
    EXPECT_EQ(tip.ToolHeight(2), 10);
    tip.SetToolTop(2, 2);
    EXPECT_EQ(tip.ToolTop(2), 2);
    EXPECT_EQ(tip.ToolHeight(2), 10);
    tip.SetToolHeight(2, 7);
    EXPECT_EQ(tip.ToolTop(2), 2);
    EXPECT_EQ(tip.ToolHeight(2), 7);
    EXPECT_THROW(tip.SetToolTop(2, INT_MAX), std::overflow_error);  // top + height
    EXPECT_THROW(tip.ToolAdd(3, L"x", INT_MAX, 0, 1, 1), std::overflow_error);

    tip.SetToolText(1, L"新しい説明");
    EXPECT_EQ(TipText(tip, 1, owner_), L"新しい説明");
    tip.ToolRemove(2);
    EXPECT_EQ(tip.ToolCount(), 1);
}

TEST_F(WinToolTip, DelaysColoursWidthAndMargins) {
    ToolTip tip;
    ASSERT_TRUE(tip.Create(owner_));
    tip.SetInitialTime(700);
    tip.SetAutoPopTime(9000);
    tip.SetReShowTime(120);
    EXPECT_EQ(tip.InitialTime(), 700);
    EXPECT_EQ(tip.AutoPopTime(), 9000);
    EXPECT_EQ(tip.ReShowTime(), 120);
    tip.SetMaxWidth(200);
    EXPECT_EQ(tip.MaxWidth(), 200);
    tip.SetForeColor(RGB(1, 2, 3));
    tip.SetBackColor(RGB(250, 240, 200));
    EXPECT_EQ(tip.ForeColor(), RGB(1, 2, 3));
    EXPECT_EQ(tip.BackColor(), RGB(250, 240, 200));
    tip.SetMarginLeft(3);
    tip.SetMarginTop(4);
    tip.SetMarginRight(5);
    tip.SetMarginBottom(6);
    EXPECT_EQ(tip.MarginLeft(), 3);
    EXPECT_EQ(tip.MarginTop(), 4);
    EXPECT_EQ(tip.MarginRight(), 5);
    EXPECT_EQ(tip.MarginBottom(), 6);
}

}  // namespace
