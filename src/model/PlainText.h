// Plain text in and out of documents: 8-bit text in a code page, UTF-16 (either byte
// order, with or without a byte-order mark) and UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "platform/CodePages.h"

namespace pagora {

class TCustomPGData;

enum class TPGTextEncoding { EightBit, UTF16, UTF8 };

// A part of a document: items and 1-based character offsets (0 and 1 for the two sides of
// a non-text item).
struct TPGTextRange {
  int FirstItem = 0;
  int FirstOffs = 0;
  int LastItem = 0;
  int LastOffs = 0;
};

struct TPGTextWriteOptions {
  TPGTextEncoding Encoding = TPGTextEncoding::EightBit;
  bool WriteBOM = false;    // FF FE for UTF-16, EF BB BF for UTF-8
  int LineWidth = 80;       // characters of a line drawn by a break
  std::string Path;         // the folder of the output, for the application's handlers
  const TPGTextRange* Range = nullptr;  // nothing: the whole document
};

// Writes the document (or the range) as text into out. Paragraph and line starts become
// CR LF. False (with out incomplete) when an error occurred.
[[nodiscard]] bool WritePlainText(TCustomPGData& data, std::string& out, const TPGTextWriteOptions& options);
// Writes the whole document to a file, replacing it atomically: 8-bit text, or UTF-16 with
// its byte-order mark when unicode is set.
[[nodiscard]] bool WritePlainTextFile(TCustomPGData& data, const std::string& fileName, int lineWidth, bool unicode,
                                      std::string* error = nullptr);
[[nodiscard]] bool WritePlainTextFileAs(TCustomPGData& data, const std::string& fileName,
                                        const TPGTextWriteOptions& options, std::string* error = nullptr);

struct TPGTextReadOptions {
  int TextStyle = 0;
  int ParaStyle = 0;             // -1: the first line continues the last paragraph
  bool AsSingleParagraph = false;  // lines become line breaks inside one paragraph
  TPGCodePage CodePage = -1;     // 8-bit text: -1 = the text style's code page
};

// Each adds to the end of the document without clearing it; what was added before an
// error stays.
[[nodiscard]] bool ReadPlainText8(TCustomPGData& data, std::string_view bytes, const TPGTextReadOptions& options);
// An odd byte count fails ("Can't perform Unicode operation"); a leading byte-order mark in
// either order is skipped, a big-endian one swaps every code unit.
[[nodiscard]] bool ReadPlainTextUTF16(TCustomPGData& data, std::string_view bytes, const TPGTextReadOptions& options,
                                      std::string* error = nullptr);
// Ill-formed sequences become U+FFFD; a leading mark is skipped.
[[nodiscard]] bool ReadPlainTextUTF8(TCustomPGData& data, std::string_view bytes, const TPGTextReadOptions& options);

[[nodiscard]] bool ReadPlainText8File(TCustomPGData& data, const std::string& fileName,
                                      const TPGTextReadOptions& options, std::string* error = nullptr);
[[nodiscard]] bool ReadPlainTextUTF8File(TCustomPGData& data, const std::string& fileName,
                                         const TPGTextReadOptions& options, std::string* error = nullptr);
[[nodiscard]] bool ReadPlainTextUTF16File(TCustomPGData& data, const std::string& fileName,
                                          const TPGTextReadOptions& options, std::string* error = nullptr);
// Reads a text file in the encoding it is found to be in (UTF-16 mark, UTF-8 mark, valid
// UTF-8, else 8-bit).
[[nodiscard]] bool ReadPlainTextFileDetect(TCustomPGData& data, const std::string& fileName,
                                           const TPGTextReadOptions& options, std::string* error = nullptr);

}  // namespace pagora
