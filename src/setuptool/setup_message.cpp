#include "setuptool/setup_message.h"

namespace quibexsetup {

int ShowSetupMessage(HWND owner, const std::wstring& text, const wchar_t* title, UINT style) {
    // Task-modal without an owner, so the box still blocks the tool's thread.
    if (!owner) style |= MB_TASKMODAL;
    return MessageBoxW(owner, text.c_str(), title, style);
}

}  // namespace quibexsetup
