// The command line: which command, which files, and the options given.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pagora::cli {

enum class Command { Help, Convert, Dump, Render, Layout };

struct CliArgs {
  Command command = Command::Help;
  std::string input;
  std::string output;                 // convert and render
  std::optional<std::string> from;    // format names as typed; checked by the format choice
  std::optional<std::string> to;
  std::optional<int> codePage;
  int width = 600;                    // render and layout: pixels
};

inline constexpr int kMaxWidth = 100000;

// Bad usage: the message says what is wrong; the caller shows it with the usage text.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Throws UsageError.
[[nodiscard]] CliArgs ParseArgs(const std::vector<std::string>& args);

// The full help, and the two lines shown after bad usage.
[[nodiscard]] std::string UsageText();
[[nodiscard]] std::string ShortUsageText();

}  // namespace pagora::cli
