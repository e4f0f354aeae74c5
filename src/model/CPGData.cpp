#include "model/CPGData.h"

#include <algorithm>

#include "graphics/Graphic.h"
#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/ControlItem.h"
#include "model/MarkerList.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "platform/EmbeddedControl.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora {

TCustomPGData::TCustomPGData(IPGDataOwner* owner) : owner_(owner) {}

TCustomPGData::~TCustomPGData() {
  // Not Clear(): descendants are already gone, so only this class's part is undone. A
  // nested document must clear itself in its own destructor, while it still knows the
  // document whose registry holds its markers.
  clearing_ = true;
  markers_.reset();
  for (int i = 0; i < CountItems(); ++i) FreeItem(items_[static_cast<std::size_t>(i)]);
}

// ---- owner

TCustomPGData* TCustomPGData::GetRootData() {
  TCustomPGData* d = this;
  while (TCustomPGData* p = d->GetParentData()) d = p;
  return d;
}

TPGStyle* TCustomPGData::GetStyle() const {
  if (const TCustomPGData* p = GetParentData()) return p->GetStyle();
  return owner_ ? owner_->GetStyle() : nullptr;
}

TPGOptions TCustomPGData::GetOptions() const {
  if (const TCustomPGData* p = GetParentData()) return p->GetOptions();
  return owner_ ? owner_->GetOptions() : TPGOptions{};
}

TPGBiDiMode TCustomPGData::GetBiDiMode() const {
  if (const TCustomPGData* p = GetParentData()) return p->GetBiDiMode();
  return owner_ ? owner_->GetBiDiMode() : pgbdUnspecified;
}

const std::string& TCustomPGData::GetDelimiters() const {
  static const std::string defaults = kDefaultDelimiters;
  if (const TCustomPGData* p = GetParentData()) return p->GetDelimiters();
  return owner_ ? owner_->GetDelimiters() : defaults;
}

void TCustomPGData::RaiseItemAction(TPGItemAction action, TCustomPGItemInfo* item, std::string& text) {
  TCustomPGData* root = GetRootData();
  if (root->owner_) root->owner_->ItemAction(action, item, text, this);
}

void TCustomPGData::RaiseControlAction(TPGControlAction action, int itemNo, IEmbeddedControl* control) {
  TCustomPGData* root = GetRootData();
  if (root->owner_) root->owner_->ControlAction(action, itemNo, control, this);
}

void TCustomPGData::SaveComponentToFile(const std::string& path, IEmbeddedControl* control, TPGSaveFormat format,
                                        std::string& out) {
  TCustomPGData* root = GetRootData();
  if (root->owner_) root->owner_->SaveComponentToFile(path, control, format, out);
}

void TCustomPGData::SignalRefusal() {
  const TPGStyle* style = GetStyle();
  TCustomPGData* root = GetRootData();
  if (style && style->UseSound && root->owner_) root->owner_->Beep();
}

// ---- items

void TCustomPGData::CheckIndex(int n) const {
  if (n < 0 || n >= CountItems()) throw EPagoraError(msg::ItemIndexOutOfBounds);
}

TCustomPGItemInfo& TCustomPGData::ItemAt(int n) const {
  CheckIndex(n);
  return *items_[static_cast<std::size_t>(n)].Item;
}

int TCustomPGData::IndexOfItem(const TCustomPGItemInfo* item) const {
  for (int i = 0; i < CountItems(); ++i)
    if (items_[static_cast<std::size_t>(i)].Item.get() == item) return i;
  return -1;
}

const std::string& TCustomPGData::TextOf(int n) const {
  CheckIndex(n);
  return items_[static_cast<std::size_t>(n)].Text;
}

void TCustomPGData::SetTextOf(int n, std::string text) {
  TCustomPGItemInfo& item = ItemAt(n);
  if (item.HasFlag(pgifUnicode) && text.size() % 2 != 0) throw EPagoraError(msg::CantPerformUnicode);
  items_[static_cast<std::size_t>(n)].Text = std::move(text);
}

std::u16string TCustomPGData::TextOfW(int n) const {
  const TCustomPGItemInfo& item = ItemAt(n);
  const std::string& text = items_[static_cast<std::size_t>(n)].Text;
  if (item.HasFlag(pgifUnicode)) {
    if (text.size() % 2 != 0) throw EPagoraError(msg::CantPerformUnicode);
    return U16FromBytes(text);
  }
  return CodePageToUTF16(item.IsText() ? StyleCodePage(EffectiveStyleOf(n)) : DefCodePage(), text);
}

int TCustomPGData::ItemLength(int n) const {
  const TCustomPGItemInfo& item = ItemAt(n);
  const std::size_t bytes = items_[static_cast<std::size_t>(n)].Text.size();
  return static_cast<int>(item.HasFlag(pgifUnicode) ? bytes / 2 : bytes);
}

int TCustomPGData::EffectiveStyleOf(int n) const {
  const TCustomPGItemInfo& item = ItemAt(n);
  if (item.StyleNo != kDefaultTextStyleOfPara) return item.StyleNo;
  const TPGStyle* style = GetStyle();
  if (!style) return 0;
  const int def = style->ParaStyles[item.ParaNo].DefStyleNo;
  return def < 0 ? 0 : def;
}

