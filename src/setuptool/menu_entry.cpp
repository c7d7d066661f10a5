#include "setuptool/menu_entry.h"

#include "setuptool/class_registry.h"

namespace quibexsetup {

namespace {
DefaultTextReader ReaderOf(HKEY root) {
    return [root](const std::wstring& key) { return ReadDefaultText(root, key); };
}
}  // namespace

DetectedEntry DetectMenuEntry(HKEY root, const ExtensionSlot& slot) { return DetectEntry(slot, ReaderOf(root)); }

bool AddMenuItem(HKEY root, std::wstring_view extension, std::wstring_view itemName, std::wstring_view fileClass,
                 std::wstring_view viewerPath) {
    const auto writes = PlanMenuItem(extension, itemName, fileClass, viewerPath, ReaderOf(root));
    if (!writes) return false;
    for (const KeyWrite& w : *writes) {
        if (!WriteDefaultText(root, w.key, w.text)) return false;
    }
    return true;
}

bool RemoveMenuItem(HKEY root, std::wstring_view fileClass) {
    const std::wstring cls = TrimSpaces(fileClass);
    if (cls.empty()) return false;
    // Should this fail, the verb's deletion below fails too, and that is reported.
    DeleteKey(root, CommandKey(cls));
    return DeleteKey(root, VerbKey(cls));
}

}  // namespace quibexsetup
