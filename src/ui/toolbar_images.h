// The viewer's toolbar images as image lists: the built-in drawings at the
// screen's size, each replaced by the user's icon file where its icon-path
// setting names one that loads. The icon customisation window shows the
// same images.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "core/handle.h"
#include "core/settings.h"
#include "ui/toolbar_glyphs.h"

namespace quibex {

using UniqueImageList = Unique<handle_traits::NullIsEmpty<HIMAGELIST, ImageList_Destroy>>;

// The icon-path setting of an image: Back1IconPath (normal) and
// Back2IconPath (pointed at) for LEFT, and so on in glyph order.
inline size_t IconPathIndex(ToolbarGlyph glyph, bool pointedAt) {
    return static_cast<size_t>(glyph) * 2 + (pointedAt ? 1 : 0);
}

// A built-in image as a 32-bit top-down DIB section with straight alpha.
UniqueBitmap BuiltInImageBitmap(ToolbarGlyph glyph, bool pointedAt, int size);
// An icon or cursor file at size × size; empty when the path is empty, the
// file is missing or it is neither.
UniqueIcon LoadIconFile(std::wstring path, int size);

// The seven images of one state, in glyph order, `size` pixels square: an
// image whose icon path loads shows that icon, any other the built-in image
// (no message: a missing or broken file simply is not used).
UniqueImageList BuildToolbarImageList(bool pointedAt, int size, const std::array<std::wstring, kIconCount>& iconPaths);

}  // namespace quibex
