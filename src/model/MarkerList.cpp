#include "model/MarkerList.h"

#include <algorithm>
#include <map>

#include "model/ListNumbering.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"

namespace pagora {

int TPGMarkerList::IndexOf(const TPGMarkerItemInfo* marker) const {
  if (!marker) return -1;
  const int cached = marker->RegistryIndex;
  if (cached >= 0 && cached < Count() && markers_[static_cast<std::size_t>(cached)] == marker) return cached;
  RefreshIndexes();
  const int found = marker->RegistryIndex;
  return found >= 0 && found < Count() && markers_[static_cast<std::size_t>(found)] == marker ? found : -1;
}

void TPGMarkerList::RefreshIndexes() const {
  for (std::size_t i = 0; i < markers_.size(); ++i) markers_[i]->RegistryIndex = static_cast<int>(i);
}

void TPGMarkerList::Insert(int position, TPGMarkerItemInfo* marker) {
  position = std::clamp(position, 0, Count());
  markers_.insert(markers_.begin() + position, marker);
  marker->RegistryIndex = position;
}

int TPGMarkerList::Remove(const TPGMarkerItemInfo* marker) {
  const int i = IndexOf(marker);
  if (i < 0) return -1;
  markers_.erase(markers_.begin() + i);
  const_cast<TPGMarkerItemInfo*>(marker)->RegistryIndex = -1;
  return i;
}

void TPGMarkerList::RemoveAll(const std::vector<const TPGMarkerItemInfo*>& gone) {
  if (gone.empty()) return;
  std::vector<const TPGMarkerItemInfo*> sorted(gone.begin(), gone.end());
  std::sort(sorted.begin(), sorted.end());
  markers_.erase(std::remove_if(markers_.begin(), markers_.end(),
                                [&](TPGMarkerItemInfo* m) {
                                  if (!std::binary_search(sorted.begin(), sorted.end(), m)) return false;
                                  m->RegistryIndex = -1;
                                  return true;
                                }),
                 markers_.end());
  RefreshIndexes();
}

void TPGMarkerList::Assign(std::vector<TPGMarkerItemInfo*> markers) {
  markers_ = std::move(markers);
  RefreshIndexes();
}

namespace {

// The numbering state of one list while the markers go by in order.
struct ListState {
  // The most recent marker at each level, and when it came (to pick the nearest parent).
  std::vector<const TPGMarkerItemInfo*> last;
  std::vector<long> seen;
  long clock = 0;

