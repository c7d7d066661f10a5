#include "setuptool/menu_entry_plan.h"

namespace quibexsetup {

namespace {
constexpr std::wstring_view kVerbPath = L"\\shell\\Quibex";
}  // namespace

std::wstring TrimSpaces(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

std::wstring ToLowerAscii(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return lower;
}

std::wstring ViewerPathBeside(std::wstring_view modulePath) {
    const size_t slash = modulePath.rfind(L'\\');
    std::wstring folder(slash == std::wstring_view::npos ? std::wstring_view{} : modulePath.substr(0, slash + 1));
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder + L"Quibex.exe";
}

std::wstring ExtensionKey(std::wstring_view extension) { return L"." + ToLowerAscii(TrimSpaces(extension)); }

std::wstring VerbKey(std::wstring_view fileClass) { return std::wstring(fileClass) + std::wstring(kVerbPath); }

std::wstring CommandKey(std::wstring_view fileClass) { return VerbKey(fileClass) + L"\\command"; }

std::wstring VerbCommand(std::wstring_view viewerPath) { return L"\"" + std::wstring(viewerPath) + L"\" \"%1\""; }

DetectedEntry DetectEntry(const ExtensionSlot& slot, const DefaultTextReader& read) {
    DetectedEntry entry;
    entry.fileClass = read(ExtensionKey(slot.caption));
    if (entry.fileClass.empty()) {
        entry.fileClass = slot.builtInClass;
        return entry;
    }
    entry.itemName = read(VerbKey(entry.fileClass));
    entry.exists = !entry.itemName.empty();
    return entry;
}

std::optional<std::vector<KeyWrite>> PlanMenuItem(std::wstring_view extension, std::wstring_view itemName,
                                                  std::wstring_view fileClass, std::wstring_view viewerPath,
                                                  const DefaultTextReader& read) {
    const std::wstring ext = ToLowerAscii(TrimSpaces(extension));
    const std::wstring name = TrimSpaces(itemName);
    const std::wstring newClass = TrimSpaces(fileClass);
    const std::wstring viewer = TrimSpaces(viewerPath);
    if (ext.empty() || name.empty() || newClass.empty() || viewer.empty()) return std::nullopt;
    const bool executable = ext == L"exe";

    std::vector<KeyWrite> writes;
    std::wstring cls = read(ExtensionKey(ext));
    if (cls.empty()) {
        if (executable) return std::nullopt;
        cls = newClass;
        writes.push_back({ExtensionKey(ext), cls});
    }
    if (read(cls).empty()) {
        if (executable) return std::nullopt;
        writes.push_back({cls, newClass});
    }
    writes.push_back({VerbKey(cls), name});
    writes.push_back({CommandKey(cls), VerbCommand(viewer)});
    return writes;
}

}  // namespace quibexsetup
