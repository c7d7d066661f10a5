#include "e2e/control_reader.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "e2e/remote_memory.h"
#include "e2e/window_finder.h"

namespace e2e {
namespace {

// A hung target must fail the test, not freeze the driver.
constexpr UINT kSendTimeoutMs = 5000;
// Longest item text read from a tab, status part or toolbar button, in characters.
constexpr size_t kItemChars = 1024;

// SendMessageTimeout; `ok` tells whether the target answered.
LRESULT send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, bool* ok = nullptr) {
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs,
                                            &result) != 0;
  if (ok) *ok = answered;
  return answered ? static_cast<LRESULT>(result) : 0;
}

// Reads a zero-terminated UTF-16 string from the target at offset.
std::wstring readRemoteString(const RemoteBuffer& buf, size_t offset, size_t maxChars) {
  std::wstring text(maxChars, L'\0');
  if (!buf.read(text.data(), maxChars * sizeof(wchar_t), offset)) return {};
  text.resize(wcsnlen(text.c_str(), maxChars));
  return text;
}

// Items read by an index/length/text message triple that Windows marshals across processes.
std::vector<std::wstring> stringItems(HWND hwnd, UINT countMsg, UINT lengthMsg, UINT textMsg) {
  std::vector<std::wstring> items;
  bool ok = false;
  const LRESULT count = send(hwnd, countMsg, 0, 0, &ok);
  if (!ok || count <= 0) return items;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT len = send(hwnd, lengthMsg, static_cast<WPARAM>(i), 0);
    if (len < 0) {
      items.emplace_back();
      continue;
    }
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    const LRESULT got = send(hwnd, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got < 0 ? 0 : std::min(static_cast<size_t>(got), static_cast<size_t>(len)));
    items.push_back(std::move(text));
  }
  return items;
}

}  // namespace

std::wstring windowText(HWND hwnd) {
  bool ok = false;
  const LRESULT len = send(hwnd, WM_GETTEXTLENGTH, 0, 0, &ok);
  if (!ok || len <= 0) return {};
  // WM_GETTEXTLENGTH may overstate (DBCS); the copy's own count is exact.
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  const LRESULT got = send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : std::min(static_cast<size_t>(got), static_cast<size_t>(len)));
  return text;
}

std::wstring className(HWND hwnd) {
  wchar_t buf[256];
  const int n = GetClassNameW(hwnd, buf, static_cast<int>(std::size(buf)));
  return n > 0 ? std::wstring(buf, static_cast<size_t>(n)) : std::wstring();
}

HWND childById(HWND parent, int id) {
  for (HWND h : childWindows(parent)) {
    if (GetDlgCtrlID(h) == id) return h;
  }
  return nullptr;
}

int controlId(HWND hwnd) { return GetDlgCtrlID(hwnd); }

std::wstring stripAccelerator(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&') {
      if (i + 1 < text.size() && text[i + 1] == L'&') {
        out += L'&';
        ++i;
      }
      continue;
    }
    out += text[i];
  }
  return out;
}

std::optional<int> checkState(HWND button) {
  bool ok = false;
  const LRESULT state = send(button, BM_GETCHECK, 0, 0, &ok);
  if (!ok) return std::nullopt;
  return static_cast<int>(state);
}

