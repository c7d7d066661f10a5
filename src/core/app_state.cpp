#include "core/app_state.h"

#include "core/window_base.h"

namespace quibex {

namespace {
// Every window of the program becomes the owner of message boxes when the
// user activates it.
const bool g_tracksMessageOwner = (SetActivationObserver([](HWND hwnd) { App().MessageOwner = hwnd; }), true);
}  // namespace

AppState& App() {
    static AppState state;
    return state;
}

Settings& AppSettings() {
    static Settings settings;
    return settings;
}

}  // namespace quibex
