// How the style sheet puts a style onto a canvas: fonts, text colours in every colour
// mode, and the default drawings of checkpoints, page breaks and paragraph backgrounds.
#include "model/ColorMode.h"
#include "model/PGStyle.h"
#include "platform/Canvas.h"
#include "platform/IntMath.h"
#include "platform/TextCase.h"

#include <vector>

namespace pagora {

void TPGStyle::ApplyFontToCanvas(ICanvas& canvas, int styleNo, TPGBiDiMode docBiDiMode) {
  bool doDefault = true;
  if (OnApplyStyle) OnApplyStyle(*this, canvas, styleNo, doDefault);
  if (!doDefault) return;
  const TFontInfo& f = TextStyles[styleNo];
  const int resolution = TextStyles.FontResolution != 0 ? TextStyles.FontResolution : canvas.FontPixelsPerInch();
  TFontSpec spec;
  spec.Name = f.FontName;
  spec.PixelSize = MulDiv(f.Size, resolution, 72);
  spec.Weight = f.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  spec.Italic = f.Style.Contains(fsItalic);
  spec.Underline = f.Style.Contains(fsUnderline);
  spec.StrikeOut = f.Style.Contains(fsStrikeOut);
  spec.Charset = f.Charset;
  canvas.SetFont(spec);
  if (f.CharScale != 100) {
    // The width of a scaled font follows from the unscaled font's average character width.
    TTextMetrics tm;
    const int average = canvas.GetTextMetrics(tm) ? tm.AveCharWidth : canvas.TextExtent(u"x").cx;
    spec.Width = static_cast<int>(static_cast<std::int64_t>(average) * f.CharScale / 100);
    canvas.SetFont(spec);
  }
  const TPGBiDiMode mode = f.BiDiMode != pgbdUnspecified ? f.BiDiMode : docBiDiMode;
  if (mode == pgbdUnspecified) {
    canvas.SetTextCharacterExtra(f.CharSpacing);
  } else {
    canvas.SetTextCharacterExtra(0);
    canvas.SetTextAlign(mode == pgbdRightToLeft ? TA_RTLREADING : TA_LEFT);
  }
}

void TPGStyle::ApplyColorsToCanvas(ICanvas& canvas, int styleNo, TPGTextDrawStates drawState,
                                   TPGColorMode colorMode, bool useColorMode) {
  bool doDefault = true;
  if (OnApplyStyleColor) OnApplyStyleColor(*this, canvas, styleNo, drawState, doDefault);
  if (!doDefault) return;
  const TFontInfo& f = TextStyles[styleNo];
  TColor text = f.Color;
  TColor brush = f.BackColor;
  if (drawState.Contains(pgtsSelected)) {
    const bool focused = drawState.Contains(pgtsControlFocused);
    brush = focused ? SelColor : InactiveSelColor;
    text = focused ? SelTextColor : InactiveSelTextColor;
    if (text == clNone) text = f.Color;
  } else if (drawState.Contains(pgtsHover)) {
    text = EffectiveHoverColor(f.HoverColor);
    if (text == clNone) text = f.Color;
    brush = f.HoverBackColor;
  } else if (useColorMode) {
    switch (colorMode) {
      case pgcmColor: break;
      case pgcmPrinterColor:
        text = PrinterColor(text);
        brush = PrinterColor(brush);
        break;
      case pgcmGrayScale:
        text = ApplyColorMode(text, pgcmGrayScale);
        brush = ApplyColorMode(brush, pgcmGrayScale);
        break;
      case pgcmBlackAndWhite: {
        const TColor mappedText = ColorToRGB(PrinterColor(f.Color));
        if (f.BackColor == clNone) {
          brush = clNone;
          text = mappedText == clWhite ? clWhite : clBlack;
        } else if (Luminance(mappedText) < Luminance(ColorToRGB(PrinterColor(f.BackColor)))) {
          brush = clWhite;
          text = clBlack;
        } else {
          brush = clBlack;
          text = clWhite;
        }
        break;
      }
      case pgcmBlackOnWhite:
        text = clBlack;
        brush = clNone;
        break;
    }
  }
  canvas.SetTextColor(text);
  canvas.SetBrush({brush, brush == clNone ? TBrushStyle::Clear : TBrushStyle::Solid});
}

void TPGStyle::PaintStyleText(std::u16string_view s, ICanvas& canvas, int itemNo, int offs, TCustomPGData* pgData,
                              int styleNo, int spaceBefore, int left, int top, int width, int height,
                              TPGTextDrawStates drawState, TPGColorMode colorMode, bool useColorMode) {
  const TFontInfo& f = TextStyles[styleNo];
  std::u16string text(s);
  if (f.StyleEx.Contains(pgfsAllCaps)) {
    for (char16_t& c : text) c = UpperChar(c);
  }
  DrawItemNo = itemNo;
  DrawOffs = offs;
  DrawPGData = pgData;
  bool doDefault = true;
  if (OnDrawStyleText) {
    OnDrawStyleText(*this, text, canvas, styleNo, spaceBefore, left, top, width, height, drawState, doDefault);
  }
  if (!doDefault) return;
  ApplyColorsToCanvas(canvas, styleNo, drawState, colorMode, useColorMode);
  const TBrushSpec brush = canvas.Brush();
  if (brush.Style != TBrushStyle::Clear && brush.Color != clNone) canvas.FillRect({left, top, left + width, top + height});
  canvas.SetBrush({clNone, TBrushStyle::Clear});
  const int x = left + spaceBefore;
  canvas.TextOut(x, top, text);
  const bool specials = drawState.Contains(pgtsSpecialCharacters) && text.find(u' ') != std::u16string::npos;
  if (!f.StyleEx.Contains(pgfsOverline) && !specials) return;
  // The lines and dots take the text's colour.
  const TColor textColor = canvas.TextColor();
  if (f.StyleEx.Contains(pgfsOverline)) {
    canvas.SetPen({textColor, 1, TPenStyle::Solid});
    canvas.MoveTo(x, top);
    canvas.LineTo(left + width, top);
  }
  if (specials) {
    std::vector<int> widths(text.size());
    canvas.PrefixWidths(text, widths);
    TTextMetrics tm;
    const bool metrics = canvas.GetTextMetrics(tm);
    const int ascent = metrics ? tm.Ascent : height;
    const int dot = std::max(1, ascent / 10);
    const int dotTop = top + (metrics ? tm.Ascent - (tm.Ascent - tm.InternalLeading) / 3 : height / 2) - dot / 2;
    const bool rtl = canvas.TextAlignment() & TA_RTLREADING;
    canvas.SetBrush({textColor, TBrushStyle::Solid});
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != u' ') continue;
      const int a = i == 0 ? 0 : widths[i - 1];
      const int b = widths[i];
      const int total = widths.back();
      // In right-to-left text the first character stands at the right.
      const int cellLeft = rtl ? x + total - b : x + a;
      const int centre = cellLeft + (b - a) / 2;
      canvas.FillRect({centre - dot / 2, dotTop, centre - dot / 2 + dot, dotTop + dot});
    }
    canvas.SetBrush({clNone, TBrushStyle::Clear});
  }
}

