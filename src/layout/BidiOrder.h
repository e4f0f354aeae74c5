// The visual order of a line in a paragraph with a writing direction: runs reordered by
// the direction of their ends, and the first-line indent moved to the right in
// right-to-left paragraphs.
#pragma once

#include "layout/ParagraphBlocks.h"
#include "model/DeviceScale.h"
#include "model/StyleTypes.h"

namespace pagora {

class TCustomPGFormattedData;
class TPGStyle;

// Reorders drawing items first..last (block-relative) of a line of the paragraph whose
// first item is paraFirst.
void ReorderBidi(TCustomPGFormattedData& data, const TPGStyle* style, TPGParaBlock& block, int paraFirst, int first,
                 int last, TPGBiDiMode mode, const TPGDeviceScale& scale);

}  // namespace pagora
