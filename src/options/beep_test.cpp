// The beep test offered when "ビープ音はパソコン内蔵スピーカーで鳴らす" is
// turned on: the speaker beep, as often as the user asks. The box stays on
// either way; the message tells the user to clear it when nothing was heard.
#include <windows.h>

#include "core/message_box.h"
#include "options/main_options_form.h"
#include "options/options_texts.h"

namespace quibex {

void RunBeepTest() {
    if (ShowMessage(options_text::kAskBeepTest, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    do {
        PlayBeep(1);
    } while (ShowMessage(options_text::kAskBeepAgain, MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDRETRY);
}

}  // namespace quibex
