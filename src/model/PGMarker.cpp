#include "model/PGMarker.h"

#include <algorithm>

#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "model/CPGData.h"
#include "model/ListNumbering.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"
#include "platform/TextCase.h"
#include "platform/TextEncoding.h"

namespace pagora {

int ClampLevelNo(int levelNo) noexcept { return std::clamp(levelNo, 0, kMaxListLevels - 1); }

TPGMarkerItemInfo::TPGMarkerItemInfo(TCustomPGData* container, bool restartNumbering, int restartValue, int levelNo,
                                     int listStyleNo)
    : TPGRectItemInfo(container),
      ListStyleNo(listStyleNo),
      LevelNo(ClampLevelNo(levelNo)),
      RestartNumbering(restartNumbering),
      RestartValue(restartValue) {
  StyleNo = pgsListMarker;
  SetFlag(pgifContinuesPara, false);
}

const TPGListLevel* TPGMarkerItemInfo::LevelOf(const TPGStyle* style) const {
  if (!style || ListStyleNo < 0 || LevelNo < 0 || ListStyleNo >= style->ListStyles.Count()) return nullptr;
  const TPGListInfo& list = style->ListStyles[ListStyleNo];
  if (list.Levels.empty()) return nullptr;
  return &list.Levels[static_cast<std::size_t>(std::min<int>(LevelNo, static_cast<int>(list.Levels.size()) - 1))];
}

TFontSpec TPGMarkerItemInfo::LevelFont(const TPGListLevel& level, const TPGStyle& style, ICanvas& canvas) {
  const TPGMarkerFont defaults;
  const TPGMarkerFont& font = level.FontIfAny() ? *level.FontIfAny() : defaults;
  const int resolution = style.TextStyles.FontResolution != 0 && font.Size > 0 ? style.TextStyles.FontResolution
                                                                               : canvas.FontPixelsPerInch();
  TFontSpec spec;
  spec.Name = font.Name;
  spec.PixelSize = MulDiv(font.Size, resolution, 72);
  spec.Weight = font.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  spec.Italic = font.Style.Contains(fsItalic);
  spec.Underline = font.Style.Contains(fsUnderline);
  spec.StrikeOut = font.Style.Contains(fsStrikeOut);
  spec.Charset = font.Charset;
  return spec;
}

namespace {

// 8-bit marker text in the code page of the level font's charset.
std::u16string MarkerTextW(const std::string& text, const TPGListLevel& level) {
  const TFontCharset charset = level.FontIfAny() ? level.FontIfAny()->Charset : DEFAULT_CHARSET;
  return CodePageToUTF16(CharsetToCodePage(charset), text);
}

}  // namespace

std::u16string TPGMarkerItemInfo::DisplayedText(const TPGListLevel& level) const {
  return level.ListType == pglstUnicodeBullet ? level.FormatStringW : MarkerTextW(MarkerText, level);
}

TPGMarkerBox TPGMarkerItemInfo::ComputeBox(const TPGStyle* style, ICanvas* canvas, const TPGDeviceScale* scale,
                                           bool rightToLeft) const {
  TPGMarkerBox box;
  const TPGListLevel* level = LevelOf(style);
  if (!level) return box;
  int w = 0, h = 0;
  switch (level->ListType) {
    case pglstPicture:
      if (level->Picture() && !level->Picture()->Empty()) {
        w = level->Picture()->Width();
        h = level->Picture()->Height();
      }
      if (scale) { w = scale->ScaleX(w); h = scale->ScaleY(h); }
      break;
    case pglstImageList:
    case pglstImageListCounter:
      if (level->ImageList) {
        w = level->ImageList->Width();
        h = level->ImageList->Height();
      }
      if (scale) { w = scale->ScaleX(w); h = scale->ScaleY(h); }
      break;
    default:
      if (canvas) {
        canvas->SetFont(LevelFont(*level, *style, *canvas));
        canvas->SetTextCharacterExtra(0);
        canvas->SetTextAlign(TA_LEFT | TA_TOP);
        const TSize extent = canvas->TextExtent(DisplayedText(*level));
        TTextMetrics tm;
        w = extent.cx;
        h = extent.cy;
        if (canvas->GetTextMetrics(tm)) box.Descent = tm.Descent;
      }
      break;
  }
  int before = 0, after = w;
  if (level->MarkerAlignment == pgmaRight) {
    before = w;
    after = 0;
  } else if (level->MarkerAlignment == pgmaCenter) {
    after = w / 2;
    before = w - after;
  }
  int gap = level->LeftIndent + level->FirstIndent - level->MarkerIndent;
  if (scale) gap = scale->ScaleX(gap);
  const int right = std::max(after, gap);
  box.MinWidth = right;
  box.Width = before + right;
  box.Height = h;
  box.Offset = rightToLeft ? before : -before;
  box.ContentX = rightToLeft ? before + right - w : 0;
  return box;
}

bool TPGMarkerItemInfo::QueryTrait(TPGItemTrait trait) const {
  switch (trait) {
    case pgitChangesCanvasFont:
    case pgitUnicodeText: return true;
    default: return TPGRectItemInfo::QueryTrait(trait);
  }
}

bool TPGMarkerItemInfo::QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const {
  switch (trait) {
    case pgstSizeInDevicePixels: return true;
    case pgstPrintViaBitmap: {
      const TPGListLevel* level = LevelOf(style);
      if (!level) return false;
      if (level->ListType == pglstImageList || level->ListType == pglstImageListCounter) return true;
      return level->ListType == pglstPicture && level->Picture() && !level->Picture()->IsMetafile();
    }
    default: return false;
  }
}

int TPGMarkerItemInfo::GetMinWidth(const TPGDeviceScale* scale, ICanvas* canvas, TCustomPGData* container) const {
  const TPGStyle* style = container ? container->GetStyle() : nullptr;
  return ComputeBox(style, canvas, scale, false).MinWidth;
}

int TPGMarkerItemInfo::ContentWidth(const TPGStyle* style) const {
  const TPGListLevel* level = LevelOf(style);
  if (!level) return 0;
  if (level->ListType == pglstPicture) return level->Picture() ? level->Picture()->Width() : 0;
  if (level->ListType == pglstImageList || level->ListType == pglstImageListCounter)
    return level->ImageList ? level->ImageList->Width() : 0;
  return 0;
}

int TPGMarkerItemInfo::ContentHeight(const TPGStyle* style) const {
  const TPGListLevel* level = LevelOf(style);
  if (!level) return 0;
  if (level->ListType == pglstPicture) return level->Picture() ? level->Picture()->Height() : 0;
  if (level->ListType == pglstImageList || level->ListType == pglstImageListCounter)
    return level->ImageList ? level->ImageList->Height() : 0;
  return 0;
}

void TPGMarkerItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TPGRectItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGMarkerItemInfo*>(&source)) {
    ListStyleNo = s->ListStyleNo;
    LevelNo = s->LevelNo;
    RestartValue = s->RestartValue;
    RestartNumbering = s->RestartNumbering;
    NoHTMLSize = s->NoHTMLSize;
  }
}

