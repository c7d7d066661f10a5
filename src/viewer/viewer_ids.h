// Command ids of the viewer's toolbar buttons and of its document menu.
#pragma once

namespace quibex {

// Toolbar buttons, left to right.
inline constexpr int kToolbarLeft = 1100;
inline constexpr int kToolbarRight = 1101;
inline constexpr int kToolbarSearch = 1102;
inline constexpr int kToolbarText = 1103;
inline constexpr int kToolbarPrint = 1104;
inline constexpr int kToolbarOpen = 1105;
inline constexpr int kToolbarExit = 1106;
inline constexpr int kToolbarButtonCount = 7;
inline constexpr int kToolbarId = 1199;  // the toolbar control itself

// The document menu of the "Open" button: the first item, then one id per
// document in list order. The menu hands its choice back directly
// (TPM_RETURNCMD), so an archive with more than a hundred documents lists
// every one without its ids ever reaching the window as commands.
inline constexpr int kDocumentMenuFirst = 1200;

}  // namespace quibex
