// A tiny Unicode Win32 program with one control of each kind the e2e driver
// reads, so the driver can be tested without the real programs.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <cstdlib>
#include <iterator>
#include <string>

#include "fixture_ids.h"

namespace {

int g_clicks = 0;

HWND control(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
             int id, DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void setStatus(HWND main, int part, const std::wstring& text) {
  SendMessageW(GetDlgItem(main, fixture::kStatusId), SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void createToolbar(HWND main) {
  HWND tb = control(main, TOOLBARCLASSNAMEW, L"", TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP, 0, 0, 0, 0,
                    fixture::kToolbarId);
  SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  static const wchar_t kOpen[] = L"開く";
  static const wchar_t kFind[] = L"検索";
  TBBUTTON buttons[3] = {};
  buttons[0] = {I_IMAGENONE, fixture::kOpenCommand, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0,
                reinterpret_cast<INT_PTR>(kOpen)};
  buttons[1] = {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0};
  buttons[2] = {I_IMAGENONE, fixture::kFindCommand, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK | BTNS_AUTOSIZE,
                {}, 0, reinterpret_cast<INT_PTR>(kFind)};
  SendMessageW(tb, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  SendMessageW(tb, TB_AUTOSIZE, 0, 0);
}

void createControls(HWND main) {
  createToolbar(main);
  HWND tab = control(main, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 10, 40, 600, 30, fixture::kTabId);
  const wchar_t* tabs[] = {L"readme.txt", L"[2] 説明.txt"};
  for (int i = 0; i < 2; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(tabs[i]);
    SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  control(main, L"Button", fixture::kButtonText, BS_PUSHBUTTON | WS_TABSTOP, 10, 80, 120, 30, fixture::kButtonId);
  control(main, L"Button", fixture::kCheckText, BS_AUTOCHECKBOX | WS_TABSTOP, 140, 80, 120, 30, fixture::kCheckId);
  control(main, L"Edit", L"", ES_AUTOHSCROLL | WS_TABSTOP, 270, 82, 200, 26, fixture::kEditId, WS_EX_CLIENTEDGE);

  HWND list = control(main, L"ListBox", L"", LBS_NOTIFY | WS_VSCROLL, 10, 120, 150, 80, fixture::kListId,
                      WS_EX_CLIENTEDGE);
  for (const wchar_t* s : {L"りんご", L"みかん", L"ぶどう"}) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  HWND combo = control(main, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 170, 120, 150, 200, fixture::kComboId);
  for (const wchar_t* s : {L"一", L"二", L"三"}) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  SendMessageW(combo, CB_SETCURSEL, 2, 0);

  HWND lv = control(main, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 330, 120, 280, 80,
                    fixture::kListViewId, WS_EX_CLIENTEDGE);
  const wchar_t* headers[] = {L"名前", L"サイズ"};
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = c == 0 ? 150 : 100;
    col.pszText = const_cast<wchar_t*>(headers[c]);
    SendMessageW(lv, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
  }
  const wchar_t* rows[][2] = {{L"readme.txt", L"12"}, {L"説明.txt", L"3,456"}};
  for (int r = 0; r < 2; ++r) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    item.pszText = const_cast<wchar_t*>(rows[r][0]);
    SendMessageW(lv, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 1;
    item.pszText = const_cast<wchar_t*>(rows[r][1]);
    SendMessageW(lv, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
  }
  LVITEMW selected{};
  selected.stateMask = LVIS_SELECTED;
  selected.state = LVIS_SELECTED;
  SendMessageW(lv, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));

  HWND rich = control(main, MSFTEDIT_CLASS, L"", ES_MULTILINE | WS_VSCROLL, 10, 210, 600, 120, fixture::kRichEditId,
                      WS_EX_CLIENTEDGE);
  SetWindowTextW(rich, fixture::kRichText);

  HWND status = control(main, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, 0, 0, 0, 0, fixture::kStatusId);
  int edges[] = {200, 400, -1};
  SendMessageW(status, SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));
  setStatus(main, 0, L"準備完了");
  setStatus(main, 1, L"押した: 0");
  setStatus(main, 2, L"CP932");
}

// Each action the tests perform leaves a trace in the status bar.
void onCommand(HWND main, int id, int code, HWND from) {
  if (id == fixture::kButtonId && code == BN_CLICKED) {
    setStatus(main, 1, L"押した: " + std::to_wstring(++g_clicks));
  } else if (id == fixture::kOpenCommand) {
    setStatus(main, 0, fixture::kOpenedStatus);
  } else if (id == fixture::kEditId && code == EN_CHANGE) {
    setStatus(main, 2, fixture::kEditStatusPrefix + std::to_wstring(GetWindowTextLengthW(from)));
  } else if (id == fixture::kComboId && code == CBN_SELCHANGE) {
    const auto sel = SendMessageW(from, CB_GETCURSEL, 0, 0);
    wchar_t text[64] = L"";
    if (SendMessageW(from, CB_GETLBTEXTLEN, sel, 0) < LRESULT(std::size(text))) {
      SendMessageW(from, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text));
    }
    setStatus(main, 2, text);
  } else if (id == fixture::kListId && code == LBN_SELCHANGE) {
    const auto sel = SendMessageW(from, LB_GETCURSEL, 0, 0);
    wchar_t text[64] = L"";
    if (SendMessageW(from, LB_GETTEXTLEN, sel, 0) < LRESULT(std::size(text))) {
      SendMessageW(from, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(text));
    }
    setStatus(main, 2, text);
  }
}

LRESULT CALLBACK mainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      createControls(hwnd);
      return 0;
    case WM_SIZE:
      SendMessageW(GetDlgItem(hwnd, fixture::kStatusId), WM_SIZE, 0, 0);
      SendMessageW(GetDlgItem(hwnd, fixture::kToolbarId), TB_AUTOSIZE, 0, 0);
      return 0;
    case WM_COMMAND:
      onCommand(hwnd, LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->idFrom == fixture::kTabId && hdr->code == TCN_SELCHANGE) {
        const auto sel = SendMessageW(hdr->hwndFrom, TCM_GETCURSEL, 0, 0);
        setStatus(hwnd, 0, fixture::kTabStatusPrefix + std::to_wstring(sel));
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Keys the tests send to whichever control has the focus.
bool handleKey(HWND main, const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  if (msg.wParam == VK_F5) {
    setStatus(main, 0, L"F5");
    return true;
  }
  if (msg.wParam == 'L' && (GetKeyState(VK_CONTROL) & 0x8000)) {
    setStatus(main, 0, L"Ctrl+L");
    return true;
  }
  return false;
}

int runWindow(HINSTANCE inst, int show) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  LoadLibraryW(L"Msftedit.dll");
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = mainProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = fixture::kClass;
  if (!RegisterClassExW(&wc)) return 1;
  HWND main = CreateWindowExW(0, fixture::kClass, fixture::kCaption, WS_OVERLAPPEDWINDOW, 40, 40, 640, 420, nullptr,
                              nullptr, inst, nullptr);
  if (!main) return 1;
  ShowWindow(main, show);
  UpdateWindow(main);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (handleKey(main, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

std::wstring iniPath() {
  wchar_t exe[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
  std::wstring path(exe, n);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"Quibex.ini";
}

int echoIni() {
  const std::wstring ini = iniPath();
  wchar_t value[256];
  GetPrivateProfileStringW(L"Test", L"Name", L"", value, static_cast<DWORD>(std::size(value)), ini.c_str());
  const std::wstring echo = std::wstring(value) + fixture::kEchoSuffix;
  return WritePrivateProfileStringW(L"Test", L"Echo", echo.c_str(), ini.c_str()) ? 0 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int show) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  const std::wstring option = argc > 2 ? argv[2] : L"";
  if (mode == L"msgbox") {
    if (option == L"warn") {
      return MessageBoxW(nullptr, fixture::kWarningText, fixture::kWarningCaption, MB_OKCANCEL | MB_ICONWARNING);
    }
    return MessageBoxW(nullptr, fixture::kQuestionText, fixture::kQuestionCaption, MB_YESNO | MB_ICONQUESTION);
  }
  if (mode == L"ini") return echoIni();
  if (mode == L"exit") return _wtoi(option.c_str());
  return runWindow(inst, show);
}
