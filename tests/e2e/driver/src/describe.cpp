#include "e2e/describe.h"

#include <cstdio>

#include "e2e/control_reader.h"
#include "e2e/text.h"
#include "e2e/window_finder.h"

namespace e2e {
namespace {

// Texts longer than this are cut in descriptions; they only need to be recognisable.
constexpr size_t kShownChars = 60;

void appendTree(std::string& out, HWND hwnd, int depth) {
  out.append(static_cast<size_t>(depth) * 2, ' ');
  out += describeWindow(hwnd);
  out += '\n';
  for (HWND child : childWindows(hwnd, false)) appendTree(out, child, depth + 1);
}

}  // namespace

std::string describeWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return "(no window)";
  std::wstring text = windowText(hwnd);
  if (text.size() > kShownChars) text = text.substr(0, kShownChars) + L"...";
  char head[64];
  std::snprintf(head, sizeof head, "%p id=%d%s ", static_cast<void*>(hwnd), GetDlgCtrlID(hwnd),
                IsWindowVisible(hwnd) ? "" : " hidden");
  return head + toUtf8(className(hwnd)) + " \"" + toUtf8(text) + "\"";
}

std::string describeWindowTree(HWND root) {
  std::string out;
  appendTree(out, root, 0);
  return out;
}

std::string describeTopLevel(DWORD processId) {
  std::string out;
  for (HWND h : topLevelWindows(processId, false)) appendTree(out, h, 0);
  return out.empty() ? "(no windows)\n" : out;
}

}  // namespace e2e
