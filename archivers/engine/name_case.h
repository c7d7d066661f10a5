// Names compared the way the Windows file system tells them apart: case
// does not count, over all of Unicode. The file system upcases each UTF-16
// unit one to one (so "ß" and "SS" stay different names, and characters
// outside the Basic Multilingual Plane keep their case), then compares the
// units. On Windows the system does it (CompareStringOrdinal, ignoring
// case: name_case_win.cpp); elsewhere our table of the same mapping does,
// so native tests see the clashes a Windows folder would.
#pragma once

#include <string>
#include <string_view>

namespace arc {

// The one-to-one upper case of a BMP character; others are returned as they are.
char32_t fileSystemUpper(char32_t c);

// A name (UTF-8) held in the form the platform compares file names in:
// UTF-16, upper-cased here already where our table does the folding. Made
// once per name, so sets of names convert nothing while they compare.
class FileNameKey {
public:
    explicit FileNameKey(std::string_view utf8);
    // <0, 0 or >0 like strcmp; 0 means one file on Windows.
    int compare(const FileNameKey& other) const;
    bool operator<(const FileNameKey& other) const { return compare(other) < 0; }

private:
    std::u16string units_;
};

inline int compareFileNames(std::string_view a, std::string_view b) { return FileNameKey(a).compare(FileNameKey(b)); }

}  // namespace arc
