// Bringing the styles of one collection into another (when a document or a piece of one
// is read into a document with its own style sheet).
#pragma once

#include "model/StyleCollections.h"
#include "model/StyleTypes.h"

namespace pagora {

// Fills map with the destination number of every source style, in source order:
// Merge reuses equal styles and appends the others; Closest appends nothing and takes the
// most alike style (-1 when the destination is empty); Append appends every style.
// Appended styles get Standard off and their references translated through map (and
// DefStyleNo of paragraph styles through textStyleMap when given).
void MergeStyleCollection(TCustomPGInfos& destination, const TCustomPGInfos& source, TPGMergeMode mode,
                          TPGStyleMap& map, const TPGStyleMap* textStyleMap = nullptr);

}  // namespace pagora
