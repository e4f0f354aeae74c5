// How the built-in non-text items draw themselves: pictures, bullets and hot spots,
// list markers, controls (their frames; the widget draws itself) and breaks.
#include <algorithm>

#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/ColorMode.h"
#include "model/ControlItem.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "platform/Canvas.h"

namespace pagora {

namespace {

TColor SelectionColor(const TPGItemPaint& paint) {
  return paint.State.Contains(pgidsControlFocused) ? paint.Style.SelColor : paint.Style.InactiveSelColor;
}

void FrameRect(ICanvas& canvas, const TRect& r, TColor color) {
  canvas.SetPen({color, 1, TPenStyle::Solid});
  canvas.SetBrush({clNone, TBrushStyle::Clear});
  canvas.Rectangle(r);
}

// Half the image, half the selection colour, keeping the image's transparency.
TRasterImage BlendWith(const TRasterImage& image, TColor color) {
  const TColor rgb = ColorToRGB(color);
  const unsigned r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  TRasterImage blended = image;
  for (std::uint32_t& p : blended.Pixels) {
    p = MakeARGB(AlphaOf(p), (RedOf(p) + r) / 2, (GreenOf(p) + g) / 2, (BlueOf(p) + b) / 2);
  }
  return blended;
}

void DrawListImage(ICanvas& canvas, const TPGImageList& list, int index, int x, int y, const TColor* blend) {
  if (index < 0 || index >= list.Count()) return;
  const TRasterImage* image = list.Image(index);
  if (!image || image->Empty()) return;
  const TRect dst{x, y, x + list.Width(), y + list.Height()};
  if (blend) {
    canvas.DrawImage(dst, BlendWith(*image, *blend));
  } else {
    canvas.DrawImage(dst, *image);
  }
}

}  // namespace

void TPGRectItemInfo::PaintStateFrames(int x, int y, const TPGItemPaint& paint) const {
  const TRect box{x, y, x + paint.Width, y + paint.Height};
  if (paint.State.Contains(pgidsCurrent) && paint.Style.CurrentItemColor != clNone) {
    FrameRect(paint.Canvas, {box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1}, paint.Style.CurrentItemColor);
  }
  if (paint.State.Contains(pgidsSelected)) {
    const TColor color = SelectionColor(paint);
    if (color != clNone) FrameRect(paint.Canvas, box, color);
  }
}

void TPGGraphicItemInfo::PaintObject(int x, int y, int, const TPGItemPaint& paint) const {
  if (Image && !Image->Empty()) {
    const TRasterImage& pixels = Image->DisplayPixels();
    const int sx = paint.Scale ? paint.Scale->ScaleX(Spacing()) : Spacing();
    const int sy = paint.Scale ? paint.Scale->ScaleY(Spacing()) : Spacing();
    const TRect dst{x + sx, y + sy, x + paint.Width - sx, y + paint.Height - sy};
    if (!pixels.Empty() && !dst.IsEmpty()) {
      // A metafile never draws outside its rectangle.
      paint.Canvas.Save();
      paint.Canvas.IntersectClip(dst);
      paint.Canvas.DrawImage(dst, pixels, dst.Width() != pixels.Width || dst.Height() != pixels.Height);
      paint.Canvas.Restore();
    }
  }
  PaintStateFrames(x, y, paint);
}

void TPGBulletItemInfo::PaintObject(int x, int y, int, const TPGItemPaint& paint) const {
  if (ImageList) {
    const TColor selection = SelectionColor(paint);
    const bool blend = paint.State.Contains(pgidsSelected) && selection != clNone;
    DrawListImage(paint.Canvas, *ImageList, ImageIndexFor(paint.State.Contains(pgidsHover)), x + Spacing(),
                  y + Spacing(), blend ? &selection : nullptr);
  }
  PaintStateFrames(x, y, paint);
}

void TPGControlItemInfo::PaintObject(int x, int y, int, const TPGItemPaint& paint) const {
  PaintStateFrames(x, y, paint);
}

void TPGMarkerItemInfo::PaintObject(int x, int y, int, const TPGItemPaint& paint) const {
  const TPGListLevel* level = LevelOf(&paint.Style);
  if (!level) return;
  ICanvas& canvas = paint.Canvas;
  switch (level->ListType) {
    case pglstPicture:
      if (const TGraphic* picture = level->Picture(); picture && !picture->Empty()) {
        const TRasterImage& pixels = picture->DisplayPixels();
        const int w = paint.Scale ? paint.Scale->ScaleX(picture->Width()) : picture->Width();
        const int h = paint.Scale ? paint.Scale->ScaleY(picture->Height()) : picture->Height();
        if (!pixels.Empty()) canvas.DrawImage({x, y, x + w, y + h}, pixels, w != pixels.Width || h != pixels.Height);
      }
      break;
    case pglstImageList:
    case pglstImageListCounter:
      if (level->ImageList) {
        const int index = level->ListType == pglstImageList ? level->ImageIndex : level->ImageIndex + CounterValue - 1;
        DrawListImage(canvas, *level->ImageList, index, x, y, nullptr);
      }
      break;
    default: {
      canvas.SetFont(LevelFont(*level, paint.Style, canvas));
      canvas.SetTextCharacterExtra(0);
      canvas.SetTextAlign(TA_LEFT | TA_TOP);
      const TPGMarkerFont defaults;
      const TPGMarkerFont& font = level->FontIfAny() ? *level->FontIfAny() : defaults;
      canvas.SetTextColor(ApplyColorMode(font.Color, paint.ColorMode));
      canvas.SetBrush({clNone, TBrushStyle::Clear});
      canvas.TextOut(x, y, DisplayedText(*level));
      break;
    }
  }
}

void TPGBreakItemInfo::PaintAcross(int left, int right, int top, const TPGItemPaint& paint) const {
  ICanvas& canvas = paint.Canvas;
  auto sx = [&](int v) { return paint.Scale ? paint.Scale->ScaleX(v) : v; };
  auto sy = [&](int v) { return paint.Scale ? paint.Scale->ScaleY(v) : v; };
  const TColor base = Color != clNone ? Color : paint.Style.TextStyles[0].Color;
  const TColor color = ApplyColorMode(base, paint.ColorMode);
  const int thickness = std::max(1, sy(Width));
  const int x1 = left + sx(5), x2 = right - sx(5);
  const int y = top + sy(5);
  if (x2 <= x1) return;
  switch (Style) {
    case 1: {
      const int t = y - thickness / 2;
      canvas.SetBrush({color, TBrushStyle::Solid});
      canvas.FillRect({x1, t, x2, t + thickness});
      break;
    }
    case 2: {
      // Sunken: shadow on the top and left, face on the bottom and right.
      const int t = y - thickness / 2;
      const int b = t + std::max(2, thickness) - 1;
      canvas.SetPen({ApplyColorMode(clBtnShadow, paint.ColorMode), 1, TPenStyle::Solid});
      canvas.MoveTo(x1, b);
      canvas.LineTo(x1, t);
      canvas.LineTo(x2, t);
      canvas.SetPen({ApplyColorMode(clBtnFace, paint.ColorMode), 1, TPenStyle::Solid});
      canvas.MoveTo(x2 - 1, t + 1);
      canvas.LineTo(x2 - 1, b);
      canvas.LineTo(x1, b);
      break;
    }
    default:
      canvas.SetPen({color, thickness, TPenStyle::InsideFrame});
      canvas.MoveTo(x1, y);
      canvas.LineTo(x2, y);
      break;
  }
  if (paint.State.Contains(pgidsSelected)) {
    const TColor selection = SelectionColor(paint);
    if (selection != clNone) {
      canvas.SetPen({selection, thickness, TPenStyle::InsideFrame});
      canvas.MoveTo(x1, y);
      canvas.LineTo(x2, y);
    }
  }
  canvas.SetPen({clBlack, 1, TPenStyle::Solid});
}

}  // namespace pagora