int TCustomPGData::ParaFirstItem(int n) const {
  CheckIndex(n);
  while (n > 0 && !items_[static_cast<std::size_t>(n)].Item->StartsPara()) --n;
  return n;
}

int TCustomPGData::ParaLastItem(int n) const {
  CheckIndex(n);
  while (n + 1 < CountItems() && !items_[static_cast<std::size_t>(n + 1)].Item->StartsPara()) ++n;
  return n;
}

int TCustomPGData::LineFirstItem(int n) const {
  CheckIndex(n);
  while (n > 0 && !items_[static_cast<std::size_t>(n)].Item->StartsLine()) --n;
  return n;
}

void TCustomPGData::WidenToParas(int& first, int& last) const {
  first = ParaFirstItem(first);
  last = ParaLastItem(last);
}

void TCustomPGData::WidenToLines(int& first, int& last) const {
  first = LineFirstItem(first);
  CheckIndex(last);
  while (last + 1 < CountItems() && !items_[static_cast<std::size_t>(last + 1)].Item->StartsLine()) ++last;
}

bool TCustomPGData::HasPageBreak(int n) const {
  if (n < 0 || n >= CountItems()) throw EPagoraError(msg::ItemIndexOutOfBounds);
  if (n > 0 && items_[static_cast<std::size_t>(n - 1)].Item->StyleNo == pgsListMarker)
    return items_[static_cast<std::size_t>(n - 1)].Item->HasFlag(pgifPageBreakBefore);
  return items_[static_cast<std::size_t>(n)].Item->HasFlag(pgifPageBreakBefore);
}

void TCustomPGData::SetPageBreak(int n, bool value) {
  if (n < 0 || n >= CountItems()) throw EPagoraError(msg::ItemIndexOutOfBounds);
  if (n > 0 && items_[static_cast<std::size_t>(n - 1)].Item->StyleNo == pgsListMarker) --n;
  TCustomPGItemInfo& item = *items_[static_cast<std::size_t>(n)].Item;
  // A page break starts a paragraph; only an item that starts one can carry it.
  if (value && !item.StartsPara()) return;
  item.SetFlag(pgifPageBreakBefore, value && SupportsPageBreaks());
}

bool TCustomPGData::SetPropByKeyword(int n, std::string_view keyword, const std::string& value) {
  TCustomPGItemInfo& item = ItemAt(n);
  if (const auto ip = IntPropFromKeyword(keyword)) {
    char* end = nullptr;
    const long v = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0') return false;
    return item.SetIntProp(*ip, static_cast<int>(v));
  }
  if (const auto sp = StrPropFromKeyword(keyword)) return item.SetStrProp(*sp, value);
  item.SetCustomProp(std::string(keyword), value);
  return true;
}

TPGImageItemInfo TCustomPGData::ReadImageItem(int n) const {
  const auto* bullet = dynamic_cast<const TPGBulletItemInfo*>(&ItemAt(n));
  if (!bullet) throw EPagoraError(msg::CantGetSetInfo);
  return {items_[static_cast<std::size_t>(n)].Text, bullet->ImageIndex, bullet->ImageList, bullet->Tag};
}

void TCustomPGData::WriteImageItem(int n, const std::string& name, int imageIndex, TPGTag tag) {
  auto* bullet = dynamic_cast<TPGBulletItemInfo*>(&ItemAt(n));
  if (!bullet) throw EPagoraError(msg::CantGetSetInfo);
  std::string text = name;
  NormalizeText8(text);
  items_[static_cast<std::size_t>(n)].Text = std::move(text);
  bullet->ImageIndex = imageIndex;
  bullet->Tag = std::move(tag);
}

TPGBiDiMode TCustomPGData::DirectionOf(int n) const {
  const TCustomPGItemInfo& item = ItemAt(n);
  const TPGStyle* style = GetStyle();
  if (style) {
    if (item.IsText()) {
      const TPGBiDiMode m = style->TextStyles[EffectiveStyleOf(n)].BiDiMode;
      if (m != pgbdUnspecified) return m;
    }
    const TPGBiDiMode p = style->ParaStyles[item.ParaNo].BiDiMode;
    if (p != pgbdUnspecified) return p;
  }
  return GetBiDiMode();
}

TPGCodePage TCustomPGData::DefCodePage() const {
  const TPGStyle* style = GetStyle();
  return style ? style->DefCodePage : CP_ACP;
}

TPGCodePage TCustomPGData::StyleCodePage(int styleNo) const {
  const TPGStyle* style = GetStyle();
  if (!style) return CP_ACP;
  if (styleNo < 0) return style->DefCodePage;
  return CharsetToCodePage(style->TextStyles[styleNo].Charset);
}

// ---- building

