// The file formats the tool reads and writes, chosen by name or by file extension, and
// reading a file into a document or writing a document to a file in one of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePages.h"

namespace pagora {
class TCustomPGData;
}

namespace pagora::cli {

enum class Format {
  Text,          // 8-bit text in a code page
  UTF16,         // UTF-16LE with a byte-order mark (either order is read)
  UTF8,
  DetectedText,  // read only: the encoding found in the file
  PGF,           // the native format in text form (either form is read)
  PGFBinary,     // the native format with binary blocks
};

// The format a --from or --to name stands for.
[[nodiscard]] std::optional<Format> FormatFromName(std::string_view name);
[[nodiscard]] std::optional<Format> InputFormatForPath(std::string_view path);
[[nodiscard]] std::optional<Format> OutputFormatForPath(std::string_view path);

// The code page of 8-bit text when none is asked for.
inline constexpr TPGCodePage kDefaultCodePage = 1252;

// Adds the file's content to the document. False with the reason in error.
[[nodiscard]] bool ReadDocument(TCustomPGData& data, const std::string& path, Format format, TPGCodePage codePage,
                                std::string& error);
// Replaces the file with the document, atomically. 8-bit output uses the style sheet's
// DefCodePage; lossy, when given, tells whether it lacked characters of the text, which
// were then written as "?". False with the reason in error.
[[nodiscard]] bool WriteDocument(TCustomPGData& data, const std::string& path, Format format, std::string& error,
                                 bool* lossy = nullptr);

}  // namespace pagora::cli
