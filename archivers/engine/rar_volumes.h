// The file names of a multi-volume RAR archive. Two schemes exist:
//   name.part1.rar, name.part2.rar, ...   (the number's width is fixed per set)
//   name.rar, name.r00, name.r01, ... name.r99, name.s00, ...
// and a volume says in its main header that it is one.
#pragma once

#include <optional>
#include <string>

#include "byte_source.h"

namespace arc {

struct RarVolumeName {
    std::string stem;        // "name" (the part before the volume suffix)
    bool partScheme = false; // name.partN.rar
    size_t digits = 0;       // width of N in the part scheme
    size_t index = 0;        // 0 for the first volume
    bool upperCase = false;  // ".RAR"/".R00": later names keep the case
};

// How `fileName` (no folders) fits a scheme; nullopt when it fits neither.
std::optional<RarVolumeName> parseRarVolumeName(const std::string& fileName);
// The name of volume `index` of the set `v` belongs to ("" past the scheme's end).
std::string rarVolumeFileName(const RarVolumeName& v, size_t index);

// True when the RAR (4 or 5) archive at the start of `src` is a volume of a set.
bool rarIsVolume(ByteSource& src);

}  // namespace arc
