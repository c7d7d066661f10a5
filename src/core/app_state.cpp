#include "core/app_state.h"

namespace quibex {

AppState& App() {
    static AppState state;
    return state;
}

Settings& AppSettings() {
    static Settings settings;
    return settings;
}

}  // namespace quibex
