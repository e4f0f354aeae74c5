// A canonical text description of a document and its style sheet, for tests that compare
// documents (round trips through file formats): equal documents give equal descriptions.
#pragma once

#include <string>

namespace pagora {
class TCustomPGData;
class TPGStyle;
}

namespace pagora::test {

[[nodiscard]] std::string DescribeItems(const TCustomPGData& data);
[[nodiscard]] std::string DescribeStyles(const TPGStyle& style);

}  // namespace pagora::test
