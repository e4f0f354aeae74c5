#include "CliArgs.h"

#include <charconv>
#include <string_view>

namespace pagora::cli {

namespace {

int ParseCodePage(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < 0)
    throw UsageError("--codepage needs a code page number, not '" + text + "'");
  return value;
}

int ParseWidth(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < 1 || value > kMaxWidth)
    throw UsageError("--width needs a number of pixels from 1 to " + std::to_string(kMaxWidth) + ", not '" + text + "'");
  return value;
}

}  // namespace

CliArgs ParseArgs(const std::vector<std::string>& args) {
  CliArgs result;
  if (args.empty()) throw UsageError("no command given");
  const std::string& command = args[0];
  if (command == "-h" || command == "--help" || command == "help") return result;
  if (command == "convert") result.command = Command::Convert;
  else if (command == "dump") result.command = Command::Dump;
  else if (command == "render") result.command = Command::Render;
  else if (command == "layout") result.command = Command::Layout;
  else throw UsageError("unknown command '" + command + "'");

  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      result.command = Command::Help;
      return result;
    }
    // "--name value" or "--name=value".
    std::string name = arg;
    std::optional<std::string> value;
    if (const auto eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    if (name != "--from" && name != "--to" && name != "--codepage" && name != "--width")
      throw UsageError("unknown option '" + name + "'");
    if (name == "--to" && result.command != Command::Convert) throw UsageError("--to is an option of convert only");
    if (name == "--width" && result.command != Command::Render && result.command != Command::Layout)
      throw UsageError("--width is an option of render and layout only");
    if (!value) {
      if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
      value = args[++i];
    }
    if (name == "--from") result.from = *value;
    else if (name == "--to") result.to = *value;
    else if (name == "--width") result.width = ParseWidth(*value);
    else result.codePage = ParseCodePage(*value);
  }

  const bool twoFiles = result.command == Command::Convert || result.command == Command::Render;
  const std::size_t wanted = twoFiles ? 2 : 1;
  if (files.size() < wanted) {
    throw UsageError(std::string(command) + (twoFiles ? " needs an input and an output file" : " needs an input file"));
  }
  if (files.size() > wanted) throw UsageError("unexpected argument '" + files[wanted] + "'");
  result.input = files[0];
  if (wanted == 2) result.output = files[1];
  return result;
}

namespace {
constexpr std::string_view kUsageLines =
    "usage: pagora-cli convert INPUT OUTPUT [--from FMT] [--to FMT] [--codepage N]\n"
    "       pagora-cli dump INPUT [--from FMT] [--codepage N]\n"
    "       pagora-cli render INPUT OUTPUT.png [--width N] [--from FMT] [--codepage N]\n"
    "       pagora-cli layout INPUT [--width N] [--from FMT] [--codepage N]\n";
}  // namespace

std::string ShortUsageText() { return std::string(kUsageLines) + "Try 'pagora-cli --help' for more.\n"; }

std::string UsageText() {
  return std::string(kUsageLines) +
         "\n"
         "FMT is one of\n"
         "  text    8-bit text in the code page (1252 unless --codepage says otherwise)\n"
         "  utf16   UTF-16LE text with a byte-order mark\n"
         "  utf8    UTF-8 text\n"
         "  pgf         the native format, text form (either form is read)\n"
         "  pgf-binary  the native format with binary blocks\n"
         "Without --from or --to the format follows the extension: a .txt file is read in the\n"
         "encoding found in it (UTF-16 or UTF-8 mark, valid UTF-8, else 8-bit) and written as\n"
         "8-bit text; a .pgf file is the native format (written in text form).\n"
         "\n"
         "dump writes the document (styles and items) as JSON to the standard output.\n"
         "render formats the document N pixels wide (600 unless --width says otherwise) and\n"
         "writes it, painted, as a PNG picture; layout formats it the same way and writes the\n"
         "document's size and line count as JSON to the standard output.\n"
         "Exit status: 0 done, 1 a file could not be read or written, 2 bad usage.\n";
}

}  // namespace pagora::cli
