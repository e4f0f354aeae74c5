#include <gtest/gtest.h>

#include "model/FontInfo.h"
#include "model/ParaInfo.h"
#include "model/StyleLikeness.h"

namespace pagora {
namespace {

TEST(LikenessMeasures, Sim) {
  struct Case {
    std::int64_t a, b, w, expected;
  };
  const Case cases[] = {
      {0, 0, 1000, 1000}, {0, 1, 1000, 0},   {0, -3, 10, -20},    {10, 15, 1000, 500},
      {10, 10, 77, 77},   {-10, -5, 1000, 500}, {4, 5, 10, 8},     // 0.75 * 10 = 7.5 -> 8 (even)
      {8, 9, 12, 10},     // 0.875 * 12 = 10.5 -> 10 (even)
      {10, 40, 100, -200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " " << c.b << " " << c.w);
    EXPECT_EQ(LikenessSim(c.a, c.b, c.w), c.expected);
  }
}

TEST(LikenessMeasures, ColorSim) {
  struct Case {
    TColor a, b;
    std::int64_t w, bonus, expected;
  };
  const Case cases[] = {
      {clNone, clNone, 3333, 3000, 12999},
      {clNone, clRed, 3333, 3000, 0},
      {clRed, clNone, 3333, 3000, 0},
      {clRed, clRed, 3333, 3000, 3000},
      {clBlack, clWhite, 255, 7, -765},              // dark against bright: no bonus
      {RGB(10, 20, 30), RGB(20, 20, 30), 255, 7, -10 + 7},
      {clWindowText, clBlack, 3333, 3000, 3000},     // system colours compare as RGB
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.a << " " << c.b);
    EXPECT_EQ(LikenessColorSim(c.a, c.b, c.w, c.bonus), c.expected);
  }
}

TEST(TextLikeness, CloserStylesScoreHigher) {
  TFontInfo templ;
  templ.Size = 12;
  templ.Style.Include(fsBold);
  TFontInfo nearer = templ;
  nearer.Size = 11;
  TFontInfo farther = templ;
  farther.Size = 11;
  farther.Style.Exclude(fsBold);
  EXPECT_GT(templ.Likeness(nearer), templ.Likeness(farther));
  TFontInfo protectedStyle = templ;
  protectedStyle.Protection.Include(pgprModifyProtect);
  EXPECT_EQ(templ.Likeness(templ) - templ.Likeness(protectedStyle), 100000);
}

TEST(TextLikeness, IdenticalPlainStyleScore) {
  TFontInfo a;  // Arial 10, window text, no background, default charset
  // size 10000 + vshift 1000 + scale 300 + spacing 1000 + colour 3000 + back 80000 + bidi 10000
  // + name 10000 + four style bits 200000 + overline + caps + plain 150000 + html + rtf 100000 + charset 50000
  EXPECT_EQ(a.Likeness(a), 10000 + 1000 + 300 + 1000 + 3000 + 80000 + 10000 + 10000 + 200000 + 150000 + 100000 + 50000);
}

TEST(TextLikeness, DefaultCharsetIsHalfwayToAnyCharset) {
  TFontInfo a, b, c;
  b.Charset = RUSSIAN_CHARSET;  // a has the default charset
  c.Charset = GREEK_CHARSET;
  EXPECT_EQ(a.Likeness(a) - a.Likeness(b), 50000 - 12500);
  EXPECT_EQ(b.Likeness(b) - b.Likeness(c), 50000);
}

TEST(ParaLikeness, BordersAndLineSpacing) {
  TParaInfo plain;
  TParaInfo bordered;
  bordered.Border.Style = pgbSingle;
  // Four sides shown in one style only: -20000 each instead of +20000.
  EXPECT_EQ(plain.Likeness(plain) - plain.Likeness(bordered), 4 * 40000);

  TParaInfo doubleSpaced;
  doubleSpaced.LineSpacingType = pglsSpaceBetween;
  doubleSpaced.LineSpacing = 5;
  TParaInfo single;
  single.LineSpacingType = pglsSpaceBetween;
  single.LineSpacing = 0;
  // Different types: -20000 when only one has extra spacing; 0 when both or neither do.
  EXPECT_EQ(plain.Likeness(plain) - plain.Likeness(doubleSpaced), 5000 + 20000);
  EXPECT_EQ(plain.Likeness(plain) - plain.Likeness(single), 5000);
}

}  // namespace
}  // namespace pagora
