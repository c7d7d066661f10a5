// The decoded text of a large file, kept as UTF-16 with one CR per line
// break in a block of address space reserved once for the whole file and
// committed as the text grows: no copy on growth, and about two bytes of
// memory per character whatever the file's encoding.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/handle.h"
#include "viewer/text_view/text_encoding.h"

namespace quibex {

class LargeTextStore {
public:
    // Characters a store holds at most (1 GiB of memory in a 32-bit process,
    // 2 GiB in a 64-bit one; positions stay within the rich-edit messages'
    // LONG); a longer text is cut and says so at its end.
    static constexpr size_t kMaxChars = sizeof(void*) >= 8 ? size_t{1} << 30 : size_t{1} << 29;

    LargeTextStore() = default;
    ~LargeTextStore();
    LargeTextStore(const LargeTextStore&) = delete;
    LargeTextStore& operator=(const LargeTextStore&) = delete;

    // Opens the file and reserves room for its text, at most `maxChars`
    // characters; false when it cannot be read.
    bool Open(const std::wstring& path, size_t maxChars = kMaxChars);
    // Decodes about `bytes` more of the file; true while more is to come.
    bool LoadStep(size_t bytes);
    bool Complete() const { return complete_; }
    const wchar_t* Data() const { return base_; }
    size_t Size() const { return size_; }
    // Line breaks so far (each CR of the text).
    size_t Breaks() const { return breaks_; }
    // How much of the file has been read, in percent (100 once complete).
    int PercentRead() const;

private:
    bool Commit(size_t chars);
    bool Append(const wchar_t* text, size_t n, bool last);
    bool Reserve(size_t chars);
    void Finish(bool cut);

    UniqueHandle file_;
    std::optional<TextDecoder> decoder_;
    wchar_t* base_ = nullptr;
    size_t reserved_ = 0, committed_ = 0, size_ = 0;  // in characters
    size_t breaks_ = 0;
    uint64_t fileBytes_ = 0, readBytes_ = 0;
    bool pendingCr_ = false;
    bool complete_ = false;
    std::wstring piece_;
};

}  // namespace quibex
