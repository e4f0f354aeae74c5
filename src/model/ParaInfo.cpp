#include "model/ParaInfo.h"

#include "model/StyleLikeness.h"

namespace pagora {

void TParaInfo::Assign(const TCustomPGInfo& source) {
  TCustomPGInfo::Assign(source);
  if (const auto* s = dynamic_cast<const TParaInfo*>(&source)) {
    FirstIndent = s->FirstIndent;
    LeftIndent = s->LeftIndent;
    RightIndent = s->RightIndent;
    SpaceBefore = s->SpaceBefore;
    SpaceAfter = s->SpaceAfter;
    LineSpacing = s->LineSpacing;
    LineSpacingType = s->LineSpacingType;
    Alignment = s->Alignment;
    Border = s->Border;
    NextParaNo = s->NextParaNo;
    Background = s->Background;
    Options = s->Options;
    BiDiMode = s->BiDiMode;
    DefStyleNo = s->DefStyleNo;
  }
}

std::unique_ptr<TCustomPGInfo> TParaInfo::CreateEmpty() const { return std::make_unique<TParaInfo>(); }

bool TParaInfo::EqualsStyle(const TCustomPGInfo& other, bool ignoreReferences) const {
  const auto* o = dynamic_cast<const TParaInfo*>(&other);
  if (!o) return false;
  if (Alignment != o->Alignment || FirstIndent != o->FirstIndent || LeftIndent != o->LeftIndent ||
      RightIndent != o->RightIndent || SpaceBefore != o->SpaceBefore || SpaceAfter != o->SpaceAfter ||
      LineSpacing != o->LineSpacing || LineSpacingType != o->LineSpacingType || Options != o->Options ||
      BiDiMode != o->BiDiMode)
    return false;
  if (!ignoreReferences && (NextParaNo != o->NextParaNo || DefStyleNo != o->DefStyleNo)) return false;
  return Background == o->Background && Border == o->Border;
}

bool TParaInfo::EqualsStyleMasked(const TParaInfo& o, TPGParaStyleProperties ignore) const {
  auto differs = [&](TPGParaStyleProperty p, bool unequal) { return !ignore.Contains(p) && unequal; };
  const TPGBorder& b = Border;
  const TPGBorder& ob = o.Border;
  return !(differs(pspFirstIndent, FirstIndent != o.FirstIndent) ||
           differs(pspLeftIndent, LeftIndent != o.LeftIndent) ||
           differs(pspRightIndent, RightIndent != o.RightIndent) ||
           differs(pspSpaceBefore, SpaceBefore != o.SpaceBefore) ||
           differs(pspSpaceAfter, SpaceAfter != o.SpaceAfter) ||
           differs(pspAlignment, Alignment != o.Alignment) ||
           differs(pspNextParaNo, NextParaNo != o.NextParaNo) ||
           differs(pspDefStyleNo, DefStyleNo != o.DefStyleNo) ||
           differs(pspLineSpacing, LineSpacing != o.LineSpacing) ||
           differs(pspLineSpacingType, LineSpacingType != o.LineSpacingType) ||
           differs(pspBackgroundColor, Background.Color != o.Background.Color) ||
           differs(pspBackgroundOffsetLeft, Background.BorderOffsets.Left != o.Background.BorderOffsets.Left) ||
           differs(pspBackgroundOffsetTop, Background.BorderOffsets.Top != o.Background.BorderOffsets.Top) ||
           differs(pspBackgroundOffsetRight, Background.BorderOffsets.Right != o.Background.BorderOffsets.Right) ||
           differs(pspBackgroundOffsetBottom, Background.BorderOffsets.Bottom != o.Background.BorderOffsets.Bottom) ||
           differs(pspBorderColor, b.Color != ob.Color) || differs(pspBorderStyle, b.Style != ob.Style) ||
           differs(pspBorderWidth, b.Width != ob.Width) ||
           differs(pspBorderInternalWidth, b.InternalWidth != ob.InternalWidth) ||
           differs(pspBorderOffsetLeft, b.BorderOffsets.Left != ob.BorderOffsets.Left) ||
           differs(pspBorderOffsetTop, b.BorderOffsets.Top != ob.BorderOffsets.Top) ||
           differs(pspBorderOffsetRight, b.BorderOffsets.Right != ob.BorderOffsets.Right) ||
           differs(pspBorderOffsetBottom, b.BorderOffsets.Bottom != ob.BorderOffsets.Bottom) ||
           differs(pspBorderVisibleLeft, b.VisibleBorders.Left != ob.VisibleBorders.Left) ||
           differs(pspBorderVisibleTop, b.VisibleBorders.Top != ob.VisibleBorders.Top) ||
           differs(pspBorderVisibleRight, b.VisibleBorders.Right != ob.VisibleBorders.Right) ||
           differs(pspBorderVisibleBottom, b.VisibleBorders.Bottom != ob.VisibleBorders.Bottom) ||
           differs(pspNoWrap, Options.Contains(pgpaoNoWrap) != o.Options.Contains(pgpaoNoWrap)) ||
           differs(pspReadOnly, Options.Contains(pgpaoReadOnly) != o.Options.Contains(pgpaoReadOnly)) ||
           differs(pspStyleProtect, Options.Contains(pgpaoStyleProtect) != o.Options.Contains(pgpaoStyleProtect)) ||
           differs(pspDoNotWantReturns,
                   Options.Contains(pgpaoDoNotWantReturns) != o.Options.Contains(pgpaoDoNotWantReturns)) ||
           differs(pspKeepLinesTogether,
                   Options.Contains(pgpaoKeepLinesTogether) != o.Options.Contains(pgpaoKeepLinesTogether)) ||
           differs(pspKeepWithNext, Options.Contains(pgpaoKeepWithNext) != o.Options.Contains(pgpaoKeepWithNext)) ||
           differs(pspBiDiMode, BiDiMode != o.BiDiMode));
}

bool TParaInfo::EqualsStyleMapped(const TCustomPGInfo& other, const TPGStyleMap& map) const {
  if (!EqualsStyle(other, true)) return false;
  const auto& o = static_cast<const TParaInfo&>(other);
  return ReferenceMatches(NextParaNo, map, o.NextParaNo);
}

bool TParaInfo::HasExtraLineSpacing() const noexcept {
  return LineSpacingType == pglsPercent ? LineSpacing >= 101 : LineSpacing >= 1;
}

namespace {

std::int64_t BorderLikeness(const TPGBorder& t, const TPGBorder& c) {
  const bool tShows[4] = {t.ShowsLeft(), t.ShowsTop(), t.ShowsRight(), t.ShowsBottom()};
  const bool cShows[4] = {c.ShowsLeft(), c.ShowsTop(), c.ShowsRight(), c.ShowsBottom()};
  const int tOff[4] = {t.BorderOffsets.Left, t.BorderOffsets.Top, t.BorderOffsets.Right, t.BorderOffsets.Bottom};
  const int cOff[4] = {c.BorderOffsets.Left, c.BorderOffsets.Top, c.BorderOffsets.Right, c.BorderOffsets.Bottom};
  int both = 0;
  for (int i = 0; i < 4; ++i) both += (tShows[i] && cShows[i]) ? 1 : 0;
  std::int64_t score = 0;
  if (both > 0) {
    score = (LikenessColorSim(t.Color, c.Color, 3333, 3000) + LikenessSim(t.Width, c.Width, 1000) +
             LikenessSim(t.InternalWidth, c.InternalWidth, 1000) + (t.Style == c.Style ? 1000 : 0)) *
            both;
  }
  for (int i = 0; i < 4; ++i) {
    if (!tShows[i] && !cShows[i]) score += 20000;
    else if (tShows[i] != cShows[i]) score -= 20000;
    else score += LikenessSim(tOff[i], cOff[i], 100);
  }
  return score;
}

}  // namespace

int TParaInfo::Likeness(const TCustomPGInfo& other) const {
  const auto* c = dynamic_cast<const TParaInfo*>(&other);
  if (!c) return 0;
  const TParaInfo& t = *this;
  std::int64_t score = LikenessSim(t.FirstIndent, c->FirstIndent, 1000) +
                       LikenessSim(t.LeftIndent, c->LeftIndent, 1000) +
                       LikenessSim(t.RightIndent, c->RightIndent, 1000) +
                       LikenessSim(t.SpaceBefore, c->SpaceBefore, 1000) +
                       LikenessSim(t.SpaceAfter, c->SpaceAfter, 1000);
  const TPGRect& tb = t.Background.BorderOffsets;
  const TPGRect& cb = c->Background.BorderOffsets;
  score += LikenessColorSim(t.Background.Color, c->Background.Color, 10000, 50000) +
           LikenessSim(tb.Left, cb.Left, 100) + LikenessSim(tb.Top, cb.Top, 100) +
           LikenessSim(tb.Right, cb.Right, 100) + LikenessSim(tb.Bottom, cb.Bottom, 100);
  score += BorderLikeness(t.Border, c->Border);
  if (t.Alignment == c->Alignment) score += 50000;
  if (t.BiDiMode == c->BiDiMode) score += 10000;
  auto same = [&](TPGParaOption o) { return t.Options.Contains(o) == c->Options.Contains(o); };
  if (same(pgpaoNoWrap)) score += 1000;
  if (same(pgpaoReadOnly)) score += 100000;
  if (same(pgpaoStyleProtect)) score += 1000;
  if (same(pgpaoDoNotWantReturns)) score += 10000;
  if (same(pgpaoKeepLinesTogether)) score += 500;
  if (same(pgpaoKeepWithNext)) score += 500;
  if (t.LineSpacingType == c->LineSpacingType) score += LikenessSim(t.LineSpacing, c->LineSpacing, 5000);
  else if (t.HasExtraLineSpacing() != c->HasExtraLineSpacing()) score -= 20000;
  return ClampScore(score);
}

void TParaInfo::TranslateReferences(const TPGStyleMap& map, const TPGStyleMap* textStyleMap) {
  TCustomPGInfo::TranslateReferences(map, textStyleMap);
  if (NextParaNo >= 0) NextParaNo = TranslateReference(NextParaNo, map);
  if (textStyleMap && DefStyleNo >= 0) DefStyleNo = TranslateReference(DefStyleNo, *textStyleMap);
}

}  // namespace pagora
