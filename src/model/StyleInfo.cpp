#include "model/StyleInfo.h"

namespace pagora {

void TCustomPGInfo::Assign(const TCustomPGInfo& source) {
  BaseStyleNo = source.BaseStyleNo;
  StyleName = source.StyleName;
  Standard = source.Standard;
}

std::unique_ptr<TCustomPGInfo> TCustomPGInfo::Clone() const {
  auto copy = CreateEmpty();
  copy->Assign(*this);
  return copy;
}

void TCustomPGInfo::TranslateReferences(const TPGStyleMap& map, const TPGStyleMap*) {
  if (BaseStyleNo >= 0) BaseStyleNo = TranslateReference(BaseStyleNo, map);
}

bool ReferenceMatches(int r, const TPGStyleMap& map, int expected) noexcept {
  if (r < 0 || static_cast<std::size_t>(r) >= map.size()) return true;
  return map[static_cast<std::size_t>(r)] == expected;
}

int TranslateReference(int r, const TPGStyleMap& map) noexcept {
  if (r < 0 || static_cast<std::size_t>(r) >= map.size()) return r;
  return map[static_cast<std::size_t>(r)];
}

}  // namespace pagora
