#include "model/PGItem.h"

#include <map>

#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/CPGData.h"
#include "model/ControlItem.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "platform/PagoraError.h"

namespace pagora {

TCustomPGItemInfo::TCustomPGItemInfo(TCustomPGData*) {}
TCustomPGItemInfo::~TCustomPGItemInfo() = default;

const std::string& TCustomPGItemInfo::Hint() const noexcept {
  static const std::string none;
  return hint_ ? *hint_ : none;
}

void TCustomPGItemInfo::SetHint(std::string_view hint) {
  if (hint.empty()) {
    hint_.reset();
    return;
  }
  hint_ = std::make_unique<std::string>(hint);
  for (char& c : *hint_)
    if (c == '\r' || c == '\n') c = ' ';
}

void TCustomPGItemInfo::SetFlag(TPGItemFlag f, bool on) {
  if (!on) {
    flags_.Exclude(f);
    return;
  }
  switch (f) {
    case pgifContinuesPara:
      flags_.Exclude(pgifPageBreakBefore).Exclude(pgifLineBreakBefore);
      break;
    case pgifPageBreakBefore:
      flags_.Exclude(pgifContinuesPara).Exclude(pgifLineBreakBefore);
      break;
    case pgifLineBreakBefore:
      if (QueryTrait(pgitFullWidth)) return;
      flags_.Exclude(pgifContinuesPara).Exclude(pgifPageBreakBefore);
      break;
    case pgifUnicode:
      break;
  }
  flags_.Include(f);
}

void TCustomPGItemInfo::SetFlags(TPGItemFlags flags) {
  flags_ = TPGItemFlags{};
  SetFlag(pgifUnicode, flags.Contains(pgifUnicode));
  if (flags.Contains(pgifContinuesPara)) SetFlag(pgifContinuesPara, true);
  else if (flags.Contains(pgifPageBreakBefore)) SetFlag(pgifPageBreakBefore, true);
  else if (flags.Contains(pgifLineBreakBefore)) SetFlag(pgifLineBreakBefore, true);
}

bool TCustomPGItemInfo::QueryTrait(TPGItemTrait trait) const {
  return trait == pgitValid || trait == pgitReadsPGFLines || trait > pgitHTMLBlock;
}

bool TCustomPGItemInfo::QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle*) const {
  return trait == pgstPrintViaBitmap;
}

int TCustomPGItemInfo::GetMinWidth(const TPGDeviceScale* scale, ICanvas*, TCustomPGData*) const {
  return scale ? scale->ScaleX(20) : 20;
}

int TCustomPGItemInfo::ContentWidth(const TPGStyle*) const { return 0; }
int TCustomPGItemInfo::ContentHeight(const TPGStyle*) const { return 0; }

void TCustomPGItemInfo::PaintObject(int, int, int, const TPGItemPaint&) const {}
void TCustomPGItemInfo::PaintAcross(int, int, int, const TPGItemPaint&) const {}
TPGFitResult TCustomPGItemInfo::FitToWidth(int, const TPGDeviceScale*, TCustomPGData*, ICanvas*) { return {}; }

void TCustomPGItemInfo::BeforeInsert(TCustomPGData* container, std::string& text, bool) {
  if (container) container->RaiseItemAction(pgiaInserting, this, text);
}

void TCustomPGItemInfo::AfterInsert(TCustomPGData* container, int) {
  if (container) {
    std::string none;
    container->RaiseItemAction(pgiaInserted, this, none);
  }
}

void TCustomPGItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  StyleNo = source.StyleNo;
  ParaNo = source.ParaNo;
  flags_ = source.flags_;
  SetHint(source.Hint());
}

bool TCustomPGItemInfo::HoldsControl(const IEmbeddedControl*) const { return false; }

std::string TCustomPGItemInfo::AsText(int, TCustomPGData*, const std::string&, const std::string&, bool, bool) const {
  return {};
}

