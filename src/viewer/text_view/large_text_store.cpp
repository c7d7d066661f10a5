#include "viewer/text_view/large_text_store.h"

#include <algorithm>

#include "viewer/text_view/text_file.h"
#include "viewer/viewer_texts.h"
#include "viewer/text_view/text_layout.h"

namespace quibex {
namespace {

constexpr size_t kCommitChars = size_t{2} << 20;  // 4 MiB of memory per commit

}  // namespace

LargeTextStore::~LargeTextStore() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
}

// Every byte of a file makes at most one UTF-16 character in any of the
// encodings we decode (a four-byte UTF-8 sequence makes two), so the file's
// size bounds its text. A 32-bit process may lack that much room in one
// piece; then the largest block it has is taken and the text cut there.
bool LargeTextStore::Reserve(size_t chars) {
    for (size_t want = chars; want >= kCommitChars; want /= 2) {
        void* p = VirtualAlloc(nullptr, want * sizeof(wchar_t), MEM_RESERVE, PAGE_NOACCESS);
        if (p) {
            base_ = static_cast<wchar_t*>(p);
            reserved_ = want;
            return true;
        }
    }
    return false;
}

bool LargeTextStore::Open(const std::wstring& path, size_t maxChars) {
    file_.reset(OpenTextFile(path));
    if (!file_) return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file_.get(), &size);
    fileBytes_ = static_cast<uint64_t>(size.QuadPart);
    size_t room = static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart), maxChars));
    if (!Reserve(room + std::size(kCutNote) + kCommitChars)) return false;
    decoder_.emplace(DecoderFor(file_.get()));
    return true;
}

bool LargeTextStore::Commit(size_t chars) {
    if (chars <= committed_) return true;
    if (chars > reserved_) return false;
    size_t grow = std::min(reserved_, (chars + kCommitChars - 1) / kCommitChars * kCommitChars);
    if (!VirtualAlloc(base_ + committed_, (grow - committed_) * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE))
        return false;
    committed_ = grow;
    return true;
}

bool LargeTextStore::Append(const wchar_t* text, size_t n, bool last) {
    // Room for the cut note is kept back; a piece that does not fit ends the text.
    if (size_ + n + 1 + std::size(kCutNote) > reserved_ || !Commit(size_ + n + 1)) return false;
    size_t written = NormaliseLineBreaks(text, n, last, pendingCr_, base_ + size_);
    breaks_ += static_cast<size_t>(std::count(base_ + size_, base_ + size_ + written, L'\r'));
    size_ += written;
    return true;
}

void LargeTextStore::Finish(bool cut) {
    if (cut && Commit(size_ + std::size(kCutNote))) {
        pendingCr_ = false;
        Append(kCutNote, std::size(kCutNote) - 1, true);
    }
    complete_ = true;
    file_.reset();
}

int LargeTextStore::PercentRead() const {
    if (complete_ || fileBytes_ == 0) return 100;
    return static_cast<int>(std::min<uint64_t>(readBytes_ * 100 / fileBytes_, 99));
}

bool LargeTextStore::LoadStep(size_t bytes) {
    if (complete_ || !decoder_) return false;
    std::string chunk(std::min<size_t>(bytes, 1 << 20), '\0');
    for (size_t done = 0; done < bytes;) {
        DWORD got = 0;
        if (!ReadFile(file_.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) || got == 0) {
            piece_.clear();
            decoder_->Feed(nullptr, 0, true, piece_);
            Finish(!Append(piece_.data(), piece_.size(), true));
            return false;
        }
        done += got;
        readBytes_ += got;
        piece_.clear();
        decoder_->Feed(reinterpret_cast<const uint8_t*>(chunk.data()), got, false, piece_);
        if (!Append(piece_.data(), piece_.size(), false)) {
            Finish(true);
            return false;
        }
    }
    return true;
}

}  // namespace quibex
