#include "model/ParaBorder.h"

#include "model/ColorMode.h"
#include "platform/Canvas.h"
#include "platform/IntMath.h"

namespace pagora {

int TPGBorder::GetTotalWidth() const noexcept {
  switch (Style) {
    case pgbSingle: return Width;
    case pgbDouble: return 2 * Width + InternalWidth;
    case pgbTriple: return 3 * Width + 2 * InternalWidth;
    case pgbThickInside:
    case pgbThickOutside: return 3 * Width + InternalWidth;
    case pgbNone: return 0;
  }
  return 0;
}

void TPGBorder::Draw(const TRect& rect, ICanvas& canvas, TPGColorMode colorMode, int screenPpi,
                     int devicePpi) const {
  if (Style == pgbNone) return;
  const bool scale = screenPpi > 0 && devicePpi > 0 && screenPpi != devicePpi;
  auto s = [&](int v) { return scale ? MulDiv(v, devicePpi, screenPpi) : v; };
  TRect r = rect;
  BorderOffsets.InflateRect(r, screenPpi, devicePpi);
  int lines = 1;
  if (Style == pgbDouble || Style == pgbThickInside || Style == pgbThickOutside) lines = 2;
  else if (Style == pgbTriple) lines = 3;
  const int unit = s(1);
  TPenSpec pen{ApplyColorMode(Color, colorMode), 1, TPenStyle::InsideFrame};
  for (int n = lines; n >= 1; --n) {
    const bool thick = (n == 1 && Style == pgbThickOutside) || (n == 2 && Style == pgbThickInside);
    pen.Width = s(thick ? 2 * Width : Width);
    canvas.SetPen(pen);
    if (VisibleBorders.Top) { canvas.MoveTo(r.Left, r.Top); canvas.LineTo(r.Right, r.Top); }
    if (VisibleBorders.Right) { canvas.MoveTo(r.Right, r.Top); canvas.LineTo(r.Right, r.Bottom); }
    if (VisibleBorders.Bottom) { canvas.MoveTo(r.Right, r.Bottom); canvas.LineTo(r.Left, r.Bottom); }
    if (VisibleBorders.Left) { canvas.MoveTo(r.Left, r.Bottom); canvas.LineTo(r.Left, r.Top); }
    const int step = unit + s(InternalWidth);
    r.Inflate(step, step);
    if (Width == 1) {
      if (Style == pgbThickOutside) { r.Right += unit; r.Bottom += unit; }
      else if (Style == pgbThickInside) { r.Left -= unit; r.Top -= unit; }
    }
  }
  pen.Width = 1;
  canvas.SetPen(pen);
}

}  // namespace pagora
