// Message boxes of the programs under test: finding, reading, answering.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/window_finder.h"

namespace e2e {

// Which standard icon a message box shows.
enum class MessageIcon { None, Information, Warning, Error, Question, Unknown };

// Name of an icon kind for failure messages.
const char* iconName(MessageIcon icon);

struct MessageBoxInfo {
  std::wstring caption;
  std::wstring text;                  // the message (Static control id 65535)
  std::vector<std::wstring> buttons;  // button texts as shown, '&' included, in tab order
  MessageIcon icon = MessageIcon::None;
};

// Waits for a dialog-class (#32770) top-level window of the process that has a message text control.
// Pass the process id: other programs may share the Wine desktop, and 0 matches theirs too.
HWND waitForMessageBox(DWORD processId = 0, milliseconds timeout = kDefaultTimeout);
// Reads caption, text, buttons and icon kind of a message box.
MessageBoxInfo readMessageBox(HWND box);
// Presses the button whose text matches (ignoring '&' and a trailing "(&X)" accelerator); false if none.
bool answerMessageBox(HWND box, const std::wstring& buttonText);

}  // namespace e2e
