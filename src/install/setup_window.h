// frmSetup: the welcome window of the first start, shown modally.
#pragma once

namespace quibex {

void ShowSetupWindowModal();

}  // namespace quibex
