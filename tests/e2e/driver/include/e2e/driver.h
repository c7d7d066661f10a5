// Everything an end-to-end scenario needs, in one include. A scenario runs
// under Wine in the same desktop as the program it drives:
//
//   e2e::ProgramFolder folder;                       // fresh folder, removed afterwards
//   folder.copyProgramFiles();                       // Quibex.exe, DLLs from build/win32/bin
//   folder.writeIni("[Option]\nKey=値\n");           // UTF-8 in, CP932 on disk
//   e2e::Process quibex;
//   quibex.start(folder.file(L"Quibex.exe"), e2e::quoteArgument(archivePath));
//   HWND main = e2e::waitForWindow(e2e::WindowQuery().withClass(L"...").inProcess(quibex.id()));
//   auto tabs = e2e::tabItems(e2e::childById(main, IDC_TAB));
//   e2e::saveScreenshot(L"scenario_name");
//   e2e::closeWindow(main);
//   quibex.waitForExit();
//
// Every wait polls and returns as soon as its condition holds; timeouts are generous
// because Wine without a window manager stalls about a second on hide/destroy.
#pragma once

#include "e2e/control_reader.h"
#include "e2e/describe.h"
#include "e2e/files.h"
#include "e2e/input.h"
#include "e2e/message_box.h"
#include "e2e/process.h"
#include "e2e/program_folder.h"
#include "e2e/registry.h"
#include "e2e/screenshot.h"
#include "e2e/text.h"
#include "e2e/window_finder.h"
