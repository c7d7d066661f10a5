// Shared pieces of the reading scenarios.
#pragma once

#include <set>
#include <string>

#include "quibex_session.h"

// A generated archive of the reading scenarios, as a Windows path.
std::wstring ReadingArchive(const std::wstring& name);
// kDefaultIni with some keys replaced: "Section.Key=value" lines.
std::string IniWith(std::initializer_list<const char*> changes);
// Plain files in a folder (hidden ones too).
std::set<std::wstring> FilesIn(const std::wstring& folder);
// The viewer window of a process ("<archive> - Quibex"), waited for.
HWND WaitViewer(QuibexSession& q);
// Lines the recorder wrote beside it.
std::vector<std::wstring> RecorderLines(QuibexSession& q);
