// Reads arbitrary bytes as each kind of style collection, and as plain values. Whatever
// was read must write, and read again, to equal styles and the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "model/StyleCollections.h"
#include "model/StyleStreaming.h"
#include "platform/ComponentStream.h"

using namespace pagora;

namespace {

// A picture class of the fuzzer's own: keeps its bytes, and refuses those that start
// with 'X' so that the unreadable-picture path runs too.
class FuzzGraphic : public TGraphic {
public:
  std::string ClassName() const override { return "TFuzzGraphic"; }
  int Width() const override { return static_cast<int>(std::min<std::size_t>(bytes_.size(), 64)); }
  int Height() const override { return bytes_.empty() ? 0 : 1; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<FuzzGraphic>(*this); }
  bool LoadFromBytes(std::string_view bytes) override {
    bytes_ = bytes;
    return bytes.empty() || bytes[0] != 'X';
  }
  std::string SaveToBytes() const override { return bytes_; }

private:
  std::string bytes_;
};

class FuzzImageList : public TPGImageList {
public:
  int Width() const override { return 16; }
  int Height() const override { return 16; }
  int Count() const override { return 4; }
};

void Fail(const char* what) {
  fprintf(stderr, "%s\n", what);
  abort();
}

template <class T>
void RoundTrip(std::string_view bytes, const TPGStreamContext& context) {
  T first(nullptr);
  std::vector<std::string> problems;
  (void)ReadStyleCollection(bytes, first, &context, &problems);

  const std::string once = WriteStyleCollection(first, &context);
  T second(nullptr);
  std::vector<std::string> again;
  if (!ReadStyleCollection(once, second, &context, &again)) Fail(again.back().c_str());
  if (!again.empty()) Fail(again.front().c_str());  // what we write reads without a problem
  if (first.Count() != second.Count()) Fail("style count changed");
  for (int i = 0; i < first.Count(); ++i) {
    const TCustomPGInfo& a = first.Info(i);
    const TCustomPGInfo& b = second.Info(i);
    if (!a.EqualsStyle(b, false) || a.StyleName != b.StyleName || a.BaseStyleNo != b.BaseStyleNo ||
        a.Standard != b.Standard)
      Fail("a style changed");
  }
  if (WriteStyleCollection(second, &context) != once) Fail("written twice, the bytes differ");
}

void SkipValues(std::string_view bytes) {
  TComponentReader r(bytes);
  if (bytes.substr(0, 4) == "TPF0") {
    std::string cls, name;
    if (!r.ReadSignature() || !r.ReadComponentHeader(cls, name)) return;
  }
  while (r.Ok() && !r.AtEnd())
    if (!r.SkipValue()) break;
  if (r.Ok() != r.Error().empty()) Fail("error state is inconsistent");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = [] {
    RegisterGraphicClass("TFuzzGraphic", [] { return std::make_unique<FuzzGraphic>(); });
    return true;
  }();
  (void)registered;
  static FuzzImageList images[2];
  images[0].Tag = 1;
  images[1].Tag = 2;

  if (size == 0) return 0;
  // The first byte chooses the reader; the rest is the data.
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  TPGStreamContext context;
  context.ImageListNeeded = [](int tag) -> TPGImageList* { return tag == 1 || tag == 2 ? &images[tag - 1] : nullptr; };
  switch (data[0] % 4) {
    case 0: RoundTrip<TFontInfos>(bytes, context); break;
    case 1: RoundTrip<TParaInfos>(bytes, context); break;
    case 2: RoundTrip<TPGListInfos>(bytes, context); break;
    default: SkipValues(bytes); break;
  }
  return 0;
}