std::string TPGMarkerItemInfo::AsText(int, TCustomPGData* container, const std::string&, const std::string&, bool,
                                      bool unicode) const {
  const TPGStyle* style = container ? container->GetStyle() : nullptr;
  const TPGListLevel* level = LevelOf(style);
  if (!level) return {};
  switch (level->ListType) {
    case pglstUnicodeBullet: {
      const std::u16string text = level->FormatStringW + u" ";
      if (unicode) return BytesFromU16(text);
      // Characters the code page lacks show as a star rather than a question mark.
      std::string out;
      for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) units = 2;
        const std::u16string_view ch = std::u16string_view(text).substr(i, units);
        const std::string converted = UTF16ToCodePage(CP_ACP, ch);
        out += (converted == "?" && ch != u"?") ? std::string("*") : converted;
        i += units - 1;
      }
      return out;
    }
    case pglstPicture:
    case pglstImageList:
    case pglstImageListCounter:
      return unicode ? BytesFromU16(u"* ") : std::string("* ");
    default: {
      std::string text = MarkerText;
      if (level->FontIfAny() && SameTextNoCase(level->FontIfAny()->Name, "Symbol")) {
        // The symbol font's bullets and arrows in characters every code page has.
        std::string mapped;
        for (char c : text) {
          switch (static_cast<unsigned char>(c)) {
            case 0xA7: case 0xA8: case 0xA9: case 0xAA: case 0xB7: case 0xD7: case 0xE0: mapped += '*'; break;
            case 0xDB: mapped += "<=>"; break;
            case 0xDC: mapped += "<="; break;
            case 0xDE: mapped += "=>"; break;
            case 0xAB: mapped += "<->"; break;
            case 0xAC: mapped += "<-"; break;
            case 0xAE: mapped += "->"; break;
            default: mapped += c; break;
          }
        }
        text = std::move(mapped);
      }
      text += ' ';
      return unicode ? BytesFromU16(CodePageToUTF16(CP_ACP, text)) : text;
    }
  }
}

void TPGMarkerItemInfo::MarkUsedStyles(TPGStyleUsage& usage) const {
  TPGRectItemInfo::MarkUsedStyles(usage);
  TPGStyleUsage::Mark(usage.List, ListStyleNo);
}

void TPGMarkerItemInfo::RenumberStyles(const TPGStyleRenumbering& r) {
  TPGRectItemInfo::RenumberStyles(r);
  ListStyleNo = TPGStyleRenumbering::Apply(r.List, ListStyleNo);
}

bool TPGMarkerItemInfo::SetIntProp(TPGItemIntProp prop, int value) {
  if (prop != pgipNoHTMLSize) return TPGRectItemInfo::SetIntProp(prop, value);
  NoHTMLSize = value != 0;
  return true;
}

bool TPGMarkerItemInfo::GetIntProp(TPGItemIntProp prop, int& value) const {
  if (prop != pgipNoHTMLSize) return TPGRectItemInfo::GetIntProp(prop, value);
  value = NoHTMLSize ? 1 : 0;
  return true;
}

std::unique_ptr<TCustomPGItemInfo> TPGMarkerItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGMarkerItemInfo>(container);
}

}  // namespace pagora
