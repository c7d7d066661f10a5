// Names compared the way the Windows file system tells them apart: case
// does not count, over all of Unicode. The file system upcases each UTF-16
// unit one to one (so "ß" and "SS" stay different names, and characters
// outside the Basic Multilingual Plane keep their case), then compares the
// units. On Windows the system does it (CompareStringOrdinal, ignoring
// case: name_case_win.cpp); elsewhere our table of the same mapping does,
// so native tests see the clashes a Windows folder would.
#pragma once

#include <string_view>

namespace arc {

// The one-to-one upper case of a BMP character; others are returned as they are.
char32_t fileSystemUpper(char32_t c);

// <0, 0 or >0 like strcmp; 0 means one file on Windows. UTF-8 input.
int compareFileNames(std::string_view a, std::string_view b);

struct FileNameLess {
    bool operator()(std::string_view a, std::string_view b) const { return compareFileNames(a, b) < 0; }
};

}  // namespace arc
