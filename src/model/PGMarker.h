// The list marker item: the first item of a bulleted or numbered paragraph, naming a list
// style and a level. Its number and text are computed by the document's marker registry.
#pragma once

#include <string>

#include "model/ListInfo.h"
#include "model/PGItem.h"
#include "platform/Canvas.h"

namespace pagora {

class TPGStyle;

// Where a marker stands and how large it is in a line (computed per layout).
struct TPGMarkerBox {
  int Width = 0;    // the box: before + after the marker position
  int Height = 0;
  int Descent = 0;
  int Offset = 0;   // of the box from the item's place in the line
  int ContentX = 0; // where the marker's content begins inside the box
  int MinWidth = 0; // what the marker needs of a line
};

class TPGMarkerItemInfo : public TPGRectItemInfo {
public:
  explicit TPGMarkerItemInfo(TCustomPGData* container = nullptr, bool restartNumbering = false, int restartValue = 1,
                             int levelNo = 0, int listStyleNo = -1);

  int RegistryIndex = -1;  // cached position in the marker registry; checked on every use
  int ListStyleNo = -1;    // -1: no list; the marker shows nothing
  int LevelNo = 0;
  int CounterValue = 1;
  bool RestartNumbering = false;
  int RestartValue = 1;
  std::string MarkerText;  // 8-bit, in the level font's charset
  bool NoHTMLSize = false;

  // The level the marker uses (LevelNo lowered to the last level), or none.
  [[nodiscard]] const TPGListLevel* LevelOf(const TPGStyle* style) const;

  // The font of text markers of a level on a canvas.
  [[nodiscard]] static TFontSpec LevelFont(const TPGListLevel& level, const TPGStyle& style, ICanvas& canvas);
  // What a text marker shows: the Unicode bullet, or the marker text.
  [[nodiscard]] std::u16string DisplayedText(const TPGListLevel& level) const;

  // The marker's box on a canvas, with the level font; a device scale when printing.
  [[nodiscard]] TPGMarkerBox ComputeBox(const TPGStyle* style, ICanvas* canvas, const TPGDeviceScale* scale,
                                        bool rightToLeft) const;

  [[nodiscard]] bool QueryTrait(TPGItemTrait trait) const override;
  [[nodiscard]] bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const override;
  [[nodiscard]] int GetMinWidth(const TPGDeviceScale* scale, ICanvas* canvas, TCustomPGData* container) const override;
  void PaintObject(int x, int y, int baseline, const TPGItemPaint& paint) const override;
  [[nodiscard]] int ContentWidth(const TPGStyle* style) const override;
  [[nodiscard]] int ContentHeight(const TPGStyle* style) const override;
  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  // The marker as text with a space after it: its text, "*" for pictures, the Unicode bullet.
  [[nodiscard]] std::string AsText(int lineWidth, TCustomPGData* container, const std::string& text,
                                   const std::string& path, bool textOnly, bool unicode) const override;
  void MarkUsedStyles(TPGStyleUsage& usage) const override;
  void RenumberStyles(const TPGStyleRenumbering& renumbering) override;
  bool SetIntProp(TPGItemIntProp prop, int value) override;
  bool GetIntProp(TPGItemIntProp prop, int& value) const override;
  void PGFPropertyLines(std::vector<std::string>& lines) const override;
  void WritePGFRecord(TPGFWriter& writer, int itemNo, int paraNo, const std::string& name) const override;
  bool ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& context) override;
  bool ParsePGFRecordLine(std::string_view line, int lineNo, int lineCount, TPGFReadContext& context,
                          std::string& name) override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;
};

// Level numbers beyond the argument list of marker texts are brought into it.
[[nodiscard]] int ClampLevelNo(int levelNo) noexcept;

}  // namespace pagora
