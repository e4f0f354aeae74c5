// The commands of the tool. Each returns the exit status: 0 done, 1 a file could not be
// read or written (with a message on stderr); bad usage throws UsageError.
#pragma once

#include <iosfwd>

#include "CliArgs.h"

namespace pagora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;

[[nodiscard]] int RunConvert(const CliArgs& args, std::ostream& err);
[[nodiscard]] int RunDump(const CliArgs& args, std::ostream& out, std::ostream& err);
// Formatting on the Qt canvas; without the Qt layer both report that they are missing.
[[nodiscard]] int RunRender(const CliArgs& args, std::ostream& err);
[[nodiscard]] int RunLayout(const CliArgs& args, std::ostream& out, std::ostream& err);

}  // namespace pagora::cli
