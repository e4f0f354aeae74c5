#include <gtest/gtest.h>

#include "platform/TextCase.h"

namespace pagora {
namespace {

TEST(TextCase, MapsCaseInEveryScriptOneCodeUnitAtATime) {
  const struct {
    char16_t lower, upper;
  } pairs[] = {
      {u'a', u'A'},       {u'z', u'Z'},       {0x00E9, 0x00C9},  // é
      {0x00E0, 0x00C0},   {0x00FE, 0x00DE},   {0x00FF, 0x0178},  // ÿ Ÿ
      {0x03B1, 0x0391},   {0x03C9, 0x03A9},   {0x03AC, 0x0386},  // Greek
      {0x0430, 0x0410},   {0x044F, 0x042F},   {0x0451, 0x0401},  // Cyrillic
  };
  for (const auto& t : pairs) {
    SCOPED_TRACE(testing::Message() << std::hex << int(t.lower));
    EXPECT_EQ(UpperChar(t.lower), t.upper);
    EXPECT_EQ(LowerChar(t.upper), t.lower);
    EXPECT_EQ(UpperChar(t.upper), t.upper);
    EXPECT_EQ(LowerChar(t.lower), t.lower);
  }
  EXPECT_EQ(UpperChar(0x03C2), 0x03A3);  // final sigma
}

TEST(TextCase, LeavesCaselessCharactersAlone) {
  // Neighbours of the ASCII letters, the sharp s (no one-unit capital), CJK, surrogates.
  const char16_t same[] = {u'@', u'[', u'`', u'{', u'0', u' ', 0x00D7, 0x00F7, 0x00DF, 0x65E5, 0xD83D, 0xDE00};
  for (char16_t c : same) {
    SCOPED_TRACE(testing::Message() << std::hex << int(c));
    EXPECT_EQ(UpperChar(c), c);
    EXPECT_EQ(LowerChar(c), c);
  }
}

TEST(CompareTextNoCase, OrdersByLowerCaseForms) {
  EXPECT_EQ(CompareTextNoCase(u"Heading", u"hEADING"), 0);
  EXPECT_EQ(CompareTextNoCase(u"\u00C4rial", u"\u00E4RIAL"), 0);
  EXPECT_LT(CompareTextNoCase(u"abc", u"ABD"), 0);
  EXPECT_GT(CompareTextNoCase(u"ABD", u"abc"), 0);
  EXPECT_LT(CompareTextNoCase(u"Ab", u"abc"), 0);
  EXPECT_GT(CompareTextNoCase(u"abc", u"AB"), 0);
  EXPECT_EQ(CompareTextNoCase(u"", u""), 0);
}

TEST(SameTextNoCase, ComparesUTF8NamesIgnoringCase) {
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"Arial", "ARIAL", true},
      {"Times New Roman", "times new roman", true},
      {"Arial", "Arial ", false},
      {"Arial", "Arian", false},
      {"", "", true},
      {"\xC3\x84RIAL", "\xC3\xA4rial", true},                    // ÄRIAL, ärial
      {"\xD0\x9F\xD0\xA0\xD0\x98", "\xD0\xBF\xD1\x80\xD0\xB8", true},  // ПРИ, при
      {"Times", "Tim\xC3\xA9s", false},
      {"\xC3\xA9", "e", false},
      {"Stra\xC3\x9F" "e", "STRASSE", false},  // one code unit never matches two
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << t.a << " / " << t.b);
    EXPECT_EQ(SameTextNoCase(t.a, t.b), t.same);
    EXPECT_EQ(SameTextNoCase(t.b, t.a), t.same);
  }
}

}  // namespace
}  // namespace pagora
