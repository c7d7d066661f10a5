// The context-menu entry as registry keys, without touching the registry:
// which keys an entry consists of, how an existing one is recognised, and
// which default texts adding one writes. The registry side (menu_entry.h)
// reads through a DefaultTextReader and performs the writes in order.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quibexsetup {

// One check box of the window: its caption (the extension, upper case) and
// the file class used when the extension has none yet.
struct ExtensionSlot {
    std::wstring_view caption;
    std::wstring_view builtInClass;
};
inline constexpr std::array<ExtensionSlot, 6> kExtensionSlots{{
    {L"LZH", L"LzhFile"},
    {L"ZIP", L"ZipFile"},
    {L"CAB", L"CabFile"},
    {L"7Z", L"7zFile"},
    {L"RAR", L"RarFile"},
    {L"EXE", L"exefile"},
}};

// Only ASCII spaces are trimmed.
std::wstring TrimSpaces(std::wstring_view text);
std::wstring ToLowerAscii(std::wstring_view text);

// "Quibex.exe" in the folder of `modulePath` (the tool's own path).
std::wstring ViewerPathBeside(std::wstring_view modulePath);

// Keys below the classes root.
std::wstring ExtensionKey(std::wstring_view extension);  // "." + lower case
std::wstring VerbKey(std::wstring_view fileClass);       // class\shell\Quibex
std::wstring CommandKey(std::wstring_view fileClass);    // class\shell\Quibex\command
// The verb's command: the viewer and the clicked file, each quoted, so paths
// with spaces reach the viewer as one argument.
std::wstring VerbCommand(std::wstring_view viewerPath);

// The default (unnamed) text of a key below the classes root; empty when the
// key or the text is missing.
using DefaultTextReader = std::function<std::wstring(const std::wstring& key)>;

// What the registry says about one extension at start.
struct DetectedEntry {
    std::wstring fileClass;  // the extension's class, else the built-in one
    bool exists = false;     // a verb with a non-empty text is there
    std::wstring itemName;   // that verb's text
};
DetectedEntry DetectEntry(const ExtensionSlot& slot, const DefaultTextReader& read);

// One default text to write, as key and text.
struct KeyWrite {
    std::wstring key;
    std::wstring text;
};
// The writes that add or update the entry, in order; nothing when the entry
// cannot be added (an empty argument, or an executable without a class: the
// tool never makes or describes a class for executables).
std::optional<std::vector<KeyWrite>> PlanMenuItem(std::wstring_view extension, std::wstring_view itemName,
                                                  std::wstring_view fileClass, std::wstring_view viewerPath,
                                                  const DefaultTextReader& read);

}  // namespace quibexsetup
