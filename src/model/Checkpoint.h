// A checkpoint: a named position before an item, linked with the others of its document
// in item order.
#pragma once

#include <string>

#include "model/ItemTag.h"

namespace pagora {

class TCustomPGItemInfo;

struct TPGCPInfo {
  std::string Name;  // UTF-8
  TPGCPInfo* Next = nullptr;
  TPGCPInfo* Prev = nullptr;
  bool RaiseEvent = false;  // the viewer reports when it scrolls into view
  bool Persistent = false;  // the editor keeps it when its item is deleted
  TCustomPGItemInfo* Item = nullptr;  // the item it belongs to; none while pending
  int ItemNo = -1;  // cached; refreshed by the container
  TPGTag Tag;

  // Copies name, RaiseEvent, tag and Persistent (not the links).
  void CopyFrom(const TPGCPInfo& source) {
    Name = source.Name;
    RaiseEvent = source.RaiseEvent;
    Tag = source.Tag;
    Persistent = source.Persistent;
  }
};

}  // namespace pagora
