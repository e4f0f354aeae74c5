// The canvas on Qt: draws through a QPainter on any paint device (an image, a widget, a
// printer), or only measures, with the fonts of a device, so that formatting can run
// outside painting. Fonts are set up so that integer character advances add up (no
// kerning, no shaping, full hinting): formatting measures prefixes and must find them
// where drawing puts them. Text in scripts whose letters join or combine is shaped, and
// measured the way it is drawn.
#pragma once

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QPen>

#include <cstddef>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/Canvas.h"

class QPainter;
class QPaintDevice;

namespace pagora {

// One font description as Qt draws it at one resolution and extra character spacing.
class TQtFontEntry {
public:
  TQtFontEntry(const QFont& font, bool symbol, const QPaintDevice& device);

  QFont Font;  // the extra character spacing is part of it
  QFontMetrics Metrics;
  // The same with shaping, for text in scripts whose letters join or combine: without
  // it they would be drawn apart.
  QFont ShapedFont;
  QFontMetrics ShapedMetrics;
  TTextMetrics TextMetrics;
  bool Symbol = false;  // text holds Symbol-font code points

  // The advance of one character measured alone, remembered.
  [[nodiscard]] int Advance(char16_t c) const;
  // Whether the advances of characters measured alone add up to the width of a run of
  // them, as they should with shaping off and full hinting; checked once on a sample.
  [[nodiscard]] bool AdvancesAddUp() const;

private:
  mutable int addsUp_ = -1;  // unknown until asked
  mutable std::vector<int> low_;  // the first code units, -1 until measured
  mutable std::unordered_map<char16_t, int> high_;
};

// Fonts by description, extra spacing and resolution, the least recently used dropped
// beyond the capacity. Canvases of one window can share one, so that painting does not
// rebuild fonts. Used from one thread.
class TQtFontCache {
public:
  explicit TQtFontCache(std::size_t capacity = 256);

  [[nodiscard]] std::shared_ptr<const TQtFontEntry> Get(const TFontSpec& spec, int charExtra,
                                                        const QPaintDevice& device);
  [[nodiscard]] std::size_t Size() const noexcept { return lru_.size(); }
  [[nodiscard]] std::size_t Capacity() const noexcept { return capacity_; }
  void Clear() noexcept;

private:
  struct TKey {
    TFontSpec Spec;
    int CharExtra = 0;
    int Dpi = 0;
    friend bool operator==(const TKey&, const TKey&) = default;
  };
  struct TKeyHash {
    std::size_t operator()(const TKey& key) const noexcept;
  };
  using TList = std::list<std::pair<TKey, std::shared_ptr<const TQtFontEntry>>>;

  std::size_t capacity_;
  TList lru_;  // most recently used first
  std::unordered_map<TKey, TList::iterator, TKeyHash> index_;
};

class TQtCanvas : public ICanvas {
public:
  // Measures only; the drawing calls do nothing.
  explicit TQtCanvas(const QPaintDevice& device, TQtFontCache* cache = nullptr);
  // Draws through an active painter (std::invalid_argument otherwise), which the caller
  // owns and gets back as it was.
  explicit TQtCanvas(QPainter& painter, TQtFontCache* cache = nullptr);
  ~TQtCanvas() override;
  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;

  int PixelsPerInchX() const override;
  int PixelsPerInchY() const override;
  int FontPixelsPerInch() const override;

  void SetFont(const TFontSpec& font) override;
  const TFontSpec& Font() const override { return state_.Font; }
  bool GetTextMetrics(TTextMetrics& metrics) override;
  TSize TextExtent(std::u16string_view text) override;
  void PrefixWidths(std::u16string_view text, std::span<int> widths) override;
  int FitCount(std::u16string_view text, int maxWidth) override;
  void SetTextCharacterExtra(int pixels) override;
  void SetTextAlign(unsigned flags) override;
  unsigned TextAlignment() const override { return state_.Align; }
  void SetTextColor(TColor color) override;
  TColor TextColor() const override { return state_.TextColor; }

  void SetPen(const TPenSpec& pen) override;
  const TPenSpec& Pen() const override { return state_.Pen; }
  void SetBrush(const TBrushSpec& brush) override;
  const TBrushSpec& Brush() const override { return state_.Brush; }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(const TRect& r) override;
  void FillRect(const TRect& r) override;
  void Polygon(std::span<const TPoint> points) override;
  void Ellipse(const TRect& r) override;
  void TextOut(int x, int y, std::u16string_view text) override;
  void DrawImage(const TRect& dst, const TRasterImage& image, bool smooth = false) override;

  void Save() override;
  void Restore() override;
  int SaveDepth() const override { return static_cast<int>(saved_.size()); }
  void IntersectClip(const TRect& r) override;
  TRect ClipBox() const override { return state_.Clip; }

  // The Qt side of the current state, for the widgets and for tests.
  [[nodiscard]] const TQtFontEntry& CurrentFont();
  [[nodiscard]] TQtFontCache& FontCache() noexcept { return *cache_; }
  [[nodiscard]] bool IsPainting() const noexcept { return painter_ != nullptr; }
  [[nodiscard]] TPoint CurrentPoint() const noexcept { return state_.Current; }

private:
  struct TState {
    TFontSpec Font;
    int CharExtra = 0;
    unsigned Align = TA_LEFT | TA_TOP;
    TColor TextColor = clBlack;
    TPenSpec Pen;
    TBrushSpec Brush;
    QPen QtPen;
    QBrush QtBrush;
    QPen TextPen;
    TPoint Current;
    TRect Clip;
    std::shared_ptr<const TQtFontEntry> Entry;  // null until the font is next used
  };

  [[nodiscard]] int PenWidth() const noexcept;
  void UsePenAndBrush();
  void DrawSegment(TPoint from, TPoint to);  // with the painter's pen, without the end point
  void DrawThinDiagonal(TPoint from, TPoint to);
  void FillWithPenColor(const TRect& r);

  const QPaintDevice* device_;
  QPainter* painter_ = nullptr;
  std::unique_ptr<TQtFontCache> ownCache_;
  TQtFontCache* cache_;
  TState state_;
  std::vector<TState> saved_;
  // The font last given to the painter (held, so that its address is not reused).
  std::shared_ptr<const TQtFontEntry> painterFont_;
  bool painterFontShaped_ = false;
};

}  // namespace pagora
