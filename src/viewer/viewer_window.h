// The viewer window: one tab per extracted text, a status bar with the
// archive path, its kind and the number of texts. Start-up loads it hidden
// (its handle owns the archiver library calls), the archive reader shows it
// and fills it.
#pragma once

#include <windows.h>

namespace quibex {

// Creates the viewer hidden; returns its handle.
HWND LoadViewer();
// The viewer's handle, or nullptr when it is not loaded.
HWND ViewerWindow();
// Shows the loaded viewer modeless.
void ShowViewerWindow();
// Turns the texts of the work folder into tabs, fills the status bar and
// brings the window to the front.
void BuildViewer();
// Closes the viewer with its clean-up; ends the program.
void UnloadViewer();

}  // namespace quibex
