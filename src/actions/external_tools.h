// Handing the archive or a text to the programs the user configured: the
// archiver tool, the text editor and the print tool; and printing a text by
// its association.
#pragma once

#include <windows.h>

#include <string>

#include "actions/launch_text.h"  // the command-line builders

namespace quibex {

// Each returns the started process's identifier, 0 when nothing started
// (after a message saying why).
DWORD OpenArchiveWithTool(const std::wstring& archivePath);
DWORD OpenTextWithEditor(const std::wstring& textPath);
DWORD PrintTextWithTool(const std::wstring& textPath);

// The shell's result for the "print" verb; 0 when the user declined.
DWORD PrintTextByAssociation(const std::wstring& textPath);

// Runs `commandLine` as a new process in a normal, activated window without
// waiting. The process identifier, or 0 when it could not start.
DWORD StartCommandLine(const std::wstring& commandLine);

}  // namespace quibex