void TCustomPGData::AppendItem(std::string text, std::unique_ptr<TCustomPGItemInfo> item) {
  const bool fullWidth = item->QueryTrait(pgitFullWidth);
  const TCustomPGItemInfo* last = items_.empty() ? nullptr : items_.back().Item.get();
  const bool lastFullWidth = last && last->QueryTrait(pgitFullWidth);
  if (item->ParaNo == -1 && last && !lastFullWidth && !fullWidth) {
    item->SetFlag(pgifContinuesPara, true);
    item->ParaNo = last->ParaNo;
  } else {
    if (last && last->StyleNo == pgsListMarker) {
      // A marker is never the last item of its paragraph: it is followed by text.
      auto empty = CreateItem(0, this);
      empty->ParaNo = -1;
      if (const TPGStyle* style = GetStyle(); style && style->TextStyles[0].Unicode) empty->SetFlag(pgifUnicode, true);
      AppendItem(std::string(), std::move(empty));
      last = items_.back().Item.get();
    }
    item->SetFlag(pgifContinuesPara, false);
    // A line break never starts a document, follows a full-width item, or carries a page break.
    const bool wantsLineBreak = item->HasFlag(pgifLineBreakBefore) || !paragraphMode_;
    const bool lineBreak = wantsLineBreak && !fullWidth && last && !lastFullWidth &&
                           !item->HasFlag(pgifPageBreakBefore);
    item->SetFlag(pgifLineBreakBefore, lineBreak);
    if (lineBreak) item->ParaNo = last->ParaNo;  // a line inside the paragraph keeps its style
    if (item->ParaNo == -1) item->ParaNo = 0;
  }
  if (!SupportsPageBreaks()) item->SetFlag(pgifPageBreakBefore, false);
  // Checkpoints: the item's own becomes the pending one, and the pending one is attached.
  if (item->Checkpoint) {
    std::unique_ptr<TPGCPInfo> own = std::move(item->Checkpoint);
    if (pendingCP_) {
      pendingCP_->CopyFrom(*own);
    } else {
      own->Next = own->Prev = nullptr;
      pendingCP_ = std::move(own);
      ++cpCount_;
    }
  }
  const int n = CountItems();
  if (pendingCP_) {
    pendingCP_->Item = item.get();
    pendingCP_->ItemNo = n;
    LinkCheckpointAfter(pendingCP_.get(), lastCP_);
    item->Checkpoint = std::move(pendingCP_);
  }
  TCustomPGItemInfo* raw = item.get();
  raw->BeforeInsert(this, text, false);
  items_.push_back({std::move(text), std::move(item)});
  ItemsInserted(n, 1);
  raw->AfterInsert(this, n);
}

void TCustomPGData::InsertItemAt(int p, std::string text, std::unique_ptr<TCustomPGItemInfo> item) {
  p = std::clamp(p, 0, CountItems());
  if (item->Checkpoint) {
    TPGCPInfo* cp = item->Checkpoint.get();
    cp->Item = item.get();
    cp->ItemNo = p;
    LinkCheckpointAfter(cp, CheckpointBefore(p));
    ++cpCount_;
  }
  TCustomPGItemInfo* raw = item.get();
  raw->BeforeInsert(this, text, false);
  items_.insert(items_.begin() + p, TPGItemEntry{std::move(text), std::move(item)});
  if (p + 1 < CountItems()) cpNumbersValid_ = false;
  ItemsInserted(p, 1);
  raw->AfterInsert(this, p);
}

TPGFStyleMaps& TCustomPGData::PGFStyleMaps() {
  TCustomPGData* root = GetRootData();
  if (!root->pgfMaps_) root->pgfMaps_ = std::make_unique<TPGFStyleMaps>();
  return *root->pgfMaps_;
}

std::unique_ptr<TPGCPInfo> TCustomPGData::TakePendingCheckpoint() {
  if (pendingCP_) --cpCount_;
  return std::move(pendingCP_);
}

void TCustomPGData::SetPendingCheckpoint(std::unique_ptr<TPGCPInfo> checkpoint) {
  if (pendingCP_) --cpCount_;
  pendingCP_ = std::move(checkpoint);
  if (pendingCP_) {
    pendingCP_->Item = nullptr;
    pendingCP_->Next = pendingCP_->Prev = nullptr;
    ++cpCount_;
  }
}

bool TCustomPGData::InsertFirstReadItem(int& p, std::string text, std::unique_ptr<TCustomPGItemInfo> item) {
  InsertItemAt(p, std::move(text), std::move(item));
  ++p;
  return true;
}

bool TCustomPGData::StyleIsUnicode(int textStyle, int paraStyle) const {
  const TPGStyle* style = GetStyle();
  return style && style->TextStyles[ResolveTextStyle(textStyle, paraStyle)].Unicode;
}

void TCustomPGData::ExpandTabs8(std::string& text) const {
  if (text.find('\t') == std::string::npos) return;
  const TPGStyle* style = GetStyle();
  const std::size_t spaces = style ? static_cast<std::size_t>(std::max<int>(style->SpacesInTab, 0)) : 8;
  std::string out;
  out.reserve(text.size() + spaces * 4);
  for (char c : text) {
    if (c == '\t') out.append(spaces, ' ');
    else out.push_back(c);
  }
  text = std::move(out);
}

