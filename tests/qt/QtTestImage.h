// An image with a canvas painting on it, and what tests ask of the result.
#pragma once

#include <QImage>
#include <QPainter>

#include <optional>
#include <ostream>

#include "platform/Geometry.h"
#include "qt/QtCanvas.h"

namespace pagora::test {

class TImageDrawing {
public:
  explicit TImageDrawing(int width = 40, int height = 30, QColor background = Qt::white)
      : background_(background.rgb()), image_(width, height, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(background);
    painter_.emplace(&image_);
    canvas_.emplace(*painter_);
  }

  // Only until the picture is asked for.
  TQtCanvas& Canvas() { return canvas_.value(); }

  // Ends painting and gives the picture.
  const QImage& Image() {
    canvas_.reset();
    painter_.reset();
    return image_;
  }
  [[nodiscard]] QRgb Pixel(int x, int y) { return Image().pixel(x, y); }
  [[nodiscard]] bool Dark(int x, int y) { return qGray(Pixel(x, y)) < 128; }
  [[nodiscard]] bool Touched(int x, int y) { return Pixel(x, y) != background_; }

  // The smallest rectangle holding every pixel that is no longer the background.
  [[nodiscard]] TRect TouchedBox() {
    const QImage& img = Image();
    TRect box;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (img.pixel(x, y) != background_) box = box.Union({x, y, x + 1, y + 1});
    return box;
  }
  [[nodiscard]] int TouchedCount() {
    const QImage& img = Image();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) != background_ ? 1 : 0;
    return n;
  }

private:
  QRgb background_;
  QImage image_;
  std::optional<QPainter> painter_;
  std::optional<TQtCanvas> canvas_;
};

}  // namespace pagora::test

namespace pagora {
inline std::ostream& operator<<(std::ostream& os, const TRect& r) {
  return os << "(" << r.Left << "," << r.Top << ")-(" << r.Right << "," << r.Bottom << ")";
}
}  // namespace pagora