void TCustomPGItemInfo::MarkUsedStyles(TPGStyleUsage& usage) const { TPGStyleUsage::Mark(usage.Para, ParaNo); }

void TCustomPGItemInfo::RenumberStyles(const TPGStyleRenumbering& r) { ParaNo = TPGStyleRenumbering::Apply(r.Para, ParaNo); }

bool TCustomPGItemInfo::SetIntProp(TPGItemIntProp, int) { return false; }
bool TCustomPGItemInfo::GetIntProp(TPGItemIntProp, int&) const { return false; }

bool TCustomPGItemInfo::SetStrProp(TPGItemStrProp prop, const std::string& value) {
  if (prop != pgspHint) return false;
  SetHint(value);
  return true;
}

bool TCustomPGItemInfo::GetStrProp(TPGItemStrProp prop, std::string& value) const {
  if (prop != pgspHint) return false;
  value = Hint();
  return true;
}

void TCustomPGItemInfo::SetCustomProp(const std::string&, const std::string&) {}

// ---- text items

int TPGTextItemInfo::ActualStyleNo(const TPGStyle* style) const {
  if (StyleNo != kDefaultTextStyleOfPara) return StyleNo;
  if (!style) return 0;
  const int def = style->ParaStyles[ParaNo].DefStyleNo;
  return def < 0 ? 0 : def;
}

bool TPGTextItemInfo::QueryStyledTrait(TPGItemStyledTrait trait, const TPGStyle* style) const {
  if (!style) return trait == pgstPrintViaBitmap;
  const int s = ActualStyleNo(style);
  switch (trait) {
    case pgstJump:
    case pgstFocusable:
    case pgstShowsJumpCursor: return style->TextStyles[s].Jump;
    case pgstHoverSensitive:
      return style->TextStyles[s].Jump && const_cast<TPGStyle*>(style)->NeedsHoverRepaint(s);
    default: return TCustomPGItemInfo::QueryStyledTrait(trait, style);
  }
}

void TPGTextItemInfo::MarkUsedStyles(TPGStyleUsage& usage) const {
  TCustomPGItemInfo::MarkUsedStyles(usage);
  if (StyleNo != kDefaultTextStyleOfPara) TPGStyleUsage::Mark(usage.Text, StyleNo);
}

void TPGTextItemInfo::RenumberStyles(const TPGStyleRenumbering& r) {
  TCustomPGItemInfo::RenumberStyles(r);
  if (StyleNo != kDefaultTextStyleOfPara) StyleNo = TPGStyleRenumbering::Apply(r.Text, StyleNo);
}

std::unique_ptr<TCustomPGItemInfo> TPGTextItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGTextItemInfo>(container);
}

// ---- non-text items

void TPGNonTextItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TCustomPGItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGNonTextItemInfo*>(&source)) Unremovable = s->Unremovable;
}

bool TPGNonTextItemInfo::SetIntProp(TPGItemIntProp prop, int value) {
  if (prop != pgipUnremovable) return TCustomPGItemInfo::SetIntProp(prop, value);
  Unremovable = value != 0;
  return true;
}

bool TPGNonTextItemInfo::GetIntProp(TPGItemIntProp prop, int& value) const {
  if (prop != pgipUnremovable) return TCustomPGItemInfo::GetIntProp(prop, value);
  value = Unremovable ? 1 : 0;
  return true;
}

bool TPGFullLineItemInfo::QueryTrait(TPGItemTrait trait) const {
  return trait == pgitFullWidth || TPGNonTextItemInfo::QueryTrait(trait);
}

void TPGRectItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TPGNonTextItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGRectItemInfo*>(&source)) {
    MinHeightOnPage = s->MinHeightOnPage;
    VAlign = s->VAlign;
    VShift = s->VShift;
    VShiftAbs = s->VShiftAbs;
    spacing_ = s->spacing_;
  }
}

