// clsToolTip: one tooltip control ("tooltips_class32") on one owner control,
// for the two-line explanations of the option windows. Each member is one or
// two tooltip messages; the object keeps nothing but the two handles. The
// properties pX of the class are X() and SetX(), its methods mX are X().
// Message results come back as they are (0 when there is no tooltip window);
// a rectangle that cannot be computed in 32 bits is an overflow_error.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

namespace quibex {

class ToolTip {
public:
    ToolTip();   // registers the tooltip class (InitCommonControlsEx, ICC_BAR_CLASSES)
    ~ToolTip();  // destroys the tooltip window
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;

    // Creates the tooltip window on `owner`; false when one exists already
    // (the first is kept) or it cannot be made.
    bool Create(HWND owner);
    HWND hWnd() const { return tip_; }

    COLORREF ForeColor() const;
    void SetForeColor(COLORREF colour);
    COLORREF BackColor() const;
    void SetBackColor(COLORREF colour);
    int MaxWidth() const;
    void SetMaxWidth(int width);
    // Delays in milliseconds.
    int ReShowTime() const;
    void SetReShowTime(int ms);
    int InitialTime() const;
    void SetInitialTime(int ms);
    int AutoPopTime() const;
    void SetAutoPopTime(int ms);
    void SetActivate(bool on);

    // A tool `key` over the owner's rectangle (left, top, width, height); with
    // left, height and width all 0 it covers the owner's whole client area.
    bool ToolAdd(UINT_PTR key, const std::wstring& text, int left, int top, int height, int width);
    void ToolRemove(UINT_PTR key);
    void SetToolText(UINT_PTR key, const std::wstring& text);
    int ToolCount() const;
    void SetToolTrack(UINT_PTR key, bool on);
    void ToolTrackPosition(int x, int y);
    void Pop();

    // The tool's rectangle; a setter keeps the other three dimensions.
    int ToolLeft(UINT_PTR key) const;
    int ToolTop(UINT_PTR key) const;
    int ToolWidth(UINT_PTR key) const;
    int ToolHeight(UINT_PTR key) const;
    void SetToolLeft(UINT_PTR key, int left);
    void SetToolTop(UINT_PTR key, int top);
    void SetToolWidth(UINT_PTR key, int width);
    void SetToolHeight(UINT_PTR key, int height);

    int MarginLeft() const;
    int MarginTop() const;
    int MarginRight() const;
    int MarginBottom() const;
    void SetMarginLeft(int value);
    void SetMarginTop(int value);
    void SetMarginRight(int value);
    void SetMarginBottom(int value);

private:
    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
    TTTOOLINFOW Record(UINT_PTR key) const;
    RECT ToolRect(UINT_PTR key) const;
    void SetToolRect(UINT_PTR key, const RECT& r);
    RECT Margins() const;

    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
};

// The option windows' explanation of one control: a tooltip over its whole
// face with one tool (key 1) showing `text`, lines at most `maxWidth` pixels wide.
std::unique_ptr<ToolTip> CreateControlTip(HWND control, const std::wstring& text, int maxWidth);

}  // namespace quibex
