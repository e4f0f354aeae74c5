#include "model/BreakItem.h"

#include <algorithm>

namespace pagora {

bool TPGBreakItemInfo::QueryTrait(TPGItemTrait trait) const {
  if (trait == pgitReadsPGFLines) return false;  // a break's record has no lines of its own
  return TPGFullLineItemInfo::QueryTrait(trait);
}

bool TPGBreakItemInfo::QueryStyledTrait(TPGItemStyledTrait, const TPGStyle*) const { return false; }

void TPGBreakItemInfo::CopyPropertiesFrom(const TCustomPGItemInfo& source) {
  TPGFullLineItemInfo::CopyPropertiesFrom(source);
  if (const auto* s = dynamic_cast<const TPGBreakItemInfo*>(&source)) {
    Width = s->Width;
    Style = s->Style;
    Color = s->Color;
  }
}

std::string TPGBreakItemInfo::AsText(int lineWidth, TCustomPGData*, const std::string&, const std::string&, bool,
                                     bool) const {
  return std::string(static_cast<std::size_t>(std::max(lineWidth, 1)), Width <= 1 ? '-' : '=');
}

std::unique_ptr<TCustomPGItemInfo> TPGBreakItemInfo::CreateEmpty(TCustomPGData* container) const {
  return std::make_unique<TPGBreakItemInfo>(container);
}

}  // namespace pagora
