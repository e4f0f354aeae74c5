#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>

#include <climits>
#include <string>
#include <vector>

#include "QtTestImage.h"
#include "platform/IntMath.h"
#include "qt/QtCanvas.h"
#include "qt/SymbolCharset.h"

namespace pagora {
namespace {

TFontSpec Face(std::string name, int pixelSize = 13) {
  TFontSpec f;
  f.Name = std::move(name);
  f.PixelSize = pixelSize;
  return f;
}

std::u16string Repeat(std::u16string_view s, int times) {
  std::u16string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

// Kerning pairs, ligature candidates, digits and punctuation, several times over.
const std::u16string kLatin =
    Repeat(u"The quick brown fox jumps over the lazy dog. AVAWAY To Ta Yo. office fluff ffi 0123456789, "
           u"\"quoted\" (brackets) [x] {y} 50% & more! ",
           4);
const std::u16string kMixed =
    u"Grüße, Ελληνικά Русский язык עברית שלום 123 — “quotes” … ĀĒĪ ŠŽ ß ÿ ½ € ™ © 漢字かな "
    u"مرحبا بالعالم e\u0301 n\u0303 \U0001D400\U0001F600 tab\u00ADsoft";

// A measuring canvas on an image, as formatting uses outside painting.
class QtCanvasText : public testing::Test {
protected:
  QImage device_{8, 8, QImage::Format_ARGB32_Premultiplied};
  TQtCanvas canvas_{device_};

  int AverageOf(const TFontSpec& f) {
    canvas_.SetFont(f);
    TTextMetrics tm;
    EXPECT_TRUE(canvas_.GetTextMetrics(tm));
    return tm.AveCharWidth;
  }
};

TEST_F(QtCanvasText, MetricCompatibleFacesResolveToLiberationWithItsMetrics) {
  const struct {
    const char* asked;
    const char* resolved;
  } cases[] = {
      {"Arial", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
  };
  for (const auto& c : cases) {
    for (int px : {11, 13, 27}) {
      SCOPED_TRACE(testing::Message() << c.asked << " " << px);
      TFontSpec asked = Face(c.asked, px);
      asked.Weight = FW_BOLD;
      canvas_.SetFont(asked);
      EXPECT_EQ(QFontInfo(canvas_.CurrentFont().Font).family().toStdString(), c.resolved);
      TTextMetrics a;
      ASSERT_TRUE(canvas_.GetTextMetrics(a));
      const TSize extentAsked = canvas_.TextExtent(kLatin);

      TFontSpec resolved = asked;
      resolved.Name = c.resolved;
      canvas_.SetFont(resolved);
      TTextMetrics b;
      ASSERT_TRUE(canvas_.GetTextMetrics(b));
      EXPECT_EQ(a.Ascent, b.Ascent);
      EXPECT_EQ(a.Descent, b.Descent);
      EXPECT_EQ(a.AveCharWidth, b.AveCharWidth);
      EXPECT_EQ(a.MaxCharWidth, b.MaxCharWidth);
      EXPECT_EQ(extentAsked, canvas_.TextExtent(kLatin));
    }
  }
}

TEST_F(QtCanvasText, TextMetricsDescribeTheCell) {
  for (const char* face : {"Arial", "Times New Roman", "Courier New", "DejaVu Sans"}) {
    SCOPED_TRACE(face);
    canvas_.SetFont(Face(face, 20));
    TTextMetrics tm;
    ASSERT_TRUE(canvas_.GetTextMetrics(tm));
    EXPECT_GT(tm.Ascent, tm.Descent);
    EXPECT_GT(tm.Descent, 0);
    EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
    EXPECT_EQ(tm.InternalLeading, std::max(0, tm.Height - 20));
    EXPECT_GE(tm.ExternalLeading, 0);
    EXPECT_GT(tm.AveCharWidth, 0);
    EXPECT_GE(tm.MaxCharWidth, tm.AveCharWidth);
    EXPECT_EQ(canvas_.TextExtent(u""), (TSize{0, tm.Height}));
    EXPECT_EQ(canvas_.TextExtent(u"Wg").cy, tm.Height);
  }
}

TEST_F(QtCanvasText, PointSizesBecomePixelSizesThroughMulDiv) {
  EXPECT_EQ(canvas_.PixelsPerInchX(), 96);
  EXPECT_EQ(canvas_.PixelsPerInchY(), 96);
  ASSERT_EQ(canvas_.FontPixelsPerInch(), 96);
  const struct {
    int points;
    int pixels;
  } cases[] = {{8, 11}, {9, 12}, {10, 13}, {11, 15}, {12, 16}, {72, 96}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.points);
    const int px = MulDiv(c.points, canvas_.FontPixelsPerInch(), 72);
    EXPECT_EQ(px, c.pixels);
    canvas_.SetFont(Face("Arial", px));
    // The em is the pixel size exactly, not the point size's 13.33 px.
    EXPECT_EQ(QFontInfo(canvas_.CurrentFont().Font).pixelSize(), c.pixels);
  }
}

TEST_F(QtCanvasText, PrefixWidthsAreTheExtentsOfEveryPrefix) {
  const int average = AverageOf(Face("Arial"));
  struct TVariant {
    const char* label;
    TFontSpec font;
    int extra = 0;
  };
  std::vector<TVariant> variants = {{"plain", Face("Arial")},
                                    {"bold", Face("Arial")},
                                    {"italic", Face("Times New Roman", 15)},
                                    {"bold italic", Face("Courier New", 16)},
                                    {"stretched", Face("Arial")},
                                    {"condensed", Face("Arial")},
                                    {"letter-spaced", Face("Arial"), 2},
                                    {"tightened", Face("Times New Roman", 17), -1},
                                    {"stretched and spaced", Face("Arial"), 3},
                                    {"large", Face("DejaVu Sans", 41)}};
  variants[1].font.Weight = FW_BOLD;
  variants[2].font.Italic = true;
  variants[3].font.Italic = true;
  variants[3].font.Weight = FW_BOLD;
  variants[4].font.Width = 2 * average;
  variants[5].font.Width = average * 2 / 3;
  variants[8].font.Width = average + 3;
  const struct {
    const char* label;
    std::u16string text;
    bool additive;  // every character keeps its own advance in the run
  } texts[] = {{"latin", kLatin, true},
               {"greek and cyrillic", u"Ελληνικά γράμματα και русский язык, ΑΒΓΔ АБВГ ёжик", true},
               {"hebrew", u"שלום עולם, מה שלומך היום?", true},
               {"pointed hebrew", u"שָׁלוֹם עוֹלָם, בְּרֵאשִׁית בָּרָא", false},
               {"arabic", Repeat(u"مرحبا بالعالم، هذا نص عربي للقياس. ", 3), false},
               {"mixed", kMixed, false}};

  for (const TVariant& v : variants) {
    for (const auto& t : texts) {
      SCOPED_TRACE(testing::Message() << v.label << ", " << t.label);
      canvas_.SetFont(v.font);
      canvas_.SetTextCharacterExtra(v.extra);
      std::vector<int> widths(t.text.size());
      canvas_.PrefixWidths(t.text, widths);
      for (std::size_t i = 0; i < t.text.size(); ++i) {
        const int expected = canvas_.TextExtent(std::u16string_view(t.text).substr(0, i + 1)).cx;
        if (widths[i] != expected) {
          ADD_FAILURE() << "prefix of " << i + 1 << ": " << widths[i] << " against " << expected;
          break;
        }
      }
      EXPECT_EQ(widths.back(), canvas_.TextExtent(t.text).cx);
      if (t.additive) {
        int sum = 0;
        for (char16_t c : t.text) sum += canvas_.TextExtent(std::u16string(1, c)).cx;
        EXPECT_EQ(sum, widths.back());
      }

      // Fitting stops at the first prefix that is too wide.
      const int middle = widths[widths.size() / 2];
      for (int maxWidth : {-1, 0, middle - 1, middle, widths.back(), INT_MAX}) {
        const auto over = std::find_if(widths.begin(), widths.end(), [&](int w) { return w > maxWidth; });
        EXPECT_EQ(canvas_.FitCount(t.text, maxWidth), over - widths.begin()) << maxWidth;
      }
    }
  }
}

TEST_F(QtCanvasText, PrefixWidthsFillOnlyWhatBothSpansHold) {
  canvas_.SetFont(Face("Arial"));
  std::vector<int> widths(5, -7);
  canvas_.PrefixWidths(u"abc", widths);
  EXPECT_EQ(widths[2], canvas_.TextExtent(u"abc").cx);
  EXPECT_EQ(widths[3], -7);
  std::vector<int> two(2, -7);
  canvas_.PrefixWidths(u"abcdef", two);
  EXPECT_EQ(two[1], canvas_.TextExtent(u"ab").cx);
  canvas_.PrefixWidths(u"", widths);  // nothing to do
  EXPECT_EQ(canvas_.FitCount(u"", 100), 0);
}

TEST(QtCanvasJoiningScripts, ArabicLettersJoinWhenMeasuredAndWhenDrawn) {
  test::TImageDrawing d(200, 50);
  d.Canvas().SetFont(Face("Arial", 30));
  const int one = d.Canvas().TextExtent(u"ب").cx;
  const int three = d.Canvas().TextExtent(u"ببب").cx;
  EXPECT_LT(three, 2 * one);  // the joined forms are narrower than three apart
  std::vector<int> widths(4);
  d.Canvas().PrefixWidths(u"xببب", widths);
  EXPECT_EQ(widths[0], d.Canvas().TextExtent(u"x").cx);
  EXPECT_EQ(widths[3], d.Canvas().TextExtent(u"xببب").cx);
  d.Canvas().TextOut(10, 5, u"ببب");
  EXPECT_LE(d.TouchedBox().Width(), three + 2);
}

TEST_F(QtCanvasText, WidthStretchesTheFontFromItsNaturalAverage) {
  TFontSpec font = Face("Arial", 20);
  const int natural = AverageOf(font);
  const TSize plain = canvas_.TextExtent(kLatin);
  const struct {
    int width;
    double ratio;
  } cases[] = {{natural * 2, 2.0}, {natural, 1.0}, {natural / 2, 0.5}, {natural * 3, 3.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    font.Width = c.width;
    canvas_.SetFont(font);
    TTextMetrics tm;
    ASSERT_TRUE(canvas_.GetTextMetrics(tm));
    const TSize extent = canvas_.TextExtent(kLatin);
    EXPECT_NEAR(static_cast<double>(extent.cx) / plain.cx, c.ratio, 0.06 * c.ratio);
    EXPECT_NEAR(tm.AveCharWidth, c.width, 1 + c.width / 10);
    EXPECT_EQ(extent.cy, plain.cy);  // only the width changes
  }
}

TEST_F(QtCanvasText, CharacterExtraAddsToEveryCharacterAndOutlivesFontChanges) {
  const std::u16string text = u"Spacing out";
  const auto n = static_cast<int>(text.size());
  canvas_.SetFont(Face("Arial"));
  const int arial = canvas_.TextExtent(text).cx;
  canvas_.SetFont(Face("Times New Roman"));
  const int times = canvas_.TextExtent(text).cx;

  for (int extra : {2, 5, -1}) {
    SCOPED_TRACE(extra);
    canvas_.SetTextCharacterExtra(extra);
    EXPECT_EQ(canvas_.TextExtent(text).cx, times + extra * n);
    canvas_.SetFont(Face("Arial"));  // the extra belongs to the canvas, not the font
    EXPECT_EQ(canvas_.TextExtent(text).cx, arial + extra * n);
    EXPECT_EQ(canvas_.TextExtent(u"x").cx, canvas_.TextExtent(u"xx").cx - canvas_.TextExtent(u"x").cx);
    canvas_.SetFont(Face("Times New Roman"));
  }
  canvas_.SetTextCharacterExtra(0);
  EXPECT_EQ(canvas_.TextExtent(text).cx, times);
}

TEST(SymbolCharset, MapsSymbolCodePointsToTheCharactersTheyShow) {
  const struct {
    char16_t code;
    char16_t unicode;
  } cases[] = {
      {0x20, 0x0020},   {0x30, 0x0030},   {0x22, 0x2200},   {0x41, 0x0391},   {0x44, 0x0394},
      {0x57, 0x03A9},   {0x61, 0x03B1},   {0x6D, 0x03BC},   {0x7A, 0x03B6},   {0xA5, 0x221E},
      {0xAE, 0x2192},   {0xB7, 0x2022},   {0xBF, 0x21B5},   {0xD6, 0x221A},   {0xDE, 0x21D2},
      {0xE5, 0x2211},   {0xF2, 0x222B},   {0xFE, 0xF8FE},   {0xF0B7, 0x2022}, {0xF041, 0x0391},
      {0x7F, 0x0020},   {0x80, 0x0020},   {0xF0, 0x0020},   {0xFF, 0x0020},   {0x1F, 0x001F},
      {0x0D, 0x000D},   {0x100, 0x0100},  {0x2022, 0x2022}, {0xF000, 0xF000}, {0xF100, 0xF100},
  };
  for (const auto& c : cases) EXPECT_EQ(static_cast<int>(SymbolToUnicode(c.code)), static_cast<int>(c.unicode)) << std::hex << static_cast<int>(c.code);
}

TEST(SymbolCharset, SymbolFontsAreTheSymbolCharsetAndTheFaceNamedSymbol) {
  const struct {
    const char* name;
    unsigned charset;
    bool symbol;
  } cases[] = {{"Arial", SYMBOL_CHARSET, true},   {"Symbol", ANSI_CHARSET, true},  {"symbol", DEFAULT_CHARSET, true},
               {"Arial", DEFAULT_CHARSET, false}, {"Symbolic", ANSI_CHARSET, false}, {"", SYMBOL_CHARSET, true}};
  for (const auto& c : cases) EXPECT_EQ(IsSymbolFont(c.name, c.charset), c.symbol) << c.name << " " << c.charset;
}

TEST_F(QtCanvasText, TheSymbolFaceHasAGlyphForEveryDefinedCode) {
  TFontSpec symbol = Face("Symbol", 16);
  symbol.Charset = SYMBOL_CHARSET;
  canvas_.SetFont(symbol);
  const TQtFontEntry& f = canvas_.CurrentFont();
  ASSERT_TRUE(f.Symbol);
  for (char16_t c = 0x21; c <= 0xFE; ++c) {
    const char16_t u = SymbolToUnicode(c);
    if (u == u' ') continue;  // an undefined slot
    EXPECT_TRUE(f.Metrics.inFontUcs4(u)) << std::hex << "code " << static_cast<int>(c) << " -> U+" << static_cast<int>(u) << " in "
                                         << QFontInfo(f.Font).family().toStdString();
  }
}

TEST(QtCanvasSymbolText, SymbolCodePointsDrawAndMeasureAsTheCharactersTheyShow) {
  TFontSpec symbol = Face("Symbol", 24);
  symbol.Charset = SYMBOL_CHARSET;
  const auto draw = [](const TFontSpec& font, std::u16string_view text, int* width) {
    test::TImageDrawing d(60, 40);
    d.Canvas().SetFont(font);
    *width = d.Canvas().TextExtent(text).cx;
    d.Canvas().TextOut(4, 4, text);
    return d.Image().copy();
  };
  for (char16_t code : {char16_t{0xB7}, char16_t{0xBF}, char16_t{0x61}, char16_t{0xF0AE}}) {
    SCOPED_TRACE(testing::Message() << std::hex << static_cast<int>(code));
    const char16_t shown = SymbolToUnicode(code);
    int codeWidth = 0, shownWidth = 0, rawWidth = 0;
    const QImage viaCode = draw(symbol, std::u16string(1, code), &codeWidth);
    const QImage viaUnicode = draw(symbol, std::u16string(1, shown), &shownWidth);
    EXPECT_EQ(viaCode, viaUnicode);
    EXPECT_EQ(codeWidth, shownWidth);
    EXPECT_GT(codeWidth, 0);
    // Not the Latin-1 character of the same number.
    const QImage raw = draw(Face("Arial", 24), std::u16string(1, code), &rawWidth);
    if (code < 0x100) {
      EXPECT_NE(viaCode, raw);
    }
  }
}

TEST_F(QtCanvasText, EqualSpecsShareOneCachedFont) {
  const TFontSpec arial = Face("Arial", 13);
  const TFontSpec times = Face("Times New Roman", 15);
  canvas_.SetFont(arial);
  const TQtFontEntry* first = &canvas_.CurrentFont();
  canvas_.SetFont(times);
  const TQtFontEntry* second = &canvas_.CurrentFont();
  EXPECT_NE(first, second);
  canvas_.SetFont(arial);
  EXPECT_EQ(&canvas_.CurrentFont(), first);
  EXPECT_EQ(canvas_.FontCache().Size(), 2u);

  // The extra spacing is part of the Qt font, so it is an entry of its own.
  canvas_.SetTextCharacterExtra(2);
  EXPECT_NE(&canvas_.CurrentFont(), first);
  EXPECT_EQ(canvas_.CurrentFont().Font.letterSpacing(), 2.0);
  canvas_.SetTextCharacterExtra(0);
  EXPECT_EQ(&canvas_.CurrentFont(), first);

  // Canvases sharing a cache share its fonts.
  TQtFontCache shared;
  TQtCanvas a(device_, &shared), b(device_, &shared);
  a.SetFont(times);
  b.SetFont(times);
  EXPECT_EQ(&a.CurrentFont(), &b.CurrentFont());
  EXPECT_EQ(shared.Size(), 1u);
}

TEST(QtFontCache, KeepsTheMostRecentlyUsedWithinItsCapacity) {
  QImage device(4, 4, QImage::Format_ARGB32_Premultiplied);
  TQtFontCache cache(3);
  const auto get = [&](int px) { return cache.Get(Face("Arial", px), 0, device); };
  const auto ten = get(10);
  const auto eleven = get(11);
  get(12);
  EXPECT_EQ(get(10), ten);  // now the most recent
  get(13);                  // drops 11, the least recent
  EXPECT_EQ(cache.Size(), 3u);
  EXPECT_EQ(get(10), ten);
  EXPECT_NE(get(11), eleven);  // built again (the old one is still alive, so not reused)
  EXPECT_EQ(cache.Size(), 3u);
  cache.Clear();
  EXPECT_EQ(cache.Size(), 0u);
  EXPECT_EQ(ten->Font.pixelSize(), 10);  // entries in use outlive the cache's hold on them
}

}  // namespace
}  // namespace pagora