void TCustomPGData::ExpandTabsUTF16Bytes(std::string& bytes) const {
  bool hasTab = false;
  for (std::size_t i = 0; i + 1 < bytes.size() && !hasTab; i += 2) hasTab = bytes[i] == '\t' && bytes[i + 1] == 0;
  if (!hasTab) return;
  const TPGStyle* style = GetStyle();
  const std::size_t spaces = style ? static_cast<std::size_t>(std::max<int>(style->SpacesInTab, 0)) : 8;
  std::string out;
  out.reserve(bytes.size() + spaces * 8);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == '\t' && bytes[i + 1] == 0) {
      for (std::size_t k = 0; k < spaces; ++k) out.append(" \0", 2);
    } else {
      out.push_back(bytes[i]);
      out.push_back(bytes[i + 1]);
    }
  }
  bytes = std::move(out);
}

void TCustomPGData::NormalizeText8(std::string& text) {
  for (char& c : text) {
    if (c == '\0') c = '?';
    else if (c == '\r' || c == '\n') c = ' ';
  }
}

void TCustomPGData::NormalizeTextUTF16(std::u16string& text) {
  for (char16_t& c : text) {
    if (c == 0) c = u'?';
    else if (c == 0x2029) c = u' ';
  }
}

void TCustomPGData::NormalizeTextUTF16Bytes(std::string& bytes) {
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[i]);
    const auto hi = static_cast<unsigned char>(bytes[i + 1]);
    if (lo == 0 && hi == 0) bytes[i] = '?';
    else if (lo == 0x29 && hi == 0x20) { bytes[i] = ' '; bytes[i + 1] = 0; }
  }
}

void TCustomPGData::AppendText(std::string text, int textStyle, int paraStyle, TPGTag tag) {
  if (textStyle < 0) textStyle = kDefaultTextStyleOfPara;
  const bool unicode = StyleIsUnicode(textStyle, paraStyle);
  if (unicode) {
    if (text.size() % 2 != 0) throw EPagoraError(msg::CantPerformUnicode);
    ExpandTabsUTF16Bytes(text);
    NormalizeTextUTF16Bytes(text);
  } else {
    ExpandTabs8(text);
    NormalizeText8(text);
  }
  auto item = CreateItem(textStyle, this);
  item->ParaNo = paraStyle < 0 ? -1 : paraStyle;
  item->SetFlag(pgifUnicode, unicode);
  item->Tag = std::move(tag);
  AppendItem(std::move(text), std::move(item));
}

int TCustomPGData::ResolveTextStyle(int textStyle, int paraStyle) const {
  if (textStyle != kDefaultTextStyleOfPara) return textStyle;
  const TPGStyle* style = GetStyle();
  if (!style) return 0;
  int para = paraStyle;
  if (para < 0) para = items_.empty() ? 0 : items_.back().Item->ParaNo;
  const int def = style->ParaStyles[para].DefStyleNo;
  return def < 0 ? 0 : def;
}

void TCustomPGData::AppendText8(std::string_view text, int textStyle, int paraStyle, TPGTag tag) {
  const int style = textStyle < 0 ? kDefaultTextStyleOfPara : textStyle;
  if (StyleIsUnicode(style, paraStyle)) {
    const std::u16string w = CodePageToUTF16(StyleCodePage(ResolveTextStyle(style, paraStyle)), text);
    AppendText(BytesFromU16(w), style, paraStyle, std::move(tag));
  } else {
    AppendText(std::string(text), style, paraStyle, std::move(tag));
  }
}

void TCustomPGData::AppendTextUTF16(std::u16string_view text, int textStyle, int paraStyle, TPGTag tag) {
  const int style = textStyle < 0 ? kDefaultTextStyleOfPara : textStyle;
  if (StyleIsUnicode(style, paraStyle)) {
    AppendText(BytesFromU16(text), style, paraStyle, std::move(tag));
  } else {
    AppendText(UTF16ToCodePage(StyleCodePage(ResolveTextStyle(style, paraStyle)), text), style, paraStyle,
               std::move(tag));
  }
}

void TCustomPGData::AppendNonText(std::string name, std::unique_ptr<TCustomPGItemInfo> item, int paraStyle,
                                  TPGTag tag) {
  NormalizeText8(name);
  item->ParaNo = paraStyle < 0 ? -1 : paraStyle;
  item->Tag = std::move(tag);
  AppendItem(std::move(name), std::move(item));
}

void TCustomPGData::AppendBreak(int width, std::uint8_t style, TColor color, TPGTag tag) {
  auto item = std::make_unique<TPGBreakItemInfo>(this);
  item->Width = static_cast<std::uint8_t>(std::clamp(width, 0, 255));
  item->Style = style;
  item->Color = color;
  AppendNonText(std::string(), std::move(item), 0, std::move(tag));
}

void TCustomPGData::AppendPicture(std::string name, std::unique_ptr<TGraphic> image, int paraStyle, TPGVAlign vAlign,
                                  TPGTag tag) {
  auto item = std::make_unique<TPGGraphicItemInfo>(this);
  item->Image = std::move(image);
  item->VAlign = vAlign;
  AppendNonText(std::move(name), std::move(item), paraStyle, std::move(tag));
}

