// OLE on the UI thread for the viewer's drop target: the program starts it
// only once its first text is on screen.
#pragma once

namespace quibex {

// Starts OLE on the calling thread (the program's one UI thread) on the first
// call; later calls only report whether that worked.
bool StartOle();
// Whether StartOle has started OLE.
bool OleStarted();
// Ends what StartOle started; for the program's end.
void EndOle();

}  // namespace quibex
