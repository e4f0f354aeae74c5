#include <gtest/gtest.h>

#include <string>

#include "platform/CodePages.h"

namespace pagora {
namespace {

// The ANSI code page is process-wide; every test leaves it at its default.
class CodePages : public testing::Test {
protected:
  void TearDown() override { SetSystemAnsiCodePage(1252); }
};

std::string AllBytes() {
  std::string s(256, '\0');
  for (int b = 0; b < 256; ++b) s[b] = static_cast<char>(b);
  return s;
}

TEST_F(CodePages, PseudoCodePagesResolveToRealOnes) {
  EXPECT_EQ(SystemAnsiCodePage(), 1252);
  const struct {
    TPGCodePage cp, resolved;
  } cases[] = {{CP_ACP, 1252}, {CP_OEMCP, 437}, {CP_MACCP, 10000}, {3, 1252}, {1251, 1251}, {932, 932}};
  for (const auto& t : cases) {
    SCOPED_TRACE(t.cp);
    EXPECT_EQ(ResolveCodePage(t.cp), t.resolved);
  }

  SetSystemAnsiCodePage(1251);
  EXPECT_EQ(ResolveCodePage(CP_ACP), 1251);
  EXPECT_EQ(ResolveCodePage(3), 1251);
  EXPECT_EQ(ResolveCodePage(CP_OEMCP), 437);
  EXPECT_EQ(CodePageToUTF16(CP_ACP, "\xC0"), u"\u0410");

  SetSystemAnsiCodePage(CP_MACCP);  // a pseudo code page cannot be the ANSI one
  EXPECT_EQ(SystemAnsiCodePage(), 1251);
}

TEST_F(CodePages, PseudoCodePagesConvertWithTheirRealTables) {
  EXPECT_EQ(CodePageToUTF16(CP_ACP, "\x80"), u"\u20AC");
  EXPECT_EQ(CodePageToUTF16(CP_OEMCP, "\x80\xE1\xB0"), u"\u00C7\u00DF\u2591");
  EXPECT_EQ(CodePageToUTF16(CP_MACCP, "\x80\x8E\xA5"), u"\u00C4\u00E9\u2022");
  EXPECT_EQ(UTF16ToCodePage(CP_MACCP, u"\u00E9"), "\x8E");
}

TEST_F(CodePages, Cp1252DecodesAndEncodesItsUpperHalf) {
  const struct {
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"A", u"A"},
      {"\x80", u"\u20AC"},
      {"\x8A", u"\u0160"},
      {"\x99", u"\u2122"},
      {"\x9F", u"\u0178"},
      {"\xA0", u"\u00A0"},
      {"\xE9", u"\u00E9"},
      {"\xFF", u"\u00FF"},
      // Bytes that 1252 leaves undefined keep their number, so they survive a round trip.
      {"\x81\x8D\x8F\x90\x9D", u"\x0081\x008D\x008F\x0090\x009D"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::PrintToString(t.bytes));
    EXPECT_EQ(CodePageToUTF16(1252, t.bytes), t.text);
    bool lossy = true;
    EXPECT_EQ(UTF16ToCodePage(1252, t.text, &lossy), t.bytes);
    EXPECT_FALSE(lossy);
  }
}

TEST_F(CodePages, EveryByteOfASingleByteCodePageSurvivesARoundTrip) {
  const TPGCodePage pages[] = {CP_ACP, CP_OEMCP, CP_MACCP, 437, 850, 874, 1250, 1251,
                               1252,   1253,     1254,     1255, 1256, 1257, 1258, 10000};
  const std::string bytes = AllBytes();
  for (TPGCodePage cp : pages) {
    SCOPED_TRACE(cp);
    ASSERT_TRUE(IsCodePageAvailable(cp));
    const std::u16string text = CodePageToUTF16(cp, bytes);
    ASSERT_EQ(text.size(), 256u);
    bool lossy = true;
    EXPECT_EQ(UTF16ToCodePage(cp, text, &lossy), bytes);
    EXPECT_FALSE(lossy);
  }
}

TEST_F(CodePages, DefinedCharactersKeepTheirBytesOverUndefinedOnes) {
  // Each byte on the left is undefined in its code page, so it decodes to the character of
  // the same number, which the code page also holds at the byte on the right.
  const struct {
    TPGCodePage cp;
    char16_t c;
    std::string undefinedByte, definedByte;
  } cases[] = {
      {857, 0x00D5, "\xD5", "\xE5"},
      {864, 0x00A6, "\xA6", "\xDB"},
      {28598, 0x00D7, "\xD7", "\xAA"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.cp);
    ASSERT_TRUE(IsCodePageAvailable(t.cp));
    EXPECT_EQ(CodePageToUTF16(t.cp, t.definedByte), std::u16string(1, t.c));
    EXPECT_EQ(CodePageToUTF16(t.cp, t.undefinedByte), std::u16string(1, t.c));
    EXPECT_EQ(UTF16ToCodePage(t.cp, std::u16string(1, t.c)), t.definedByte);
  }
}

TEST_F(CodePages, Cp1251IsCyrillic) {
  const std::string bytes = "\xCF\xF0\xE8\xE2\xE5\xF2, \xA8\xB8 \x88";
  const std::u16string text = u"\u041F\u0440\u0438\u0432\u0435\u0442, \u0401\u0451 \u20AC";
  EXPECT_EQ(CodePageToUTF16(1251, bytes), text);
  EXPECT_EQ(UTF16ToCodePage(1251, text), bytes);
}

TEST_F(CodePages, MultiByteCodePagesRoundTrip) {
  const struct {
    TPGCodePage cp;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {932, "a\x93\xFA\x96\x7B\x8C\xEA" "b\xB1", u"a\u65E5\u672C\u8A9E" "b\uFF71"},
      {936, "\xD6\xD0\xCE\xC4 GB", u"\u4E2D\u6587 GB"},
      {949, "\xC7\xD1\xB1\xB9", u"\uD55C\uAD6D"},
      {950, "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.cp);
    ASSERT_TRUE(IsCodePageAvailable(t.cp));
    EXPECT_EQ(CodePageToUTF16(t.cp, t.bytes), t.text);
    bool lossy = true;
    EXPECT_EQ(UTF16ToCodePage(t.cp, t.text, &lossy), t.bytes);
    EXPECT_FALSE(lossy);
  }
}

TEST_F(CodePages, LongMultiByteTextConvertsWhole) {
  // Longer than any internal buffer, with a bad byte far from the start.
  std::string bytes;
  std::u16string text;
  for (int i = 0; i < 3000; ++i) {
    bytes += "\x93\xFA" "a";
    text += u"\u65E5a";
  }
  EXPECT_EQ(CodePageToUTF16(932, bytes), text);
  EXPECT_EQ(UTF16ToCodePage(932, text), bytes);

  bytes.insert(5000, "\x81\x7F");
  text = CodePageToUTF16(932, bytes);
  EXPECT_EQ(text.size(), 6000u + 2u);
  EXPECT_EQ(text.back(), u'a');
}

TEST_F(CodePages, InvalidMultiByteSequencesDecodeToQuestionMarks) {
  const struct {
    const char* what;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"lead byte at the end", "a\x81", u"a?"},
      {"bad trail byte", "\x81\x7F\x93\xFA", u"?\x7F\u65E5"},
      {"undefined single byte", "\xFD" "a", u"?a"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    EXPECT_EQ(CodePageToUTF16(932, t.bytes), t.text);
  }
}

TEST_F(CodePages, MissingCharactersEncodeAsOneQuestionMarkEach) {
  const struct {
    TPGCodePage cp;
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {1252, u"a\u041Fb", "a?b"},
      {1252, u"\u65E5\u672C", "??"},
      {1252, u"a\xD83D\xDE00" "b", "a?b"},  // a surrogate pair is one character
      {1252, u"\xD800" "x", "?x"},          // unpaired surrogates
      {1252, u"x\xDC00", "x?"},
      {1251, u"\u20AC\u65E5", "\x88?"},
      {932, u"\u00E9\xD83D\xDE00", "??"},
      {932, u"a\xD83D" "b", "a?b"},
      {936, u"\u0E01", "?"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << t.cp << " " << testing::PrintToString(t.text));
    bool lossy = false;
    EXPECT_EQ(UTF16ToCodePage(t.cp, t.text, &lossy), t.bytes);
    EXPECT_TRUE(lossy);
  }
}

TEST_F(CodePages, CombiningMarksAreComposedOrDropped) {
  const struct {
    TPGCodePage cp;
    std::u16string text;
    std::string bytes;
    bool lossy;
  } cases[] = {
      {1252, u"e\u0301", "\xE9", false},
      {1252, u"E\u0301x", "\xC9x", false},
      {1252, u"a\u0308n\u0303", "\xE4\xF1", false},
      {1252, u"\u00E9", "\xE9", false},  // already composed
      {1250, u"c\u030C", "\xE8", false},
      {1251, u"\u0435\u0308", "\xB8", false},
      {932, u"\u304B\u3099", "\x82\xAA", false},
      // Nothing to compose with: the mark goes, the base stays.
      {1252, u"q\u0301", "q", true},
      {1252, u"e\u0301\u0301", "\xE9", true},
      {1252, u"e\u0323", "e", true},      // the composed character is not in 1252
      {1252, u"\u041F\u0301", "?", true},
      {1252, u"x\xD83D\xDE00\u0301y", "x?y", true},
      // A code page that holds the mark itself keeps it.
      {1258, u"q\u0301", "q\xEC", false},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << t.cp << " " << testing::PrintToString(t.text));
    bool lossy = !t.lossy;
    EXPECT_EQ(UTF16ToCodePage(t.cp, t.text, &lossy), t.bytes);
    EXPECT_EQ(lossy, t.lossy);
  }
}

TEST_F(CodePages, UnknownCodePagesFallBackToTheAnsiCodePage) {
  EXPECT_FALSE(IsCodePageAvailable(12345));
  EXPECT_TRUE(IsCodePageAvailable(CP_ACP));
  EXPECT_EQ(CodePageToUTF16(12345, "\x80\xE9"), u"\u20AC\u00E9");
  EXPECT_EQ(UTF16ToCodePage(12345, u"\u20AC"), "\x80");

  SetSystemAnsiCodePage(1251);
  EXPECT_EQ(CodePageToUTF16(12345, "\xC0"), u"\u0410");
  EXPECT_EQ(UTF16ToCodePage(12345, u"\u0410"), "\xC0");

  // An ANSI code page that cannot be converted here leaves 1252.
  SetSystemAnsiCodePage(12345);
  EXPECT_EQ(CodePageToUTF16(CP_ACP, "\x80"), u"\u20AC");
}

TEST_F(CodePages, StatefulEncodingsRoundTrip) {
  const std::u16string text = u"a\u65E5\u672Cb \u30C6c";
  ASSERT_TRUE(IsCodePageAvailable(50220));
  bool lossy = true;
  const std::string bytes = UTF16ToCodePage(50220, text, &lossy);
  EXPECT_FALSE(lossy);
  EXPECT_EQ(CodePageToUTF16(50220, bytes), text);
}

TEST_F(CodePages, UTF8CodePageKeepsEveryCharacter) {
  const std::u16string text = u"a\u00E9\u65E5\xD83D\xDE00";
  const std::string bytes = "a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80";
  bool lossy = true;
  EXPECT_EQ(UTF16ToCodePage(CP_UTF8, text, &lossy), bytes);
  EXPECT_FALSE(lossy);
  EXPECT_EQ(CodePageToUTF16(CP_UTF8, bytes), text);
}

TEST(ComposeCharacters, FindsCanonicalCompositions) {
  const struct {
    char16_t base, mark, composed;
  } cases[] = {
      {u'e', 0x0301, 0x00E9},
      {u'A', 0x030A, 0x00C5},
      {0x0435, 0x0308, 0x0451},
      {0x003C, 0x0338, 0x226E},  // first in the table
      {0x30FD, 0x3099, 0x30FE},  // last in the table
      {u'q', 0x0301, 0},
      {u'e', u'x', 0},
      {0x00E9, 0x0301, 0},
      {0, 0, 0},
      {0xFFFF, 0xFFFF, 0},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << int(t.base) << "+" << int(t.mark));
    EXPECT_EQ(ComposeCharacters(t.base, t.mark), t.composed);
  }
}

TEST(IsNonSpacingMark, KnowsTheRangeEdges) {
  const struct {
    char16_t c;
    bool mark;
  } cases[] = {
      {u'a', false},  {0x02FF, false}, {0x0300, true},  {0x0301, true},  {0x036F, true},
      {0x0370, false}, {0x05BD, true}, {0x05BE, false}, {0x05BF, true},  {0x3099, true},
      {0x309B, false}, {0xFE2F, true}, {0xFE30, false}, {0xFFFF, false}, {0x00E9, false},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << int(t.c));
    EXPECT_EQ(IsNonSpacingMark(t.c), t.mark);
  }
}

}  // namespace
}  // namespace pagora