std::vector<std::wstring> listBoxItems(HWND listBox) {
  return stringItems(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

int listBoxSelection(HWND listBox) { return static_cast<int>(send(listBox, LB_GETCURSEL, 0, 0)); }

std::vector<std::wstring> comboBoxItems(HWND comboBox) {
  return stringItems(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int comboBoxSelection(HWND comboBox) { return static_cast<int>(send(comboBox, CB_GETCURSEL, 0, 0)); }

std::vector<std::wstring> tabItems(HWND tab) {
  std::vector<std::wstring> items;
  bool ok = false;
  const LRESULT count = send(tab, TCM_GETITEMCOUNT, 0, 0, &ok);
  if (!ok || count <= 0) return items;
  // The item structure and its text buffer both live in the target.
  const size_t textOffset = sizeof(TCITEMW);
  RemoteBuffer buf(tab, textOffset + kItemChars * sizeof(wchar_t));
  if (!buf.ok()) return items;
  for (LRESULT i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<LPWSTR>(buf.remote(textOffset));
    item.cchTextMax = static_cast<int>(kItemChars);
    const wchar_t zero = 0;
    if (!buf.write(&item, sizeof item) || !buf.write(&zero, sizeof zero, textOffset)) return {};
    if (!send(tab, TCM_GETITEMW, static_cast<WPARAM>(i), buf.lparam())) {
      items.emplace_back();
      continue;
    }
    // The control may point pszText at its own storage instead of copying.
    TCITEMW back{};
    buf.read(&back, sizeof back);
    if (back.pszText == item.pszText) {
      items.push_back(readRemoteString(buf, textOffset, kItemChars));
    } else {
      items.emplace_back();
    }
  }
  return items;
}

int tabSelection(HWND tab) { return static_cast<int>(send(tab, TCM_GETCURSEL, 0, 0)); }

RECT tabItemRect(HWND tab, int index) {
  RECT rc{};
  RemoteBuffer buf(tab, sizeof(RECT));
  if (!buf.ok() || !send(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), buf.lparam()) || !buf.read(&rc, sizeof rc)) {
    return RECT{};
  }
  MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

std::vector<int> statusBarPartEdges(HWND statusBar) {
  // A status bar has at most 256 parts.
  constexpr int kMaxParts = 256;
  RemoteBuffer buf(statusBar, kMaxParts * sizeof(int));
  if (!buf.ok()) return {};
  bool ok = false;
  const LRESULT n = send(statusBar, SB_GETPARTS, kMaxParts, buf.lparam(), &ok);
  if (!ok || n <= 0 || n > kMaxParts) return {};
  std::vector<int> edges(static_cast<size_t>(n));
  if (!buf.read(edges.data(), edges.size() * sizeof(int))) return {};
  return edges;
}

std::vector<std::wstring> statusBarTexts(HWND statusBar) {
  std::vector<std::wstring> texts;
  const size_t parts = statusBarPartEdges(statusBar).size();
  RemoteBuffer buf(statusBar, kItemChars * sizeof(wchar_t));
  if (!buf.ok()) return texts;
  for (size_t i = 0; i < parts; ++i) {
    // LOWORD of SB_GETTEXTLENGTHW is the length in characters.
    const size_t len = LOWORD(send(statusBar, SB_GETTEXTLENGTHW, i, 0));
    if (len >= kItemChars) {
      texts.emplace_back();
      continue;
    }
    const wchar_t zero = 0;
    buf.write(&zero, sizeof zero);
    send(statusBar, SB_GETTEXTW, i, buf.lparam());
    texts.push_back(readRemoteString(buf, 0, len + 1));
  }
  return texts;
}

std::vector<ToolbarButton> toolbarButtons(HWND toolbar) {
  std::vector<ToolbarButton> buttons;
  bool ok = false;
  const LRESULT count = send(toolbar, TB_BUTTONCOUNT, 0, 0, &ok);
  if (!ok || count <= 0) return buttons;
  const size_t textOffset = sizeof(TBBUTTON);
  RemoteBuffer buf(toolbar, textOffset + kItemChars * sizeof(wchar_t));
  if (!buf.ok()) return buttons;
  for (LRESULT i = 0; i < count; ++i) {
    TBBUTTON raw{};
    if (!send(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), buf.lparam()) || !buf.read(&raw, sizeof raw)) {
      return {};
    }
    ToolbarButton button;
    button.commandId = raw.idCommand;
    button.image = raw.iBitmap;
    button.state = raw.fsState;
    button.style = raw.fsStyle;
    if (!(raw.fsStyle & BTNS_SEP)) {
      const LRESULT len = send(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(raw.idCommand), 0);
      if (len > 0 && static_cast<size_t>(len) < kItemChars) {
        send(toolbar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(raw.idCommand), buf.lparam(textOffset));
        button.text = readRemoteString(buf, textOffset, static_cast<size_t>(len) + 1);
      }
    }
    buttons.push_back(std::move(button));
  }
  return buttons;
}

int listViewColumnCount(HWND listView) {
  HWND header = reinterpret_cast<HWND>(send(listView, LVM_GETHEADER, 0, 0));
  return header ? static_cast<int>(send(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::vector<std::vector<std::wstring>> listViewItems(HWND listView) {
  std::vector<std::vector<std::wstring>> rows;
  bool ok = false;
  const LRESULT count = send(listView, LVM_GETITEMCOUNT, 0, 0, &ok);
  if (!ok || count <= 0) return rows;
  // A list view without a header (icon or list mode) still has one column of labels.
  const int columns = std::max(1, listViewColumnCount(listView));
  const size_t textOffset = sizeof(LVITEMW);
  RemoteBuffer buf(listView, textOffset + kItemChars * sizeof(wchar_t));
  if (!buf.ok()) return rows;
  for (LRESULT i = 0; i < count; ++i) {
    std::vector<std::wstring> row;
    for (int c = 0; c < columns; ++c) {
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = static_cast<LPWSTR>(buf.remote(textOffset));
      item.cchTextMax = static_cast<int>(kItemChars);
      const wchar_t zero = 0;
      if (!buf.write(&item, sizeof item) || !buf.write(&zero, sizeof zero, textOffset)) return {};
      // The reply is the text's length in characters.
      const LRESULT len = send(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), buf.lparam());
      row.push_back(len > 0 ? readRemoteString(buf, textOffset, std::min(static_cast<size_t>(len) + 1, kItemChars))
                            : std::wstring());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

int listViewSelection(HWND listView) {
  return static_cast<int>(send(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::wstring richEditText(HWND richEdit) {
  std::wstring text = windowText(richEdit);
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L'\n';
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace e2e
