#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "model/BreakItem.h"
#include "model/CPGData.h"
#include "model/PGStyle.h"
#include "model/PlainText.h"
#include "platform/FileIO.h"
#include "platform/TextEncoding.h"

namespace pagora {
namespace {

// A document whose style 0 is 8-bit and style 6 Unicode.
class PlainTextTest : public testing::Test {
protected:
  PlainTextTest() {
    settings.Style = &sheet;
    TFontInfo& u = sheet.TextStyles.Add();
    u.Assign(sheet.TextStyles[0]);
    u.Unicode = true;
  }

  // Item texts as UTF-8, with "|" before an item that starts a paragraph, "/" before a
  // line break, "+" before a continuing item, and "!" for a page break.
  std::string Shape() const {
    std::string s;
    for (int i = 0; i < doc.CountItems(); ++i) {
      const TCustomPGItemInfo& item = doc.ItemAt(i);
      s += item.HasFlag(pgifContinuesPara) ? "+" : item.HasFlag(pgifLineBreakBefore) ? "/" : "|";
      if (item.HasFlag(pgifPageBreakBefore)) s += "!";
      s += UTF16ToUTF8(doc.TextOfW(i));
    }
    return s;
  }

  std::string Save(TPGTextEncoding encoding, bool bom = false, int lineWidth = 80) {
    TPGTextWriteOptions o;
    o.Encoding = encoding;
    o.WriteBOM = bom;
    o.LineWidth = lineWidth;
    std::string out;
    EXPECT_TRUE(WritePlainText(doc, out, o));
    return out;
  }

  TPGTextReadOptions Opts(int textStyle = 0, int paraStyle = 0, bool single = false) {
    TPGTextReadOptions o;
    o.TextStyle = textStyle;
    o.ParaStyle = paraStyle;
    o.AsSingleParagraph = single;
    return o;
  }

