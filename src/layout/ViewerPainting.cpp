// Painting the viewer: the background, the document, the notices of a missing style sheet
// and of a failed paint, and the focus mark of a link.
#include <exception>
#include <vector>

#include "layout/DocumentPainting.h"
#include "layout/Pagora.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"
#include "platform/IntMath.h"
#include "platform/TextEncoding.h"

namespace pagora {

// ---------------------------------------------------------------- painting

namespace {

constexpr int kNoticeFontPoints = 8;
constexpr int kErrorFontPoints = 10;

// Greedy word wrap of one paragraph into lines no wider than width.
std::vector<std::u16string> WrapWords(ICanvas& canvas, const std::u16string& text, int width) {
  std::vector<std::u16string> lines;
  std::u16string line;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = text.find(u' ', i);
    if (j == std::u16string::npos) j = text.size();
    const std::u16string word = text.substr(i, j - i);
    const std::u16string candidate = line.empty() ? word : line + u' ' + word;
    if (!line.empty() && canvas.TextExtent(candidate).cx > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
    i = j + 1;
  }
  lines.push_back(line);
  return lines;
}

TFontSpec PointFont(const char* name, int points, const ICanvas& canvas) {
  TFontSpec font;
  font.Name = name;
  font.PixelSize = MulDiv(points, canvas.FontPixelsPerInch(), 72);
  return font;
}

}  // namespace

void TCustomPagora::PaintNoStyleNotice(ICanvas& canvas, const TRect& clip) {
  const TSize client = ClientSize();
  canvas.SetBrush({EffectiveColor(), TBrushStyle::Solid});
  canvas.FillRect(clip);
  canvas.SetFont(PointFont("MS Sans Serif", kNoticeFontPoints, canvas));
  canvas.SetTextColor(clWindowText);
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
  TTextMetrics m;
  const int lineHeight = canvas.GetTextMetrics(m) ? m.Height : canvas.Font().PixelSize;
  int y = 0;
  for (const std::string& paragraph :
       {std::string("Style is not defined"), "Create a TPGStyle object and assign it to " + Name + ".Style"})
    for (const std::u16string& line : WrapWords(canvas, UTF8ToUTF16(paragraph), client.cx)) {
      canvas.TextOut(0, y, line);
      y += lineHeight;
    }
}

void TCustomPagora::PaintBackground(ICanvas& canvas, const TRect& clip) {
  const TGraphic* picture = background_.Picture.get();
  const bool hasPicture = picture && !picture->Empty();
  const TColor color = EffectiveColor();
  if (color != clNone && (!hasPicture || picture->Transparent() || background_.Style == bsNoBitmap ||
                          background_.Style == bsCentered)) {
    canvas.SetBrush({color, TBrushStyle::Solid});
    canvas.FillRect(clip);
  }
  if (!hasPicture || background_.Style == bsNoBitmap) return;
  const TRasterImage& image = picture->DisplayPixels();
  if (image.Empty()) return;
  const TSize client = ClientSize();
  const int w = image.Width, h = image.Height;
  switch (background_.Style) {
    case bsStretched: canvas.DrawImage({0, 0, client.cx, client.cy}, image, true); break;
    case bsCentered: canvas.DrawImage(Bounds((client.cx - w) / 2, (client.cy - h) / 2, w, h), image); break;
    case bsTiled:
    case bsTiledAndScrolled: {
      // Tiles start at the window's corner, or at the document's origin so that they move.
      int ox = 0, oy = 0;
      if (background_.Style == bsTiledAndScrolled) {
        ox = -(HPos() % w);
        oy = -(DocumentTopInWindow() % h);
        if (oy > 0) oy -= h;
      }
      for (int y = oy + ((clip.Top - oy) / h) * h; y < clip.Bottom; y += h)
        for (int x = ox + ((clip.Left - ox) / w) * w; x < clip.Right; x += w) canvas.DrawImage(Bounds(x, y, w, h), image);
      break;
    }
    case bsNoBitmap: break;
  }
}

void TCustomPagora::PaintDocument(ICanvas& canvas, const TRect& clip) {
  if (!data_->IsFormatted()) return;
  TPGPaintSettings s;
  s.Clip = clip;
  s.ScrollX = HPos();
  s.ScrollY = DocumentTopInWindow();
  s.ClientWidth = ClientSize().cx;
  s.Selection = data_->NormalizedSelection();
  s.Focused = Host() && Host()->HasFocus();
  if (hoverActive_ && hoverJump_ >= 0) {
    const auto areas = data_->JumpAreas(hoverJump_);
    if (!areas.empty()) s.HoverItem = data_->DrawItem(areas.front().DrawItemNo).ItemNo;
  }
  s.Control = this;
  PaintFormattedData(*data_, canvas, s);
}

void TCustomPagora::PaintFocusMark(ICanvas& canvas) {
  if (focusedJump_ < 0 || !Host() || !Host()->HasFocus()) return;
  canvas.SetPen({clWindowText, 1, TPenStyle::Dot});
  canvas.SetBrush({clNone, TBrushStyle::Clear});
  for (const TPGJumpInfo& j : data_->JumpAreas(focusedJump_)) {
    const TPoint p = DocumentToClient({j.Left, j.Top});
    canvas.Rectangle(Bounds(p.X, p.Y, j.Width, j.Height));
  }
}

void TCustomPagora::Paint(ICanvas& canvas, const TRect& clip) {
  canvas.Save();
  canvas.IntersectClip(clip);
  if (!Style) {
    PaintNoStyleNotice(canvas, clip);
    canvas.Restore();
    return;
  }
  PaintBackground(canvas, clip);
  std::string error;
  const int depth = canvas.SaveDepth();
  try {
    PaintDocument(canvas, clip);
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "unknown error";
  }
  if (!error.empty()) {
    // What the failed paint saved (clips among it) must not hide the message.
    while (canvas.SaveDepth() > depth) canvas.Restore();
    const std::u16string text = UTF8ToUTF16("Error: " + error);
    canvas.SetFont(PointFont("Arial", kErrorFontPoints, canvas));
    canvas.SetTextAlign(TA_LEFT | TA_TOP);
    const TSize size = canvas.TextExtent(text);
    canvas.SetBrush({clWhite, TBrushStyle::Solid});
    canvas.FillRect({0, 0, size.cx, size.cy});
    canvas.SetTextColor(clRed);
    canvas.TextOut(0, 0, text);
  }
  PaintFocusMark(canvas);
  PaintOverlay(canvas);
  canvas.Restore();
  if (OnPaint) OnPaint(*this, canvas, false);
}

}  // namespace pagora
