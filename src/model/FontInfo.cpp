#include "model/FontInfo.h"

#include "model/StyleLikeness.h"
#include "platform/TextCase.h"

namespace pagora {

void TFontInfo::Assign(const TCustomPGInfo& source) {
  TCustomPGInfo::Assign(source);
  if (const auto* s = dynamic_cast<const TFontInfo*>(&source)) {
    BiDiMode = s->BiDiMode;
    Jump = s->Jump;
    JumpCursor = s->JumpCursor;
    FontName = s->FontName;
    Size = s->Size;
    Color = s->Color;
    BackColor = s->BackColor;
    HoverColor = s->HoverColor;
    HoverBackColor = s->HoverBackColor;
    Style = s->Style;
    StyleEx = s->StyleEx;
    VShift = s->VShift;
    NextStyleNo = s->NextStyleNo;
    Charset = s->Charset;
    Unicode = s->Unicode;
    Protection = s->Protection;
    Options = s->Options;
    CharScale = s->CharScale;
    CharSpacing = s->CharSpacing;
  }
}

void TFontInfo::AssignFont(const TPGFontDesc& font) {
  FontName = font.Name;
  Size = font.Size;
  Color = font.Color;
  Style = font.Style;
  Charset = font.Charset;
}

std::unique_ptr<TCustomPGInfo> TFontInfo::CreateEmpty() const { return std::make_unique<TFontInfo>(); }

bool TFontInfo::EqualsStyle(const TCustomPGInfo& other, bool ignoreReferences) const {
  const auto* o = dynamic_cast<const TFontInfo*>(&other);
  if (!o) return false;
  if (Size != o->Size || Charset != o->Charset || Unicode != o->Unicode || Style != o->Style ||
      StyleEx != o->StyleEx || !SameTextNoCase(FontName, o->FontName) || VShift != o->VShift ||
      Color != o->Color || BackColor != o->BackColor || Jump != o->Jump)
    return false;
  if (Jump && (HoverColor != o->HoverColor || HoverBackColor != o->HoverBackColor || JumpCursor != o->JumpCursor))
    return false;
  if (!ignoreReferences && NextStyleNo != o->NextStyleNo) return false;
  return Protection == o->Protection && Options == o->Options && CharScale == o->CharScale &&
         CharSpacing == o->CharSpacing && BiDiMode == o->BiDiMode;
}

bool TFontInfo::EqualsStyleMasked(const TFontInfo& o, TPGTextStyleProperties ignore) const {
  auto check = [&](TPGTextStyleProperty p) { return !ignore.Contains(p); };
  if (check(tspSize) && Size != o.Size) return false;
  if (check(tspCharset) && Charset != o.Charset) return false;
  if (check(tspUnicode) && Unicode != o.Unicode) return false;
  if (check(tspBold) && Style.Contains(fsBold) != o.Style.Contains(fsBold)) return false;
  if (check(tspItalic) && Style.Contains(fsItalic) != o.Style.Contains(fsItalic)) return false;
  if (check(tspUnderline) && Style.Contains(fsUnderline) != o.Style.Contains(fsUnderline)) return false;
  if (check(tspStrikeOut) && Style.Contains(fsStrikeOut) != o.Style.Contains(fsStrikeOut)) return false;
  if (check(tspOverline) && StyleEx.Contains(pgfsOverline) != o.StyleEx.Contains(pgfsOverline)) return false;
  if (check(tspAllCaps) && StyleEx.Contains(pgfsAllCaps) != o.StyleEx.Contains(pgfsAllCaps)) return false;
  if (check(tspFontName) && !SameTextNoCase(FontName, o.FontName)) return false;
  if (check(tspVShift) && VShift != o.VShift) return false;
  if (check(tspColor) && Color != o.Color) return false;
  if (check(tspBackColor) && BackColor != o.BackColor) return false;
  if (check(tspJump) && Jump != o.Jump) return false;
  if (Jump) {
    if (check(tspHoverColor) && HoverColor != o.HoverColor) return false;
    if (check(tspHoverBackColor) && HoverBackColor != o.HoverBackColor) return false;
    if (check(tspJumpCursor) && JumpCursor != o.JumpCursor) return false;
  }
  if (check(tspNextStyleNo) && NextStyleNo != o.NextStyleNo) return false;
  if (check(tspProtection) && Protection != o.Protection) return false;
  if (check(tspHTMLCode) && Options.Contains(pgteoHTMLCode) != o.Options.Contains(pgteoHTMLCode)) return false;
  if (check(tspRTFCode) && Options.Contains(pgteoRTFCode) != o.Options.Contains(pgteoRTFCode)) return false;
  if (check(tspCharScale) && CharScale != o.CharScale) return false;
  if (check(tspCharSpacing) && CharSpacing != o.CharSpacing) return false;
  if (check(tspBiDiMode) && BiDiMode != o.BiDiMode) return false;
  if (check(tspBaseStyleNo) && BaseStyleNo != o.BaseStyleNo) return false;
  return true;
}

bool TFontInfo::EqualsStyleMapped(const TCustomPGInfo& other, const TPGStyleMap& map) const {
  if (!EqualsStyle(other, true)) return false;
  const auto& o = static_cast<const TFontInfo&>(other);
  return ReferenceMatches(NextStyleNo, map, o.NextStyleNo);
}

int TFontInfo::Likeness(const TCustomPGInfo& other) const {
  const auto* c = dynamic_cast<const TFontInfo*>(&other);
  if (!c) return 0;
  const TFontInfo& t = *this;
  std::int64_t score = LikenessSim(c->Size, t.Size, 10000) + LikenessSim(c->VShift, t.VShift, 1000) +
                       LikenessSim(c->CharScale, t.CharScale, 300) +
                       LikenessSim(c->CharSpacing, t.CharSpacing, 1000) +
                       LikenessColorSim(c->Color, t.Color, 3333, 3000) +
                       LikenessColorSim(c->BackColor, t.BackColor, 10000, 50000);
  if (c->BiDiMode == t.BiDiMode) score += 10000;
  if (SameTextNoCase(c->FontName, t.FontName)) score += 10000;
  for (TFontStyle s : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
    if (c->Style.Contains(s) == t.Style.Contains(s)) score += 50000;
  if (c->StyleEx.Contains(pgfsOverline) == t.StyleEx.Contains(pgfsOverline)) score += 50000;
  if (c->StyleEx.Contains(pgfsAllCaps) == t.StyleEx.Contains(pgfsAllCaps)) score += 50000;
  if (c->IsPlain() == t.IsPlain()) score += 50000;
  if (c->Jump && t.Jump) {
    if (c->JumpCursor == t.JumpCursor) score += 5000;
    score += LikenessColorSim(c->HoverColor, t.HoverColor, 3333, 3000) / 2;
    score += LikenessColorSim(c->HoverBackColor, t.HoverBackColor, 10000, 50000) / 2;
  }
  if (c->Protection != t.Protection) score -= 100000;
  if (c->Options.Contains(pgteoHTMLCode) == t.Options.Contains(pgteoHTMLCode)) score += 50000;
  if (c->Options.Contains(pgteoRTFCode) == t.Options.Contains(pgteoRTFCode)) score += 50000;
  if (c->Charset == t.Charset) score += 50000;
  else if (c->Charset == DEFAULT_CHARSET || t.Charset == DEFAULT_CHARSET) score += 12500;
  return ClampScore(score);
}

void TFontInfo::TranslateReferences(const TPGStyleMap& map, const TPGStyleMap* textStyleMap) {
  TCustomPGInfo::TranslateReferences(map, textStyleMap);
  if (NextStyleNo >= 0) NextStyleNo = TranslateReference(NextStyleNo, map);
}

}  // namespace pagora
