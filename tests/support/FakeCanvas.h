// A canvas for tests: measures text with a fixed width table (so layout figures are
// exact on every machine) and records every state change and drawing call as a line.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace pagora::test {

class FakeCanvas : public ICanvas {
public:
  explicit FakeCanvas(int ppi = 96) : ppi_(ppi) {}

  // Character widths: a fixed share of the pixel size per character class, scaled by the
  // font's Width when it is set, plus bold and the extra character spacing.
  [[nodiscard]] static int CharWidth(char16_t c, const TFontSpec& font);
  [[nodiscard]] static TTextMetrics MetricsFor(const TFontSpec& font);

  int PixelsPerInchX() const override { return ppi_; }
  int PixelsPerInchY() const override { return ppi_; }

  void SetFont(const TFontSpec& font) override;
  const TFontSpec& Font() const override { return font_; }
  bool GetTextMetrics(TTextMetrics& metrics) override;
  TSize TextExtent(std::u16string_view text) override;
  void SetTextCharacterExtra(int pixels) override;
  void SetTextAlign(unsigned flags) override;
  unsigned TextAlignment() const override { return TextAlignFlags; }
  void SetTextColor(TColor color) override;
  TColor TextColor() const override { return CurrentTextColor; }
  void SetPen(const TPenSpec& pen) override;
  const TPenSpec& Pen() const override { return pen_; }
  void SetBrush(const TBrushSpec& brush) override;
  const TBrushSpec& Brush() const override { return brush_; }
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(const TRect& r) override;
  void FillRect(const TRect& r) override;
  void Polygon(std::span<const TPoint> points) override;
  void Ellipse(const TRect& r) override;
  void PrefixWidths(std::u16string_view text, std::span<int> widths) override;
  void TextOut(int x, int y, std::u16string_view text) override;
  void DrawImage(const TRect& dst, const TRasterImage& image, bool smooth) override;
  void Save() override;
  void Restore() override;
  int SaveDepth() const override { return static_cast<int>(saved_.size()); }
  void IntersectClip(const TRect& r) override;
  TRect ClipBox() const override { return clip_; }

  int Measurements = 0;  // calls of TextExtent and PrefixWidths

  // What happened, one line per call, e.g. "font Arial 13 w0 400", "line 0,5-10,5".
  std::vector<std::string> Log;
  bool MetricsFail = false;  // GetTextMetrics reports failure
  int CharExtra = 0;
  unsigned TextAlignFlags = 0;
  TColor CurrentTextColor = clBlack;
  std::vector<TFontSpec> FontsSelected;

private:
  int ppi_;
  TRect clip_{-1000000000, -1000000000, 1000000000, 1000000000};
  std::vector<TRect> saved_;
  TFontSpec font_;
  TPenSpec pen_;
  TBrushSpec brush_;
};

}  // namespace pagora::test
