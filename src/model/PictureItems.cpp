#include "model/PictureItems.h"

#include "graphics/Graphic.h"

namespace pagora {

TPGGraphicItemInfo::TPGGraphicItemInfo(TCustomPGData* container) : TPGRectItemInfo(container) { StyleNo = pgsPicture; }
TPGGraphicItemInfo::~TPGGraphicItemInfo() = default;

int TPGGraphicItemInfo::ImageWidth() const { return ShownWidth > 0 ? ShownWidth : (Image ? Image->Width() : 0); }
int TPGGraphicItemInfo::ImageHeight() const { return ShownHeight > 0 ? ShownHeight : (Image ? Image->Height() : 0); }

bool TPGGraphicItemInfo::QueryTrait(TPGItemTrait trait) const {
  switch (trait) {
    case pgitValid: return Image != nullptr && !Image->Empty();
    case pgitChoosable:
    case pgitChangesCanvasFont: return true;
    case pgitResizable: return !(Image && Image->IsIcon());
    default: return TPGRectItemInfo::QueryTrait(trait);
  }
}

bool TPGGraphicItemInfo::QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle*) const {
  if (trait == pgstPrintViaBitmap) return !(Image && Image->IsMetafile());
  return false;
}

int TPGGraphicItemInfo::GetMinWidth(const TPGDeviceScale* scale, ICanvas*, TCustomPGData*) const {
  const int w = ImageWidth() + 2 * Spacing();
  return scale ? scale->ScaleX(w) : w;
}

int TPGGraphicItemInfo::ContentWidth(const TPGStyle*) const { return ImageWidth(); }
int TPGGraphicItemInfo::ContentHeight(const TPGStyle*) const { return ImageHeight(); }
int TPGGraphicItemInfo::BoxWidth() const { return ImageWidth() + 2 * Spacing(); }
int TPGGraphicItemInfo::BoxHeight() const { return ImageHeight() + 2 * Spacing(); }

void TPGGraphicItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TPGRectItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGGraphicItemInfo*>(&source)) {
    Image = s->Image ? s->Image->Clone() : nullptr;
    ShownWidth = s->ShownWidth;
    ShownHeight = s->ShownHeight;
    NoHTMLSize = s->NoHTMLSize;
    Alt = s->Alt;
    FileName = s->FileName;
  }
}

bool TPGGraphicItemInfo::SetIntProp(TPGItemIntProp prop, int value) {
  const bool bitmap = Image && Image->IsBitmap();
  switch (prop) {
    case pgipImageWidth: ShownWidth = value; return true;
    case pgipImageHeight: ShownHeight = value; return true;
    case pgipMinHeightOnPage: MinHeightOnPage = value; return true;
    case pgipNoHTMLSize: NoHTMLSize = value != 0; return true;
    case pgipTransparent:
      if (!bitmap) return false;
      Image->SetTransparent(value != 0);
      return true;
    case pgipTransparentMode:
      if (!bitmap) return false;
      Image->SetTransparentMode(value == 1 ? TTransparentMode::tmFixed : TTransparentMode::tmAuto);
      return true;
    case pgipTransparentColor:
      if (!bitmap) return false;
      Image->SetTransparentColor(static_cast<TColor>(value));
      return true;
    default: return TPGRectItemInfo::SetIntProp(prop, value);
  }
}

bool TPGGraphicItemInfo::GetIntProp(TPGItemIntProp prop, int& value) const {
  const bool bitmap = Image && Image->IsBitmap();
  switch (prop) {
    case pgipImageWidth: value = ShownWidth; return true;
    case pgipImageHeight: value = ShownHeight; return true;
    case pgipMinHeightOnPage: value = MinHeightOnPage; return true;
    case pgipNoHTMLSize: value = NoHTMLSize ? 1 : 0; return true;
    case pgipTransparent:
      if (!bitmap) return false;
      value = Image->Transparent() ? 1 : 0;
      return true;
    case pgipTransparentMode:
      if (!bitmap) return false;
      value = Image->TransparentMode() == TTransparentMode::tmFixed ? 1 : 0;
      return true;
    case pgipTransparentColor:
      if (!bitmap) return false;
      value = static_cast<int>(Image->TransparentColor());
      return true;
    default: return TPGRectItemInfo::GetIntProp(prop, value);
  }
}

bool TPGGraphicItemInfo::SetStrProp(TPGItemStrProp prop, const std::string& value) {
  switch (prop) {
    case pgspAlt: Alt = value; return true;
    case pgspFileName: FileName = value; return true;
    default: return TPGRectItemInfo::SetStrProp(prop, value);
  }
}

bool TPGGraphicItemInfo::GetStrProp(TPGItemStrProp prop, std::string& value) const {
  switch (prop) {
    case pgspAlt: value = Alt; return true;
    case pgspFileName: value = FileName; return true;
    default: return TPGRectItemInfo::GetStrProp(prop, value);
  }
}

std::unique_ptr<TCustomPGItemInfo> TPGGraphicItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGGraphicItemInfo>(container);
}

bool TPGHotGraphicItemInfo::QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const {
  switch (trait) {
    case pgstJump:
    case pgstFocusable:
    case pgstShowsJumpCursor: return true;
    default: return TPGGraphicItemInfo::QueryStyledTrait(trait, style);
  }
}

std::unique_ptr<TCustomPGItemInfo> TPGHotGraphicItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGHotGraphicItemInfo>(container);
}

}  // namespace pagora
