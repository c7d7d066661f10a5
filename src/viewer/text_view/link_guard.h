// The error exit of the three link handlers (marking, the pointer, opening):
// what went wrong, where, and the request to report it.
#pragma once

#include <new>

#include "core/message_box.h"
#include "viewer/viewer_texts.h"

namespace quibex {

inline void ShowLinkFailure(const wchar_t* handlerLine, bool outOfMemory) {
    ShowMessage(LinkFailureText(outOfMemory ? kErrorOutOfMemory : kErrorUnexpected, handlerLine), MB_OK | MB_ICONERROR);
}

// Runs a handler's body; true when it failed (and said so).
template <class F>
bool WithLinkErrorExit(const wchar_t* handlerLine, F&& body) {
    try {
        body();
        return false;
    } catch (const std::bad_alloc&) {
        ShowLinkFailure(handlerLine, true);
    } catch (...) {
        ShowLinkFailure(handlerLine, false);
    }
    return true;
}

}  // namespace quibex