bool TPGRectItemInfo::SetIntProp(TPGItemIntProp prop, int value) {
  switch (prop) {
    case pgipVShift: VShift = value; return true;
    case pgipVShiftAbs: VShiftAbs = value != 0; return true;
    case pgipSpacing: SetSpacing(value); return true;
    default: return TPGNonTextItemInfo::SetIntProp(prop, value);
  }
}

bool TPGRectItemInfo::GetIntProp(TPGItemIntProp prop, int& value) const {
  switch (prop) {
    case pgipVShift: value = VShift; return true;
    case pgipVShiftAbs: value = VShiftAbs ? 1 : 0; return true;
    case pgipSpacing: value = spacing_; return true;
    default: return TPGNonTextItemInfo::GetIntProp(prop, value);
  }
}

// ---- creation and the registry of item classes

namespace {

struct RegisteredType {
  std::type_index Class;
  TPGItemFactory Factory;
};

std::map<int, RegisteredType>& ItemRegistry() {
  static std::map<int, RegisteredType> registry;
  return registry;
}

TPGItemFactory& TextItemFactory() {
  static TPGItemFactory factory = [](TCustomPGData* c) { return std::make_unique<TPGTextItemInfo>(c); };
  return factory;
}

}  // namespace

void SetTextItemClass(TPGItemFactory factory) {
  TextItemFactory() = factory ? std::move(factory)
                              : [](TCustomPGData* c) { return std::make_unique<TPGTextItemInfo>(c); };
}

void RegisterItemType(int styleNo, std::type_index itemClass, TPGItemFactory factory) {
  if (styleNo >= -9) throw EPagoraError(msg::CantRegisterItemType);
  auto& registry = ItemRegistry();
  const auto it = registry.find(styleNo);
  if (it != registry.end()) {
    if (it->second.Class == itemClass) return;
    throw EPagoraError(msg::CantRegisterItemType);
  }
  registry.emplace(styleNo, RegisteredType{itemClass, std::move(factory)});
}

bool IsItemTypeRegistered(int styleNo) { return ItemRegistry().count(styleNo) != 0; }

std::unique_ptr<TCustomPGItemInfo> CreateItem(int styleNo, TCustomPGData* container) {
  std::unique_ptr<TCustomPGItemInfo> item;
  if (styleNo >= 0) {
    item = TextItemFactory()(container);
  } else {
    switch (styleNo) {
      case pgsBreak: item = std::make_unique<TPGBreakItemInfo>(container); break;
      case pgsPicture: item = std::make_unique<TPGGraphicItemInfo>(container); break;
      case pgsHotspot: item = std::make_unique<TPGHotspotItemInfo>(container); break;
      case pgsComponent: item = std::make_unique<TPGControlItemInfo>(container); break;
      case pgsBullet: item = std::make_unique<TPGBulletItemInfo>(container); break;
      case pgsHotPicture: item = std::make_unique<TPGHotGraphicItemInfo>(container); break;
      case pgsListMarker: item = std::make_unique<TPGMarkerItemInfo>(container); break;
      default: {
        const auto it = ItemRegistry().find(styleNo);
        if (it != ItemRegistry().end()) item = it->second.Factory(container);
        break;
      }
    }
  }
  if (item) item->StyleNo = styleNo;
  return item;
}

std::unique_ptr<TCustomPGItemInfo> CopyItem(const TCustomPGItemInfo& item, TCustomPGData* container,
                                            bool copyCheckpoint) {
  std::unique_ptr<TCustomPGItemInfo> copy = item.CreateEmpty(container);
  copy->StyleNo = item.StyleNo;
  copy->CopyPropertiesFrom(item);
  if (copyCheckpoint && item.Checkpoint) {
    copy->Checkpoint = std::make_unique<TPGCPInfo>();
    copy->Checkpoint->CopyFrom(*item.Checkpoint);
    copy->Checkpoint->Item = copy.get();
  }
  copy->Tag = item.Tag;
  return copy;
}

}  // namespace pagora
