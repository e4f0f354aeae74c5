#include "graphics/InvalidPicture.h"

#include "graphics/BmpWriter.h"
#include "graphics/Pictures.h"

namespace pagora {

namespace {

std::string DrawInvalidPicture() {
  constexpr int kSize = 16;
  TRasterImage r;
  r.Width = r.Height = kSize;
  r.Pixels.assign(kSize * kSize, MakeARGB(255, 255, 255, 255));
  const std::uint32_t red = MakeARGB(255, 0xE0, 0, 0);
  const std::uint32_t grey = MakeARGB(255, 0x80, 0x80, 0x80);
  auto set = [&](int x, int y, std::uint32_t c) { r.Pixels[static_cast<std::size_t>(y * kSize + x)] = c; };
  for (int i = 0; i < kSize; ++i) {
    set(i, 0, grey);
    set(i, kSize - 1, grey);
    set(0, i, grey);
    set(kSize - 1, i, grey);
  }
  // Two pixels thick, so the cross survives being shown at half size.
  constexpr int kFirst = 3, kLast = kSize - 4;
  for (int i = kFirst; i <= kLast; ++i) {
    set(i, i, red);
    if (i < kLast) set(i + 1, i, red);
    set(kSize - 1 - i, i, red);
    if (kSize - 1 - i > kFirst) set(kSize - 2 - i, i, red);
  }
  return EncodeBMP(r);
}

}  // namespace

const std::string& InvalidPictureBytes() {
  static const std::string bytes = DrawInvalidPicture();
  return bytes;
}

namespace {

class TUnreadablePicture : public TGraphic {
public:
  TUnreadablePicture(std::string className, std::string bytes)
      : className_(std::move(className)), bytes_(std::move(bytes)), shown_(CreateInvalidPicture()) {}
  TUnreadablePicture(const TUnreadablePicture& o)
      : TGraphic(o), className_(o.className_), bytes_(o.bytes_), shown_(o.shown_->Clone()) {}

  std::string ClassName() const override { return className_; }
  int Width() const override { return shown_->Width(); }
  int Height() const override { return shown_->Height(); }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TUnreadablePicture>(*this); }
  // Bytes that could not be read are not replaced by other bytes that cannot either.
  bool LoadFromBytes(std::string_view) override { return false; }
  std::string SaveToBytes() const override { return bytes_; }
  const TRasterImage& Pixels() const override { return shown_->Pixels(); }
  bool PixelsDecoded() const override { return shown_->PixelsDecoded(); }

private:
  std::string className_;
  std::string bytes_;
  std::unique_ptr<TGraphic> shown_;
};

}  // namespace

std::unique_ptr<TGraphic> CreateUnreadablePicture(std::string className, std::string bytes) {
  return std::make_unique<TUnreadablePicture>(std::move(className), std::move(bytes));
}

std::unique_ptr<TGraphic> CreateInvalidPicture() {
  auto bitmap = std::make_unique<TBitmap>();
  (void)bitmap->LoadFromBytes(InvalidPictureBytes());
  return bitmap;
}

}  // namespace pagora
