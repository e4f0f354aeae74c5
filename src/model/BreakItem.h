// A break: a horizontal line that occupies its own paragraph.
#pragma once

#include <cstdint>

#include "model/PGItem.h"
#include "platform/Colors.h"

namespace pagora {

class TPGBreakItemInfo : public TPGFullLineItemInfo {
public:
  explicit TPGBreakItemInfo(TCustomPGData* container = nullptr) : TPGFullLineItemInfo(container) { StyleNo = pgsBreak; }

  std::uint8_t Width = 1;  // line thickness in pixels
  std::uint8_t Style = 0;  // 0 line, 1 rectangle, 2 three-dimensional frame
  TColor Color = clNone;   // none: the colour of text style 0

  [[nodiscard]] bool QueryTrait(TPGItemTrait trait) const override;
  [[nodiscard]] bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const override;
  void PaintAcross(int left, int right, int top, const TPGItemPaint& paint) const override;
  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  // A line of lineWidth characters: "-" for a thin break, "=" for a thick one.
  [[nodiscard]] std::string AsText(int lineWidth, TCustomPGData* container, const std::string& text,
                                   const std::string& path, bool textOnly, bool unicode) const override;
  void WritePGFRecord(TPGFWriter& writer, int itemNo, int paraNo, const std::string& name) const override;
  bool ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& context) override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;
};

}  // namespace pagora