void TCustomPGData::AppendHotPicture(std::string name, std::unique_ptr<TGraphic> image, int paraStyle,
                                     TPGVAlign vAlign, TPGTag tag) {
  auto item = std::make_unique<TPGHotGraphicItemInfo>(this);
  item->Image = std::move(image);
  item->VAlign = vAlign;
  AppendNonText(std::move(name), std::move(item), paraStyle, std::move(tag));
}

void TCustomPGData::AppendBullet(std::string name, int imageIndex, TPGImageList* imageList, int paraStyle,
                                 TPGTag tag) {
  auto item = std::make_unique<TPGBulletItemInfo>(this);
  item->ImageIndex = imageIndex;
  item->ImageList = imageList;
  AppendNonText(std::move(name), std::move(item), paraStyle, std::move(tag));
}

void TCustomPGData::AppendHotspot(std::string name, int imageIndex, int hotImageIndex, TPGImageList* imageList,
                                  int paraStyle, TPGTag tag) {
  auto item = std::make_unique<TPGHotspotItemInfo>(this);
  item->ImageIndex = imageIndex;
  item->HoverImageIndex = hotImageIndex;
  item->ImageList = imageList;
  AppendNonText(std::move(name), std::move(item), paraStyle, std::move(tag));
}

void TCustomPGData::AppendControl(std::string name, std::unique_ptr<IEmbeddedControl> control, int paraStyle,
                                  TPGVAlign vAlign, TPGTag tag) {
  auto item = std::make_unique<TPGControlItemInfo>(this);
  item->Control = std::move(control);
  item->VAlign = vAlign;
  AppendNonText(std::move(name), std::move(item), paraStyle, std::move(tag));
}

// ---- checkpoints

void TCustomPGData::LinkCheckpointAfter(TPGCPInfo* cp, TPGCPInfo* after) {
  cp->Prev = after;
  cp->Next = after ? after->Next : firstCP_;
  if (cp->Next) cp->Next->Prev = cp;
  else lastCP_ = cp;
  if (after) after->Next = cp;
  else firstCP_ = cp;
}

void TCustomPGData::UnlinkCheckpoint(TPGCPInfo* cp) {
  if (cp->Prev) cp->Prev->Next = cp->Next;
  else if (firstCP_ == cp) firstCP_ = cp->Next;
  if (cp->Next) cp->Next->Prev = cp->Prev;
  else if (lastCP_ == cp) lastCP_ = cp->Prev;
  cp->Next = cp->Prev = nullptr;
}

int TCustomPGData::AppendCheckpoint(const std::string& name, bool raiseEvent, TPGTag tag) {
  if (pendingCP_) return cpCount_ - 1;
  pendingCP_ = std::make_unique<TPGCPInfo>();
  pendingCP_->Name = name;
  pendingCP_->RaiseEvent = raiseEvent;
  pendingCP_->Tag = std::move(tag);
  ++cpCount_;
  return cpCount_ - 1;
}

void TCustomPGData::AttachCheckpoint(int n, TPGTag tag, bool raiseEvent, const std::string& name) {
  TCustomPGItemInfo& item = ItemAt(n);
  if (item.Checkpoint) throw EPagoraError(msg::CheckpointAlreadyExists);
  auto cp = std::make_unique<TPGCPInfo>();
  cp->Name = name;
  cp->RaiseEvent = raiseEvent;
  cp->Tag = std::move(tag);
  cp->Item = &item;
  cp->ItemNo = n;
  LinkCheckpointAfter(cp.get(), CheckpointBefore(n));
  item.Checkpoint = std::move(cp);
  ++cpCount_;
}

void TCustomPGData::UpdateCheckpoint(int n, TPGTag tag, bool raiseEvent, const std::string& name) {
  TCustomPGItemInfo& item = ItemAt(n);
  if (!item.Checkpoint) {
    AttachCheckpoint(n, std::move(tag), raiseEvent, name);
    return;
  }
  item.Checkpoint->Name = name;
  item.Checkpoint->RaiseEvent = raiseEvent;
  item.Checkpoint->Tag = std::move(tag);
}

TCustomPGData::TCheckpointDescription TCustomPGData::DescribeCheckpoint(const TPGCPInfo* checkpoint) const {
  if (!checkpoint) throw EPagoraError(msg::ParameterCantBeNil);
  return {checkpoint->Tag, checkpoint->Name, checkpoint->RaiseEvent};
}

TPGCPInfo* TCustomPGData::CheckpointBefore(int n) const {
  for (int i = std::min(n, CountItems()) - 1; i >= 0; --i)
    if (TPGCPInfo* cp = items_[static_cast<std::size_t>(i)].Item->Checkpoint.get()) return cp;
  return nullptr;
}

void TCustomPGData::RefreshCheckpointNumbers() const {
  for (int i = 0; i < CountItems(); ++i)
    if (TPGCPInfo* cp = items_[static_cast<std::size_t>(i)].Item->Checkpoint.get()) cp->ItemNo = i;
  cpNumbersValid_ = true;
}

