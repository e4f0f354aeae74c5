#include "Commands.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "DocumentDump.h"
#include "graphics/Pictures.h"
#include "Formats.h"
#include "JsonWriter.h"
#include "ToolDocument.h"
#include "model/CPGData.h"
#include "model/DataOwner.h"
#include "model/PGStyle.h"
#include "platform/CodePages.h"

namespace pagora::cli {

ToolDocument::ToolDocument(TPGCodePage codePage) {
  RegisterAllGraphicClasses();
  for (int i = 0; i < style.TextStyles.Count(); ++i) style.TextStyles[i].Unicode = true;
  style.DefCodePage = codePage;
  settings.Style = &style;
  // Like the word processor: links keep their addresses in string tags.
  settings.Options.Include(pgoTagsArePChars);
}

TPGCodePage CodePageOf(const CliArgs& args) {
  if (!args.codePage) return kDefaultCodePage;
  if (!IsCodePageAvailable(*args.codePage))
    throw UsageError("code page " + std::to_string(*args.codePage) + " is not available");
  return *args.codePage;
}

Format ChooseFormat(const std::optional<std::string>& name, const std::string& path, bool input) {
  const char* option = input ? "--from" : "--to";
  if (name) {
    if (auto f = FormatFromName(*name)) return *f;
    throw UsageError("unknown format '" + *name + "' for " + option + " (text, utf16, utf8, pgf or pgf-binary)");
  }
  if (auto f = input ? InputFormatForPath(path) : OutputFormatForPath(path)) return *f;
  throw UsageError("cannot tell the format of '" + path + "' from its extension; give " + option);
}

int FileError(std::ostream& err, const char* what, const std::string& path, const std::string& reason) {
  err << "pagora-cli: cannot " << what << " '" << path << "': " << reason << '\n';
  return kExitFileError;
}

int RunConvert(const CliArgs& args, std::ostream& err) {
  // Every usage check comes before any file is touched.
  const Format from = ChooseFormat(args.from, args.input, true);
  const Format to = ChooseFormat(args.to, args.output, false);
  const TPGCodePage codePage = CodePageOf(args);

  ToolDocument doc(codePage);
  std::string error;
  if (!ReadDocument(doc.data, args.input, from, codePage, error)) return FileError(err, "read", args.input, error);
  bool lossy = false;
  if (!WriteDocument(doc.data, args.output, to, error, &lossy)) return FileError(err, "write", args.output, error);
  if (lossy)
    err << "pagora-cli: warning: '" << args.output << "': characters that code page " << codePage
        << " lacks were written as '?'\n";
  return kExitOk;
}

int RunDump(const CliArgs& args, std::ostream& out, std::ostream& err) {
  const Format from = ChooseFormat(args.from, args.input, true);
  const TPGCodePage codePage = CodePageOf(args);

  ToolDocument doc(codePage);
  std::string error;
  if (!ReadDocument(doc.data, args.input, from, codePage, error)) return FileError(err, "read", args.input, error);
  errno = 0;
  JsonWriter json(out);
  DumpDocument(json, doc.data, doc.style);
  json.Finish();
  if (!out) return FileError(err, "write", "standard output", errno != 0 ? std::strerror(errno) : "write error");
  return kExitOk;
}

}  // namespace pagora::cli
