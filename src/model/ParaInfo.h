// A paragraph style: indents, spacing, alignment, border and background of the
// paragraphs that use it.
#pragma once

#include "model/ParaBorder.h"
#include "model/StyleInfo.h"
#include "model/StyleTypes.h"

namespace pagora {

class TParaInfo : public TCustomPGInfo {
public:
  TParaInfo() { StyleName = "Paragraph Style"; }

  int FirstIndent = 0;
  int LeftIndent = 0;
  int RightIndent = 0;
  int SpaceBefore = 0;
  int SpaceAfter = 0;
  int LineSpacing = 100;
  TPGLineSpacingType LineSpacingType = pglsPercent;
  TPGAlignment Alignment = pgaLeft;
  TPGBorder Border;
  int NextParaNo = -1;
  TPGBackgroundRect Background;
  TPGParaOptions Options;
  TPGBiDiMode BiDiMode = pgbdUnspecified;
  int DefStyleNo = -1;

  void Assign(const TCustomPGInfo& source) override;
  [[nodiscard]] std::unique_ptr<TCustomPGInfo> CreateEmpty() const override;

  [[nodiscard]] bool EqualsStyle(const TCustomPGInfo& other, bool ignoreReferences) const override;
  [[nodiscard]] bool EqualsStyleMasked(const TParaInfo& other, TPGParaStyleProperties ignore) const;
  [[nodiscard]] bool EqualsStyleMapped(const TCustomPGInfo& other, const TPGStyleMap& map) const override;
  [[nodiscard]] int Likeness(const TCustomPGInfo& other) const override;
  void TranslateReferences(const TPGStyleMap& map, const TPGStyleMap* textStyleMap) override;

  // Line spacing beyond single (percent of 101 and more, or any pixels between lines).
  [[nodiscard]] bool HasExtraLineSpacing() const noexcept;
};

}  // namespace pagora
