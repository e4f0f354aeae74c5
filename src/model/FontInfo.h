// A text style: the font, colours, effects and behaviour of the text items that use it.
#pragma once

#include <string>

#include "model/StyleInfo.h"
#include "model/StyleTypes.h"
#include "platform/Charsets.h"
#include "platform/Colors.h"

namespace pagora {

// A font as the platform's font objects describe it (what a text style can be taken from).
struct TPGFontDesc {
  std::string Name = "Arial";
  int Size = 10;  // points
  TColor Color = clWindowText;
  TFontStyles Style;
  TFontCharset Charset = DEFAULT_CHARSET;
};

class TFontInfo : public TCustomPGInfo {
public:
  TFontInfo() { StyleName = "Font Style"; }

  TPGBiDiMode BiDiMode = pgbdUnspecified;
  bool Jump = false;
  TCursor JumpCursor = crJump;
  std::string FontName = "Arial";
  int Size = 10;
  TColor Color = clWindowText;
  TColor BackColor = clNone;
  TColor HoverColor = clNone;
  TColor HoverBackColor = clNone;
  TFontStyles Style;
  TPGFontStyles StyleEx;
  int VShift = 0;
  int NextStyleNo = -1;
  TFontCharset Charset = DEFAULT_CHARSET;
  bool Unicode = false;
  TPGProtectOptions Protection;
  TPGTextOptions Options;
  int CharScale = 100;
  int CharSpacing = 0;

  void Assign(const TCustomPGInfo& source) override;
  // Takes name, size, colour, style bits and charset of a font; nothing else changes.
  void AssignFont(const TPGFontDesc& font);
  [[nodiscard]] std::unique_ptr<TCustomPGInfo> CreateEmpty() const override;

  [[nodiscard]] bool EqualsStyle(const TCustomPGInfo& other, bool ignoreReferences) const override;
  // Equality skipping the properties in ignore; hover properties count only when this
  // style (the template) is a link.
  [[nodiscard]] bool EqualsStyleMasked(const TFontInfo& other, TPGTextStyleProperties ignore) const;
  [[nodiscard]] bool EqualsStyleMapped(const TCustomPGInfo& other, const TPGStyleMap& map) const override;
  [[nodiscard]] int Likeness(const TCustomPGInfo& other) const override;
  void TranslateReferences(const TPGStyleMap& map, const TPGStyleMap* textStyleMap) override;

  // No style bits and no extra effects.
  [[nodiscard]] bool IsPlain() const noexcept { return Style.Empty() && StyleEx.Empty(); }
};

}  // namespace pagora
