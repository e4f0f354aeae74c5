#include <gtest/gtest.h>

#include <map>
#include <string>

#include "layout/LineBreak.h"

namespace pagora {
namespace {

using C = TLineBreakClass;

const char* Name(C c) {
  static const char* const names[] = {"OP", "CL", "QU", "GL", "NS", "EX", "SY", "IS", "PR", "PO", "NU",
                                      "AL", "ID", "IN", "HY", "BA", "BB", "B2", "ZW", "CM", "Space"};
  return names[static_cast<int>(c)];
}

TEST(LineBreakPairs, MatchTheRulesOfEachClass) {
  const struct {
    C before, after;
    int value;
  } cases[] = {
      {C::OP, C::AL, 2}, {C::OP, C::OP, 2}, {C::OP, C::CM, 1},  // nothing after an opening bracket
      {C::CL, C::OP, 0}, {C::CL, C::NS, 2}, {C::CL, C::PO, 1}, {C::CL, C::CL, 2},
      {C::QU, C::OP, 2}, {C::QU, C::AL, 1}, {C::QU, C::ZW, 2},
      {C::GL, C::OP, 1}, {C::GL, C::AL, 1}, {C::GL, C::CL, 2},
      {C::NS, C::ID, 0}, {C::NS, C::NS, 1}, {C::NS, C::HY, 1},
      {C::EX, C::AL, 0}, {C::EX, C::EX, 2},
      {C::SY, C::NU, 1}, {C::SY, C::AL, 0},
      {C::IS, C::NU, 1}, {C::IS, C::AL, 0}, {C::IS, C::IS, 2},
      {C::PR, C::NU, 1}, {C::PR, C::ID, 1}, {C::PR, C::IN, 0}, {C::PR, C::OP, 1}, {C::PR, C::PR, 0},
      {C::PO, C::AL, 0}, {C::PO, C::NU, 0},
      {C::NU, C::PO, 1}, {C::NU, C::PR, 0}, {C::NU, C::ID, 0}, {C::NU, C::IN, 1}, {C::NU, C::IS, 2},
      {C::AL, C::AL, 1}, {C::AL, C::ID, 0}, {C::AL, C::OP, 0}, {C::AL, C::HY, 1}, {C::AL, C::B2, 0},
      {C::ID, C::ID, 0}, {C::ID, C::NS, 1}, {C::ID, C::PO, 1}, {C::ID, C::CL, 2}, {C::ID, C::AL, 0},
      {C::IN, C::IN, 1}, {C::IN, C::AL, 0},
      {C::HY, C::AL, 0}, {C::HY, C::NU, 0}, {C::HY, C::HY, 1},
      {C::BA, C::AL, 0}, {C::BA, C::BA, 1},
      {C::BB, C::AL, 1}, {C::BB, C::OP, 1}, {C::BB, C::ZW, 2},
      {C::B2, C::B2, 2}, {C::B2, C::AL, 0}, {C::B2, C::BB, 0},
      {C::ZW, C::CL, 0}, {C::ZW, C::EX, 0}, {C::ZW, C::ZW, 2}, {C::ZW, C::CM, 1},
      {C::CM, C::AL, 1}, {C::CM, C::ID, 0}, {C::CM, C::CL, 2},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << Name(t.before) << " " << Name(t.after));
    EXPECT_EQ(LineBreakPair(t.before, t.after), t.value);
  }
}

TEST(LineBreakPairs, NeverBreakBeforeAZeroWidthSpaceAndOnlyAcrossASpaceBeforeAMark) {
  for (int before = 0; before < kLineBreakClassCount; ++before) {
    SCOPED_TRACE(Name(static_cast<C>(before)));
    EXPECT_EQ(kLineBreakPairs[before][static_cast<int>(C::ZW)], kBreakProhibited);
    EXPECT_EQ(kLineBreakPairs[before][static_cast<int>(C::CM)], kBreakIndirect);
  }
}

TEST(LineBreakClassOf, LatinOneHasItsOwnAssignmentsAndAlphabeticForTheRest) {
  std::map<char16_t, C> listed = {
      {0x20, C::Space},
      {u'(', C::OP}, {u'[', C::OP}, {u'{', C::OP},
      {u')', C::CL}, {u']', C::CL}, {u'}', C::CL},
      {u'"', C::QU}, {u'\'', C::QU}, {0xAB, C::QU}, {0xBB, C::QU},
      {0xA0, C::GL},
      {u'!', C::EX}, {u'?', C::EX},
      {u'/', C::SY},
      {u',', C::IS}, {u'.', C::IS}, {u':', C::IS}, {u';', C::IS},
      {u'$', C::PR}, {u'+', C::PR}, {u'\\', C::PR}, {0xA3, C::PR}, {0xA4, C::PR}, {0xA5, C::PR}, {0xB1, C::PR},
      {u'%', C::PO}, {0xA2, C::PO}, {0xB0, C::PO},
      {u'-', C::HY},
      {u'\t', C::BA}, {u'|', C::BA}, {0xAD, C::BA},
      {0xB4, C::BB},
  };
  for (char16_t d = u'0'; d <= u'9'; ++d) listed[d] = C::NU;
  // Everything else is AL, also where the data say otherwise: controls, line feed, the
  // inverted marks, the section sign, the middle dot.
  for (char16_t c = 0; c < 0x100; ++c) {
    SCOPED_TRACE(testing::Message() << std::hex << int(c));
    const auto it = listed.find(c);
    EXPECT_STREQ(Name(LineBreakClassOf(c)), Name(it == listed.end() ? C::AL : it->second));
  }
}

TEST(LineBreakClassOf, FollowsTheAssignmentsOfPunctuationAndSpaces) {
  const struct {
    char16_t first, last;
    C cls;
  } cases[] = {
      {0x200B, 0x200B, C::ZW},
      {0x2014, 0x2014, C::B2},
      {0x2024, 0x2026, C::IN},
      {0x2000, 0x2006, C::BA}, {0x2008, 0x200A, C::BA}, {0x2010, 0x2010, C::BA}, {0x2013, 0x2013, C::BA},
      {0x2007, 0x2007, C::GL}, {0x2011, 0x2011, C::GL}, {0x202F, 0x202F, C::GL}, {0x2060, 0x2060, C::GL},
  };
  for (const auto& t : cases)
    for (char16_t c = t.first; c <= t.last; ++c) {
      SCOPED_TRACE(testing::Message() << std::hex << int(c));
      EXPECT_STREQ(Name(LineBreakClassOf(c)), Name(t.cls));
    }
}

TEST(LineBreakClassOf, TakesOtherScriptsFromTheUnicodeData) {
  const struct {
    char16_t c;
    C cls;
    const char* what;
  } cases[] = {
      {0x0E01, C::AL, "Thai letter (complex context)"},
      {0x0E31, C::CM, "Thai vowel sign above"},
      {0x0627, C::AL, "Arabic alef"},
      {0x05D0, C::AL, "Hebrew alef"},
      {0x0414, C::AL, "Cyrillic De"},
      {0x65E5, C::ID, "CJK ideograph"},
      {0x3400, C::ID, "CJK extension A"},
      {0xFA6E, C::ID, "unassigned in CJK compatibility ideographs"},
      {0x3042, C::ID, "hiragana a"},
      {0x30AB, C::ID, "katakana ka"},
      {0xAC00, C::ID, "Hangul syllable"},
      {0x1100, C::ID, "Hangul leading jamo"},
      {0x3041, C::NS, "small hiragana a"},
      {0x30C3, C::NS, "small katakana tsu"},
      {0x30FC, C::NS, "prolonged sound mark"},
      {0x3005, C::NS, "ideographic iteration mark"},
      {0x309D, C::NS, "hiragana iteration mark"},
      {0x3002, C::CL, "ideographic full stop"},
      {0x3001, C::CL, "ideographic comma"},
      {0x300C, C::OP, "left corner bracket"},
      {0x3000, C::BA, "ideographic space"},
      {0xFF08, C::OP, "fullwidth left parenthesis"},
      {0x0301, C::CM, "combining acute accent"},
      {0x20D7, C::CM, "combining right arrow above"},
      {0xFE0F, C::CM, "variation selector 16"},
      {0x200D, C::CM, "zero width joiner"},
      {0xFEFF, C::GL, "zero width no-break space"},
      {0x2028, C::ZW, "line separator"},
      {0xFFFC, C::ID, "object replacement character"},
      {0x261D, C::ID, "emoji base"},
      {0x20AC, C::PR, "euro sign"},
      {0x20C1, C::PR, "unassigned currency symbol"},
      {0x2030, C::PO, "per mille sign"},
      {0x201C, C::QU, "left double quotation mark"},
      {0xD83D, C::AL, "high surrogate of an emoji"},
      {0xDE00, C::AL, "low surrogate of an emoji"},
      {0xE000, C::AL, "private use"},
      {0xFFFF, C::AL, "noncharacter"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    EXPECT_STREQ(Name(LineBreakClassOf(t.c)), Name(t.cls));
  }
}

struct BreakCase {
  const char16_t* text;
  int k;
  bool moreOnLine;
  int breakAt;     // -1: none
  int runLength;   // when there is a break
  bool consumed;
  const char* what;
};

void CheckUnicode(const BreakCase& t) {
  SCOPED_TRACE(testing::Message() << t.what << " (k = " << t.k << ")");
  const std::u16string_view piece(t.text);
  const int b = FindUnicodeLineBreak(piece, t.k, t.moreOnLine);
  ASSERT_EQ(b, t.breakAt);
  if (b < 0) return;
  const TLineBreakCut cut = CutAtLineBreak(piece, b);
  EXPECT_EQ(cut.RunLength, t.runLength);
  EXPECT_EQ(cut.SpaceConsumed, t.consumed);
}

TEST(FindUnicodeLineBreak, BreaksEnglishAtSpaces) {
  const BreakCase cases[] = {
      {u"hello world", 8, false, 5, 5, true, "inside the second word"},
      {u"hello world", 6, false, 5, 5, true, "the second word does not fit at all"},
      {u"hello world", 5, false, 5, 5, true, "the space is the first that does not fit"},
      {u"one two three", 11, false, 7, 7, true, "the last space that fits wins"},
      {u"one   two", 7, false, 5, 5, true, "several spaces: the line keeps all but the last"},
      {u"one   two", 4, false, 4, 4, true, "a space at k among several"},
      {u"word ", 4, true, 4, 4, true, "trailing space with the next item on the line"},
      {u"word ", 4, false, -1, 0, false, "trailing space and nothing after it"},
      {u"ab cd ", 5, false, 2, 2, true, "a last space without text after it falls back"},
      {u"supercalifragilistic", 10, true, -1, 0, false, "one long word"},
  };
  for (const auto& t : cases) CheckUnicode(t);
}

TEST(FindUnicodeLineBreak, KeepsBracketsQuotesAndNumbersTogether) {
  const BreakCase cases[] = {
      {u"(hello)", 3, true, -1, 0, false, "inside parentheses"},
      {u"(hello)", 6, true, -1, 0, false, "before the closing parenthesis"},
      {u"see (hello) now", 7, false, 3, 3, true, "before the opening parenthesis"},
      {u"see (hello) now", 14, false, 11, 11, true, "after the closing parenthesis"},
      {u"say \"hi\" now", 6, false, 3, 3, true, "inside quotes"},
      {u"1,000.50%", 5, true, -1, 0, false, "a number with separators and a percent sign"},
      {u"pay $100 now", 6, false, 3, 3, true, "the currency sign stays with the amount"},
      {u"wait... and", 5, false, -1, 0, false, "the full stops stay with the word"},
      {u"a\u2026b", 1, false, -1, 0, false, "not before the ellipsis"},
      {u"a\u2026b", 2, false, 1, 2, false, "after the ellipsis"},
      {u"x\u00A0y z", 2, false, -1, 0, false, "a no-break space glues"},
      {u"really? yes", 6, false, -1, 0, false, "no break before the question mark"},
  };
  for (const auto& t : cases) CheckUnicode(t);
}

TEST(FindUnicodeLineBreak, BreaksAfterHyphensAndDashes) {
  const BreakCase cases[] = {
      {u"well-known", 7, true, 4, 5, false, "after the hyphen"},
      {u"well-known", 4, true, -1, 0, false, "not before the hyphen"},
      {u"a well-known fact", 10, false, 6, 7, false, "the hyphen is nearer than the space"},
      {u"a\u2014\u2014b", 2, false, 0, 1, false, "never between two em dashes"},
      {u"a\u2014\u2014b", 3, false, 2, 3, false, "after a pair of em dashes"},
      {u"a\u2014b", 2, false, 1, 2, false, "after a single em dash"},
      {u"abc\u200Bdef", 5, false, 3, 4, false, "after a zero width space"},
      {u"abc\u200Bdef", 3, false, -1, 0, false, "not before a zero width space"},
  };
  for (const auto& t : cases) CheckUnicode(t);
}

TEST(FindUnicodeLineBreak, BreaksBetweenIdeographsButNotBeforeClosingMarksAndSmallKana) {
  const BreakCase cases[] = {
      {u"日本語の文章", 4, true, 3, 4, false, "between ideographs and kana"},
      {u"日本語。次", 3, true, 1, 2, false, "not before the ideographic full stop"},
      {u"日本語。次", 4, true, 3, 4, false, "after the full stop"},
      {u"東京へきょう行く", 4, true, 2, 3, false, "not before a small kana"},
      {u"東京へきょう行く", 5, true, 4, 5, false, "after a small kana"},
      {u"ラーメン", 1, true, -1, 0, false, "not before the prolonged sound mark"},
      {u"「はい」と", 1, true, -1, 0, false, "not after an opening bracket"},
      {u"日本 語", 3, true, 2, 2, true, "a space between ideographs breaks as a space"},
      {u"Tokyo東京", 5, true, 4, 5, false, "between a Latin word and an ideograph"},
  };
  for (const auto& t : cases) CheckUnicode(t);
}

TEST(FindUnicodeLineBreak, KeepsMarksAndSurrogatePairsWithTheirBase) {
  const BreakCase cases[] = {
      {u"cafe\u0301 au", 4, false, -1, 0, false, "a combining accent"},
      {u"\u65E5\u0301\u65E5", 1, true, -1, 0, false, "a mark after an ideograph"},
      {u"ab \U0001F600x", 4, true, 2, 2, true, "between the halves of an emoji"},
  };
  for (const auto& t : cases) CheckUnicode(t);
}

TEST(FindUnicodeLineBreak, RejectsAKOutsideThePiece) {
  for (int k : {-1, 0, 5, 6}) {
    SCOPED_TRACE(k);
    EXPECT_EQ(FindUnicodeLineBreak(u"ab cd", k, true), -1);
    EXPECT_EQ(FindAnsiLineBreak(std::string_view("ab cd"), k, true), -1);
  }
}

TEST(FindAnsiLineBreak, BreaksAtTheLastSpaceThatFits) {
  const struct {
    const char* text;
    int k;
    bool moreOnLine;
    int breakAt;
    int runLength;
    bool consumed;
    const char* what;
  } cases[] = {
      {"hello world", 8, false, 5, 5, true, "inside the second word"},
      {"a b c", 3, false, 1, 1, true, "the last space among the k, not the one at k"},
      {"one   two", 7, false, 5, 5, true, "several spaces: the line keeps all but the last"},
      {"hello world", 5, false, 5, 5, true, "no space among the k, the next character is one"},
      {"word ", 4, true, 4, 4, true, "trailing space with the next item on the line"},
      {"word ", 4, false, -1, 0, false, "trailing space and nothing after it"},
      {" word", 3, false, 0, 1, false, "a leading space is a run of its own"},
      {"well-known", 7, true, -1, 0, false, "only spaces break"},
      {"(a) (b)", 5, false, 3, 3, true, "punctuation does not matter"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << t.what << " (k = " << t.k << ")");
    const std::string bytes(t.text);
    const std::u16string wide(bytes.begin(), bytes.end());
    const int b = FindAnsiLineBreak(std::string_view(bytes), t.k, t.moreOnLine);
    ASSERT_EQ(b, t.breakAt);
    EXPECT_EQ(FindAnsiLineBreak(std::u16string_view(wide), t.k, t.moreOnLine), b);
    if (b < 0) continue;
    const TLineBreakCut cut = CutAtLineBreak(std::string_view(bytes), b);
    EXPECT_EQ(cut.RunLength, t.runLength);
    EXPECT_EQ(cut.SpaceConsumed, t.consumed);
    const TLineBreakCut wideCut = CutAtLineBreak(std::u16string_view(wide), b);
    EXPECT_EQ(wideCut.RunLength, cut.RunLength);
    EXPECT_EQ(wideCut.SpaceConsumed, cut.SpaceConsumed);
  }
}

TEST(CutAtLineBreak, GivesAnEmptyRunForAPositionOutsideThePiece) {
  for (int b : {-1, 3, 4}) {
    SCOPED_TRACE(b);
    const TLineBreakCut cut = CutAtLineBreak(u"a b", b);
    EXPECT_EQ(cut.RunLength, 0);
    EXPECT_FALSE(cut.SpaceConsumed);
  }
}

}  // namespace
}  // namespace pagora
