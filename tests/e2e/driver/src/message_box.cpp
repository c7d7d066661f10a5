#include "e2e/message_box.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "e2e/control_reader.h"
#include "e2e/input.h"
#include "e2e/screenshot.h"

namespace e2e {
namespace {

// Control ids of the message-box template (the same under Windows and Wine).
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0440;

bool isMessageBox(HWND hwnd) {
  return className(hwnd) == L"#32770" && childById(hwnd, kTextId) != nullptr;
}

// Sum over pixels of the per-channel difference between two same-sized images.
long long distance(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return LLONG_MAX;
  long long sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(int(a.rgb[i]) - int(b.rgb[i]));
  return sum;
}

// Draws a system icon the way a static icon control does, over a background of one colour.
Image renderIcon(LPCWSTR id, int width, int height, COLORREF background) {
  Image out;
  HICON icon = LoadIconW(nullptr, id);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (icon && mem && bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    HBRUSH brush = CreateSolidBrush(background);
    RECT rc{0, 0, width, height};
    FillRect(mem, &rc, brush);
    DeleteObject(brush);
    DrawIconEx(mem, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
    GdiFlush();
    out = imageFromDibPixels(bits, width, height);
    SelectObject(mem, old);
  }
  if (bmp) DeleteObject(bmp);
  if (mem) DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

// Compares what is on screen at the icon control with each standard icon drawn here;
// Unknown when none matches closely.
MessageIcon matchShownIcon(HWND iconControl) {
  RECT rc;
  GetClientRect(iconControl, &rc);
  MapWindowPoints(iconControl, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  const Image shown = captureRect(rc);
  if (shown.width <= 0 || shown.height <= 0) return MessageIcon::Unknown;
  const std::uint32_t corner = shown.pixel(0, 0);
  const COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
  struct Candidate {
    LPCWSTR id;
    MessageIcon kind;
  };
  const Candidate candidates[] = {{IDI_INFORMATION, MessageIcon::Information},
                                  {IDI_WARNING, MessageIcon::Warning},
                                  {IDI_ERROR, MessageIcon::Error},
                                  {IDI_QUESTION, MessageIcon::Question}};
  MessageIcon best = MessageIcon::Unknown;
  long long bestDistance = LLONG_MAX;
  for (const auto& c : candidates) {
    const long long d = distance(shown, renderIcon(c.id, shown.width, shown.height, background));
    if (d < bestDistance) {
      bestDistance = d;
      best = c.kind;
    }
  }
  // Accept only a near-exact picture: at most a small average difference per channel.
  const long long tolerance = static_cast<long long>(shown.rgb.size()) * 4;
  return bestDistance <= tolerance ? best : MessageIcon::Unknown;
}

// The icon's handle belongs to the target process and cannot be inspected from here,
// so the icon is recognised by its picture. The box may not be painted yet, or may
// lie under another program's window, so this polls briefly and raises the box.
MessageIcon detectIcon(HWND box) {
  HWND iconControl = childById(box, kIconId);
  if (!iconControl || !IsWindowVisible(iconControl)) return MessageIcon::None;
  MessageIcon kind = MessageIcon::Unknown;
  waitUntil(
      [&] {
        RECT rc;
        GetWindowRect(iconControl, &rc);
        const POINT centre{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        if (GetAncestor(WindowFromPoint(centre), GA_ROOT) != box) bringToFront(box);
        kind = matchShownIcon(iconControl);
        return kind != MessageIcon::Unknown;
      },
      milliseconds(3000));
  return kind;
}

}  // namespace

const char* iconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return "none";
    case MessageIcon::Information: return "information";
    case MessageIcon::Warning: return "warning";
    case MessageIcon::Error: return "error";
    case MessageIcon::Question: return "question";
    case MessageIcon::Unknown: break;
  }
  return "unknown";
}

HWND waitForMessageBox(DWORD processId, milliseconds timeout) {
  HWND found = nullptr;
  WindowQuery query;
  query.className = L"#32770";
  query.processId = processId;
  waitUntil(
      [&] {
        for (HWND h : findWindows(query)) {
          if (isMessageBox(h)) {
            found = h;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

MessageBoxInfo readMessageBox(HWND box) {
  MessageBoxInfo info;
  info.caption = windowText(box);
  if (HWND text = childById(box, kTextId)) info.text = windowText(text);
  for (HWND child : childWindows(box, false)) {
    if (className(child) == L"Button" && IsWindowVisible(child)) info.buttons.push_back(windowText(child));
  }
  info.icon = detectIcon(box);
  return info;
}

bool answerMessageBox(HWND box, const std::wstring& buttonText) { return pressButton(box, buttonText); }

}  // namespace e2e
