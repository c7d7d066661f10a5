#include "viewer/text_view/text_file.h"

#include <algorithm>

namespace quibex {
namespace {

constexpr size_t kSampleBytes = 64 * 1024;  // enough to tell the encoding

void SjisToWide(const char* sjis, size_t size, std::wstring& out) {
    while (size > 0) {
        // MultiByteToWideChar takes an int count; keep pieces well below it.
        int n = static_cast<int>(std::min<size_t>(size, 1 << 24));
        int len = MultiByteToWideChar(932, 0, sjis, n, nullptr, 0);
        size_t at = out.size();
        out.resize(at + static_cast<size_t>(len));
        MultiByteToWideChar(932, 0, sjis, n, out.data() + at, len);
        sjis += n;
        size -= static_cast<size_t>(n);
    }
}

}  // namespace

HANDLE OpenTextFile(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

TextDecoder DecoderFor(HANDLE file) {
    std::string sample(kSampleBytes, '\0');
    DWORD got = 0;
    if (!ReadFile(file, sample.data(), static_cast<DWORD>(sample.size()), &got, nullptr)) got = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    return TextDecoder(DetectTextEncoding(reinterpret_cast<const uint8_t*>(sample.data()), got), SjisToWide);
}

uint64_t TextFileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace quibex