void TPGStyle::PaintTextBack(ICanvas& canvas, int itemNo, int offs, TCustomPGData* pgData, int styleNo, int left,
                             int top, int width, int height, TPGTextDrawStates drawState) {
  DrawItemNo = itemNo;
  DrawOffs = offs;
  DrawPGData = pgData;
  bool doDefault = true;
  if (OnDrawTextBack) OnDrawTextBack(*this, canvas, styleNo, left, top, width, height, drawState, doDefault);
}

void TPGStyle::PaintCheckpoint(ICanvas& canvas, int x, int y, int itemNo, int xShift, bool raiseEvent,
                               TCustomPagora* control, int controlWidth) {
  bool doDefault = true;
  if (OnDrawCheckpoint) OnDrawCheckpoint(*this, canvas, x, y, itemNo, xShift, raiseEvent, control, doDefault);
  if (!doDefault) return;
  const TColor color = raiseEvent ? CheckpointEvColor : CheckpointColor;
  canvas.SetBrush({clNone, TBrushStyle::Clear});
  if (itemNo >= 0) {
    canvas.SetPen({color, 1, TPenStyle::Solid});
    canvas.Ellipse({x - 2, y - 2, x + 2, y + 2});
  }
  canvas.SetPen({color, 1, TPenStyle::Dot});
  canvas.MoveTo(xShift, y);
  canvas.LineTo(xShift + controlWidth, y);
  canvas.SetPen({color, 1, TPenStyle::Solid});
}

void TPGStyle::PaintPageBreak(ICanvas& canvas, int y, int xShift, TPGPageBreakType pageBreakType,
                              TCustomPagora* control, int clientWidth) {
  bool doDefault = true;
  if (OnDrawPageBreak) OnDrawPageBreak(*this, canvas, y, xShift, pageBreakType, control, doDefault);
  if (!doDefault) return;
  const TColor color = pageBreakType == pgpbPageBreak ? PageBreakColor : SoftPageBreakColor;
  const int left = xShift;
  const int right = xShift + clientWidth;
  canvas.SetPen({color, 1, TPenStyle::Solid});
  canvas.SetBrush({clWindow, TBrushStyle::Solid});
  canvas.MoveTo(left, y);
  canvas.LineTo(right - 8, y);
  const TPoint triangle[3] = {{right - 8, y}, {right, y + 8}, {right - 8, y + 8}};
  canvas.Polygon(triangle);
}

void TPGStyle::PaintParaBack(ICanvas& canvas, int paraNo, const TRect& rect, TPGColorMode colorMode) {
  bool doDefault = true;
  if (OnDrawParaBack) OnDrawParaBack(*this, canvas, paraNo, rect, doDefault);
  if (!doDefault) return;
  const TColor color = ParaStyles[paraNo].Background.Color;
  if (color == clNone || colorMode == pgcmBlackAndWhite || colorMode == pgcmBlackOnWhite) return;
  canvas.SetBrush({ApplyColorMode(color, colorMode), TBrushStyle::Solid});
  canvas.FillRect({rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1});
}

}  // namespace pagora
