// frmKeyList: the reference card of the viewer's keys. The keys that the
// "ShortCutKey" setting switches off are greyed, and the two archive-opening
// keys are worded by "ExitAfterOpen".
#pragma once

#include <windows.h>

namespace quibex {

// Shows the list modally over `owner`, built afresh from the current settings.
void ShowKeyListWindow(HWND owner);

}  // namespace quibex