  void Note(const TPGMarkerItemInfo* m) {
    const std::size_t l = static_cast<std::size_t>(m->LevelNo);
    if (last.size() <= l) {
      last.resize(l + 1, nullptr);
      seen.resize(l + 1, -1);
    }
    last[l] = m;
    seen[l] = ++clock;
  }
  // The nearest marker of a lower level than level, and when it came; none: nullptr.
  const TPGMarkerItemInfo* NearestBelow(int level, long before, long* when) const {
    const TPGMarkerItemInfo* best = nullptr;
    long bestSeen = -1;
    for (int l = 0; l < level && l < static_cast<int>(last.size()); ++l) {
      const long s = seen[static_cast<std::size_t>(l)];
      if (last[static_cast<std::size_t>(l)] && s < before && s > bestSeen) {
        best = last[static_cast<std::size_t>(l)];
        bestSeen = s;
      }
    }
    if (when) *when = bestSeen;
    return best;
  }
  // When the most recent marker of a deeper level than level came, or -1.
  long LatestAbove(int level) const {
    long best = -1;
    for (std::size_t l = static_cast<std::size_t>(level) + 1; l < last.size(); ++l)
      if (last[l]) best = std::max(best, seen[l]);
    return best;
  }
};

TPGListType TypeAt(const TPGListInfo& list, int level, bool legal, bool converting) {
  if (list.Levels.empty()) return pglstBullet;
  const int l = std::min<int>(level, static_cast<int>(list.Levels.size()) - 1);
  TPGListType t = list.Levels[static_cast<std::size_t>(l)].ListType;
  const bool alphaOrRoman = t >= pglstLowerAlpha && t <= pglstUpperRoman;
  if (converting && legal && alphaOrRoman) t = pglstDecimal;
  return t;
}

std::string MarkerTextFor(const TPGMarkerItemInfo& m, const TPGListInfo& list, const TPGListLevel& level,
                          const ListState& state, const ListState* preceding) {
  if (level.ListType == pglstBullet) return level.FormatString;
  if (!HasNumberText(level.ListType)) return {};
  TPGMarkerArguments args;
  const bool legal = level.Options.Contains(pgloLegalStyleNumbering);
  int a = m.LevelNo;
  const TPGMarkerItemInfo* c = &m;
  long cSeen = state.clock + 1;  // the marker itself has not been noted yet
  bool inPreceding = false;
  for (;;) {
    args[static_cast<std::size_t>(a)] = NumberText(c->CounterValue, TypeAt(list, c->LevelNo, legal, a < m.LevelNo));
    if (a == 0) break;
    long parentSeen = -1;
    const TPGMarkerItemInfo* parent = inPreceding ? nullptr : state.NearestBelow(c->LevelNo, cSeen, &parentSeen);
    if (!parent && preceding) {
      // The search goes on into the markers that stand before the document, from their end.
      if (!inPreceding) cSeen = preceding->clock + 1;
      inPreceding = true;
      parent = preceding->NearestBelow(c->LevelNo, cSeen, &parentSeen);
    }
    const int d = parent ? parent->LevelNo : -1;
    for (int l = a - 1; l > d; --l) {
      const int lv = std::min<int>(l, static_cast<int>(list.Levels.size()) - 1);
      args[static_cast<std::size_t>(l)] =
          NumberText(list.Levels[static_cast<std::size_t>(lv)].StartFrom, TypeAt(list, l, legal, true));
    }
    if (!parent) break;
    c = parent;
    cSeen = parentSeen;
    a = d;
  }
  return FormatMarkerString(level.FormatString, args);
}

}  // namespace

void TPGMarkerList::RecalcCounters(const TPGStyle* style, int listStyleNo) {
  if (!style) return;
  std::map<int, ListState> states;
  // Markers before the document count as parents of marker texts, not in the counting.
  std::map<int, ListState> preceding;
  for (const TPGMarkerItemInfo* m : PrecedingMarkers)
    if (m->ListStyleNo >= 0 && (listStyleNo < 0 || m->ListStyleNo == listStyleNo)) preceding[m->ListStyleNo].Note(m);
  for (TPGMarkerItemInfo* m : markers_) {
    if (m->ListStyleNo < 0 || (listStyleNo >= 0 && m->ListStyleNo != listStyleNo)) continue;
    const TPGListLevel* level = m->LevelOf(style);
    if (!level) continue;  // a list without levels numbers nothing
    const TPGListInfo& list = style->ListStyles[m->ListStyleNo];
    ListState& state = states[m->ListStyleNo];
    if (m->RestartNumbering) {
      m->CounterValue = m->RestartValue;
    } else {
      const int v = level->StartFrom;
      const std::size_t a = static_cast<std::size_t>(m->LevelNo);
      const TPGMarkerItemInfo* same = a < state.last.size() ? state.last[a] : nullptr;
      const long sameSeen = same ? state.seen[a] : -1;
      long lowerSeen = -1;
      state.NearestBelow(m->LevelNo, state.clock + 1, &lowerSeen);
      const bool reset = level->Options.Contains(pgloLevelReset);
      if (reset && lowerSeen > sameSeen) m->CounterValue = v;  // a higher level came after it
      else if (same) m->CounterValue = same->CounterValue + 1;
      else m->CounterValue = state.LatestAbove(m->LevelNo) >= 0 ? v + 1 : v;
    }
    const auto before = preceding.find(m->ListStyleNo);
    m->MarkerText = MarkerTextFor(*m, list, *level, state, before == preceding.end() ? nullptr : &before->second);
    state.Note(m);
  }
}

}  // namespace pagora
