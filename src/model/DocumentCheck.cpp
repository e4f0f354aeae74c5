#include "model/DocumentCheck.h"

#include "model/CPGData.h"

namespace pagora {

namespace {
bool Fail(std::string* why, int item, const char* rule) {
  if (why) *why = "item " + std::to_string(item) + ": " + rule;
  return false;
}
}  // namespace

bool CheckDocumentStructure(const TCustomPGData& data, std::string* why) {
  int paraNo = -1;
  const TPGCPInfo* expectedCP = data.FirstCheckpoint();
  int checkpoints = 0;
  for (int i = 0; i < data.CountItems(); ++i) {
    const TCustomPGItemInfo& item = data.ItemAt(i);
    const bool fullWidth = item.QueryTrait(pgitFullWidth);
    const bool prevFullWidth = i > 0 && data.ItemAt(i - 1).QueryTrait(pgitFullWidth);
    const TPGItemFlags f = item.Flags();
    const int placement = f.Contains(pgifContinuesPara) + f.Contains(pgifLineBreakBefore) + f.Contains(pgifPageBreakBefore);
    if (placement > 1) return Fail(why, i, "placement flags combined");
    if ((i == 0 || fullWidth || prevFullWidth) && !item.StartsPara()) return Fail(why, i, "must start a paragraph");
    if (item.StartsPara()) paraNo = item.ParaNo;
    else if (item.ParaNo != paraNo) return Fail(why, i, "paragraph style differs from its paragraph's");
    if (item.ParaNo < 0) return Fail(why, i, "negative paragraph style");
    if (item.StyleNo == pgsListMarker) {
      if (!item.StartsPara()) return Fail(why, i, "a list marker inside its paragraph");
      if (i + 1 == data.CountItems()) return Fail(why, i, "a list marker as the last item");
      if (data.ItemAt(i + 1).StartsPara()) return Fail(why, i, "a list marker alone in its paragraph");
    }
    const std::string& text = data.TextOf(i);
    if (f.Contains(pgifUnicode)) {
      if (!item.IsText()) return Fail(why, i, "Unicode flag on a non-text item");
      if (text.size() % 2 != 0) return Fail(why, i, "odd UTF-16 byte count");
      for (std::size_t k = 0; k + 1 < text.size(); k += 2) {
        const int u = static_cast<unsigned char>(text[k]) | (static_cast<unsigned char>(text[k + 1]) << 8);
        if (u == 0 || u == 0x2029) return Fail(why, i, "framing character in UTF-16 text");
      }
    } else {
      for (char c : text)
        if (c == '\0' || c == '\r' || c == '\n') return Fail(why, i, "framing character in 8-bit text");
    }
    if (const TPGCPInfo* cp = item.Checkpoint.get()) {
      if (cp != expectedCP) return Fail(why, i, "checkpoint chain out of item order");
      if (cp->Item != &item) return Fail(why, i, "checkpoint does not point at its item");
      expectedCP = cp->Next;
      ++checkpoints;
    }
  }
  if (expectedCP) return Fail(why, data.CountItems(), "checkpoint chain longer than the items");
  if (checkpoints + (data.PendingCheckpoint() ? 1 : 0) != data.CheckpointCount())
    return Fail(why, data.CountItems(), "checkpoint count");
  return true;
}

}  // namespace pagora
