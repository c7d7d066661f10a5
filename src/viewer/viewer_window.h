// The viewer window: one tab per extracted text, a status bar with the
// archive path, its kind and the number of texts. Start-up loads it hidden
// (its handle owns the archiver library calls), the archive reader shows it
// and fills it.
#pragma once

#include <windows.h>

#include "archive/opened_archive.h"

namespace quibex {

// Creates the viewer of `archive` hidden; returns its handle.
HWND LoadViewer(const OpenedArchive& archive);
// The viewer's handle, or nullptr when it is not loaded.
HWND ViewerWindow();
// Shows the loaded viewer modeless.
void ShowViewerWindow();
// Turns the texts the reader extracted into tabs (the documents go to the
// toolbar), fills the status bar and brings the window to the front.
void BuildViewer(const ArchiveContents& contents);
// Closes the viewer with its clean-up; ends the program.
void UnloadViewer();

}  // namespace quibex