int TCustomPGData::CheckpointItemNo(const TPGCPInfo* checkpoint) const {
  if (!checkpoint || !checkpoint->Item) return -1;
  if (!cpNumbersValid_) RefreshCheckpointNumbers();
  return checkpoint->ItemNo;
}

int TCustomPGData::CheckpointNo(const TPGCPInfo* checkpoint) const {
  int i = 0;
  for (const TPGCPInfo* cp = firstCP_; cp; cp = cp->Next, ++i)
    if (cp == checkpoint) return i;
  if (checkpoint && checkpoint == pendingCP_.get()) return cpCount_ - 1;
  return -1;
}

// ---- moving and removing

void TCustomPGData::TakeItemsFrom(TCustomPGData& other) {
  if (&other == this) return;
  if (TagsAreStrings() != other.TagsAreStrings()) throw EPagoraError(msg::TagsTypesMismatch);
  std::vector<TPGItemEntry> moved = std::move(other.items_);
  other.items_.clear();
  other.firstCP_ = other.lastCP_ = nullptr;
  other.cpCount_ = other.pendingCP_ ? 1 : 0;
  other.ItemsRemoved(0, static_cast<int>(moved.size()));
  for (TPGItemEntry& entry : moved) {
    TCustomPGItemInfo& item = *entry.Item;
    if (item.Checkpoint) item.Checkpoint->Next = item.Checkpoint->Prev = nullptr;
    if (item.HasFlag(pgifContinuesPara)) item.ParaNo = -1;
    AppendItem(std::move(entry.Text), std::move(entry.Item));
  }
  // The other's pending checkpoint waits for the next item here, unless one already does.
  if (other.pendingCP_) {
    if (!pendingCP_) {
      pendingCP_ = std::move(other.pendingCP_);
      ++cpCount_;
    } else {
      other.pendingCP_.reset();
    }
    other.cpCount_ = 0;
  }
}

void TCustomPGData::UnregisterMarkersOf(int first, int count) {
  TPGMarkerList* list = GetMarkerList();
  if (!list) return;
  std::vector<const TPGMarkerItemInfo*> gone;
  std::vector<int> lists;
  for (int i = first; i < first + count; ++i) {
    TCustomPGItemInfo* item = items_[static_cast<std::size_t>(i)].Item.get();
    std::vector<TPGMarkerItemInfo*> inside;
    if (auto* marker = dynamic_cast<TPGMarkerItemInfo*>(item)) inside.push_back(marker);
    for (int s = 0; s < item->SubDocumentCount(); ++s)
      if (const TCustomPGData* sub = item->SubDocument(s)) sub->CollectMarkers(inside);
    for (TPGMarkerItemInfo* m : inside) {
      gone.push_back(m);
      if (std::find(lists.begin(), lists.end(), m->ListStyleNo) == lists.end()) lists.push_back(m->ListStyleNo);
    }
  }
  if (gone.empty()) return;
  list->RemoveAll(gone);
  TCustomPGData* root = GetRootData();
  if (list->Empty()) {
    root->markers_.reset();
    return;
  }
  if (!clearing_)
    for (int l : lists) Renumber(l);
}

void TCustomPGData::FreeItem(TPGItemEntry& entry) {
  if (!entry.Item) return;
  if (TPGCPInfo* cp = entry.Item->Checkpoint.get()) {
    UnlinkCheckpoint(cp);
    --cpCount_;
  }
  entry.Item.reset();
}

void TCustomPGData::RemoveItems(int first, int count) {
  if (first < 0 || first >= CountItems() || count <= 0) return;
  count = std::min(count, CountItems() - first);
  for (int i = first; i < first + count; ++i) {
    TPGItemEntry& entry = items_[static_cast<std::size_t>(i)];
    RaiseItemAction(pgiaDestroying, entry.Item.get(), entry.Text);
    if (auto* control = dynamic_cast<TPGControlItemInfo*>(entry.Item.get()))
      RaiseControlAction(pgcaDestroy, i, control->Control.get());
  }
  // The markers leave the registry in one pass, before their items are freed.
  UnregisterMarkersOf(first, count);
  for (int i = first; i < first + count; ++i) FreeItem(items_[static_cast<std::size_t>(i)]);
  items_.erase(items_.begin() + first, items_.begin() + first + count);
  cpNumbersValid_ = false;
  // Keep the paragraph structure whole: what follows the gap starts a paragraph where it
  // must, and otherwise carries the style of the paragraph it now continues.
  if (first < CountItems()) {
    TCustomPGItemInfo& next = *items_[static_cast<std::size_t>(first)].Item;
    const bool mustStart = first == 0 || items_[static_cast<std::size_t>(first - 1)].Item->QueryTrait(pgitFullWidth);
    if (mustStart && !next.StartsPara()) {
      next.SetFlag(pgifContinuesPara, false);
      next.SetFlag(pgifLineBreakBefore, false);
    }
    if (!next.StartsPara()) {
      const int paraNo = items_[static_cast<std::size_t>(first - 1)].Item->ParaNo;
      for (int i = first; i < CountItems() && !items_[static_cast<std::size_t>(i)].Item->StartsPara(); ++i)
        items_[static_cast<std::size_t>(i)].Item->ParaNo = paraNo;
    }
  }
  ItemsRemoved(first, count);
}

