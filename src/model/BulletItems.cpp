#include "model/BulletItems.h"

#include "graphics/ImageList.h"

namespace pagora {

bool TPGBulletItemInfo::QueryTrait(TPGItemTrait trait) const {
  switch (trait) {
    case pgitValid: return ImageList != nullptr;
    case pgitChoosable: return true;
    default: return TPGRectItemInfo::QueryTrait(trait);
  }
}

int TPGBulletItemInfo::GetMinWidth(const TPGDeviceScale* scale, ICanvas*, TCustomPGData*) const {
  const int w = ContentWidth(nullptr) + 2 * Spacing();
  return scale ? scale->ScaleX(w) : w;
}

int TPGBulletItemInfo::ContentWidth(const TPGStyle*) const { return ImageList ? ImageList->Width() : 0; }
int TPGBulletItemInfo::ContentHeight(const TPGStyle*) const { return ImageList ? ImageList->Height() : 0; }
int TPGBulletItemInfo::BoxWidth() const { return ContentWidth(nullptr) + 2 * Spacing(); }
int TPGBulletItemInfo::BoxHeight() const { return ContentHeight(nullptr) + 2 * Spacing(); }

void TPGBulletItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TPGRectItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGBulletItemInfo*>(&source)) {
    ImageList = s->ImageList;
    ImageIndex = s->ImageIndex;
    NoHTMLSize = s->NoHTMLSize;
  }
}

bool TPGBulletItemInfo::SetIntProp(TPGItemIntProp prop, int value) {
  if (prop != pgipNoHTMLSize) return TPGRectItemInfo::SetIntProp(prop, value);
  NoHTMLSize = value != 0;
  return true;
}

bool TPGBulletItemInfo::GetIntProp(TPGItemIntProp prop, int& value) const {
  if (prop != pgipNoHTMLSize) return TPGRectItemInfo::GetIntProp(prop, value);
  value = NoHTMLSize ? 1 : 0;
  return true;
}

std::unique_ptr<TCustomPGItemInfo> TPGBulletItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGBulletItemInfo>(container);
}

bool TPGHotspotItemInfo::QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const {
  switch (trait) {
    case pgstJump:
    case pgstFocusable:
    case pgstShowsJumpCursor: return true;
    case pgstHoverSensitive: return HoverImageIndex != ImageIndex;
    default: return TPGBulletItemInfo::QueryStyledTrait(trait, style);
  }
}

void TPGHotspotItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TPGBulletItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGHotspotItemInfo*>(&source)) HoverImageIndex = s->HoverImageIndex;
}

std::unique_ptr<TCustomPGItemInfo> TPGHotspotItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGHotspotItemInfo>(container);
}

}  // namespace pagora
