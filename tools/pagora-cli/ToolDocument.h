// What the commands share: the document a file is read into, and the choices of code
// page and format from the command line.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "CliArgs.h"
#include "Formats.h"
#include "layout/CPGFData.h"
#include "model/DataOwner.h"
#include "model/PGStyle.h"

namespace pagora::cli {

// The word processor's style sheet with Unicode text styles, so that text in any script is
// kept whatever it is read from; the document can be formatted.
struct ToolDocument {
  explicit ToolDocument(TPGCodePage codePage);
  TPGStyle style;
  TPGDocumentSettings settings;
  TCustomPGFormattedData data{&settings};
};

// The --codepage choice, or the default; UsageError for one this machine lacks.
[[nodiscard]] TPGCodePage CodePageOf(const CliArgs& args);
// The format by name, else by the file's extension; UsageError when neither tells.
[[nodiscard]] Format ChooseFormat(const std::optional<std::string>& name, const std::string& path, bool input);
// Reports a file that cannot be read or written; gives the exit status.
int FileError(std::ostream& err, const char* what, const std::string& path, const std::string& reason);

}  // namespace pagora::cli
