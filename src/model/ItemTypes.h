// The numbers and flags that describe document items: item types, paragraph flags,
// the questions items answer about themselves, and their extra properties.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/EnumSet.h"

namespace pagora {

// Item types (the StyleNo of non-text items). -2, -7, -8 and -9 are only record kinds
// of the native format.
inline constexpr int pgsBreak = -1;
inline constexpr int pgsCheckpoint = -2;
inline constexpr int pgsPicture = -3;
inline constexpr int pgsHotspot = -4;
inline constexpr int pgsComponent = -5;
inline constexpr int pgsBullet = -6;
inline constexpr int pgsBack = -7;
inline constexpr int pgsVersionInfo = -8;
inline constexpr int pgsDocProperty = -9;
inline constexpr int pgsHotPicture = -10;
inline constexpr int pgsListMarker = -11;
inline constexpr int pgsTable = -60;

enum TPGItemFlag : std::uint8_t { pgifContinuesPara, pgifPageBreakBefore, pgifLineBreakBefore, pgifUnicode };
using TPGItemFlags = TSet<TPGItemFlag, std::uint8_t>;

enum TPGItemTrait : std::uint8_t {
  pgitFullWidth,
  pgitValid,
  pgitReadsPGFLines,
  pgitChoosable,
  pgitChangesCanvasFont,
  pgitUnicodeText,
  pgitPartialTextExport,
  pgitTabNavigable,
  pgitResizable,
  pgitResizeControl,
  pgitHasSubDocuments,
  pgitResizerQuery,  // asked by the editor's resizer; no built-in class answers True
  pgitHTMLBlock,
};

enum TPGItemStyledTrait : std::uint8_t {
  pgstPrintViaBitmap,
  pgstJump,
  pgstFocusable,
  pgstHoverSensitive,
  pgstShowsJumpCursor,
  pgstSizeInDevicePixels,
};

// Extra integer properties, set and read by number or by their stored keyword.
enum TPGItemIntProp : std::uint8_t {
  pgipVShift = 1,
  pgipVShiftAbs,
  pgipImageWidth,
  pgipImageHeight,
  pgipTransparent,
  pgipTransparentMode,
  pgipTransparentColor,
  pgipMinHeightOnPage,
  pgipSpacing,
  pgipResizable,
  pgipUnremovable,
  pgipNoHTMLSize,
};

enum TPGItemStrProp : std::uint8_t { pgspHint = 1, pgspAlt, pgspFileName };

[[nodiscard]] std::string_view IntPropKeyword(TPGItemIntProp prop) noexcept;
[[nodiscard]] std::string_view StrPropKeyword(TPGItemStrProp prop) noexcept;
[[nodiscard]] std::optional<TPGItemIntProp> IntPropFromKeyword(std::string_view keyword) noexcept;
[[nodiscard]] std::optional<TPGItemStrProp> StrPropFromKeyword(std::string_view keyword) noexcept;

enum TPGItemAction : std::uint8_t { pgiaInserting, pgiaInserted, pgiaTextModifying, pgiaDestroying, pgiaMovingToUndoList };

enum TPGControlAction : std::uint8_t {
  pgcaAfterPGFLoad,
  pgcaDestroy,
  pgcaMoveToUndoList,
  pgcaMoveFromUndoList,
  pgcaDestroyInUndoList,
  pgcaBeforePGFSave,
  pgcaAfterPGFSave,
};

// The format an item or a control is being written in.
enum TPGSaveFormat : std::uint8_t { pgsfText, pgsfHTML, pgsfRTF };

enum TPGVAlign : std::uint8_t { pgvaBaseline, pgvaMiddle };

// The format a document is being read from, for items that prepare for it.
enum TPGLoadFormat : std::uint8_t { pglfPGF, pglfRTF, pglfURL, pglfOther };

}  // namespace pagora
