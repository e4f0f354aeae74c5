// The list operations of a document: the marker registry kept in document order,
// numbering, and turning paragraphs into list paragraphs.
#include <algorithm>

#include "model/CPGData.h"
#include "model/MarkerList.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"

namespace pagora {

TPGMarkerList* TCustomPGData::GetMarkerList() const {
  const TCustomPGData* d = this;
  while (const TCustomPGData* p = d->GetParentData()) d = p;
  return d->markers_.get();
}

void TCustomPGData::Renumber(int listStyleNo) {
  if (TPGMarkerList* list = GetMarkerList()) list->RecalcCounters(GetStyle(), listStyleNo);
}

void TCustomPGData::RegisterMarker(int n) {
  auto* marker = dynamic_cast<TPGMarkerItemInfo*>(&ItemAt(n));
  if (!marker) return;
  TCustomPGData* root = GetRootData();
  if (!root->markers_) root->markers_ = std::make_unique<TPGMarkerList>();
  TPGMarkerList& list = *root->markers_;
  if (list.Contains(marker)) return;
  const TPGMarkerItemInfo* before = n > 0 ? FindPrecedingMarker(n - 1) : nullptr;
  if (!before && n == 0 && HolderItemNo() >= 0) before = FindPrecedingMarker(-1);
  const int at = before ? list.IndexOf(before) + 1 : 0;
  list.Insert(at, marker);
  Renumber(marker->ListStyleNo);
}

void TCustomPGData::UnregisterMarker(TPGMarkerItemInfo* marker, bool noRenumber) {
  TCustomPGData* root = GetRootData();
  if (!root->markers_ || !marker) return;
  if (root->markers_->Remove(marker) < 0) return;
  if (root->markers_->Empty()) {
    root->markers_.reset();
    return;
  }
  if (!noRenumber) Renumber(marker->ListStyleNo);
}

void TCustomPGData::CollectMarkers(std::vector<TPGMarkerItemInfo*>& out) const {
  for (const TPGItemEntry& e : Entries()) {
    if (auto* marker = dynamic_cast<TPGMarkerItemInfo*>(e.Item.get())) out.push_back(marker);
    for (int s = 0; s < e.Item->SubDocumentCount(); ++s)
      if (const TCustomPGData* sub = e.Item->SubDocument(s)) sub->CollectMarkers(out);
  }
}

void TCustomPGData::RebuildMarkerList() {
  TCustomPGData* root = GetRootData();
  std::vector<TPGMarkerItemInfo*> markers;
  root->CollectMarkers(markers);
  if (markers.empty()) {
    root->markers_.reset();
    return;
  }
  if (!root->markers_) root->markers_ = std::make_unique<TPGMarkerList>();
  root->markers_->Assign(std::move(markers));
  root->markers_->RecalcCounters(GetStyle(), -1);
}

namespace {

// The last marker of a document at or before item `from`, looking into the documents
// held by items from their last one backwards.
TPGMarkerItemInfo* LastMarkerIn(const TCustomPGData& doc, int from) {
  for (int i = std::min(from, doc.CountItems() - 1); i >= 0; --i) {
    TCustomPGItemInfo& item = doc.ItemAt(i);
    if (auto* marker = dynamic_cast<TPGMarkerItemInfo*>(&item)) return marker;
    for (int s = item.SubDocumentCount() - 1; s >= 0; --s)
      if (const TCustomPGData* sub = item.SubDocument(s))
        if (TPGMarkerItemInfo* m = LastMarkerIn(*sub, sub->CountItems() - 1)) return m;
  }
  return nullptr;
}

}  // namespace

TPGMarkerItemInfo* TCustomPGData::FindPrecedingMarker(int n) const {
  if (TPGMarkerItemInfo* m = LastMarkerIn(*this, n)) return m;
  // Nested: the holding item's earlier documents, then the parent before the holder.
  const TCustomPGData* doc = this;
  while (const TCustomPGData* parent = doc->GetParentData()) {
    const int holder = doc->HolderItemNo();
    if (holder < 0 || holder >= parent->CountItems()) break;
    const TCustomPGItemInfo& item = parent->ItemAt(holder);
    for (int s = doc->HolderSubDocumentIndex() - 1; s >= 0; --s)
      if (const TCustomPGData* sub = item.SubDocument(s))
        if (TPGMarkerItemInfo* m = LastMarkerIn(*sub, sub->CountItems() - 1)) return m;
    if (TPGMarkerItemInfo* m = LastMarkerIn(*parent, holder - 1)) return m;
    doc = parent;
  }
  return nullptr;
}

int TCustomPGData::LastMarkerOfLists(int p, const std::vector<int>& listStyles) const {
  const TPGMarkerList* list = GetMarkerList();
  if (!list) return -1;
  for (int i = list->Count() - 1; i > p; --i)
    if (std::find(listStyles.begin(), listStyles.end(), list->At(i)->ListStyleNo) != listStyles.end()) return i;
  return -1;
}

TCustomPGData::TListMarkerInfo TCustomPGData::ListMarkerInfo(int n) const {
  TListMarkerInfo info;
  if (n < 0 || n >= CountItems()) return info;
  const int first = ParaFirstItem(n);
  const auto* marker = dynamic_cast<const TPGMarkerItemInfo*>(&ItemAt(first));
  if (!marker) return info;
  info.ItemNo = first;
  info.ListStyleNo = marker->ListStyleNo;
  info.LevelNo = marker->LevelNo;
  info.RestartValue = marker->RestartValue;
  info.RestartNumbering = marker->RestartNumbering;
  return info;
}

void TCustomPGData::RenumberFromMarker(int n) {
  if (n < 0 || n >= CountItems()) return;
  if (const auto* marker = dynamic_cast<const TPGMarkerItemInfo*>(&ItemAt(n))) Renumber(marker->ListStyleNo);
}

int TCustomPGData::ApplyListToPara(int n, int listStyle, int level, int restartValue, bool restart, int paraStyle) {
  const bool atEnd = n < 0 || n >= CountItems();
  const int p = atEnd ? CountItems() : ParaFirstItem(n);
  if (!atEnd && ItemAt(p).QueryTrait(pgitFullWidth)) return -1;
  if (!atEnd) {
    if (auto* marker = dynamic_cast<TPGMarkerItemInfo*>(&ItemAt(p))) {
      const int oldList = marker->ListStyleNo;
      marker->ListStyleNo = listStyle;
      marker->LevelNo = ClampLevelNo(level);
      marker->RestartValue = restartValue;
      marker->RestartNumbering = restart;
      if (oldList != listStyle) Renumber(oldList);
      Renumber(listStyle);
      return p;
    }
  }
  auto marker = std::make_unique<TPGMarkerItemInfo>(this, restart, restartValue, level, listStyle);
  if (!atEnd) {
    TCustomPGItemInfo& first = ItemAt(p);
    marker->ParaNo = first.ParaNo;
    if (first.HasFlag(pgifPageBreakBefore)) marker->SetFlag(pgifPageBreakBefore, true);  // the marker carries it now
    first.SetFlag(pgifContinuesPara, true);
  } else {
    marker->ParaNo = paraStyle >= 0 ? paraStyle : (IsEmpty() ? 0 : ItemAt(CountItems() - 1).ParaNo);
  }
  InsertItemAt(p, std::string(), std::move(marker));
  RegisterMarker(p);
  return p;
}

}  // namespace pagora
