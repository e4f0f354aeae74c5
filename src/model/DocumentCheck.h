// Checks that a document keeps the structure every reader, writer and layout relies on.
// For tests and fuzzers: a failure names the first broken rule.
#pragma once

#include <string>

namespace pagora {

class TCustomPGData;

// Item 0 and every full-width item and its successor start paragraphs; all items of a
// paragraph carry its style number; a list marker begins a paragraph that goes on after
// it; Unicode text has an even byte count and no framing characters; the checkpoint chain
// follows the items.
[[nodiscard]] bool CheckDocumentStructure(const TCustomPGData& data, std::string* why = nullptr);

}  // namespace pagora
