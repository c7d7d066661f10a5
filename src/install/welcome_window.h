// frmSetup: the welcome window of the first start, shown modally. It offers
// the shortcuts on the desktop and in the Send To menu and returns when the
// user closes it.
#pragma once

namespace quibex {

void ShowSetupWindowModal();

}  // namespace quibex
