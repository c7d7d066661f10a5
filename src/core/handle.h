// One move-only owner for every kind of Windows handle: kernel objects, find
// handles, registry keys, GDI objects, modules, hooks, icons. Copying does
// not compile, so nothing is closed twice.
#pragma once

#include <windows.h>

#include <utility>

namespace quibex {

template <class Traits>
class Unique {
public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type h) : h_(Traits::Valid(h) ? h : Traits::Empty()) {}
    Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Traits::Empty())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Traits::Empty()));
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    Type get() const { return h_; }
    explicit operator bool() const { return Traits::Valid(h_); }
    // Closes the owned handle and takes `h` instead.
    void reset(Type h = Traits::Empty()) {
        if (Traits::Valid(h_)) Traits::Close(h_);
        h_ = Traits::Valid(h) ? h : Traits::Empty();
    }
    // Gives the handle up without closing it.
    Type release() { return std::exchange(h_, Traits::Empty()); }
    // For APIs that return a handle through a pointer; closes the old one first.
    Type* put() {
        reset();
        return &h_;
    }

private:
    Type h_ = Traits::Empty();
};

namespace handle_traits {

// Kernel objects report failure as nullptr or INVALID_HANDLE_VALUE, by API.
struct Kernel {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct Find {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
struct Key {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};
template <class T>
struct Gdi {
    using Type = T;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
struct Module {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};
struct Hook {
    using Type = HHOOK;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { UnhookWindowsHookEx(h); }
};
struct Icon {
    using Type = HICON;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
};
struct MemoryDc {
    using Type = HDC;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};

}  // namespace handle_traits

using UniqueHandle = Unique<handle_traits::Kernel>;
using UniqueFind = Unique<handle_traits::Find>;
using UniqueKey = Unique<handle_traits::Key>;
using UniqueFont = Unique<handle_traits::Gdi<HFONT>>;
using UniqueBitmap = Unique<handle_traits::Gdi<HBITMAP>>;
using UniqueBrush = Unique<handle_traits::Gdi<HBRUSH>>;
using UniqueModule = Unique<handle_traits::Module>;
using UniqueHook = Unique<handle_traits::Hook>;
using UniqueIcon = Unique<handle_traits::Icon>;
using UniqueMemoryDc = Unique<handle_traits::MemoryDc>;

}  // namespace quibex
