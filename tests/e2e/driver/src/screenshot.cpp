#include "e2e/screenshot.h"

#include "e2e/files.h"
#include "e2e/png.h"

namespace e2e {

std::uint32_t Image::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const size_t i = (size_t(y) * width + x) * 3;
  return (std::uint32_t(rgb[i]) << 16) | (std::uint32_t(rgb[i + 1]) << 8) | rgb[i + 2];
}

Image imageFromDibPixels(const void* bits, int width, int height) {
  Image out;
  out.width = width;
  out.height = height;
  out.rgb.resize(size_t(width) * height * 3);
  const auto* src = static_cast<const unsigned char*>(bits);
  for (size_t p = 0; p < size_t(width) * height; ++p) {
    out.rgb[p * 3] = src[p * 4 + 2];
    out.rgb[p * 3 + 1] = src[p * 4 + 1];
    out.rgb[p * 3 + 2] = src[p * 4];
  }
  return out;
}

Image captureRect(const RECT& r) {
  Image out;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return out;
  HDC screen = GetDC(nullptr);
  if (!screen) return out;
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = mem ? CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (bmp) {
    HGDIOBJ old = SelectObject(mem, bmp);
    if (BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT)) {
      GdiFlush();
      out = imageFromDibPixels(bits, width, height);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
  }
  if (mem) DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return out;
}

Image captureScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT r{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return captureRect(r);
}

Image captureWindow(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return {};
  return captureRect(r);
}

std::wstring screenshotFolder() { return hostToWinePath(E2E_HOST_SCREENSHOTS); }

std::wstring saveScreenshot(const std::wstring& name, HWND window) {
  const std::wstring folder = screenshotFolder();
  if (!createFolders(folder)) return {};
  const Image image = window ? captureWindow(window) : captureScreen();
  const std::wstring path = joinPath(folder, name + L".png");
  return writePng(path, image) ? path : std::wstring();
}

}  // namespace e2e
