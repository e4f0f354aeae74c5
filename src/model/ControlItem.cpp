#include "model/ControlItem.h"

#include "model/CPGData.h"
#include "platform/EmbeddedControl.h"

namespace pagora {

TPGControlItemInfo::TPGControlItemInfo(TCustomPGData* container) : TPGRectItemInfo(container) { StyleNo = pgsComponent; }
TPGControlItemInfo::~TPGControlItemInfo() = default;

bool TPGControlItemInfo::QueryTrait(TPGItemTrait trait) const {
  switch (trait) {
    case pgitValid: return Control != nullptr;
    case pgitChoosable:
    case pgitTabNavigable:
    case pgitResizeControl: return true;
    case pgitResizable: return Resizable && WidthPercent == 0;
    default: return TPGRectItemInfo::QueryTrait(trait);
  }
}

bool TPGControlItemInfo::QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const {
  if (trait == pgstFocusable) return Control && Control->CanFocus();
  return TPGRectItemInfo::QueryStyledTrait(trait, style);
}

int TPGControlItemInfo::GetMinWidth(const TPGDeviceScale* scale, ICanvas*, TCustomPGData*) const {
  const int w = WidthPercent >= 1 && WidthPercent <= 100 ? 20 : ContentWidth(nullptr) + 2 * Spacing();
  return scale ? scale->ScaleX(w) : w;
}

int TPGControlItemInfo::ContentWidth(const TPGStyle*) const { return Control ? Control->Width() : 0; }
int TPGControlItemInfo::ContentHeight(const TPGStyle*) const { return Control ? Control->Height() : 0; }
int TPGControlItemInfo::BoxWidth() const { return ContentWidth(nullptr) + 2 * Spacing(); }
int TPGControlItemInfo::BoxHeight() const { return ContentHeight(nullptr) + 2 * Spacing(); }

TPGFitResult TPGControlItemInfo::FitToWidth(int availableWidth, const TPGDeviceScale*, TCustomPGData*, ICanvas*) {
  if (Control && WidthPercent >= 1 && WidthPercent <= 100) {
    const int width = static_cast<int>(static_cast<std::int64_t>(availableWidth) * WidthPercent / 100) - 2;
    TRect bounds = Bounds(0, 0, width > 0 ? width : 0, Control->Height());
    Control->SetBounds(bounds);
  }
  return {Spacing(), 0};
}

void TPGControlItemInfo::BeforeInsert(TCustomPGData* container, std::string& text, bool safe) {
  if (Control) {
    Control->SetVisible(false);
    Control->SetAttached(!safe && container != nullptr);
  }
  TPGRectItemInfo::BeforeInsert(container, text, safe);
}

void TPGControlItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TPGRectItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGControlItemInfo*>(&source)) {
    Resizable = s->Resizable;
    WidthPercent = s->WidthPercent;
  }
}

bool TPGControlItemInfo::HoldsControl(const IEmbeddedControl* control) const {
  return control != nullptr && Control.get() == control;
}

std::string TPGControlItemInfo::AsText(int, TCustomPGData* container, const std::string&, const std::string& path,
                                       bool, bool) const {
  std::string out;
  if (container && Control) container->SaveComponentToFile(path, Control.get(), pgsfText, out);
  return out;
}

bool TPGControlItemInfo::SetIntProp(TPGItemIntProp prop, int value) {
  switch (prop) {
    case pgipResizable: Resizable = value != 0; return true;
    case pgipMinHeightOnPage: MinHeightOnPage = value; return true;
    default: return TPGRectItemInfo::SetIntProp(prop, value);
  }
}

bool TPGControlItemInfo::GetIntProp(TPGItemIntProp prop, int& value) const {
  switch (prop) {
    case pgipResizable: value = Resizable ? 1 : 0; return true;
    case pgipMinHeightOnPage: value = MinHeightOnPage; return true;
    default: return TPGRectItemInfo::GetIntProp(prop, value);
  }
}

std::unique_ptr<TCustomPGItemInfo> TPGControlItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGControlItemInfo>(container);
}

}  // namespace pagora
