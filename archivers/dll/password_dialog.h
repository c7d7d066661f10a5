// The ZIP library's password question: a small modal dialog on the caller's
// thread, owned by the window the caller passed to the command routine. A
// caller that passed no window gets no question: its encrypted members fail
// as PASSWORD_FILE.
#pragma once

#include <windows.h>

#include <string>

#include "password_source.h"

namespace arcdll {

// Whether a command may show the question at all: its owner is a live window.
bool canAskFor(HWND owner);

class PasswordDialog final : public arc::PasswordSource {
public:
    explicit PasswordDialog(HWND owner) : owner_(owner) {}
    // Given with the typed password in the system code page (the bytes ZIP
    // writers used), Cancel when the user declined, None when the dialog
    // cannot be shown (a library without its template).
    arc::PasswordReply ask(const std::string& memberUtf8, int attempt, std::string* password) override;

private:
    HWND owner_;
};

}  // namespace arcdll
