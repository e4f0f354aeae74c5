#include "model/StyleMerge.h"

#include <set>

namespace pagora {

namespace {

int MergeOne(TCustomPGInfos& dest, const TCustomPGInfo& s, int i, const TPGStyleMap& map,
             const std::set<int>& reservedLists) {
  auto usable = [&](int j) { return reservedLists.find(j) == reservedLists.end(); };
  if (i < dest.Count() && usable(i) && s.EqualsStyleMapped(dest.Info(i), map)) return i;
  for (int j = 0; j < dest.Count(); ++j)
    if (usable(j) && s.EqualsStyleMapped(dest.Info(j), map)) return j;
  return -1;
}

// The destination styles a source text style may be mapped to: the same Jump and Unicode
// if any, else the same Jump, else the same Unicode, else all.
std::vector<int> ClosestCandidates(const TCustomPGInfos& dest, const TCustomPGInfo& s) {
  std::vector<int> all(static_cast<std::size_t>(dest.Count()));
  for (int j = 0; j < dest.Count(); ++j) all[static_cast<std::size_t>(j)] = j;
  const auto* font = dynamic_cast<const TFontInfo*>(&s);
  if (!font) return all;
  auto filter = [&](bool sameJump, bool sameUnicode) {
    std::vector<int> out;
    for (int j : all) {
      const auto& d = static_cast<const TFontInfo&>(dest.Info(j));
      if ((!sameJump || d.Jump == font->Jump) && (!sameUnicode || d.Unicode == font->Unicode)) out.push_back(j);
    }
    return out;
  };
  for (auto [jump, unicode] : {std::pair{true, true}, std::pair{true, false}, std::pair{false, true}}) {
    std::vector<int> c = filter(jump, unicode);
    if (!c.empty()) return c;
  }
  return all;
}

// Appends a copy of s. A list style keeps its identifier, so that the same list brought in
// again is recognised, unless the destination already has a list with that identifier.
int AppendStyle(TCustomPGInfos& dest, const TCustomPGInfo& s) {
  const int j = dest.AppendCopy(s);
  if (const auto* list = dynamic_cast<const TPGListInfo*>(&s)) {
    bool taken = false;
    for (int k = 0; k < j && !taken; ++k)
      taken = static_cast<const TPGListInfo&>(dest.Info(k)).ListID() == list->ListID();
    if (!taken) static_cast<TPGListInfo&>(dest.Info(j)).SetListID(list->ListID());
  }
  return j;
}

}  // namespace

void MergeStyleCollection(TCustomPGInfos& dest, const TCustomPGInfos& source, TPGMergeMode mode, TPGStyleMap& map,
                          const TPGStyleMap* textStyleMap) {
  map.clear();
  map.reserve(static_cast<std::size_t>(source.Count()));
  const int firstAppended = dest.Count();
  std::set<int> reservedLists;  // destinations taken by a numbered source list
  for (int i = 0; i < source.Count(); ++i) {
    const TCustomPGInfo& s = source.Info(i);
    int target = -1;
    switch (mode) {
      case TPGMergeMode::Merge: {
        target = MergeOne(dest, s, i, map, reservedLists);
        if (target < 0) target = AppendStyle(dest, s);
        const auto* list = dynamic_cast<const TPGListInfo*>(&s);
        if (list && list->HasNumberedLevel()) reservedLists.insert(target);
        break;
      }
      case TPGMergeMode::Closest: {
        int best = -1;
        int bestScore = 0;
        for (int j : ClosestCandidates(dest, s)) {
          const int score = s.Likeness(dest.Info(j));
          if (best < 0 || score > bestScore) {
            best = j;
            bestScore = score;
          }
        }
        target = best;
        break;
      }
      case TPGMergeMode::Append:
        target = AppendStyle(dest, s);
        break;
    }
    map.push_back(target);
  }
  for (int j = firstAppended; j < dest.Count(); ++j) {
    TCustomPGInfo& added = dest.Info(j);
    added.Standard = false;
    added.TranslateReferences(map, textStyleMap);
  }
}

}  // namespace pagora
