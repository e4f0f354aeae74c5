// The native document format: whole documents or parts of them, item by item, with
// their styles, layout and pictures, as line-based text or with binary blocks.
#pragma once

#include <string>
#include <string_view>

#include "model/PGFTypes.h"
#include "model/PlainText.h"
#include "platform/Colors.h"

namespace pagora {

class TCustomPGData;

struct TPGFSaveArgs {
  const TPGTextRange* Selection = nullptr;  // nothing: the whole document
  const TPGLayoutInfo* Layout = nullptr;
  const TPGBackground* Background = nullptr;
  TColor Color = clNone;
};

// Appends the document (or the selection) to stream. An empty document writes nothing.
// False when writing failed; what was written stays.
[[nodiscard]] bool SavePGFToStream(TCustomPGData& data, std::string& stream, const TPGFSaveArgs& args = {});
// Saves to a file, replacing it atomically.
[[nodiscard]] bool SavePGFFile(TCustomPGData& data, const std::string& fileName, const TPGFSaveArgs& args = {},
                               std::string* error = nullptr);

struct TPGFReadArgs {
  TPGLayoutInfo* Layout = nullptr;
  TPGBackground* Background = nullptr;
  TColor* Color = nullptr;
  bool Inserting = false;      // into a document being edited: styles are merged
  bool WholeDocument = false;  // a document being loaded: styles are replaced
};

struct TPGFReadResult {
  bool Ok = false;
  int ItemsAdded = 0;
  int FirstItemAdded = -1;
  bool StoppedByError = false;  // rather than by the end of the data
  std::string Error;            // why it stopped
};

// Reads PGF data into the document at item position (which moves past what was added).
// Items added before an error stay. The warnings go to the document's owner.
TPGFReadResult ReadPGF(TCustomPGData& data, std::string_view stream, int& position, const TPGFReadArgs& args);

// Clears the document and reads a whole one.
[[nodiscard]] bool LoadPGFFromStream(TCustomPGData& data, std::string_view stream, TColor* color = nullptr,
                                     TPGLayoutInfo* layout = nullptr, TPGBackground* background = nullptr,
                                     std::string* error = nullptr);
[[nodiscard]] bool LoadPGFFile(TCustomPGData& data, const std::string& fileName, TColor* color = nullptr,
                               TPGLayoutInfo* layout = nullptr, TPGBackground* background = nullptr,
                               std::string* error = nullptr);

// A document held inside an item: a 32-bit little-endian byte count, then its PGF.
[[nodiscard]] bool WriteSubDocumentData(TCustomPGData& data, std::string& stream);
// Reads one such document from the start of stream and moves stream past it.
bool ReadSubDocumentData(TCustomPGData& data, std::string_view& stream);

// The clipboard form "Pagora Format": a 32-bit little-endian length, then the PGF data.
[[nodiscard]] std::string WrapPGFForClipboard(std::string_view pgf);
// The PGF data inside clipboard bytes; false when the length does not fit the bytes.
[[nodiscard]] bool UnwrapPGFFromClipboard(std::string_view bytes, std::string_view& pgf);

// Hexadecimal in the format's form (two uppercase digits per byte); decoding takes either
// case and fails on an odd count or a pair that is not hexadecimal.
[[nodiscard]] std::string EncodeHex(std::string_view bytes);
[[nodiscard]] bool DecodeHex(std::string_view hex, std::string& bytes);

}  // namespace pagora
