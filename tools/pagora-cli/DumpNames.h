// The names under which enumeration values and set members appear in a dump: the names
// the code gives them. A value without a name (a newer one, or garbage from a file) is
// written as its number, so nothing is hidden.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "JsonWriter.h"
#include "model/ItemTypes.h"
#include "model/ListInfo.h"
#include "model/StyleTypes.h"
#include "platform/EnumSet.h"

namespace pagora::cli {

template <std::size_t N>
using NameTable = std::array<std::string_view, N>;

inline constexpr NameTable<3> kBiDiModeNames{"pgbdUnspecified", "pgbdLeftToRight", "pgbdRightToLeft"};
inline constexpr NameTable<4> kFontStyleNames{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
inline constexpr NameTable<2> kFontStyleExNames{"pgfsOverline", "pgfsAllCaps"};
inline constexpr NameTable<10> kProtectionNames{
    "pgprStyleProtect",     "pgprModifyProtect",  "pgprDeleteProtect",    "pgprConcateProtect", "pgprPGFInsertProtect",
    "pgprDoNotAutoSwitch",  "pgprParaStartProtect", "pgprSticking",       "pgprStickToTop",     "pgprStickToBottom"};
inline constexpr NameTable<2> kTextOptionNames{"pgteoHTMLCode", "pgteoRTFCode"};
inline constexpr NameTable<2> kLineSpacingTypeNames{"pglsPercent", "pglsSpaceBetween"};
inline constexpr NameTable<4> kAlignmentNames{"pgaLeft", "pgaRight", "pgaCenter", "pgaJustify"};
inline constexpr NameTable<6> kParaOptionNames{"pgpaoNoWrap",           "pgpaoReadOnly",
                                               "pgpaoStyleProtect",     "pgpaoDoNotWantReturns",
                                               "pgpaoKeepLinesTogether", "pgpaoKeepWithNext"};
inline constexpr NameTable<6> kBorderStyleNames{"pgbNone",   "pgbSingle",       "pgbDouble",
                                                "pgbTriple", "pgbThickInside", "pgbThickOutside"};
inline constexpr NameTable<10> kListTypeNames{"pglstBullet",     "pglstPicture",          "pglstImageList",
                                              "pglstDecimal",    "pglstLowerAlpha",       "pglstUpperAlpha",
                                              "pglstLowerRoman", "pglstUpperRoman",       "pglstImageListCounter",
                                              "pglstUnicodeBullet"};
inline constexpr NameTable<3> kMarkerAlignmentNames{"pgmaLeft", "pgmaRight", "pgmaCenter"};
inline constexpr NameTable<3> kListLevelOptionNames{"pgloContinuous", "pgloLevelReset", "pgloLegalStyleNumbering"};
inline constexpr NameTable<4> kItemFlagNames{"pgifContinuesPara", "pgifPageBreakBefore", "pgifLineBreakBefore",
                                             "pgifUnicode"};
inline constexpr NameTable<2> kVAlignNames{"pgvaBaseline", "pgvaMiddle"};

// A table that has fallen behind its enumeration would silently number the new value.
static_assert(kBiDiModeNames.size() == pgbdRightToLeft + 1);
static_assert(kFontStyleNames.size() == fsStrikeOut + 1);
static_assert(kFontStyleExNames.size() == pgfsAllCaps + 1);
static_assert(kProtectionNames.size() == pgprStickToBottom + 1);
static_assert(kTextOptionNames.size() == pgteoRTFCode + 1);
static_assert(kLineSpacingTypeNames.size() == pglsSpaceBetween + 1);
static_assert(kAlignmentNames.size() == pgaJustify + 1);
static_assert(kParaOptionNames.size() == pgpaoKeepWithNext + 1);
static_assert(kBorderStyleNames.size() == pgbThickOutside + 1);
static_assert(kListTypeNames.size() == pglstUnicodeBullet + 1);
static_assert(kMarkerAlignmentNames.size() == pgmaCenter + 1);
static_assert(kListLevelOptionNames.size() == pgloLegalStyleNumbering + 1);
static_assert(kItemFlagNames.size() == pgifUnicode + 1);
static_assert(kVAlignNames.size() == pgvaMiddle + 1);

template <std::size_t N>
void WriteEnum(JsonWriter& json, unsigned value, const NameTable<N>& names) {
  if (value < N) json.String(names[value]);
  else json.Int(value);
}

// A set as the array of its members' names, in bit order.
template <class E, class Bits, std::size_t N>
void WriteSet(JsonWriter& json, TSet<E, Bits> set, const NameTable<N>& names) {
  json.BeginArray();
  for (unsigned bit = 0; bit < sizeof(Bits) * 8; ++bit) {
    if (((set.Raw() >> bit) & 1u) == 0) continue;
    if (bit < N) json.String(names[bit]);
    else json.Int(bit);
  }
  json.EndArray();
}

}  // namespace pagora::cli
