// A clipboard in memory for tests: what was published, format by format, in the order set.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Clipboard.h"

namespace pagora::test {

class MemoryClipboard : public IClipboard {
public:
  std::vector<std::pair<TClipFormat, std::string>> Formats;  // published, in order
  TRasterImage Image;
  bool HasImage = false;
  int Opens = 0, Clears = 0, Closes = 0;
  bool Refuse = false;  // Open fails

  bool Open() override {
    if (Refuse) return false;
    ++Opens;
    pending_.clear();
    pendingImage_ = false;
    return true;
  }
  void Clear() override {
    ++Clears;
    Formats.clear();
    HasImage = false;
  }
  void SetData(TClipFormat format, std::string bytes) override { pending_.emplace_back(format, std::move(bytes)); }
  void SetImage(const TRasterImage& image) override {
    Image = image;
    pendingImage_ = true;
  }
  void Close() override {
    ++Closes;
    for (auto& f : pending_) Formats.push_back(std::move(f));
    pending_.clear();
    HasImage = HasImage || pendingImage_;
  }
  bool HasFormat(TClipFormat format) const override {
    for (const auto& f : Formats)
      if (f.first == format) return true;
    return format == TClipFormat::Bitmap && HasImage;
  }
  std::string GetData(TClipFormat format) const override {
    for (const auto& f : Formats)
      if (f.first == format) return f.second;
    return {};
  }

private:
  std::vector<std::pair<TClipFormat, std::string>> pending_;
  bool pendingImage_ = false;
};

}  // namespace pagora::test
