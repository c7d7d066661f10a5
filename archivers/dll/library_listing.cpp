// OpenArchive / FindFirst / FindNext / CloseArchive: a member list walked
// through handles, one cursor per open archive.
#include <algorithm>
#include <cstring>

#include "ansi.h"
#include "library_core.h"

namespace arcdll {

HARC Library::openArchive(HWND, LPCSTR path, DWORD mode) noexcept {
    try {
        auto st = std::make_unique<OpenState>();
        st->source = openAnsiFile(path);
        if (!st->source) return nullptr;
        arc::Status error = arc::Status::Ok;
        st->archive = arc::openArchive(*st->source, traits_.format, &error, arc::partsBeside(ansiToUtf8(path)),
                                       ansiToUtf8(path));
        if (!st->archive) return nullptr;
        st->mode = mode;
        std::lock_guard<std::mutex> lock(handlesMutex_);
        uintptr_t h = nextHandle_;
        nextHandle_ += 4;
        handles_[h] = std::move(st);
        return reinterpret_cast<HARC>(h);
    } catch (...) {
        return nullptr;
    }
}

int Library::closeArchive(HARC harc) noexcept {
    try {
        std::lock_guard<std::mutex> lock(handlesMutex_);
        return handles_.erase(reinterpret_cast<uintptr_t>(harc)) ? 0 : kErrHarcIsNotOpened;
    } catch (...) {
        return kErrHarcIsNotOpened;
    }
}

arc::MatchRule Library::listRule(DWORD mode) const {
    if (mode & kModeCheckAllPath) return arc::MatchRule::LzhWholePath;
    if (mode & kModeCheckFilenameOnly) return arc::MatchRule::LzhFileName;
    return arc::defaultMatchRule(traits_.format);
}

int Library::findFirst(HARC harc, LPCSTR patterns, IndividualInfo* info) noexcept {
    try {
        std::lock_guard<std::mutex> lock(handlesMutex_);
        auto it = handles_.find(reinterpret_cast<uintptr_t>(harc));
        if (it == handles_.end()) return kErrHarcIsNotOpened;
        OpenState& st = *it->second;
        std::vector<std::string> list = arc::splitPatterns(ansiToUtf8(patterns));
        st.selected = arc::selectMembers(st.archive->members(), list, listRule(st.mode));
        st.cursor = 0;
        st.searching = true;
        return nextMatch(st, info);
    } catch (...) {
        return kErrMoreHeapMemory;
    }
}

int Library::findNext(HARC harc, IndividualInfo* info) noexcept {
    try {
        std::lock_guard<std::mutex> lock(handlesMutex_);
        auto it = handles_.find(reinterpret_cast<uintptr_t>(harc));
        if (it == handles_.end()) return kErrHarcIsNotOpened;
        if (!it->second->searching) return kErrNotSearchMode;
        return nextMatch(*it->second, info);
    } catch (...) {
        return kErrMoreHeapMemory;
    }
}

int Library::nextMatch(OpenState& st, IndividualInfo* info) {
    const auto& members = st.archive->members();
    while (st.cursor < members.size() && !st.selected[st.cursor]) ++st.cursor;
    if (st.cursor >= members.size()) return -1;
    if (info) fillInfo(members[st.cursor], info);
    ++st.cursor;
    return 0;
}

void Library::fillInfo(const arc::Member& m, IndividualInfo* info) const {
    std::memset(info, 0, sizeof *info);
    auto clamp32 = [](uint64_t v) { return static_cast<DWORD>(std::min<uint64_t>(v, 0xFFFFFFFFu)); };
    info->dwOriginalSize = clamp32(m.size);
    info->dwCompressedSize = clamp32(m.packedSize);
    info->dwCRC = m.crc;
    info->uOSType = m.osType;
    info->wRatio = m.size ? static_cast<WORD>(std::min<uint64_t>(m.packedSize * 1000 / m.size, 0xFFFF)) : 0;
    info->wDate = m.dosDate;
    info->wTime = m.dosTime;

    std::string name = m.name;
    while (!name.empty() && name.back() == '/') name.pop_back();  // folder entries
    std::replace(name.begin(), name.end(), '/', traits_.separator);
    copyAnsiField(utf8ToAnsi(name), info->szFileName, sizeof info->szFileName);

    std::string attr;
    if (m.isFolder) {
        attr = "D";
    } else {
        // Read-only, hidden, system, archive as letters; never 'D' for a file.
        if (m.attributes & 0x01) attr += 'R';
        if (m.attributes & 0x02) attr += 'H';
        if (m.attributes & 0x04) attr += 'S';
        if (m.attributes & 0x20) attr += 'A';
    }
    copyAnsiField(attr, info->szAttribute, sizeof info->szAttribute);
    copyAnsiField(m.method, info->szMode, sizeof info->szMode);
}

}  // namespace arcdll
