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

// Handles whose failure value is nullptr, closed by `CloseFn`.
template <class T, auto CloseFn>
struct NullIsEmpty {
    using Type = T;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { CloseFn(h); }
};

// Kernel objects and find handles report failure as nullptr or
// INVALID_HANDLE_VALUE, by API.
template <auto CloseFn>
struct EitherIsEmpty {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseFn(h); }
};

}  // namespace handle_traits

using UniqueHandle = Unique<handle_traits::EitherIsEmpty<CloseHandle>>;
using UniqueFind = Unique<handle_traits::EitherIsEmpty<FindClose>>;
using UniqueKey = Unique<handle_traits::NullIsEmpty<HKEY, RegCloseKey>>;
using UniqueFont = Unique<handle_traits::NullIsEmpty<HFONT, DeleteObject>>;
using UniqueBitmap = Unique<handle_traits::NullIsEmpty<HBITMAP, DeleteObject>>;
using UniqueBrush = Unique<handle_traits::NullIsEmpty<HBRUSH, DeleteObject>>;
using UniqueModule = Unique<handle_traits::NullIsEmpty<HMODULE, FreeLibrary>>;
using UniqueHook = Unique<handle_traits::NullIsEmpty<HHOOK, UnhookWindowsHookEx>>;
using UniqueIcon = Unique<handle_traits::NullIsEmpty<HICON, DestroyIcon>>;
using UniqueMemoryDc = Unique<handle_traits::NullIsEmpty<HDC, DeleteDC>>;

}  // namespace quibex
