#include "toolbar_support.h"

#include <commctrl.h>
#include <richedit.h>

#include <e2e/remote_memory.h>

namespace {
std::wstring CommandKey(const std::wstring& key) { return key + L"\\shell\\open\\command"; }
}  // namespace

OpenCommandToRecorder::OpenCommandToRecorder(const std::wstring& key, const std::wstring& program)
    : command_(CommandKey(key)), createdKey_(!e2e::regKeyExists(HKEY_CLASSES_ROOT, key)) {
    saved_ = e2e::regString(HKEY_CLASSES_ROOT, command_, L"");
    e2e::regSetString(HKEY_CLASSES_ROOT, command_, L"", L"\"" + program + L"\" \"%1\"");
}

OpenCommandToRecorder::~OpenCommandToRecorder() {
    if (saved_)
        e2e::regSetString(HKEY_CLASSES_ROOT, command_, L"", *saved_);
    else
        e2e::regDeleteTree(HKEY_CLASSES_ROOT, command_);
}

ExtensionToRecorder::ExtensionToRecorder(const std::wstring& extension, const std::wstring& program)
    : extension_(extension) {
    saved_ = e2e::regString(HKEY_CLASSES_ROOT, extension, L"");
    e2e::regSetString(HKEY_CLASSES_ROOT, extension, L"", L"QuibexE2eDocument");
    e2e::regSetString(HKEY_CLASSES_ROOT, CommandKey(L"QuibexE2eDocument"), L"", L"\"" + program + L"\" \"%1\"");
}

ExtensionToRecorder::~ExtensionToRecorder() {
    e2e::regDeleteTree(HKEY_CLASSES_ROOT, L"QuibexE2eDocument");
    if (saved_)
        e2e::regSetString(HKEY_CLASSES_ROOT, extension_, L"", *saved_);
    else
        e2e::regDeleteTree(HKEY_CLASSES_ROOT, extension_);
}

HWND Toolbar(HWND viewer) { return e2e::findChild(viewer, e2e::WindowQuery().withClass(TOOLBARCLASSNAMEW)); }

RECT ButtonOnScreen(HWND toolbar, int index) {
    RECT r{};
    e2e::RemoteBuffer buf(toolbar, sizeof r);
    if (!buf.ok() || !SendWithTimeout(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), buf.lparam()) ||
        !buf.read(&r, sizeof r))
        return RECT{};
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool HoverUntil(POINT p, const std::function<bool()>& condition) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        // From a little aside, so that the last step is a real move.
        e2e::moveMouseTo(POINT{p.x - 3, p.y});
        if (e2e::moveMouseTo(p) && e2e::waitUntil(condition, std::chrono::milliseconds(1500))) return true;
    }
    return false;
}

bool ShiftClickAt(POINT p) {
    INPUT shift[2] = {};
    for (INPUT& in : shift) {
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = VK_SHIFT;
    }
    shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(1, &shift[0], sizeof(INPUT)) != 1) return false;
    bool clicked = e2e::clickAt(p);
    SendInput(1, &shift[1], sizeof(INPUT));
    return clicked;
}

POINT CharacterOnScreen(HWND box, LONG pos) {
    POINTL at{};
    e2e::RemoteBuffer buf(box, sizeof at);
    if (!buf.ok()) return POINT{};
    SendWithTimeout(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(buf.remote()), pos);
    buf.read(&at, sizeof at);
    POINT p{at.x + 3, at.y + 5};
    ClientToScreen(box, &p);
    return p;
}

std::vector<std::wstring> RecordedTargets(QuibexSession& q) {
    std::vector<std::wstring> targets;
    for (const std::wstring& line : q.recorderLines()) {
        size_t open = line.rfind(L" \"");
        targets.push_back(
            open == std::wstring::npos || line.back() != L'"' ? line : line.substr(open + 2, line.size() - open - 3));
    }
    return targets;
}
