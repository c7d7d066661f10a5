#include "e2e/input.h"

#include <commctrl.h>

#include <iterator>
#include <vector>

#include "e2e/control_reader.h"
#include "e2e/window_finder.h"

namespace e2e {
namespace {

// A button caption as compared: '&' markers gone, and a trailing "(X)" accelerator
// (Japanese style, "はい(&Y)") cut off when `dropAccelerator`.
std::wstring comparable(const std::wstring& text, bool dropAccelerator) {
  std::wstring s = stripAccelerator(text);
  if (dropAccelerator && s.size() > 3 && s.back() == L')' && s[s.size() - 3] == L'(') s.resize(s.size() - 3);
  return s;
}

bool sendInputs(std::vector<INPUT>& inputs) {
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

INPUT keyInput(WORD vk, WORD scan, DWORD flags) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = flags;
  return in;
}

INPUT mouseInput(LONG x, LONG y, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = x;
  in.mi.dy = y;
  in.mi.dwFlags = flags;
  return in;
}

}  // namespace

HWND findButton(HWND parent, const std::wstring& text) {
  const std::wstring wanted = comparable(text, false);
  const std::wstring wantedBase = comparable(text, true);
  for (HWND h : childWindows(parent)) {
    if (lstrcmpiW(className(h).c_str(), L"Button") != 0 || !IsWindowVisible(h)) continue;
    const std::wstring caption = windowText(h);
    // Case-insensitive so "ok" finds "OK"; Japanese captions have no case.
    if (lstrcmpiW(comparable(caption, false).c_str(), wanted.c_str()) == 0 ||
        lstrcmpiW(comparable(caption, true).c_str(), wantedBase.c_str()) == 0) {
      return h;
    }
  }
  return nullptr;
}

bool pressButton(HWND parent, const std::wstring& text) {
  HWND button = findButton(parent, text);
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool pressButtonById(HWND parent, int id) {
  HWND button = childById(parent, id);
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool postKey(HWND target, UINT virtualKey) {
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (LPARAM(scan) << 16);
  // Key-up: previous state down (bit 30) and transition (bit 31).
  const LPARAM up = down | (LPARAM(1) << 30) | (LPARAM(1) << 31);
  return PostMessageW(target, WM_KEYDOWN, virtualKey, down) && PostMessageW(target, WM_KEYUP, virtualKey, up);
}

bool postText(HWND target, const std::wstring& text) {
  for (wchar_t c : text) {
    if (!PostMessageW(target, WM_CHAR, c, 1)) return false;
  }
  return true;
}

bool bringToFront(HWND topLevel) {
  if (GetForegroundWindow() == topLevel) return true;
  SetForegroundWindow(topLevel);
  return waitUntil([&] { return GetForegroundWindow() == topLevel; }, milliseconds(5000));
}

bool sendKey(UINT virtualKey, UINT modifier1, UINT modifier2) {
  std::vector<INPUT> inputs;
  for (UINT m : {modifier1, modifier2}) {
    if (m) inputs.push_back(keyInput(static_cast<WORD>(m), 0, 0));
  }
  inputs.push_back(keyInput(static_cast<WORD>(virtualKey), 0, 0));
  inputs.push_back(keyInput(static_cast<WORD>(virtualKey), 0, KEYEVENTF_KEYUP));
  for (UINT m : {modifier2, modifier1}) {
    if (m) inputs.push_back(keyInput(static_cast<WORD>(m), 0, KEYEVENTF_KEYUP));
  }
  return sendInputs(inputs);
}

bool sendText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    inputs.push_back(keyInput(0, c, KEYEVENTF_UNICODE));
    inputs.push_back(keyInput(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  return inputs.empty() || sendInputs(inputs);
}

namespace {

// Absolute input coordinates are 0..65535 across the virtual screen.
bool AbsoluteInput(POINT p, LONG& x, LONG& y) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 1 || height <= 1) return false;
  x = static_cast<LONG>((static_cast<long long>(p.x - left) * 65535) / (width - 1));
  y = static_cast<LONG>((static_cast<long long>(p.y - top) * 65535) / (height - 1));
  return true;
}

constexpr DWORD kAbsolute = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;

}  // namespace

bool moveMouseTo(POINT p) {
  LONG x = 0, y = 0;
  if (!AbsoluteInput(p, x, y)) return false;
  std::vector<INPUT> move{mouseInput(x, y, MOUSEEVENTF_MOVE | kAbsolute)};
  if (!sendInputs(move)) return false;
  // Wine may apply the move late (it warps the X pointer).
  return waitUntil([&] {
    POINT at{};
    return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
  }, milliseconds(2000));
}

namespace {
// A press and a release of one mouse button at a screen point.
bool clickButton(POINT p, DWORD down, DWORD up) {
  LONG x = 0, y = 0;
  if (!AbsoluteInput(p, x, y)) return false;
  // Pressing before the cursor arrives would click wherever it was.
  moveMouseTo(p);
  // Late motion from an earlier warp can still drag the cursor back, so the press and
  // the release each carry the position too.
  std::vector<INPUT> click{mouseInput(x, y, MOUSEEVENTF_MOVE | down | kAbsolute),
                           mouseInput(x, y, MOUSEEVENTF_MOVE | up | kAbsolute)};
  return sendInputs(click);
}
}  // namespace

bool clickAt(POINT p) { return clickButton(p, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }

bool rightClickAt(POINT p) { return clickButton(p, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }

bool clickCenter(HWND hwnd) {
  RECT rc;
  if (!GetWindowRect(hwnd, &rc)) return false;
  const POINT centre{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  // Other programs share the desktop; raise ours rather than click a window lying over it.
  auto hit = [&] {
    HWND at = WindowFromPoint(centre);
    return at == hwnd || IsChild(hwnd, at);
  };
  if (!hit() && (!bringToFront(GetAncestor(hwnd, GA_ROOT)) || !waitUntil(hit, milliseconds(5000)))) return false;
  return clickAt(centre);
}

bool setWindowText(HWND hwnd, const std::wstring& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                             &result) != 0 &&
         result != 0;
}

namespace {

// Sets a selection by message, then posts the notification the control itself would send.
bool selectAndNotify(HWND control, UINT setMsg, int index, WORD notification) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(control, setMsg, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, 5000, &result) ||
      static_cast<LRESULT>(result) != index) {
    return false;
  }
  const WPARAM wp = MAKEWPARAM(GetDlgCtrlID(control), notification);
  return PostMessageW(GetParent(control), WM_COMMAND, wp, reinterpret_cast<LPARAM>(control));
}

}  // namespace

bool selectListBoxItem(HWND listBox, int index) { return selectAndNotify(listBox, LB_SETCURSEL, index, LBN_SELCHANGE); }

bool selectComboBoxItem(HWND comboBox, int index) {
  return selectAndNotify(comboBox, CB_SETCURSEL, index, CBN_SELCHANGE);
}

bool selectTab(HWND tab, int index) {
  const RECT rc = tabItemRect(tab, index);
  if (rc.right <= rc.left || rc.bottom <= rc.top) return false;
  HWND root = GetAncestor(tab, GA_ROOT);
  if (!bringToFront(root)) return false;
  return clickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

bool pressToolbarButton(HWND toolbar, int commandId) {
  DWORD_PTR state = 0;
  // TB_GETSTATE answers -1 for an unknown command.
  if (!SendMessageTimeoutW(toolbar, TB_GETSTATE, static_cast<WPARAM>(commandId), 0, SMTO_ABORTIFHUNG, 5000, &state) ||
      static_cast<LRESULT>(state) == -1 || !(state & TBSTATE_ENABLED)) {
    return false;
  }
  return PostMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(toolbar));
}

bool closeWindow(HWND hwnd) { return PostMessageW(hwnd, WM_CLOSE, 0, 0); }

}  // namespace e2e
