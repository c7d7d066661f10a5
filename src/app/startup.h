// The program's entry routine and the single-instance rule.
#pragma once

#include <windows.h>

#include <string>

#include "archive/opened_archive.h"

namespace quibex {

enum class StartResult {
    Exit,            // nothing left to do: end the process
    RunMessageLoop,  // a window now runs the program
};

// Runs the start-up sequence for the given argument text.
StartResult Main(HINSTANCE instance, const std::wstring& commandLine);

// With the work folders prepared and the archive detected: loads the viewer
// hidden, reads the archive and shows what it holds.
StartResult ReadDetectedArchive(const OpenedArchive& archive);

// True when another instance runs; it has then been told and brought forward.
bool CheckPrevInstance();

}  // namespace quibex
