// System libraries the program needs only now and then (the open-file
// dialog, the shell, OLE) are loaded on their first use instead of by the
// import table, so a start-up does not pay for them before the first text is
// on screen. A library, once loaded, stays for the life of the process, and
// so does every function pointer taken from it.
#pragma once

#include <windows.h>

#include <atomic>

namespace quibex {

// One system DLL by file name, loaded from the system folder only (never from
// the program's folder, where archiver DLLs and whatever came with them lie).
class LazyLibrary {
public:
    explicit constexpr LazyLibrary(const wchar_t* fileName) : fileName_(fileName) {}
    LazyLibrary(const LazyLibrary&) = delete;
    LazyLibrary& operator=(const LazyLibrary&) = delete;

    // nullptr when the library cannot be loaded.
    HMODULE module();
    // The exported function `name`, or nullptr when it or the library is missing.
    FARPROC function(const char* name);

private:
    const wchar_t* fileName_;
    std::atomic<HMODULE> module_{nullptr};
};

// One function of a LazyLibrary, typed as its declaration in the SDK header:
//   LazyFunction<decltype(&ShellExecuteW)> shellExecute{shell32, "ShellExecuteW"};
// get() is nullptr when the function cannot be had; callers decide the failure.
template <class Fn>
class LazyFunction {
public:
    constexpr LazyFunction(LazyLibrary& library, const char* name) : library_(library), name_(name) {}
    LazyFunction(const LazyFunction&) = delete;
    LazyFunction& operator=(const LazyFunction&) = delete;

    Fn get() {
        Fn f = fn_.load(std::memory_order_acquire);
        if (!f) {
            f = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(library_.function(name_)));
            if (f) fn_.store(f, std::memory_order_release);
        }
        return f;
    }

private:
    LazyLibrary& library_;
    const char* name_;
    std::atomic<Fn> fn_{nullptr};
};

}  // namespace quibex
