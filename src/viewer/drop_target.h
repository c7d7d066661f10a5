// The viewer as an OLE drop target: files dragged over it show the effect
// the drop rules give (move when this instance will end, copy when it stays),
// and a drop opens the first file in a new instance.
#pragma once

#include <windows.h>
#include <ole2.h>

namespace quibex {

// The drop rules' Shift/Ctrl/Alt bits of an OLE key state (MK_*).
int DropModifiersOf(DWORD keyState);

// A new drop target for the viewer, with one reference the caller owns.
IDropTarget* NewViewerDropTarget();
// Registers a new target on the viewer window, starting OLE on the calling
// thread first when it has not been (StartOle); false when either fails.
bool RegisterViewerDropTarget(HWND viewer);
void RevokeViewerDropTarget(HWND viewer);

}  // namespace quibex
