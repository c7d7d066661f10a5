// frmQuibexsetup: the tool's only window. Finds the entries at start, and on
// OK adds, updates or removes them per ticked extension, reports, and closes.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "core/window_base.h"
#include "setuptool/menu_entry_plan.h"

namespace quibexsetup {

class SetupDialog final : public quibex::Dialog {
public:
    // `root` holds the file classes (HKEY_CLASSES_ROOT); `viewerPath` is the
    // Quibex.exe the entries start.
    SetupDialog(HKEY root, std::wstring viewerPath);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void ShowIcon();
    void AddTooltips();
    void DetectEntries();
    void Apply();
    bool Ticked(size_t index) const;
    void Warn(const wchar_t* text);

    HKEY root_;
    std::wstring viewerPath_;
    std::array<DetectedEntry, kExtensionSlots.size()> entries_;
};

}  // namespace quibexsetup