  TPGStyle sheet;
  TPGDocumentSettings settings;
  TCustomPGData doc{&settings};
};

TEST_F(PlainTextTest, EightBitLines) {
  struct Case {
    const char* name;
    std::string input;
    bool single;
    const char* shape;
  };
  const Case cases[] = {
      {"line ends", "a\r\nb\nc\rd", false, "|a|b|c|d"},
      {"final line end adds nothing", "a\n", false, "|a"},
      {"empty lines are kept", "a\n\nb", false, "|a||b"},
      {"empty file", "", false, ""},
      {"nul becomes question mark", std::string("x\0y", 3), false, "|x?y"},
      {"form feed starts a page", "x\fy", false, "|x|!y"},
      {"form feed at the end of a line", "x\f\nz", false, "|x|!z"},
      {"only form feeds", "\f\f\nq", false, "|!|q"},
      {"single paragraph", "a\nb\nc", true, "|a/b/c"},
      {"tabs", "a\tb", false, "|a        b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.Clear();
    ASSERT_TRUE(ReadPlainText8(doc, c.input, Opts(0, 0, c.single)));
    EXPECT_EQ(Shape(), c.shape);
  }
}

TEST_F(PlainTextTest, EightBitIntoAUnicodeStyleUsesTheCodePage) {
  ASSERT_TRUE(ReadPlainText8(doc, "caf\xE9", Opts(6)));
  EXPECT_EQ(doc.TextOfW(0), u"café");
  TPGTextReadOptions o = Opts(6);
  o.CodePage = 1251;
  ASSERT_TRUE(ReadPlainText8(doc, "\xC6", o));
  EXPECT_EQ(doc.TextOfW(1), u"Ж");
  EXPECT_TRUE(doc.ItemAt(1).HasFlag(pgifUnicode));
}

TEST_F(PlainTextTest, ParagraphStyleMinusOneContinuesOnlyTheFirstLine) {
  doc.AppendText("start", 0, 1);
  ASSERT_TRUE(ReadPlainText8(doc, "x\ny", Opts(0, -1)));
  EXPECT_EQ(Shape(), "|start+x|y");
  EXPECT_EQ(doc.ItemAt(2).ParaNo, 1);
}

std::string U16(std::u16string_view s) { return BytesFromU16(s); }

TEST_F(PlainTextTest, UTF16Pieces) {
  struct Case {
    const char* name;
    std::string input;
    bool single;
    int paraStyle;
    const char* shape;
  };
  const Case cases[] = {
      {"big-endian with mark", std::string("\xFE\xFF\x00\x41\x00\x0D\x00\x0A\x00\x42", 10), false, 0, "|A|B"},
      {"little-endian mark is skipped", "\xFF\xFE" + U16(u"A"), false, 0, "|A"},
      {"lf cr is one line end", U16(u"A\n\rB"), false, 0, "|A|B"},
      {"two line ends give an empty line", U16(u"A\r\n\r\nB"), false, 0, "|A||B"},
      {"line and paragraph separators", U16(u"A\u2028B\u2029C"), false, 0, "|A/B|C"},
      {"vertical tab and nul break lines", U16(std::u16string(u"A\vB\0C", 5)), false, 0, "|A/B/C"},
      {"paragraph separator even in single mode", U16(u"A\rB\u2029C"), true, 0, "|A/B|C"},
      {"form feed", U16(u"A\fB"), false, 0, "|A|!B"},
      {"form feed after a line end", U16(u"A\r\fB"), false, 0, "|A|!B"},
      {"empty file adds one empty item", "", false, 0, "|"},
      {"empty file continuing adds nothing", "", false, -1, ""},
      {"mark only", "\xFF\xFE", false, 0, "|"},
      {"final line end adds nothing", U16(u"A\r\n"), false, 0, "|A"},
      {"surrogates survive", U16(u"x\U0001F600y"), false, 0, "|x\xF0\x9F\x98\x80y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.Clear();
    ASSERT_TRUE(ReadPlainTextUTF16(doc, c.input, Opts(6, c.paraStyle, c.single)));
    EXPECT_EQ(Shape(), c.shape);
  }
}

TEST_F(PlainTextTest, UTF16OddByteCountFailsAndAddsNothing) {
  doc.AppendText("kept", 0, 0);
  std::string error;
  EXPECT_FALSE(ReadPlainTextUTF16(doc, std::string("\xFF\xFE\x41", 3), Opts(6), &error));
  EXPECT_EQ(error, "Can't perform Unicode operation");
  EXPECT_EQ(Shape(), "|kept");
}

TEST_F(PlainTextTest, UTF16IntoAnEightBitStyleConverts) {
  ASSERT_TRUE(ReadPlainTextUTF16(doc, U16(u"café Ж"), Opts(0)));
  EXPECT_EQ(doc.TextOf(0), "caf\xE9 ?");
}

TEST_F(PlainTextTest, UTF8) {
  ASSERT_TRUE(ReadPlainTextUTF8(doc, "\xEF\xBB\xBF" "a\xC3\xA9\r\nb\xFF", Opts(6)));
  EXPECT_EQ(Shape(), "|a\xC3\xA9|b\xEF\xBF\xBD");
}

TEST_F(PlainTextTest, SavingWritesLineEndsBeforeLinesAndParagraphs) {
  doc.AppendText("a", 0, 0);
  doc.AppendText("b", 0, -1);
  doc.SetParagraphMode(false);
  doc.AppendText("c", 0, 0);
  doc.SetParagraphMode(true);
  doc.AppendBreak(2);
  doc.AppendTextUTF16(u"Ж", 6, 0);
  EXPECT_EQ(Save(TPGTextEncoding::EightBit, false, 5), "ab\r\nc\r\n=====\r\n?");
  EXPECT_EQ(Save(TPGTextEncoding::UTF16, true, 5), "\xFF\xFE" + U16(u"ab\r\nc\r\n=====\r\nЖ"));
  EXPECT_EQ(Save(TPGTextEncoding::UTF8, false, 1), "ab\r\nc\r\n=\r\n\xD0\x96");
  EXPECT_EQ(Save(TPGTextEncoding::UTF8, true, 1).substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(PlainTextTest, EightBitOutputUsesTheDefaultCodePageForUnicodeText) {
  sheet.DefCodePage = 1251;
  doc.AppendTextUTF16(u"Жук", 6, 0);
  EXPECT_EQ(Save(TPGTextEncoding::EightBit), "\xC6\xF3\xEA");
  sheet.TextStyles[0].Charset = RUSSIAN_CHARSET;
  doc.AppendText("\xC6", 0, 0);
  EXPECT_EQ(Save(TPGTextEncoding::UTF8), "\xD0\x96\xD1\x83\xD0\xBA\r\n\xD0\x96");
}

TEST_F(PlainTextTest, SavingARange) {
  doc.AppendText("hello", 0, 0);
  doc.AppendBreak();
  doc.AppendText("world", 0, 0);
  TPGTextRange r{0, 2, 2, 4};
  TPGTextWriteOptions o;
  o.Range = &r;
  o.LineWidth = 3;
  std::string out;
  ASSERT_TRUE(WritePlainText(doc, out, o));
  EXPECT_EQ(out, "ello\r\n---\r\nwor");
  TPGTextRange inside{0, 2, 0, 4};
  o.Range = &inside;
  out.clear();
  ASSERT_TRUE(WritePlainText(doc, out, o));
  EXPECT_EQ(out, "el");
  TPGTextRange afterBreak{1, 1, 2, 1};
  o.Range = &afterBreak;
  out.clear();
  ASSERT_TRUE(WritePlainText(doc, out, o));
  EXPECT_EQ(out, "\r\n");
  TPGTextRange bad{0, 1, 9, 1};
  o.Range = &bad;
  EXPECT_FALSE(WritePlainText(doc, out, o));
}

TEST_F(PlainTextTest, TheApplicationMayReplaceAnItemsText) {
  settings.OnSaveItemToFile = [](TCustomPGData&, const std::string&, int itemNo, TPGSaveFormat format, bool,
                                 std::string& text, bool& doDefault) {
    EXPECT_EQ(format, pgsfText);
    if (itemNo == 1) {
      text = "[picture]";
      doDefault = false;
    }
  };
  doc.AppendText("a", 0, 0);
  doc.AppendBreak();
  EXPECT_EQ(Save(TPGTextEncoding::EightBit), "a\r\n[picture]");
}

TEST_F(PlainTextTest, RoundTripsThroughEveryEncoding) {
  const std::u16string text = u"Grüße, Жук, 日本語, \U0001F600\r\nsecond line\r\n\r\nfourth";
  for (TPGTextEncoding e : {TPGTextEncoding::UTF16, TPGTextEncoding::UTF8}) {
    doc.Clear();
    ASSERT_TRUE(ReadPlainTextUTF16(doc, U16(text), Opts(6)));
    const std::string saved = Save(e, false);
    doc.Clear();
    if (e == TPGTextEncoding::UTF16) ASSERT_TRUE(ReadPlainTextUTF16(doc, saved, Opts(6)));
    else ASSERT_TRUE(ReadPlainTextUTF8(doc, saved, Opts(6)));
    EXPECT_EQ(Save(TPGTextEncoding::UTF16), U16(text));
  }
}

class PlainTextFileTest : public PlainTextTest {
protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pagora-text-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string dir;
};

TEST_F(PlainTextFileTest, FilesAreWrittenAndReadBack) {
  doc.AppendTextUTF16(u"Ünïcode", 6, 0);
  doc.AppendBreak(1);
  const std::string path = dir + "/out.txt";
  ASSERT_TRUE(WritePlainTextFile(doc, path, 4, true));
  std::string bytes, error;
  ASSERT_TRUE(ReadFileBytes(path, bytes, error));
  EXPECT_EQ(bytes, "\xFF\xFE" + U16(u"Ünïcode\r\n----"));
  doc.Clear();
  ASSERT_TRUE(ReadPlainTextFileDetect(doc, path, Opts(6)));
  EXPECT_EQ(Shape(), "|Ünïcode|----");
}

TEST_F(PlainTextFileTest, DetectionPicksTheEncoding) {
  struct Case {
    std::string bytes;
    const char* shape;
  };
  const Case cases[] = {
      {"\xFF\xFE" + U16(u"Ж"), "|Ж"},
      {"\xFE\xFF\x04\x16", "|Ж"},
      {"\xEF\xBB\xBF\xD0\x96", "|Ж"},
      {"\xD0\x96", "|Ж"},
      {"caf\xE9", "|café"},
  };
  for (const Case& c : cases) {
    const std::string path = dir + "/in.txt";
    std::ofstream(path, std::ios::binary) << c.bytes;
    doc.Clear();
    ASSERT_TRUE(ReadPlainTextFileDetect(doc, path, Opts(6)));
    EXPECT_EQ(Shape(), c.shape);
  }
}

TEST_F(PlainTextFileTest, ErrorsNameTheReasonAndKeepTheDocument) {
  doc.AppendText("kept", 0, 0);
  std::string error;
  EXPECT_FALSE(ReadPlainText8File(doc, dir + "/missing.txt", Opts(), &error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(WritePlainTextFile(doc, dir + "/no/such/dir/out.txt", 80, false, &error));
  EXPECT_FALSE(error.empty());
  const std::string odd = dir + "/odd.txt";
  std::ofstream(odd, std::ios::binary) << std::string("\xFF\xFE\x41", 3);
  EXPECT_FALSE(ReadPlainTextFileDetect(doc, odd, Opts(6), &error));
  EXPECT_EQ(error, "Can't perform Unicode operation");
  EXPECT_EQ(Shape(), "|kept");
}

}  // namespace
}  // namespace pagora
