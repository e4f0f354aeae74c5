#include "Formats.h"

#include <algorithm>
#include <cctype>

#include "model/CPGData.h"
#include "model/PGFFormat.h"
#include "model/PlainText.h"
#include "platform/FileIO.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora::cli {

namespace {

std::string LowerExtension(std::string_view path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  std::string ext(path.substr(dot));
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

// The library reports a UTF-16 text of odd length with its fixed message; say what it means.
void ExplainReadError(std::string& error) {
  if (error == msg::CantPerformUnicode) error += " (UTF-16 text with an odd number of bytes: the file is truncated)";
}

// Whether 8-bit output in the document's code page replaces characters of its UTF-16 text
// (8-bit items are written as they are stored).
bool LosesCharactersIn8Bit(const TCustomPGData& data) {
  const TPGCodePage codePage = data.DefCodePage();
  for (int n = 0; n < data.CountItems(); ++n) {
    if (!data.ItemAt(n).IsText() || !data.ItemAt(n).HasFlag(pgifUnicode)) continue;
    bool lossy = false;
    (void)UTF16ToCodePage(codePage, U16FromBytes(data.TextOf(n)), &lossy);
    if (lossy) return true;
  }
  return false;
}

}  // namespace

std::optional<Format> FormatFromName(std::string_view name) {
  if (name == "text") return Format::Text;
  if (name == "utf16") return Format::UTF16;
  if (name == "utf8") return Format::UTF8;
  if (name == "pgf") return Format::PGF;
  if (name == "pgf-binary") return Format::PGFBinary;
  return std::nullopt;
}

std::optional<Format> InputFormatForPath(std::string_view path) {
  if (LowerExtension(path) == ".txt") return Format::DetectedText;
  if (LowerExtension(path) == ".pgf") return Format::PGF;
  return std::nullopt;
}

std::optional<Format> OutputFormatForPath(std::string_view path) {
  if (LowerExtension(path) == ".txt") return Format::Text;
  if (LowerExtension(path) == ".pgf") return Format::PGF;
  return std::nullopt;
}

bool ReadDocument(TCustomPGData& data, const std::string& path, Format format, TPGCodePage codePage,
                  std::string& error) {
  TPGTextReadOptions options;
  options.CodePage = codePage;
  bool ok = false;
  switch (format) {
    case Format::Text:
      ok = ReadPlainText8File(data, path, options, &error);
      break;
    case Format::UTF16:
      ok = ReadPlainTextUTF16File(data, path, options, &error);
      break;
    case Format::UTF8: {
      // The library has no file reader for UTF-8 alone.
      std::string bytes;
      if (!ReadFileBytes(path, bytes, error)) return false;
      ok = ReadPlainTextUTF8(data, bytes, options);
      if (!ok) error = "the text could not be added to the document";
      break;
    }
    case Format::DetectedText:
      ok = ReadPlainTextFileDetect(data, path, options, &error);
      break;
    case Format::PGF:
    case Format::PGFBinary:
      ok = LoadPGFFile(data, path, nullptr, nullptr, nullptr, &error);
      break;
  }
  if (!ok) {
    if (error.empty()) error = "the file could not be read";
    ExplainReadError(error);
  }
  return ok;
}

bool WriteDocument(TCustomPGData& data, const std::string& path, Format format, std::string& error, bool* lossy) {
  if (lossy) *lossy = false;
  if (format == Format::PGF || format == Format::PGFBinary) {
    IPGDataOwner* owner = data.Owner();
    TPGFOptions options{pgfoSavePicturesBody, pgfoSaveControlsBody, pgfoSaveTextStyles, pgfoSaveParaStyles,
                        pgfoSaveDocProperties};
    if (format == Format::PGFBinary) options.Include(pgfoSaveBinary);
    if (owner) owner->SetPGFOptions(options);
    return SavePGFFile(data, path, {}, &error);
  }
  TPGTextWriteOptions options;
  switch (format) {
    case Format::PGF:
    case Format::PGFBinary: break;
    case Format::Text:
    case Format::DetectedText:
      options.Encoding = TPGTextEncoding::EightBit;
      if (lossy) *lossy = LosesCharactersIn8Bit(data);
      break;
    case Format::UTF16:
      options.Encoding = TPGTextEncoding::UTF16;
      options.WriteBOM = true;
      break;
    case Format::UTF8:
      options.Encoding = TPGTextEncoding::UTF8;
      break;
  }
  return WritePlainTextFileAs(data, path, options, &error);
}

}  // namespace pagora::cli
