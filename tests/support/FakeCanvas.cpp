#include "FakeCanvas.h"

#include <cstdio>

namespace pagora::test {

namespace {
std::string Hex(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", c);
  return buf;
}
std::string Pt(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
std::string Rc(const TRect& r) { return Pt(r.Left, r.Top) + "-" + Pt(r.Right, r.Bottom); }
}  // namespace

int FakeCanvas::CharWidth(char16_t c, const TFontSpec& font) {
  int share = 55;  // percent of the pixel size
  if (c == u' ') share = 30;
  else if (c == u'i' || c == u'l' || c == u'.' || c == u',') share = 25;
  else if (c == u'm' || c == u'w' || c == u'M' || c == u'W') share = 90;
  else if (c >= u'A' && c <= u'Z') share = 70;
  else if (c >= 0x3000) share = 100;
  int w = (font.PixelSize * share + 50) / 100;
  if (font.Width > 0) {
    const int average = (font.PixelSize * 55 + 50) / 100;
    if (average > 0) w = (w * font.Width + average / 2) / average;
  }
  if (font.Weight >= 700) ++w;
  return w < 1 ? 1 : w;
}

TTextMetrics FakeCanvas::MetricsFor(const TFontSpec& font) {
  TTextMetrics m;
  m.Ascent = (font.PixelSize * 9 + 5) / 10;
  m.Descent = (font.PixelSize * 3 + 5) / 10;
  m.Height = m.Ascent + m.Descent;
  m.InternalLeading = m.Height - font.PixelSize;
  m.ExternalLeading = 0;
  m.AveCharWidth = font.Width > 0 ? font.Width : (font.PixelSize * 55 + 50) / 100;
  m.MaxCharWidth = (font.PixelSize * 90 + 50) / 100;
  return m;
}

void FakeCanvas::SetFont(const TFontSpec& font) {
  font_ = font;
  FontsSelected.push_back(font);
  Log.push_back("font " + font.Name + " " + std::to_string(font.PixelSize) + " w" + std::to_string(font.Width) + " " +
                std::to_string(font.Weight) + (font.Italic ? " i" : "") + (font.Underline ? " u" : "") +
                (font.StrikeOut ? " s" : ""));
}

bool FakeCanvas::GetTextMetrics(TTextMetrics& metrics) {
  if (MetricsFail) return false;
  metrics = MetricsFor(font_);
  return true;
}

TSize FakeCanvas::TextExtent(std::u16string_view text) {
  ++Measurements;
  int w = 0;
  for (char16_t c : text) w += CharWidth(c, font_) + CharExtra;
  return {w, MetricsFor(font_).Height};
}

void FakeCanvas::SetTextCharacterExtra(int pixels) {
  CharExtra = pixels;
  Log.push_back("extra " + std::to_string(pixels));
}

void FakeCanvas::SetTextAlign(unsigned flags) {
  TextAlignFlags = flags;
  Log.push_back("align " + std::to_string(flags));
}

void FakeCanvas::SetTextColor(TColor color) {
  CurrentTextColor = color;
  Log.push_back("textcolor " + Hex(color));
}

void FakeCanvas::SetPen(const TPenSpec& pen) {
  pen_ = pen;
  static const char* styles[] = {"solid", "dash", "dot", "clear", "insideframe"};
  Log.push_back("pen " + Hex(pen.Color) + " " + std::to_string(pen.Width) + " " + styles[static_cast<int>(pen.Style)]);
}

void FakeCanvas::SetBrush(const TBrushSpec& brush) {
  brush_ = brush;
  static const char* styles[] = {"solid", "clear", "bdiagonal", "fdiagonal"};
  Log.push_back("brush " + Hex(brush.Color) + " " + styles[static_cast<int>(brush.Style)]);
}

void FakeCanvas::MoveTo(int x, int y) { Log.push_back("moveto " + Pt(x, y)); }
void FakeCanvas::LineTo(int x, int y) { Log.push_back("lineto " + Pt(x, y)); }
void FakeCanvas::Rectangle(const TRect& r) { Log.push_back("rectangle " + Rc(r)); }
void FakeCanvas::FillRect(const TRect& r) { Log.push_back("fillrect " + Rc(r)); }
void FakeCanvas::Ellipse(const TRect& r) { Log.push_back("ellipse " + Rc(r)); }

void FakeCanvas::PrefixWidths(std::u16string_view text, std::span<int> widths) {
  ++Measurements;
  int w = 0;
  for (std::size_t i = 0; i < text.size() && i < widths.size(); ++i) {
    w += CharWidth(text[i], font_) + CharExtra;
    widths[i] = w;
  }
}

void FakeCanvas::TextOut(int x, int y, std::u16string_view text) {
  std::string s;
  for (char16_t c : text) s += c < 0x80 ? static_cast<char>(c) : '?';
  Log.push_back("text " + Pt(x, y) + " \"" + s + "\"");
}

void FakeCanvas::DrawImage(const TRect& dst, const TRasterImage& image, bool) {
  Log.push_back("image " + Rc(dst) + " " + std::to_string(image.Width) + "x" + std::to_string(image.Height));
}

void FakeCanvas::Save() { saved_.push_back(clip_); }

void FakeCanvas::Restore() {
  if (saved_.empty()) return;
  clip_ = saved_.back();
  saved_.pop_back();
}

void FakeCanvas::IntersectClip(const TRect& r) {
  clip_ = clip_.Intersect(r);
  Log.push_back("clip " + Rc(r));
}

void FakeCanvas::Polygon(std::span<const TPoint> points) {
  std::string s = "polygon";
  for (const TPoint& p : points) s += " " + Pt(p.X, p.Y);
  Log.push_back(s);
}

}  // namespace pagora::test
