// An embedded control: a window-system control placed inline in the text.
#pragma once

#include <memory>

#include "model/PGItem.h"

namespace pagora {

class TPGControlItemInfo : public TPGRectItemInfo {
public:
  explicit TPGControlItemInfo(TCustomPGData* container = nullptr);
  ~TPGControlItemInfo() override;

  std::unique_ptr<IEmbeddedControl> Control;
  bool Resizable = false;
  int WidthPercent = 0;  // 1..100: that share of the available width minus 2; 0: fixed width

  [[nodiscard]] bool QueryTrait(TPGItemTrait trait) const override;
  [[nodiscard]] bool QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const override;
  [[nodiscard]] int GetMinWidth(const TPGDeviceScale* scale, ICanvas* canvas, TCustomPGData* container) const override;
  void PaintObject(int x, int y, int baseline, const TPGItemPaint& paint) const override;
  [[nodiscard]] int ContentWidth(const TPGStyle* style) const override;
  [[nodiscard]] int ContentHeight(const TPGStyle* style) const override;
  [[nodiscard]] int BoxWidth() const override;
  [[nodiscard]] int BoxHeight() const override;
  TPGFitResult FitToWidth(int availableWidth, const TPGDeviceScale* scale, TCustomPGData* container,
                          ICanvas* canvas) override;
  void BeforeInsert(TCustomPGData* container, std::string& text, bool safe) override;
  void CopyPropertiesFrom(const TCustomPGItemInfo& source) override;
  [[nodiscard]] bool HoldsControl(const IEmbeddedControl* control) const override;
  // What the application's OnSaveComponentToFile gives for the control.
  [[nodiscard]] std::string AsText(int lineWidth, TCustomPGData* container, const std::string& text,
                                   const std::string& path, bool textOnly, bool unicode) const override;
  bool SetIntProp(TPGItemIntProp prop, int value) override;
  bool GetIntProp(TPGItemIntProp prop, int& value) const override;
  void PGFPropertyLines(std::vector<std::string>& lines) const override;
  void WritePGFRecord(TPGFWriter& writer, int itemNo, int paraNo, const std::string& name) const override;
  bool ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& context) override;
  bool ParsePGFRecordLine(std::string_view line, int lineNo, int lineCount, TPGFReadContext& context,
                          std::string& name) override;
  [[nodiscard]] std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* container) const override;

private:
  std::string className_;  // of the control being read, until its data comes
};

}  // namespace pagora
