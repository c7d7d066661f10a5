// Shared pieces of the toolbar and link scenarios: a shell command pointed
// at the recorder for one scenario, the toolbar's buttons on screen, clicks
// with Shift held, where a character of a text box is drawn.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "viewer_support.h"

// The command of HKEY_CLASSES_ROOT\<key>\shell\open\command set to start
// `program` with "%1" for one scenario, and put back afterwards. The
// prefix's registry is shared by every test; they run one at a time.
class OpenCommandToRecorder {
public:
    OpenCommandToRecorder(const std::wstring& key, const std::wstring& program);
    ~OpenCommandToRecorder();
    OpenCommandToRecorder(const OpenCommandToRecorder&) = delete;
    OpenCommandToRecorder& operator=(const OpenCommandToRecorder&) = delete;

private:
    std::wstring command_;
    std::optional<std::wstring> saved_;
    bool createdKey_;
};

// Files with `extension` (".htm") open with `program` for one scenario.
class ExtensionToRecorder {
public:
    ExtensionToRecorder(const std::wstring& extension, const std::wstring& program);
    ~ExtensionToRecorder();
    ExtensionToRecorder(const ExtensionToRecorder&) = delete;
    ExtensionToRecorder& operator=(const ExtensionToRecorder&) = delete;

private:
    std::wstring extension_;
    std::optional<std::wstring> saved_;
};

// The toolbar of a viewer window.
HWND Toolbar(HWND viewer);
// Button `index` (from the left) of a toolbar, in screen coordinates.
RECT ButtonOnScreen(HWND toolbar, int index);
POINT Centre(const RECT& r);
// Moves the pointer onto `p` with real input until `condition` holds (a
// move Wine drops is made again); false when it never does.
bool HoverUntil(POINT p, const std::function<bool()>& condition);
// A left click at a point with Shift held, through real input.
bool ShiftClickAt(POINT p);
// Where character `pos` of a text box is drawn, a little inside it, in screen coordinates.
POINT CharacterOnScreen(HWND box, LONG pos);
// The recorder's command lines, each reduced to the target it was given.
std::vector<std::wstring> RecordedTargets(QuibexSession& q);
