// Pictures in documents, and pictures that are hypertext links.
#pragma once

#include <memory>
#include <string>

#include "model/PGItem.h"

namespace pagora {

class TPGGraphicItemInfo : public TPGRectItemInfo {
public:
  explicit TPGGraphicItemInfo(TCustomPGData* container = nullptr);
  ~TPGGraphicItemInfo() override;

  std::unique_ptr<TGraphic> Image;
  int ShownWidth = 0;   // > 0 stretches the image to this width
  int ShownHeight = 0;  // > 0 stretches the image to this height
  bool NoHTMLSize = false;
  std::string Alt;       // UTF-8
  std::string FileName;  // UTF-8

  // Palettes do not exist on true-colour displays, so no palette copy is ever made.
  [[nodiscard]] const TGraphic* PaletteCopy() const noexcept { return nullptr; }

  [[nodiscard]] int ImageWidth() const;   // ShownWidth, else the image's own width
  [[nodiscard]] int ImageHeight() const;  // ShownHeight, else the image's own height

  [[nodiscard]] bool QueryTrait(TPGItemTrait trait) const override;
  [[nodiscard]] bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const override;
  [[nodiscard]] int GetMinWidth(const TPGDeviceScale* scale, ICanvas* canvas, TCustomPGData* container) const override;
  [[nodiscard]] const TGraphic* GetGraphic() const override { return Image.get(); }
  [[nodiscard]] int ContentWidth(const TPGStyle* style) const override;
  [[nodiscard]] int ContentHeight(const TPGStyle* style) const override;
  void PaintObject(int x, int y, int baseline, const TPGItemPaint& paint) const override;
  [[nodiscard]] int BoxWidth() const override;
  [[nodiscard]] int BoxHeight() const override;
  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  bool SetIntProp(TPGItemIntProp prop, int value) override;
  bool GetIntProp(TPGItemIntProp prop, int& value) const override;
  bool SetStrProp(TPGItemStrProp prop, const std::string& value) override;
  bool GetStrProp(TPGItemStrProp prop, std::string& value) const override;
  void PGFPropertyLines(std::vector<std::string>& lines) const override;
  void WritePGFRecord(TPGFWriter& writer, int itemNo, int paraNo, const std::string& name) const override;
  bool ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& context) override;
  bool ParsePGFRecordLine(std::string_view line, int lineNo, int lineCount, TPGFReadContext& context,
                          std::string& name) override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;
};

class TPGHotGraphicItemInfo : public TPGGraphicItemInfo {
public:
  explicit TPGHotGraphicItemInfo(TCustomPGData* container = nullptr) : TPGGraphicItemInfo(container) {
    StyleNo = pgsHotPicture;
  }
  [[nodiscard]] bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;
};

}  // namespace pagora
