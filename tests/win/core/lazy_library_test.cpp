// Libraries loaded on first use: from the system folder only, nothing before
// the first call, typed functions that are the library's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <lzexpand.h>

#include "core/lazy_library.h"

namespace {

using quibex::LazyFunction;
using quibex::LazyLibrary;

TEST(WinLazyLibrary, LoadsNothingUntilAFunctionIsAskedFor) {
    // lz32 is a system library nothing in this test program uses.
    ASSERT_EQ(GetModuleHandleW(L"lz32.dll"), nullptr);
    static LazyLibrary lz32{L"lz32.dll"};
    static LazyFunction<decltype(&::LZClose)> close{lz32, "LZClose"};
    EXPECT_EQ(GetModuleHandleW(L"lz32.dll"), nullptr);
    auto f = close.get();
    ASSERT_NE(f, nullptr);
    HMODULE loaded = GetModuleHandleW(L"lz32.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(lz32.module(), loaded);
    EXPECT_EQ(f, reinterpret_cast<decltype(f)>(reinterpret_cast<void (*)()>(GetProcAddress(loaded, "LZClose"))));
    EXPECT_EQ(close.get(), f);
}

TEST(WinLazyLibrary, CallsThroughTheTypedPointer) {
    static LazyLibrary kernel32{L"kernel32.dll"};
    static LazyFunction<decltype(&::GetCurrentProcessId)> processId{kernel32, "GetCurrentProcessId"};
    static LazyFunction<decltype(&::lstrlenW)> length{kernel32, "lstrlenW"};
    ASSERT_NE(processId.get(), nullptr);
    EXPECT_EQ(processId.get()(), GetCurrentProcessId());
    ASSERT_NE(length.get(), nullptr);
    EXPECT_EQ(length.get()(L"abcde"), 5);
}

TEST(WinLazyLibrary, MissingFunctionOrLibraryGivesNull) {
    static LazyLibrary kernel32{L"kernel32.dll"};
    static LazyFunction<decltype(&::GetTickCount)> missing{kernel32, "NoSuchFunctionInKernel32"};
    EXPECT_EQ(missing.get(), nullptr);
    EXPECT_NE(kernel32.module(), nullptr);

    static LazyLibrary absent{L"nosuch_quibex_lib.dll"};
    static LazyFunction<decltype(&::GetTickCount)> fromAbsent{absent, "GetTickCount"};
    EXPECT_EQ(absent.module(), nullptr);
    EXPECT_EQ(fromAbsent.get(), nullptr);
    EXPECT_EQ(fromAbsent.get(), nullptr);
}

// A library of that name beside the program (where archiver DLLs lie) is not
// taken for the system's.
TEST(WinLazyLibrary, IgnoresALibraryBesideTheProgram) {
    HMODULE beside = LoadLibraryW(L"QXVER32.DLL");
    ASSERT_NE(beside, nullptr) << "the test library should lie beside the test program";
    FreeLibrary(beside);
    static LazyLibrary planted{L"QXVER32.DLL"};
    EXPECT_EQ(planted.module(), nullptr);
}

}  // namespace
