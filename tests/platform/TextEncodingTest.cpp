#include <gtest/gtest.h>

#include <string>

#include "platform/TextEncoding.h"

namespace pagora {
namespace {

TEST(UTF8AndUTF16, WellFormedTextRoundTrips) {
  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"", u""},
      {"plain ASCII\x7F", u"plain ASCII\x7F"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"\xC2\x80", u"\x0080"},                    // first two-byte
      {"caf\xC3\xA9", u"caf\u00E9"},
      {"\xDF\xBF", u"\x07FF"},                    // last two-byte
      {"\xE0\xA0\x80", u"\x0800"},                // first three-byte
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xED\x9F\xBF", u"\xD7FF"},                // just below the surrogates
      {"\xEE\x80\x80", u"\xE000"},                // just above them
      {"\xEF\xBF\xBF", u"\xFFFF"},
      {"\xF0\x90\x80\x80", u"\xD800\xDC00"},      // U+10000
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},      // U+1F600
      {"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},      // U+10FFFF
      {"\xD0\x9F\xD1\x80\xD0\xB8 \xE6\x97\xA5\xF0\x9F\x98\x80!", u"\u041F\u0440\u0438 \u65E5\xD83D\xDE00!"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::PrintToString(t.utf8));
    EXPECT_EQ(UTF8ToUTF16(t.utf8), t.utf16);
    EXPECT_EQ(UTF16ToUTF8(t.utf16), t.utf8);
    EXPECT_TRUE(IsValidUTF8(t.utf8));
  }
}

TEST(UTF8AndUTF16, IllFormedUTF8BecomesOneReplacementPerMaximalSubpart) {
  const struct {
    const char* what;
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"stray continuation", "\x80", u"\xFFFD"},
      {"stray continuations", "a\x80\xBF" "b", u"a\xFFFD\xFFFD" "b"},
      {"overlong two-byte", "\xC0\xAF", u"\xFFFD\xFFFD"},
      {"overlong two-byte C1", "\xC1\xBF", u"\xFFFD\xFFFD"},
      {"overlong three-byte", "\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
      {"overlong four-byte", "\xF0\x80\x80\xAF", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"high surrogate in UTF-8", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
      {"low surrogate in UTF-8", "\xED\xBF\xBF", u"\xFFFD\xFFFD\xFFFD"},
      {"surrogate pair in UTF-8", "\xED\xA0\xBD\xED\xB8\x80", std::u16string(6, u'\xFFFD')},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"F5", "\xF5\x80", u"\xFFFD\xFFFD"},
      {"F8 five-byte form", "\xF8\x88\x80\x80\x80", std::u16string(5, u'\xFFFD')},
      {"FE FF", "\xFE\xFF", u"\xFFFD\xFFFD"},
      {"truncated two-byte at end", "ab\xC3", u"ab\xFFFD"},
      {"truncated three-byte at end", "\xE2\x82", u"\xFFFD"},
      {"truncated four-byte at end", "\xF0\x9F\x98", u"\xFFFD"},
      {"truncated then ASCII", "\xF0\x9F\x98" "a", u"\xFFFD" "a"},
      {"truncated then a character", "\xE2\x82\xC3\xA9", u"\xFFFD\u00E9"},
      {"lead then lead", "\xC3\xC3\xA9", u"\xFFFD\u00E9"},
      {"mixed", "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       u"\x0061\xFFFD\xFFFD\xFFFD\x0062\xFFFD\x0063\xFFFD\xFFFD\x0064"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    EXPECT_EQ(UTF8ToUTF16(t.utf8), t.utf16);
    EXPECT_FALSE(IsValidUTF8(t.utf8));
  }
}

TEST(UTF8AndUTF16, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::string fffd = "\xEF\xBF\xBD";
  const struct {
    std::u16string utf16;
    std::string utf8;
  } cases[] = {
      {u"\xD800", fffd},
      {u"\xDC00", fffd},
      {u"\xD800" "a", fffd + "a"},
      {u"a\xD83D", "a" + fffd},
      {u"\xDE00\xD83D", fffd + fffd},              // reversed pair
      {u"\xD83D\xD83D\xDE00", fffd + "\xF0\x9F\x98\x80"},
      {u"\xD83D\xDE00\xDE00", "\xF0\x9F\x98\x80" + fffd},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::PrintToString(t.utf16));
    EXPECT_EQ(UTF16ToUTF8(t.utf16), t.utf8);
    EXPECT_TRUE(IsValidUTF8(UTF16ToUTF8(t.utf16)));
  }
}

TEST(UTF16Bytes, AreLittleEndianTwoPerCodeUnit) {
  const std::u16string text = u"A\u20AC\xD83D\xDE00";
  const std::string bytes("A\0\xAC\x20\x3D\xD8\x00\xDE", 8);
  EXPECT_EQ(BytesFromU16(text), bytes);
  EXPECT_EQ(U16FromBytes(bytes), text);
  EXPECT_EQ(U16Length(bytes), 4u);
  EXPECT_EQ(U16At(bytes, 1), u'\u20AC');
  EXPECT_EQ(U16At(bytes, 3), u'\xDE00');

  EXPECT_EQ(BytesFromU16(u""), "");
  EXPECT_EQ(U16FromBytes(""), u"");
}

TEST(UTF16Bytes, AnOddTrailingByteIsIgnored) {
  const std::string bytes("A\0B", 3);
  EXPECT_EQ(U16FromBytes(bytes), u"A");
  EXPECT_EQ(U16Length(bytes), 1u);
  EXPECT_EQ(U16FromBytes("x"), u"");
}

TEST(DetectTextEncoding, MarksThenValidNonASCIIUTF8ElseEightBit) {
  const struct {
    const char* what;
    std::string bytes;
    TTextEncoding encoding;
    std::size_t bom;
  } cases[] = {
      {"UTF-16LE mark", std::string("\xFF\xFE" "A\0", 4), TTextEncoding::UTF16LE, 2},
      {"UTF-16BE mark", std::string("\xFE\xFF\0A", 4), TTextEncoding::UTF16BE, 2},
      {"UTF-16LE mark alone", "\xFF\xFE", TTextEncoding::UTF16LE, 2},
      {"UTF-8 mark", "\xEF\xBB\xBF" "abc", TTextEncoding::UTF8, 3},
      {"UTF-8 mark, then invalid bytes", "\xEF\xBB\xBF\xE9", TTextEncoding::UTF8, 3},
      {"UTF-8 without mark", "caf\xC3\xA9", TTextEncoding::UTF8, 0},
      {"UTF-8 four-byte", "\xF0\x9F\x98\x80", TTextEncoding::UTF8, 0},
      {"pure ASCII", "plain text\r\n", TTextEncoding::EightBit, 0},
      {"empty", "", TTextEncoding::EightBit, 0},
      {"cp1252 e-acute", "caf\xE9", TTextEncoding::EightBit, 0},
      {"valid, then invalid", "\xC3\xA9 and \xE9", TTextEncoding::EightBit, 0},
      {"truncated UTF-8 at end", "abc\xE2\x82", TTextEncoding::EightBit, 0},
      {"half a mark", "\xFF", TTextEncoding::EightBit, 0},
      {"partial UTF-8 mark", "\xEF\xBB", TTextEncoding::EightBit, 0},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    const TDetectedEncoding d = DetectTextEncoding(t.bytes);
    EXPECT_EQ(d.Encoding, t.encoding);
    EXPECT_EQ(d.BomLength, t.bom);
  }
}

}  // namespace
}  // namespace pagora
