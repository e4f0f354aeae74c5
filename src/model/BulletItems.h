// Bullets (an image from an image list) and hot spots (a bullet that is a hypertext link
// and may show another image while the mouse is over it).
#pragma once

#include "model/PGItem.h"

namespace pagora {

class TPGImageList;

class TPGBulletItemInfo : public TPGRectItemInfo {
public:
  explicit TPGBulletItemInfo(TCustomPGData* container = nullptr) : TPGRectItemInfo(container) { StyleNo = pgsBullet; }

  TPGImageList* ImageList = nullptr;  // shared, never owned
  int ImageIndex = 0;
  bool NoHTMLSize = false;

  // The image shown: hot spots show their hover image while hot.
  [[nodiscard]] virtual int ImageIndexFor(bool hot) const { (void)hot; return ImageIndex; }

  [[nodiscard]] bool QueryTrait(TPGItemTrait trait) const override;
  [[nodiscard]] int GetMinWidth(const TPGDeviceScale* scale, ICanvas* canvas, TCustomPGData* container) const override;
  [[nodiscard]] int ContentWidth(const TPGStyle* style) const override;
  [[nodiscard]] int ContentHeight(const TPGStyle* style) const override;
  void PaintObject(int x, int y, int baseline, const TPGItemPaint& paint) const override;
  [[nodiscard]] int BoxWidth() const override;
  [[nodiscard]] int BoxHeight() const override;
  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  bool SetIntProp(TPGItemIntProp prop, int value) override;
  bool GetIntProp(TPGItemIntProp prop, int& value) const override;
  void PGFPropertyLines(std::vector<std::string>& lines) const override;
  void WritePGFRecord(TPGFWriter& writer, int itemNo, int paraNo, const std::string& name) const override;
  bool ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& context) override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;
};

class TPGHotspotItemInfo : public TPGBulletItemInfo {
public:
  explicit TPGHotspotItemInfo(TCustomPGData* container = nullptr) : TPGBulletItemInfo(container) { StyleNo = pgsHotspot; }

  int HoverImageIndex = 0;

  [[nodiscard]] int ImageIndexFor(bool hot) const override { return hot ? HoverImageIndex : ImageIndex; }
  [[nodiscard]] bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const override;
  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  void PGFPropertyLines(std::vector<std::string>& lines) const override;
  void WritePGFRecord(TPGFWriter& writer, int itemNo, int paraNo, const std::string& name) const override;
  bool ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& context) override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;
};

}  // namespace pagora
