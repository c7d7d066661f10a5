// The system's upper-case mapping of every UTF-16 unit, for finding text
// without match case the way the rich-edit boxes do.
#pragma once

#include "search/text_find.h"

namespace quibex {

// Built once, on first use.
const UpperTable& SystemUpperTable();

}  // namespace quibex
