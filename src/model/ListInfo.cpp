#include "model/ListInfo.h"

#include <algorithm>
#include <random>

#include "graphics/Graphic.h"
#include "platform/TextCase.h"

namespace pagora {

namespace {
std::mt19937& IdGenerator() {
  static std::mt19937 gen{std::random_device{}()};
  return gen;
}
}  // namespace

void SeedListIDs(std::uint32_t seed) { IdGenerator().seed(seed); }

bool TPGMarkerFont::IsDefault() const {
  return Size == 8 && Color == clWindowText && Charset == DEFAULT_CHARSET && Style.Empty() &&
         SameTextNoCase(Name, "Arial");
}

bool TPGMarkerFont::SameAs(const TPGMarkerFont& o) const {
  return Size == o.Size && Style == o.Style && Color == o.Color && Charset == o.Charset &&
         SameTextNoCase(Name, o.Name);
}

TPGListLevel::TPGListLevel() = default;
TPGListLevel::~TPGListLevel() = default;

TPGListLevel::TPGListLevel(const TPGListLevel& other) { *this = other; }

TPGListLevel& TPGListLevel::operator=(const TPGListLevel& other) {
  if (this == &other) return *this;
  ListType = other.ListType;
  ImageList = other.ImageList;
  ImageIndex = other.ImageIndex;
  FormatString = other.FormatString;
  FormatStringW = other.FormatStringW;
  LeftIndent = other.LeftIndent;
  FirstIndent = other.FirstIndent;
  MarkerIndent = other.MarkerIndent;
  MarkerAlignment = other.MarkerAlignment;
  Options = other.Options;
  StartFrom = other.StartFrom;
  picture_ = other.picture_ ? other.picture_->Clone() : nullptr;
  font_ = other.font_ ? std::make_unique<TPGMarkerFont>(*other.font_) : nullptr;
  return *this;
}

void TPGListLevel::SetPicture(const TGraphic* graphic) {
  if (!graphic || graphic->Empty()) {
    picture_.reset();
    return;
  }
  picture_ = graphic->Clone();
  picture_->SetTransparent(true);
}

TPGMarkerFont& TPGListLevel::Font() {
  if (!font_) font_ = std::make_unique<TPGMarkerFont>();
  return *font_;
}

bool TPGListLevel::HasDefaultFont() const { return !font_ || font_->IsDefault(); }

bool TPGListLevel::SameFont(const TPGListLevel& o) const {
  if (HasDefaultFont() && o.HasDefaultFont()) return true;
  return font_ && o.font_ && font_->SameAs(*o.font_);
}

bool TPGListLevel::SamePicture(const TPGListLevel& o) const {
  const bool empty1 = !picture_ || picture_->Empty();
  const bool empty2 = !o.picture_ || o.picture_->Empty();
  if (empty1 || empty2) return empty1 && empty2;
  return picture_->Width() == o.picture_->Width() && picture_->Height() == o.picture_->Height() &&
         picture_->SaveToBytes() == o.picture_->SaveToBytes();
}

bool TPGListLevel::IsEqual(const TPGListLevel& o) const {
  return ListType == o.ListType && StartFrom == o.StartFrom && ImageList == o.ImageList &&
         ImageIndex == o.ImageIndex && FormatString == o.FormatString && FormatStringW == o.FormatStringW &&
         LeftIndent == o.LeftIndent && FirstIndent == o.FirstIndent && MarkerIndent == o.MarkerIndent &&
         MarkerAlignment == o.MarkerAlignment && Options == o.Options && SameFont(o) && SamePicture(o);
}

int TPGListLevel::Likeness(const TPGListLevel& o) const {
  int score = 0;
  if (ListType == o.ListType) score += 5000;
  score += (StartFrom == o.StartFrom) * 100 + (ImageList == o.ImageList) * 100 + (ImageIndex == o.ImageIndex) * 100 +
           (FormatString == o.FormatString) * 100 + (FormatStringW == o.FormatStringW) * 100 +
           (LeftIndent == o.LeftIndent) * 100 + (MarkerIndent == o.MarkerIndent) * 100 +
           (MarkerAlignment == o.MarkerAlignment) * 100 + (Options == o.Options) * 100;
  if (FirstIndent == o.FirstIndent) score += 200;
  if (SameFont(o)) score += 100;
  if (SamePicture(o)) score += 100;
  return score;
}

std::int32_t TPGListInfo::ListID() const {
  if (listId_ == 0) {
    std::uniform_int_distribution<std::int32_t> dist(1, 2147483646);
    listId_ = dist(IdGenerator());
  }
  return listId_;
}

TPGListLevel& TPGListInfo::AddLevel() {
  Levels.emplace_back();
  return Levels.back();
}

bool TPGListInfo::HasNumberedLevel() const noexcept {
  return std::any_of(Levels.begin(), Levels.end(), [](const TPGListLevel& l) { return IsNumberedListType(l.ListType); });
}

bool TPGListInfo::AllLevelsNumbered() const noexcept {
  return std::all_of(Levels.begin(), Levels.end(), [](const TPGListLevel& l) { return IsNumberedListType(l.ListType); });
}

bool TPGListInfo::HasNumberTextLevel() const noexcept {
  return std::any_of(Levels.begin(), Levels.end(), [](const TPGListLevel& l) { return HasNumberText(l.ListType); });
}

void TPGListInfo::Assign(const TCustomPGInfo& source) {
  TCustomPGInfo::Assign(source);
  if (const auto* s = dynamic_cast<const TPGListInfo*>(&source)) {
    Levels = s->Levels;
    OneLevelPreview = s->OneLevelPreview;
  }
}

std::unique_ptr<TCustomPGInfo> TPGListInfo::CreateEmpty() const { return std::make_unique<TPGListInfo>(); }

bool TPGListInfo::EqualsStyleEx(const TPGListInfo& o, bool ignoreID) const {
  if (OneLevelPreview != o.OneLevelPreview || Levels.size() != o.Levels.size()) return false;
  if (!ignoreID && ListID() != o.ListID()) return false;
  for (std::size_t i = 0; i < Levels.size(); ++i)
    if (!Levels[i].IsEqual(o.Levels[i])) return false;
  return true;
}

bool TPGListInfo::EqualsStyle(const TCustomPGInfo& other, bool) const {
  const auto* o = dynamic_cast<const TPGListInfo*>(&other);
  return o && EqualsStyleEx(*o, false);
}

bool TPGListInfo::EqualsStyleMapped(const TCustomPGInfo& other, const TPGStyleMap&) const {
  return EqualsStyle(other, true);
}

int TPGListInfo::Likeness(const TCustomPGInfo& other) const {
  const auto* o = dynamic_cast<const TPGListInfo*>(&other);
  if (!o) return 0;
  int score = 0;
  if (ListID() == o->ListID()) score += 50;
  if (OneLevelPreview == o->OneLevelPreview) score += 100;
  const std::size_t common = std::min(Levels.size(), o->Levels.size());
  for (std::size_t i = 0; i < common; ++i) score += Levels[i].Likeness(o->Levels[i]);
  const std::size_t longer = std::max(Levels.size(), o->Levels.size());
  score -= static_cast<int>(longer - common) * 100;
  return score;
}

}  // namespace pagora
