#include "e2e/text.h"

#include <windows.h>

namespace e2e {

std::wstring widen(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring fromUtf8(std::string_view utf8) { return widen(utf8, CP_UTF8); }
std::string toUtf8(std::wstring_view text) { return narrow(text, CP_UTF8); }
std::string utf8ToCp932(std::string_view utf8) { return narrow(fromUtf8(utf8), kCp932); }
std::string cp932ToUtf8(std::string_view cp932) { return toUtf8(widen(cp932, kCp932)); }

}  // namespace e2e
