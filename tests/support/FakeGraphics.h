// Small stand-ins for pictures, image lists and embedded controls in core tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "platform/EmbeddedControl.h"

namespace pagora::test {

class FakeGraphic : public TGraphic {
public:
  FakeGraphic(int w, int h, std::string cls = "TBitmap") : w_(w), h_(h), class_(std::move(cls)) {}
  std::string ClassName() const override { return class_; }
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<FakeGraphic>(*this); }
  bool LoadFromBytes(std::string_view bytes) override { bytes_ = bytes; return true; }
  std::string SaveToBytes() const override { return bytes_.empty() ? class_ + std::to_string(w_) : bytes_; }
  bool IsMetafile() const override { return class_ == "TMetafile"; }
  bool IsIcon() const override { return class_ == "TIcon"; }
  bool IsBitmap() const override { return class_ == "TBitmap"; }
  // White pixels of the picture's size.
  const TRasterImage& Pixels() const override {
    if (raster_.Empty() && w_ > 0 && h_ > 0) {
      raster_ = {w_, h_, std::vector<std::uint32_t>(static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_),
                                                   0xFFFFFFFFu)};
    }
    return raster_;
  }

private:
  int w_, h_;
  std::string class_;
  std::string bytes_;
  mutable TRasterImage raster_;
};

class FakeImageList : public TPGImageList {
public:
  FakeImageList(int w, int h, int count) : w_(w), h_(h), count_(count) {}
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  int Count() const override { return count_; }
  const TRasterImage* Image(int) const override {
    if (raster_.Empty()) {
      raster_ = {w_, h_, std::vector<std::uint32_t>(static_cast<std::size_t>(w_) * static_cast<std::size_t>(h_),
                                                   0xFF000000u)};
    }
    return &raster_;
  }

private:
  int w_, h_, count_;
  mutable TRasterImage raster_;
};

class FakeControl : public IEmbeddedControl {
public:
  FakeControl(int w, int h, bool canFocus = true) : bounds_(Bounds(0, 0, w, h)), canFocus_(canFocus) {}
  std::string ClassName() const override { return "TButton"; }
  int Width() const override { return bounds_.Width(); }
  int Height() const override { return bounds_.Height(); }
  void SetBounds(const TRect& bounds) override { bounds_ = bounds; }
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }
  bool CanFocus() const override { return canFocus_; }
  void SetAttached(bool attached) override { attached_ = attached; }
  void SetFocus() override { ++focused_; }
  const TRect& BoundsNow() const { return bounds_; }
  bool attached_ = false;
  int focused_ = 0;

private:
  TRect bounds_;
  bool canFocus_;
  bool visible_ = true;
};

}  // namespace pagora::test
