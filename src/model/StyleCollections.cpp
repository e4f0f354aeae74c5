#include "model/StyleCollections.h"

#include "platform/PagoraError.h"

namespace pagora {

TCustomPGInfos::TCustomPGInfos(TPGStyle* owner, Factory factory) : owner_(owner), factory_(std::move(factory)) {}

TCustomPGInfos::~TCustomPGInfos() = default;

TCustomPGInfo& TCustomPGInfos::Info(int i) {
  if (!IsValidIndex(i)) throw EPagoraError("Style index is out of bounds");
  return *items_[static_cast<std::size_t>(i)];
}

const TCustomPGInfo& TCustomPGInfos::Info(int i) const {
  if (!IsValidIndex(i)) throw EPagoraError("Style index is out of bounds");
  return *items_[static_cast<std::size_t>(i)];
}

TCustomPGInfo& TCustomPGInfos::AddInfo() {
  items_.push_back(factory_());
  Changed();
  return *items_.back();
}

int TCustomPGInfos::AppendCopy(const TCustomPGInfo& style) {
  TCustomPGInfo& added = AddInfo();
  added.Assign(style);
  return Count() - 1;
}

void TCustomPGInfos::Delete(int i) {
  if (!IsValidIndex(i)) throw EPagoraError("Style index is out of bounds");
  items_.erase(items_.begin() + i);
  Changed();
}

void TCustomPGInfos::Clear() {
  items_.clear();
  Changed();
}

void TCustomPGInfos::Assign(const TCustomPGInfos& source) {
  if (&source == this) return;
  items_.clear();
  for (int i = 0; i < source.Count(); ++i) AddInfo().Assign(source.Info(i));
  Changed();
}

void TCustomPGInfos::Retain(const std::vector<bool>& keep) {
  std::vector<std::unique_ptr<TCustomPGInfo>> kept;
  kept.reserve(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (i < keep.size() && keep[i]) kept.push_back(std::move(items_[i]));
  items_ = std::move(kept);
  Changed();
}

std::vector<std::string> TCustomPGInfos::Names() const {
  std::vector<std::string> names;
  names.reserve(items_.size());
  for (const auto& s : items_) names.push_back(s->StyleName);
  return names;
}

// ---- text styles

TFontInfos::TFontInfos(TPGStyle* owner, Factory factory)
    : TCustomPGInfos(owner, factory ? std::move(factory) : [] { return std::make_unique<TFontInfo>(); }) {}

TFontInfo& TFontInfos::Fallback() const {
  if (!fallback_) {
    fallback_ = std::make_unique<TFontInfo>();
    if (Count() > 0) fallback_->Assign(Info(0));
    fallback_->BackColor = clRed;
    fallback_->Color = clWhite;
  }
  return *fallback_;
}

TFontInfo& TFontInfos::operator[](int i) {
  if (!IsValidIndex(i)) return Fallback();
  return static_cast<TFontInfo&>(Info(i));
}

const TFontInfo& TFontInfos::operator[](int i) const {
  if (!IsValidIndex(i)) return Fallback();
  return static_cast<const TFontInfo&>(Info(i));
}

TFontInfo& TFontInfos::Add() { return static_cast<TFontInfo&>(AddInfo()); }

int TFontInfos::FindLike(int preferred, const TFontInfo& templ, TPGTextStyleProperties compare) const {
  const TPGTextStyleProperties ignore = kAllTextStyleProperties - compare;
  if (IsValidIndex(preferred) && templ.EqualsStyleMasked((*this)[preferred], ignore)) return preferred;
  for (int i = 0; i < Count(); ++i)
    if (i != preferred && templ.EqualsStyleMasked((*this)[i], ignore)) return i;
  return -1;
}

int TFontInfos::FindCharsetVariant(int baseIndex, TFontCharset charset) const {
  if (!IsValidIndex(baseIndex)) return -1;
  const TFontInfo& base = (*this)[baseIndex];
  const TPGTextStyleProperties ignore{tspCharset, tspUnicode};
  auto qualifies = [&](int i) {
    const TFontInfo& s = (*this)[i];
    return !s.Unicode && s.Charset == charset && base.EqualsStyleMasked(s, ignore);
  };
  if (qualifies(baseIndex)) return baseIndex;
  for (int i = 0; i < Count(); ++i)
    if (i != baseIndex && qualifies(i)) return i;
  return -1;
}

// ---- paragraph styles

TParaInfos::TParaInfos(TPGStyle* owner, Factory factory)
    : TCustomPGInfos(owner, factory ? std::move(factory) : [] { return std::make_unique<TParaInfo>(); }) {}

TParaInfo& TParaInfos::Fallback() const {
  if (!fallback_) {
    fallback_ = std::make_unique<TParaInfo>();
    if (Count() > 0) fallback_->Assign(Info(0));
    TParaInfo& f = *fallback_;
    f.SpaceBefore = f.SpaceAfter = f.LeftIndent = f.RightIndent = 1;
    f.Border.Style = pgbSingle;
    f.Border.Color = clRed;
    f.Border.Width = 2;
    f.Border.BorderOffsets.SetAll(1);
  }
  return *fallback_;
}

TParaInfo& TParaInfos::operator[](int i) {
  if (!IsValidIndex(i)) return Fallback();
  return static_cast<TParaInfo&>(Info(i));
}

const TParaInfo& TParaInfos::operator[](int i) const {
  if (!IsValidIndex(i)) return Fallback();
  return static_cast<const TParaInfo&>(Info(i));
}

TParaInfo& TParaInfos::Add() { return static_cast<TParaInfo&>(AddInfo()); }

int TParaInfos::FindLike(int preferred, const TParaInfo& templ, TPGParaStyleProperties compare) const {
  const TPGParaStyleProperties ignore = kAllParaStyleProperties - compare;
  if (IsValidIndex(preferred) && templ.EqualsStyleMasked((*this)[preferred], ignore)) return preferred;
  for (int i = 0; i < Count(); ++i)
    if (i != preferred && templ.EqualsStyleMasked((*this)[i], ignore)) return i;
  return -1;
}

int TParaInfos::FindAlignmentVariant(int baseIndex, TPGAlignment alignment) const {
  if (!IsValidIndex(baseIndex)) return -1;
  const TParaInfo& base = (*this)[baseIndex];
  const TPGParaStyleProperties ignore{pspAlignment};
  auto qualifies = [&](int i) {
    const TParaInfo& s = (*this)[i];
    return s.Alignment == alignment && base.EqualsStyleMasked(s, ignore);
  };
  if (qualifies(baseIndex)) return baseIndex;
  for (int i = 0; i < Count(); ++i)
    if (i != baseIndex && qualifies(i)) return i;
  return -1;
}

// ---- list styles

TPGListInfos::TPGListInfos(TPGStyle* owner, Factory factory)
    : TCustomPGInfos(owner, factory ? std::move(factory) : [] { return std::make_unique<TPGListInfo>(); }) {}

TPGListInfo& TPGListInfos::operator[](int i) { return static_cast<TPGListInfo&>(Info(i)); }
const TPGListInfo& TPGListInfos::operator[](int i) const { return static_cast<const TPGListInfo&>(Info(i)); }
TPGListInfo& TPGListInfos::Add() { return static_cast<TPGListInfo&>(AddInfo()); }

int TPGListInfos::FindOrAddList(const TPGListInfo& templ, bool add) {
  for (int i = 0; i < Count(); ++i)
    if ((*this)[i].EqualsStyleEx(templ, true)) return i;
  if (!add) return -1;
  TPGListInfo& added = Add();
  added.Assign(templ);
  added.Standard = false;
  return Count() - 1;
}

int TPGListInfos::FindOrAddListByLevels(const std::vector<TPGListLevel>& levels, const std::string& name, bool add) {
  for (int i = 0; i < Count(); ++i) {
    const TPGListInfo& s = (*this)[i];
    if (s.Levels.size() != levels.size()) continue;
    bool equal = true;
    for (std::size_t l = 0; l < levels.size() && equal; ++l) equal = s.Levels[l].IsEqual(levels[l]);
    if (equal) return i;
  }
  if (!add) return -1;
  TPGListInfo& added = Add();
  added.Standard = false;
  added.StyleName = name;
  added.OneLevelPreview = true;
  added.Levels = levels;
  return Count() - 1;
}

void TPGListInfos::Assign(const TCustomPGInfos& source) {
  TCustomPGInfos::Assign(source);
  for (int i = 0; i < Count() && i < source.Count(); ++i)
    if (const auto* s = dynamic_cast<const TPGListInfo*>(&source.Info(i)); s && s->HasListID())
      (*this)[i].SetListID(s->ListID());
}

void TPGListInfos::ForgetImageList(const TPGImageList* imageList) {
  for (int i = 0; i < Count(); ++i)
    for (TPGListLevel& level : (*this)[i].Levels)
      if (level.ImageList == imageList) level.ImageList = nullptr;
}

}  // namespace pagora
