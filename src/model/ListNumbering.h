// Number texts of list markers, and the substitution of level numbers into a level's
// format string. Format strings come from files, so they never reach a printf-style
// formatter: only "%s", indexed "%n:s" (with optional "-", width and precision) and "%%" mean
// anything; every other character is copied.
#pragma once

#include <array>
#include <string>

#include "model/ListInfo.h"

namespace pagora {

inline constexpr int kMaxListLevels = 256;
// Counters beyond this are written in decimal even for Roman types, which would otherwise
// need a thousand letters per thousand.
inline constexpr int kMaxRomanNumber = 100000;

// "1", "-3"; "a".."z", "aa" (empty for n <= 0); "i", "XIV" ("?" for n <= 0); empty for
// types without a number text.
[[nodiscard]] std::string NumberText(int n, TPGListType type);

using TPGMarkerArguments = std::array<std::string, kMaxListLevels>;

[[nodiscard]] std::string FormatMarkerString(const std::string& format, const TPGMarkerArguments& args);

}  // namespace pagora
