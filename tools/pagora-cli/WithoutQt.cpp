// render and layout in a build without the Qt layer, which they measure and draw with.
#include <ostream>

#include "Commands.h"

namespace pagora::cli {

namespace {
int Missing(std::ostream& err) {
  err << "pagora-cli: this build has no Qt layer, which render and layout need\n";
  return kExitFileError;
}
}  // namespace

int RunRender(const CliArgs&, std::ostream& err) { return Missing(err); }
int RunLayout(const CliArgs&, std::ostream&, std::ostream& err) { return Missing(err); }

}  // namespace pagora::cli
