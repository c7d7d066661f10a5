#include "ui/toolbar_images.h"

#include <cstring>

#include "core/paths.h"

namespace quibex {

UniqueBitmap BuiltInImageBitmap(ToolbarGlyph glyph, bool pointedAt, int size) {
    GlyphBitmap image = DrawToolbarGlyph(glyph, pointedAt, size);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    // 0xAARRGGBB is the DIB's B, G, R, A byte order on a little-endian machine.
    if (bitmap && bits) std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(uint32_t));
    return bitmap;
}

UniqueIcon LoadIconFile(std::wstring path, int size) {
    if (!FileExists(path)) return UniqueIcon();
    for (UINT type : {IMAGE_ICON, IMAGE_CURSOR}) {
        HANDLE loaded = LoadImageW(nullptr, path.c_str(), type, size, size, LR_LOADFROMFILE);
        if (loaded) return UniqueIcon(static_cast<HICON>(loaded));
    }
    return UniqueIcon();
}

UniqueImageList BuildToolbarImageList(bool pointedAt, int size, const std::array<std::wstring, kIconCount>& iconPaths) {
    UniqueImageList list(ImageList_Create(size, size, ILC_COLOR32, kToolbarGlyphCount, 0));
    if (!list) return list;
    for (int i = 0; i < kToolbarGlyphCount; ++i) {
        auto glyph = static_cast<ToolbarGlyph>(i);
        UniqueIcon icon = LoadIconFile(iconPaths[IconPathIndex(glyph, pointedAt)], size);
        if (icon && ImageList_ReplaceIcon(list.get(), -1, icon.get()) == i) continue;
        UniqueBitmap image = BuiltInImageBitmap(glyph, pointedAt, size);
        ImageList_Add(list.get(), image.get(), nullptr);
    }
    return list;
}

}  // namespace quibex