void TCustomPGData::Clear() {
  clearing_ = true;
  for (int i = 0; i < CountItems(); ++i) {
    TPGItemEntry& entry = items_[static_cast<std::size_t>(i)];
    RaiseItemAction(pgiaDestroying, entry.Item.get(), entry.Text);
    if (auto* control = dynamic_cast<TPGControlItemInfo*>(entry.Item.get()))
      RaiseControlAction(pgcaDestroy, i, control->Control.get());
  }
  if (GetParentData() == nullptr) markers_.reset();  // the whole registry goes with the document
  else UnregisterMarkersOf(0, CountItems());
  for (int i = 0; i < CountItems(); ++i) FreeItem(items_[static_cast<std::size_t>(i)]);
  const int count = CountItems();
  items_.clear();
  markers_.reset();
  pendingCP_.reset();
  firstCP_ = lastCP_ = nullptr;
  cpCount_ = 0;
  cpNumbersValid_ = true;
  clearing_ = false;
  if (count > 0) ItemsRemoved(0, count);
}

// ---- styles

void TCustomPGData::MarkUsedStyles(TPGStyleUsage& usage) const {
  for (const TPGItemEntry& e : items_) e.Item->MarkUsedStyles(usage);
}

namespace {

// Marks, transitively, the styles a marked style refers to through ref.
template <class RefOf>
void MarkReferences(TCustomPGInfos& styles, std::vector<bool>& used, RefOf refOf) {
  std::vector<int> work;
  for (int i = 0; i < styles.Count(); ++i)
    if (used[static_cast<std::size_t>(i)]) work.push_back(i);
  while (!work.empty()) {
    const int i = work.back();
    work.pop_back();
    for (int* ref : refOf(styles.Info(i))) {
      if (*ref < 0) continue;
      if (*ref >= styles.Count()) {
        *ref = -1;  // a reference to nothing
        continue;
      }
      if (!used[static_cast<std::size_t>(*ref)]) {
        used[static_cast<std::size_t>(*ref)] = true;
        work.push_back(*ref);
      }
    }
  }
}

std::vector<int> Renumbering(const std::vector<bool>& used) {
  std::vector<int> table(used.size(), -1);
  int next = 0;
  for (std::size_t i = 0; i < used.size(); ++i)
    if (used[i]) table[i] = next++;
  return table;
}

bool AllUsed(const std::vector<bool>& used) {
  return std::all_of(used.begin(), used.end(), [](bool b) { return b; });
}

}  // namespace

void TCustomPGData::PurgeStyles(bool textStyles, bool paraStyles, bool listStyles) {
  TPGStyle* style = GetStyle();
  if (!style) return;
  TPGStyleUsage usage;
  usage.Text.assign(static_cast<std::size_t>(style->TextStyles.Count()), !textStyles);
  usage.Para.assign(static_cast<std::size_t>(style->ParaStyles.Count()), !paraStyles);
  usage.List.assign(static_cast<std::size_t>(style->ListStyles.Count()), !listStyles);

  if (style->DefUnicodeStyle >= style->TextStyles.Count()) style->DefUnicodeStyle = -1;
  TPGStyleUsage::Mark(usage.Text, style->DefUnicodeStyle);
  auto markStandard = [](TCustomPGInfos& styles, std::vector<bool>& used) {
    for (int i = 0; i < styles.Count(); ++i)
      if (styles.Info(i).Standard) used[static_cast<std::size_t>(i)] = true;
  };
  markStandard(style->TextStyles, usage.Text);
  markStandard(style->ParaStyles, usage.Para);
  markStandard(style->ListStyles, usage.List);
  GetRootData()->MarkUsedStyles(usage);

  MarkReferences(style->ParaStyles, usage.Para, [](TCustomPGInfo& s) {
    auto& p = static_cast<TParaInfo&>(s);
    return std::vector<int*>{&p.BaseStyleNo, &p.NextParaNo};
  });
  for (int i = 0; i < style->ParaStyles.Count(); ++i) {
    TParaInfo& p = style->ParaStyles[i];
    if (p.DefStyleNo >= style->TextStyles.Count()) p.DefStyleNo = -1;
    if (usage.Para[static_cast<std::size_t>(i)]) TPGStyleUsage::Mark(usage.Text, p.DefStyleNo);
  }
  MarkReferences(style->TextStyles, usage.Text, [](TCustomPGInfo& s) {
    auto& f = static_cast<TFontInfo&>(s);
    return std::vector<int*>{&f.BaseStyleNo, &f.NextStyleNo};
  });
  MarkReferences(style->ListStyles, usage.List, [](TCustomPGInfo& s) { return std::vector<int*>{&s.BaseStyleNo}; });

  TPGStyleRenumbering r;
  if (!AllUsed(usage.Text)) r.Text = Renumbering(usage.Text);
  if (!AllUsed(usage.Para)) r.Para = Renumbering(usage.Para);
  if (!AllUsed(usage.List)) r.List = Renumbering(usage.List);
  if (r.Text.empty() && r.Para.empty() && r.List.empty()) return;

  if (!r.Text.empty()) style->TextStyles.Retain(usage.Text);
  if (!r.Para.empty()) style->ParaStyles.Retain(usage.Para);
  if (!r.List.empty()) style->ListStyles.Retain(usage.List);
  for (int i = 0; i < style->TextStyles.Count(); ++i) {
    TFontInfo& f = style->TextStyles[i];
    f.BaseStyleNo = TPGStyleRenumbering::Apply(r.Text, f.BaseStyleNo);
    f.NextStyleNo = TPGStyleRenumbering::Apply(r.Text, f.NextStyleNo);
  }
  for (int i = 0; i < style->ParaStyles.Count(); ++i) {
    TParaInfo& p = style->ParaStyles[i];
    p.BaseStyleNo = TPGStyleRenumbering::Apply(r.Para, p.BaseStyleNo);
    p.NextParaNo = TPGStyleRenumbering::Apply(r.Para, p.NextParaNo);
    p.DefStyleNo = TPGStyleRenumbering::Apply(r.Text, p.DefStyleNo);
  }
  for (int i = 0; i < style->ListStyles.Count(); ++i) {
    TPGListInfo& l = style->ListStyles[i];
    l.BaseStyleNo = TPGStyleRenumbering::Apply(r.List, l.BaseStyleNo);
  }
  style->DefUnicodeStyle = TPGStyleRenumbering::Apply(r.Text, style->DefUnicodeStyle);

  TCustomPGData* root = GetRootData();
  for (TPGItemEntry& e : root->items_) e.Item->RenumberStyles(r);
  root->StylesRenumbered(r);
}

