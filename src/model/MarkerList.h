// The marker registry of a document: every list marker in document order (table cells
// included), from which the numbers and texts of the markers are computed.
#pragma once

#include <vector>

namespace pagora {

class TPGMarkerItemInfo;
class TPGStyle;

class TPGMarkerList {
public:
  [[nodiscard]] int Count() const noexcept { return static_cast<int>(markers_.size()); }
  [[nodiscard]] bool Empty() const noexcept { return markers_.empty(); }
  [[nodiscard]] TPGMarkerItemInfo* At(int i) const noexcept { return markers_[static_cast<std::size_t>(i)]; }
  [[nodiscard]] bool Contains(const TPGMarkerItemInfo* marker) const { return IndexOf(marker) >= 0; }

  // The marker's position, from its cached index when that is still right, else found
  // again (and every cached index refreshed in the same pass).
  [[nodiscard]] int IndexOf(const TPGMarkerItemInfo* marker) const;

  void Insert(int position, TPGMarkerItemInfo* marker);
  // Removes the marker; its former position, or -1 when it was not there.
  int Remove(const TPGMarkerItemInfo* marker);
  // Removes all of them in one pass (deleting a long range costs no more than one).
  void RemoveAll(const std::vector<const TPGMarkerItemInfo*>& markers);
  void Assign(std::vector<TPGMarkerItemInfo*> markers);
  void Clear() { markers_.clear(); }

  // Markers that stand before the document (a printed part of a longer one); parents of
  // the first markers are looked for there.
  std::vector<const TPGMarkerItemInfo*> PrecedingMarkers;

  // Computes the counters and texts of the markers of list listStyleNo (of every list when
  // it is negative). One pass: linear in the number of markers.
  void RecalcCounters(const TPGStyle* style, int listStyleNo);

private:
  void RefreshIndexes() const;
  std::vector<TPGMarkerItemInfo*> markers_;
};

}  // namespace pagora
