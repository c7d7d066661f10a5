// Acting on the programs under test: buttons, keys, clicks, closing.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Descendant button of parent whose text matches (case-insensitive, without '&' markers; a trailing "(X)" accelerator may be omitted); nullptr if none.
HWND findButton(HWND parent, const std::wstring& text);
// Posts BM_CLICK to the button with this text; false if there is none.
bool pressButton(HWND parent, const std::wstring& text);
// Posts BM_CLICK to the button with this control id; false if there is none.
bool pressButtonById(HWND parent, int id);
// Posts a key press (WM_KEYDOWN + WM_KEYUP) to a window; its WM_CHAR comes later, from the target's TranslateMessage,
// so wait for the effect before posting more when order matters.
bool postKey(HWND target, UINT virtualKey);
// Posts WM_CHAR for each character of text to a window.
bool postText(HWND target, const std::wstring& text);
// Brings a top-level window to the foreground; true when it is.
bool bringToFront(HWND topLevel);
// Presses a key with optional modifiers (VK_CONTROL, VK_SHIFT, VK_MENU) through SendInput, to the foreground window.
bool sendKey(UINT virtualKey, UINT modifier1 = 0, UINT modifier2 = 0);
// Types text through SendInput as Unicode characters, to the foreground window's focus.
bool sendText(const std::wstring& text);
// Left-clicks at a screen point through SendInput.
bool clickAt(POINT screenPoint);
// Right-clicks at a screen point through SendInput (the release is what shows help and menus).
bool rightClickAt(POINT screenPoint);
// Moves the mouse pointer to a screen point with real input, and waits until it is there.
bool moveMouseTo(POINT screenPoint);
// Left-clicks the centre of a window through SendInput, first raising its top-level window if something covers it.
bool clickCenter(HWND hwnd);
// Replaces a window's text (WM_SETTEXT; edit controls then notify EN_CHANGE); false if the target did not answer.
bool setWindowText(HWND hwnd, const std::wstring& text);
// Selects a list-box item and tells the parent (LBN_SELCHANGE), as a user's click would.
bool selectListBoxItem(HWND listBox, int index);
// Selects a combo-box item and tells the parent (CBN_SELCHANGE), as a user's choice would.
bool selectComboBoxItem(HWND comboBox, int index);
// Clicks a tab item (the parent gets its TCN_SELCHANGE notifications as from a user).
bool selectTab(HWND tab, int index);
// Posts the toolbar button's command to the toolbar's owner, as a click on an enabled button does.
bool pressToolbarButton(HWND toolbar, int commandId);

// Posts WM_CLOSE to a window.
bool closeWindow(HWND hwnd);

}  // namespace e2e
