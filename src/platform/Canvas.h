// The drawing surface the core draws and measures on: a screen, an image or a printer.
// The window-system layer implements it; tests use a fake that measures with a fixed
// width table and records what is drawn. Coordinates are device pixels; rectangles
// exclude their right and bottom edges and lines exclude their end point.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/Charsets.h"
#include "platform/Colors.h"
#include "platform/Geometry.h"
#include "platform/RasterImage.h"

namespace pagora {

enum class TPenStyle : std::uint8_t { Solid, Dash, Dot, Clear, InsideFrame };
enum class TBrushStyle : std::uint8_t { Solid, Clear, BDiagonal, FDiagonal };

inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

// Text alignment flags of the canvas.
inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_TOP = 0;
inline constexpr unsigned TA_RTLREADING = 256;

struct TFontSpec {
  std::string Name = "Arial";
  int PixelSize = 13;  // character height (the em) in device pixels
  int Width = 0;       // average character width in pixels; 0 = the face's own
  int Weight = FW_NORMAL;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TFontCharset Charset = DEFAULT_CHARSET;
  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

struct TTextMetrics {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;  // ascent + descent
  int InternalLeading = 0;
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
};

struct TPenSpec {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::Solid;
  friend bool operator==(const TPenSpec&, const TPenSpec&) = default;
};

struct TBrushSpec {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::Solid;
  friend bool operator==(const TBrushSpec&, const TBrushSpec&) = default;
};

class ICanvas {
public:
  virtual ~ICanvas() = default;

  // Device
  [[nodiscard]] virtual int PixelsPerInchX() const = 0;
  [[nodiscard]] virtual int PixelsPerInchY() const = 0;
  // The resolution fonts are sized for when a size is given in points.
  [[nodiscard]] virtual int FontPixelsPerInch() const { return PixelsPerInchY(); }

  // Font and text state
  virtual void SetFont(const TFontSpec& font) = 0;
  [[nodiscard]] virtual const TFontSpec& Font() const = 0;
  // False when the metrics of the current font cannot be had.
  virtual bool GetTextMetrics(TTextMetrics& metrics) = 0;
  [[nodiscard]] virtual TSize TextExtent(std::u16string_view text) = 0;
  // The width of every prefix: widths[i] is the extent of the first i + 1 characters
  // (widths.size() == text.size()). Formatting measures prefixes, so they must add up the
  // way drawing places the characters.
  virtual void PrefixWidths(std::u16string_view text, std::span<int> widths);
  // How many characters from the start fit into maxWidth (prefix widths not above it).
  [[nodiscard]] virtual int FitCount(std::u16string_view text, int maxWidth);
  virtual void SetTextCharacterExtra(int pixels) = 0;
  virtual void SetTextAlign(unsigned flags) = 0;
  [[nodiscard]] virtual unsigned TextAlignment() const = 0;
  virtual void SetTextColor(TColor color) = 0;
  [[nodiscard]] virtual TColor TextColor() const = 0;

  // Drawing state
  virtual void SetPen(const TPenSpec& pen) = 0;
  [[nodiscard]] virtual const TPenSpec& Pen() const = 0;
  virtual void SetBrush(const TBrushSpec& brush) = 0;
  [[nodiscard]] virtual const TBrushSpec& Brush() const = 0;

  // Drawing. Shapes are outlined with the pen and filled with the brush.
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Rectangle(const TRect& r) = 0;
  virtual void FillRect(const TRect& r) = 0;  // with the brush, no outline
  virtual void Polygon(std::span<const TPoint> points) = 0;
  virtual void Ellipse(const TRect& r) = 0;
  // Text in the current font and text colour, its cell's top-left corner at (x, y); the
  // background is left as it is. Right-to-left reading order follows the text alignment.
  virtual void TextOut(int x, int y, std::u16string_view text) = 0;
  // A picture stretched to dst; smooth asks for filtering when scaling.
  virtual void DrawImage(const TRect& dst, const TRasterImage& image, bool smooth = false) = 0;

  // State: Save and Restore nest; clipping only ever narrows until the matching Restore.
  virtual void Save() = 0;
  virtual void Restore() = 0;
  // How many Saves wait for their Restore (to unwind after a failed paint).
  [[nodiscard]] virtual int SaveDepth() const = 0;
  virtual void IntersectClip(const TRect& r) = 0;
  [[nodiscard]] virtual TRect ClipBox() const = 0;
};

}  // namespace pagora
