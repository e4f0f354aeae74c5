// pagora-cli: the library without a window. Converts documents between formats, dumps
// them as JSON, and formats and renders them.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "CliArgs.h"
#include "Commands.h"

int main(int argc, char** argv) {
  using namespace pagora::cli;
  try {
    const CliArgs args = ParseArgs(std::vector<std::string>(argv + 1, argv + argc));
    switch (args.command) {
      case Command::Help:
        std::cout << UsageText();
        return kExitOk;
      case Command::Convert:
        return RunConvert(args, std::cerr);
      case Command::Dump:
        return RunDump(args, std::cout, std::cerr);
      case Command::Render:
        return RunRender(args, std::cerr);
      case Command::Layout:
        return RunLayout(args, std::cout, std::cerr);
    }
  } catch (const UsageError& e) {
    std::cerr << "pagora-cli: " << e.what() << '\n' << ShortUsageText();
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "pagora-cli: " << e.what() << '\n';
    return kExitFileError;
  }
  return kExitOk;
}
