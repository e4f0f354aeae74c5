// A document and its style sheet as JSON: every published property of every style, and
// every item with its flags, text, tag, checkpoint and the fields of its kind. It reads
// only the document container and the style sheet, so documents from any reader dump alike.
#pragma once

namespace pagora {
class TCustomPGData;
class TPGStyle;
}  // namespace pagora

namespace pagora::cli {

class JsonWriter;

void DumpDocument(JsonWriter& json, const TCustomPGData& data, const TPGStyle& style);

}  // namespace pagora::cli