// ---- joining

bool TCustomPGData::CanJoinItems(int n, bool ignoreParaBoundary) const {
  if (n < 0 || n + 1 >= CountItems()) return false;
  const TPGItemEntry& a = items_[static_cast<std::size_t>(n)];
  const TPGItemEntry& b = items_[static_cast<std::size_t>(n + 1)];
  if (!a.Item->IsText() || !b.Item->IsText()) return false;
  if (!ignoreParaBoundary && !b.Item->HasFlag(pgifContinuesPara)) return false;
  if (a.Text.empty()) return !(a.Item->Checkpoint && b.Item->Checkpoint);  // the second item stays
  if (b.Item->Checkpoint) return false;
  if (b.Text.empty()) return true;
  if (a.Item->StyleNo != b.Item->StyleNo) return false;
  if (a.Item->HasFlag(pgifUnicode) != b.Item->HasFlag(pgifUnicode)) return false;
  if (a.Item->Hint() != b.Item->Hint() || !(a.Item->Tag == b.Item->Tag)) return false;
  if (const TPGStyle* style = GetStyle()) {
    const TFontInfo& f = style->TextStyles[EffectiveStyleOf(n)];
    if (f.Protection.Contains(pgprModifyProtect) || f.Protection.Contains(pgprConcateProtect)) return false;
  }
  return true;
}

void TCustomPGData::JoinItems(int n) {
  if (n < 0 || n + 1 >= CountItems()) throw EPagoraError(msg::ItemIndexOutOfBounds);
  TPGItemEntry& a = items_[static_cast<std::size_t>(n)];
  TPGItemEntry& b = items_[static_cast<std::size_t>(n + 1)];
  const bool crossesPara = !b.Item->HasFlag(pgifContinuesPara);
  int removed = n + 1;
  if (a.Text.empty()) {
    // Keep the second item (its own style, encoding and checkpoint) in the first one's place.
    TCustomPGItemInfo& keep = *b.Item;
    const bool unicode = keep.HasFlag(pgifUnicode);
    keep.SetFlags(a.Item->Flags() - TPGItemFlags{pgifUnicode});
    keep.SetFlag(pgifUnicode, unicode);
    keep.ParaNo = a.Item->ParaNo;
    if (a.Item->Checkpoint && !keep.Checkpoint) {
      keep.Checkpoint = std::move(a.Item->Checkpoint);
      keep.Checkpoint->Item = &keep;
    }
    removed = n;
  } else {
    a.Text += b.Text;
  }
  TPGItemEntry& gone = items_[static_cast<std::size_t>(removed)];
  FreeItem(gone);
  items_.erase(items_.begin() + removed);
  cpNumbersValid_ = false;
  if (crossesPara) {
    // The rest of the second paragraph now belongs to the first.
    const int paraNo = items_[static_cast<std::size_t>(n)].Item->ParaNo;
    for (int i = n + 1; i < CountItems() && !items_[static_cast<std::size_t>(i)].Item->StartsPara(); ++i)
      items_[static_cast<std::size_t>(i)].Item->ParaNo = paraNo;
  }
  ItemsRemoved(removed, 1);
}

// ---- words

bool TCustomPGData::IsWordDelimiter(char c) const { return GetDelimiters().find(c) != std::string::npos; }

bool TCustomPGData::IsWordDelimiterW(char16_t c) const {
  return c <= 0xFF && GetDelimiters().find(static_cast<char>(c)) != std::string::npos;
}

}  // namespace pagora
