// Lets pending window messages run without entering a message loop.
#pragma once

namespace quibex {

// Dispatches what is queued. A quit request met on the way is put back for
// the main loop and ends the pump: returns false then.
bool PumpPendingMessages();

}  // namespace quibex
