// The family's ANSI strings (system code page) to and from the engine's UTF-8.
#pragma once

#include <string>

namespace arcdll {

std::string ansiToUtf8(const char* ansi);
// Characters the code page lacks become its default character.
std::string utf8ToAnsi(const std::string& utf8);
std::wstring utf8ToWide(const std::string& utf8);
std::string wideToUtf8(const std::wstring& wide);
// Characters the code page lacks become its default character.
std::string wideToAnsi(const std::wstring& wide);
// Copies into a fixed ANSI field, cut on a character boundary, NUL-terminated.
void copyAnsiField(const std::string& ansi, char* field, size_t fieldSize);

}  // namespace arcdll
