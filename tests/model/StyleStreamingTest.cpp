#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/StyleCollections.h"
#include "model/StyleStreaming.h"
#include "platform/ComponentStream.h"
#include "support/Bytes.h"
#include "support/FakeGraphics.h"

namespace pagora {
namespace {

using test::Bytes;
using test::FakeGraphic;
using test::FakeImageList;
using test::HexDump;

// Pictures of a class that only these tests use, so no real codec is replaced.
constexpr const char* kTestPictureClass = "TTestPicture";

class StyleStreaming : public testing::Test {
protected:
  static void SetUpTestSuite() {
    RegisterGraphicClass(kTestPictureClass, [] { return std::make_unique<FakeGraphic>(4, 4, kTestPictureClass); });
  }
};

// The property names of a list of properties (up to its vaNull), in order.
std::vector<std::string> NamesOf(std::string_view props) {
  TComponentReader r(props);
  std::vector<std::string> names;
  while (r.Ok() && !r.EndOfList() && !r.AtEnd()) {
    std::string name;
    if (r.ReadStr(name) && r.SkipValue()) names.push_back(name);
  }
  EXPECT_TRUE(r.Ok()) << r.Error();
  return names;
}

// The properties of the first style of a collection: after the bytes 14 and 1.
std::string FirstStyleProperties(const std::string& collection) {
  EXPECT_GE(collection.size(), 2u);
  return collection.substr(2);
}

void ExpectSameBase(const TCustomPGInfo& a, const TCustomPGInfo& b) {
  EXPECT_EQ(a.StyleName, b.StyleName);
  EXPECT_EQ(a.BaseStyleNo, b.BaseStyleNo);
  EXPECT_EQ(a.Standard, b.Standard);
}

// Reads data into a fresh collection of the class of T, which must succeed without problems.
template <class T>
std::unique_ptr<T> ReadClean(const std::string& data, const TPGStreamContext* context = nullptr) {
  auto styles = std::make_unique<T>(nullptr);
  std::vector<std::string> problems;
  EXPECT_TRUE(ReadStyleCollection(data, *styles, context, &problems));
  EXPECT_TRUE(problems.empty()) << problems.front();
  return styles;
}

TEST_F(StyleStreaming, DefaultStylesWriteOnlyTheirFraming) {
  TFontInfos text(nullptr);
  EXPECT_EQ(HexDump(WriteStyleCollection(text)), "0E 00");
  text.Add();
  text.Add();
  EXPECT_EQ(HexDump(WriteStyleCollection(text)), "0E 01 00 01 00 00");

  TParaInfos paras(nullptr);
  paras.Add();
  EXPECT_EQ(HexDump(WriteStyleCollection(paras)), "0E 01 00 00");

  // A list style always keeps its identifier.
  TPGListInfos lists(nullptr);
  lists.Add().SetListID(1000);
  EXPECT_EQ(HexDump(WriteStyleCollection(lists)), HexDump(Bytes(R"(0E 01 "LstID" 03 E8 03 00 00)")));
}

TEST_F(StyleStreaming, TextStylesByteForByte) {
  TFontInfos text(nullptr);
  TFontInfo& normal = text.Add();
  normal.StyleName = "Normal text";
  normal.Size = 12;
  normal.Color = clRed;
  normal.Style = {fsBold};
  TFontInfo& link = text.Add();
  link.Standard = false;
  link.Jump = true;
  link.JumpCursor = -21;
  link.BackColor = 0x123456;
  link.Charset = RUSSIAN_CHARSET;
  const std::string expected = Bytes(R"(0E
      01 "StyleName" 06 "Normal text" "Size" 02 0C "Color" 07 "clRed" "Style" 0B "fsBold" 00 00
      01 "Standard" 08 "Jump" 09 "JumpCursor" 07 "crHandPoint" "BackColor" 04 56 34 12 00
         "Charset" 07 "RUSSIAN_CHARSET" 00
      00)");
  EXPECT_EQ(HexDump(WriteStyleCollection(text)), HexDump(expected));

  const auto back = ReadClean<TFontInfos>(expected);
  ASSERT_EQ(back->Count(), 2);
  EXPECT_EQ((*back)[0].StyleName, "Normal text");
  EXPECT_EQ((*back)[0].Size, 12);
  EXPECT_EQ((*back)[0].Color, clRed);
  EXPECT_EQ((*back)[0].Style, TFontStyles{fsBold});
  EXPECT_EQ((*back)[1].StyleName, "Font Style");
  EXPECT_FALSE((*back)[1].Standard);
  EXPECT_TRUE((*back)[1].Jump);
  EXPECT_EQ((*back)[1].JumpCursor, -21);
  EXPECT_EQ((*back)[1].BackColor, 0x123456u);
  EXPECT_EQ((*back)[1].Charset, RUSSIAN_CHARSET);
}

TEST_F(StyleStreaming, ParagraphStylesByteForByte) {
  TParaInfos paras(nullptr);
  TParaInfo& p = paras.Add();
  p.SpaceBefore = 1000;
  p.Alignment = pgaCenter;
  p.Border.Color = clNavy;
  p.Border.Style = pgbSingle;
  p.Border.VisibleBorders.Left = false;
  p.Border.BorderOffsets.Top = 2;
  p.Background.BorderOffsets.Bottom = -1;
  p.Background.Color = 0x00FFFF;
  p.Options = {pgpaoKeepWithNext};
  const std::string expected = Bytes(R"(0E 01
      "SpaceBefore" 03 E8 03  "Alignment" 07 "pgaCenter"  "Border.Color" 07 "clNavy"  "Border.Style" 07 "pgbSingle"
      "Border.VisibleBorders.Left" 08  "Border.BorderOffsets.Top" 02 02  "Background.BorderOffsets.Bottom" 02 FF
      "Background.Color" 07 "clYellow"  "Options" 0B "pgpaoKeepWithNext" 00
      00 00)");
  EXPECT_EQ(HexDump(WriteStyleCollection(paras)), HexDump(expected));

  const auto back = ReadClean<TParaInfos>(expected);
  ASSERT_EQ(back->Count(), 1);
  EXPECT_TRUE((*back)[0].EqualsStyle(p, false));
}

TEST_F(StyleStreaming, ListStylesByteForByte) {
  TPGListInfos lists(nullptr);
  TPGListInfo& list = lists.Add();
  list.StyleName = "Bullets";
  list.SetListID(7);
  TPGListLevel& level = list.AddLevel();
  level.ListType = pglstDecimal;
  level.StartFrom = 3;
  level.FormatString = "%0:s.";
  level.Font().Name = "Symbol";
  level.Font().Size = 10;
  level.Options = {pgloLevelReset};
  const std::string expected = Bytes(R"(0E 01 "StyleName" 06 "Bullets"
      "Levels" 0E
        01 "ListType" 07 "pglstDecimal" "StartFrom" 02 03 "Font.Name" 06 "Symbol" "Font.Height" 02 F3
           "Options" 0B "pgloLevelReset" 00 "FormatStringCode" 06 "25303A732E" 00
        00
      "LstID" 02 07 00 00)");
  EXPECT_EQ(HexDump(WriteStyleCollection(lists)), HexDump(expected));

  const auto back = ReadClean<TPGListInfos>(expected);
  ASSERT_EQ(back->Count(), 1);
  EXPECT_TRUE((*back)[0].EqualsStyle(list, false));
  EXPECT_EQ((*back)[0].Levels[0].Font().Size, 10);
}

TEST_F(StyleStreaming, TextStylesWithEveryPropertySetRoundTripInPublishedOrder) {
  TFontInfos text(nullptr);
  TFontInfo& f = text.Add();
  f.BaseStyleNo = 3;
  f.StyleName = "\xC3\x9C" "berschrift";
  f.Standard = false;
  f.BiDiMode = pgbdRightToLeft;
  f.Jump = true;
  f.JumpCursor = -21;
  f.FontName = "Times New Roman";
  f.Size = 14;
  f.Color = clBlue;
  f.BackColor = 0xABCDEF;
  f.HoverColor = clRed;
  f.HoverBackColor = 0x00FFFF;
  f.Style = {fsBold, fsStrikeOut};
  f.StyleEx = {pgfsOverline, pgfsAllCaps};
  f.VShift = -33;
  f.NextStyleNo = 2;
  f.Charset = GREEK_CHARSET;
  f.Unicode = true;
  f.Protection = TPGProtectOptions::FromRaw(0x3FF);
  f.Options = {pgteoHTMLCode, pgteoRTFCode};
  f.CharScale = 150;
  f.CharSpacing = 70000;
  const std::string data = WriteStyleCollection(text);
  EXPECT_EQ(NamesOf(FirstStyleProperties(data)),
            (std::vector<std::string>{"BaseStyleNo", "StyleName", "Standard", "BiDiMode", "Jump", "JumpCursor",
                                      "FontName", "Size", "Color", "BackColor", "HoverColor", "HoverBackColor",
                                      "Style", "StyleEx", "VShift", "NextStyleNo", "Charset", "Unicode",
                                      "Protection", "Options", "CharScale", "CharSpacing"}));
  const auto back = ReadClean<TFontInfos>(data);
  ASSERT_EQ(back->Count(), 1);
  EXPECT_TRUE((*back)[0].EqualsStyle(f, false));
  ExpectSameBase((*back)[0], f);
  EXPECT_EQ(WriteStyleCollection(*back), data);
}

TEST_F(StyleStreaming, ParagraphStylesWithEveryPropertySetRoundTripInPublishedOrder) {
  TParaInfos paras(nullptr);
  TParaInfo& p = paras.Add();
  p.BaseStyleNo = 1;
  p.StyleName = "Quote";
  p.Standard = false;
  p.FirstIndent = -20;
  p.LeftIndent = 40;
  p.RightIndent = 300;
  p.SpaceBefore = 5;
  p.SpaceAfter = 6;
  p.LineSpacing = 150;
  p.LineSpacingType = pglsSpaceBetween;
  p.Alignment = pgaJustify;
  p.Border.Color = clGreen;
  p.Border.Style = pgbThickOutside;
  p.Border.Width = 3;
  p.Border.InternalWidth = 2;
  p.Border.VisibleBorders.SetAll(false);
  p.Border.BorderOffsets = {1, 2, 3, 4};
  p.NextParaNo = 0;
  p.Background.BorderOffsets = {5, 6, 7, 8};
  p.Background.Color = clSilver;
  p.Options = TPGParaOptions::FromRaw(0x3F);
  p.BiDiMode = pgbdLeftToRight;
  p.DefStyleNo = 4;
  const std::string data = WriteStyleCollection(paras);
  EXPECT_EQ(NamesOf(FirstStyleProperties(data)),
            (std::vector<std::string>{
                "BaseStyleNo", "StyleName", "Standard", "FirstIndent", "LeftIndent", "RightIndent", "SpaceBefore",
                "SpaceAfter", "LineSpacing", "LineSpacingType", "Alignment", "Border.Color", "Border.Style",
                "Border.Width", "Border.InternalWidth", "Border.VisibleBorders.Top", "Border.VisibleBorders.Left",
                "Border.VisibleBorders.Right", "Border.VisibleBorders.Bottom", "Border.BorderOffsets.Top",
                "Border.BorderOffsets.Left", "Border.BorderOffsets.Right", "Border.BorderOffsets.Bottom",
                "NextParaNo", "Background.BorderOffsets.Top", "Background.BorderOffsets.Left",
                "Background.BorderOffsets.Right", "Background.BorderOffsets.Bottom", "Background.Color", "Options",
                "BiDiMode", "DefStyleNo"}));
  const auto back = ReadClean<TParaInfos>(data);
  ASSERT_EQ(back->Count(), 1);
  EXPECT_TRUE((*back)[0].EqualsStyle(p, false));
  ExpectSameBase((*back)[0], p);
  EXPECT_EQ(WriteStyleCollection(*back), data);
}

TEST_F(StyleStreaming, ListStylesWithEveryPropertySetRoundTripInPublishedOrder) {
  FakeImageList images(16, 16, 8);
  images.Tag = 5;
  TPGStreamContext context;
  context.ImageListNeeded = [&](int tag) -> TPGImageList* { return tag == 5 ? &images : nullptr; };

  TPGListInfos lists(nullptr);
  TPGListInfo& list = lists.Add();
  list.BaseStyleNo = 0;
  list.StyleName = "Numbers";
  list.Standard = false;
  list.OneLevelPreview = true;
  list.SetListID(123456789);
  list.AddLevel();
  list.AddLevel();  // the second level keeps its defaults
  TPGListLevel& level = list.Levels[0];
  level.ListType = pglstImageListCounter;
  level.StartFrom = 0;
  level.ImageList = &images;
  level.ImageIndex = 2;
  level.FormatString = "%0:s)";
  level.FormatStringW = u"\u2022";
  level.LeftIndent = 24;
  level.FirstIndent = -12;
  level.MarkerIndent = 6;
  level.MarkerAlignment = pgmaRight;
  FakeGraphic picture(4, 4, kTestPictureClass);
  picture.LoadFromBytes("PICTURE-BYTES");
  level.SetPicture(&picture);
  level.Font().Name = "Wingdings";
  level.Font().Size = 12;
  level.Font().Color = clMaroon;
  level.Font().Style = {fsItalic};
  level.Font().Charset = SYMBOL_CHARSET;
  level.Options = {pgloLegalStyleNumbering};

  const std::string data = WriteStyleCollection(lists, &context);
  EXPECT_EQ(NamesOf(FirstStyleProperties(data)),
            (std::vector<std::string>{"BaseStyleNo", "StyleName", "Standard", "Levels", "OneLevelPreview", "LstID"}));
  TComponentWriter levelWriter;
  WriteProperties(levelWriter, ListLevelClass(), &level, &context);
  EXPECT_EQ(NamesOf(levelWriter.Data()),
            (std::vector<std::string>{"ListType", "StartFrom", "ImageIndex", "LeftIndent", "FirstIndent",
                                      "MarkerIndent", "MarkerAlignment", "Picture.Data", "Font.Charset",
                                      "Font.Color", "Font.Name", "Font.Style", "Font.Height", "Options", "ILTag",
                                      "FormatStringWCode", "FormatStringCode"}));

  const auto back = ReadClean<TPGListInfos>(data, &context);
  ASSERT_EQ(back->Count(), 1);
  const TPGListInfo& b = (*back)[0];
  EXPECT_TRUE(b.EqualsStyleEx(list, false));  // levels, fonts, pictures, image lists and the identifier
  ExpectSameBase(b, list);
  ASSERT_EQ(b.Levels.size(), 2u);
  EXPECT_EQ(b.Levels[0].ImageList, &images);
  EXPECT_EQ(b.Levels[0].FontIfAny()->Size, 12);
  ASSERT_TRUE(b.Levels[0].HasPicture());
  EXPECT_EQ(b.Levels[0].Picture()->SaveToBytes(), "PICTURE-BYTES");
  EXPECT_FALSE(b.Levels[1].HasFont());
  EXPECT_EQ(WriteStyleCollection(*back, &context), data);
}

// One property of a list level on its own, as written.
std::string LevelProperties(const TPGListLevel& level, const TPGStreamContext* context = nullptr) {
  TComponentWriter w;
  WriteProperties(w, ListLevelClass(), &level, context);
  return w.Take();
}

// A list style whose only level has the given properties.
std::string ListWithLevel(const std::string& levelProperties) {
  return Bytes(R"(0E 01 "Levels" 0E 01)") + levelProperties + Bytes(R"(00 00 "LstID" 02 01 00 00)");
}

TEST_F(StyleStreaming, PicturesKeepTheirClassAndTheSizeConventionOfIt) {
  const std::string bmp = Bytes(
      "'BM' 3A 00 00 00 00 00 00 00 36 00 00 00  28 00 00 00 01 00 00 00 01 00 00 00 01 00 18 00"
      " 00 00 00 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00  00 00 FF 00");
  const struct {
    const char* cls;
    std::string bytes;  // what the graphic saves
    std::string body;   // what follows the class name
  } cases[] = {
      {kTestPictureClass, "PICTURE", "PICTURE"},
      {"TBitmap", bmp, Bytes("3A 00 00 00") + bmp},  // a size that leaves itself out
      {"TJPEGImage", "JPG", Bytes("03 00 00 00 'JPG'")},
      {"TMetafile", "WMF", Bytes("07 00 00 00 'WMF'")},  // a size that counts itself
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.cls);
    FakeGraphic picture(1, 1, t.cls);
    picture.LoadFromBytes(t.bytes);
    TPGListLevel level;
    level.SetPicture(&picture);
    const std::string cls = t.cls;
    TComponentWriter expected;
    expected.WritePropName("Picture.Data");
    expected.WriteBinary(static_cast<char>(cls.size()) + cls + t.body);
    EXPECT_EQ(HexDump(LevelProperties(level)), HexDump(expected.Data()));
  }

  // Reading a bitmap back: with the platform's bitmap class when there is one.
  if (!IsGraphicClassRegistered("TBitmap"))
    RegisterGraphicClass("TBitmap", [] { return std::make_unique<FakeGraphic>(1, 1, "TBitmap"); });
  TComponentWriter w;
  w.WritePropName("Picture.Data");
  w.WriteBinary(Bytes(R"("TBitmap" 3A 00 00 00)") + bmp + "trailing bytes after the bitmap");
  const auto lists = ReadClean<TPGListInfos>(ListWithLevel(w.Data()));
  ASSERT_TRUE((*lists)[0].Levels[0].HasPicture());
  EXPECT_EQ((*lists)[0].Levels[0].Picture()->ClassName(), "TBitmap");
  EXPECT_EQ((*lists)[0].Levels[0].Picture()->SaveToBytes(), bmp);
}

TEST_F(StyleStreaming, PicturesThatCannotBeRebuiltAreProblemsNotFailures) {
  const struct {
    const char* what;
    std::string data;
    const char* problem;  // "" for none
  } cases[] = {
      {"no class name", Bytes("00"), ""},
      {"nothing at all", "", "class name is cut short"},
      {"class name cut short", Bytes("09 'TBit'"), "class name is cut short"},
      {"unknown class", Bytes(R"("TNoSuchPicture" 'abc')"), "unknown picture class \"TNoSuchPicture\""},
      {"size beyond the data", Bytes(R"("TBitmap" 10 00 00 00 'BM')"), "data is cut short"},
      {"no size", Bytes(R"("TBitmap" 01 00)"), "data is cut short"},
      {"a metafile size below its own", Bytes(R"("TMetafile" 02 00 00 00)"), "data is cut short"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    TComponentWriter w;
    w.WritePropName("Picture.Data");
    w.WriteBinary(t.data);
    w.WritePropName("StartFrom");
    w.WriteInteger(4);
    TPGListInfos lists(nullptr);
    std::vector<std::string> problems;
    ASSERT_TRUE(ReadStyleCollection(ListWithLevel(w.Data()), lists, nullptr, &problems));
    EXPECT_FALSE(lists[0].Levels[0].HasPicture());
    EXPECT_EQ(lists[0].Levels[0].StartFrom, 4);
    if (*t.problem) {
      ASSERT_EQ(problems.size(), 1u);
      EXPECT_NE(problems[0].find(t.problem), std::string::npos) << problems[0];
    } else {
      EXPECT_TRUE(problems.empty());
    }
  }
}

TEST_F(StyleStreaming, UnknownPropertiesOfEveryValueTypeAreSkippedAndReported) {
  const char* values[] = {
      "00", "01 02 01 06 \"x\" 00", "02 01", "03 01 00", "04 01 00 00 00", "05 00 00 00 00 00 00 00 80 FF 3F",
      "06 \"abc\"", "07 \"clRed\"", "08", "09", "0A 02 00 00 00 01 02", "0B \"a\" \"b\" 00",
      "0C 01 00 00 00 'x'", "0D", "0E 01 \"A\" 02 01 00 02 03 01 00 00", "0F 00 00 C0 3F",
      "10 00 00 00 00 00 00 00 00", "11 00 00 00 00 00 00 00 40", "12 01 00 00 00 41 00",
      "13 00 00 00 80 00 00 00 00", "14 01 00 00 00 'x'", "15 00 00 00 00 00 00 F0 3F",
  };
  for (const char* value : values) {
    SCOPED_TRACE(value);
    const std::string data =
        Bytes(R"(0E 01 "FutureProperty")") + Bytes(value) + Bytes(R"("Size" 02 0C 00 01 "Size" 02 0D 00 00)");
    TFontInfos text(nullptr);
    std::vector<std::string> problems;
    ASSERT_TRUE(ReadStyleCollection(data, text, nullptr, &problems)) << problems.back();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "offset 2: unknown property \"FutureProperty\"");
    ASSERT_EQ(text.Count(), 2);
    EXPECT_EQ(text[0].Size, 12);
    EXPECT_EQ(text[1].Size, 13);
  }

  // Inside a list level, and a value that does not fit a known property.
  const std::string inLevel = ListWithLevel(Bytes(R"("Future" 0E 00 "StartFrom" 06 "5" "ImageIndex" 02 05)"));
  TPGListInfos lists(nullptr);
  std::vector<std::string> problems;
  ASSERT_TRUE(ReadStyleCollection(inLevel, lists, nullptr, &problems));
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find("unknown property \"Future\""), std::string::npos);
  EXPECT_NE(problems[1].find("property \"StartFrom\" cannot hold a vaString value"), std::string::npos);
  EXPECT_EQ(lists[0].Levels[0].ImageIndex, 5);
  EXPECT_EQ(lists[0].Levels[0].StartFrom, 1);
}

TEST_F(StyleStreaming, ValuesAsOtherWritersStoreThem) {
  const struct {
    const char* what;
    const char* property;
    std::function<bool(const TFontInfo&)> check;
  } cases[] = {
      {"8-bit name in the ANSI code page", R"("StyleName" 06 04 'Gr' FC 'n')",
       [](auto& f) { return f.StyleName == "Gr\xC3\xBCn"; }},
      {"UTF-16 font name", R"("FontName" 12 03 00 00 00 'C' 00 'o' 00 'u' 00)",
       [](auto& f) { return f.FontName == "Cou"; }},
      {"colour as a number", R"("Color" 04 08 00 00 FF)", [](auto& f) { return f.Color == clWindowText; }},
      {"size wider than needed", R"("Size" 04 0C 00 00 00)", [](auto& f) { return f.Size == 12; }},
      {"charset as a number", R"("Charset" 02 00)", [](auto& f) { return f.Charset == ANSI_CHARSET; }},
      {"cursor as a number", R"("JumpCursor" 02 66)", [](auto& f) { return f.JumpCursor == 102; }},
      {"property names in other case", R"("fontname" 06 "Tahoma")", [](auto& f) { return f.FontName == "Tahoma"; }},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    const auto text = ReadClean<TFontInfos>(Bytes("0E 01") + Bytes(t.property) + Bytes("00 00"));
    ASSERT_EQ(text->Count(), 1);
    EXPECT_TRUE(t.check((*text)[0]));
  }
}

TEST_F(StyleStreaming, SingleSymbolsIsReadAsProtectionAndNeverWritten) {
  const struct {
    const char* props;
    TPGProtectOptions protection;
  } cases[] = {
      {R"("SingleSymbols" 09)", {pgprStyleProtect, pgprDoNotAutoSwitch}},
      {R"("SingleSymbols" 08)", {}},
      {R"("Protection" 0B "pgprSticking" 00 "SingleSymbols" 09)", {pgprSticking, pgprStyleProtect, pgprDoNotAutoSwitch}},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.props);
    const auto text = ReadClean<TFontInfos>(Bytes("0E 01") + Bytes(t.props) + Bytes("00 00"));
    EXPECT_EQ((*text)[0].Protection, t.protection);
    EXPECT_EQ(NamesOf(FirstStyleProperties(WriteStyleCollection(*text))),
              t.protection.Empty() ? std::vector<std::string>{} : std::vector<std::string>{"Protection"});
  }
}

TEST_F(StyleStreaming, FormatCodesDecodeOnlyWholeUnits) {
  const struct {
    const char* props;
    std::string formatString;
    std::u16string formatStringW;
    bool problem;
  } cases[] = {
      {R"("FormatStringCode" 06 "41")", "A", u"", false},
      {R"("FormatStringCode" 06 00)", "", u"", false},
      {R"("FormatStringCode" 06 "414")", "", u"", false},  // odd length
      {R"("FormatStringCode" 06 "b7")", "\xB7", u"", false},
      {R"("FormatStringCode" 06 "4G")", "", u"", true},
      {R"("FormatStringWCode" 06 "0041")", "\xB7", u"A", false},
      {R"("FormatStringWCode" 06 "20AC0041")", "\xB7", u"\u20AC" u"A", false},
      {R"("FormatStringWCode" 06 "004")", "\xB7", u"", false},   // not a multiple of 4
      {R"("FormatStringWCode" 06 "D83DDE00")", "\xB7", u"\xD83D\xDE00", false},
      {R"("FormatString" 06 01 95)", "\x95", u"", false},          // the names of old files
      {R"("FormatStringW" 12 01 00 00 00 22 20)", "\xB7", u"\u2022", false},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.props);
    TPGListInfos lists(nullptr);
    std::vector<std::string> problems;
    ASSERT_TRUE(ReadStyleCollection(ListWithLevel(Bytes(t.props)), lists, nullptr, &problems));
    EXPECT_EQ(problems.size(), t.problem ? 1u : 0u);
    EXPECT_EQ(lists[0].Levels[0].FormatString, t.formatString);
    EXPECT_EQ(lists[0].Levels[0].FormatStringW, t.formatStringW);
  }

  TPGListLevel level;
  EXPECT_EQ(LevelProperties(level), "");  // the default bullet is not stored
  level.FormatString = "";
  level.FormatStringW = u"\u2022\xD800";
  EXPECT_EQ(HexDump(LevelProperties(level)),
            HexDump(Bytes(R"("FormatStringWCode" 06 "2022D800" "FormatStringCode" 06 00)")));
}

TEST_F(StyleStreaming, ListIdentifiersAreKept) {
  const auto lists = ReadClean<TPGListInfos>(
      Bytes(R"(0E 01 "LstID" 02 2A 00 01 "LstID" 04 FE FF FF 7F 00 01 "OneLevelPreview" 09 00 00)"));
  ASSERT_EQ(lists->Count(), 3);
  EXPECT_EQ((*lists)[0].ListID(), 42);
  EXPECT_EQ((*lists)[1].ListID(), 2147483646);
  EXPECT_FALSE((*lists)[2].HasListID());  // drawn when first needed
  const std::string again = WriteStyleCollection(*lists);
  const auto back = ReadClean<TPGListInfos>(again);
  EXPECT_EQ((*back)[0].ListID(), 42);
  EXPECT_EQ((*back)[1].ListID(), 2147483646);
  EXPECT_EQ((*back)[2].ListID(), (*lists)[2].ListID());
  EXPECT_NE((*back)[2].ListID(), 0);
}

TEST_F(StyleStreaming, ImageListsTravelByTagThroughTheContext) {
  FakeImageList images(16, 16, 4);
  images.Tag = 77;
  std::vector<int> asked;
  TPGStreamContext context;
  context.ImageListNeeded = [&](int tag) -> TPGImageList* {
    asked.push_back(tag);
    return tag == 77 ? &images : nullptr;
  };
  TPGListLevel level;
  level.ListType = pglstImageList;
  level.ImageList = &images;
  EXPECT_EQ(HexDump(LevelProperties(level, &context)),
            HexDump(Bytes(R"("ListType" 07 "pglstImageList" "ILTag" 02 4D)")));
  EXPECT_EQ(HexDump(LevelProperties(level)), HexDump(Bytes(R"("ListType" 07 "pglstImageList")")));

  const std::string data = ListWithLevel(Bytes(R"("ILTag" 02 4D)"));
  EXPECT_EQ(ReadClean<TPGListInfos>(data, &context)->operator[](0).Levels[0].ImageList, &images);
  EXPECT_EQ(asked, std::vector<int>{77});
  EXPECT_EQ(ReadClean<TPGListInfos>(data)->operator[](0).Levels[0].ImageList, nullptr);
  const std::string unknownTag = ListWithLevel(Bytes(R"("ILTag" 02 05)"));
  EXPECT_EQ(ReadClean<TPGListInfos>(unknownTag, &context)->operator[](0).Levels[0].ImageList, nullptr);
}

TEST_F(StyleStreaming, MarkerFontsStoreTheirSizeAsAPixelHeight) {
  const struct {
    int size;
    const char* bytes;  // "" when nothing is stored
  } cases[] = {
      {8, ""}, {10, R"("Font.Height" 02 F3)"}, {12, R"("Font.Height" 02 F0)"}, {72, R"("Font.Height" 02 A0)"},
      {1, R"("Font.Height" 02 FF)"}, {0, R"("Font.Height" 02 00)"}, {-12, R"("Font.Height" 02 10)"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.size);
    TPGListLevel level;
    level.Font().Size = t.size;
    const std::string props = LevelProperties(level);
    EXPECT_EQ(HexDump(props), HexDump(Bytes(t.bytes)));
    const auto lists = ReadClean<TPGListInfos>(ListWithLevel(props));
    EXPECT_EQ(lists->operator[](0).Levels[0].Font().Size, t.size);
  }
  TPGListLevel named;
  named.Font().Name = "arial";  // only the exact default name goes unstored
  EXPECT_EQ(HexDump(LevelProperties(named)), HexDump(Bytes(R"("Font.Name" 06 "arial")")));

  const auto odd = ReadClean<TPGListInfos>(ListWithLevel(Bytes(R"("Font.Height" 02 EC "Font.Pitch" 07 "fpFixed")")));
  EXPECT_EQ(odd->operator[](0).Levels[0].Font().Size, 15);
}

TEST_F(StyleStreaming, DataThatCannotBeReadToItsEnd) {
  const std::string twoStyles = Bytes(R"(0E 01 "Size" 02 0C 00 01 "Size" 02 0D 00 00)");
  const struct {
    const char* what;
    std::string data;
    int stylesKept;
    const char* problem;
  } cases[] = {
      {"cut in the second style", twoStyles.substr(0, twoStyles.size() - 4), 1, "unexpected end of data"},
      {"cut before the end", twoStyles.substr(0, twoStyles.size() - 1), 2, "unexpected end of data"},
      {"not a collection", Bytes(R"(01 "Size" 02 0C 00)"), 0, "offset 0: a style collection must begin with byte 14"},
      {"a huge string", Bytes(R"(0E 01 "StyleName" 0C FF FF FF 7F 00 00)"), 0, "exceeds"},
      {"an unknown value type", Bytes(R"(0E 01 "Size" 20 00 00)"), 0, "unknown value type 32"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    TFontInfos text(nullptr);
    text.Add();
    text.Add();
    text.Add();
    std::vector<std::string> problems;
    EXPECT_FALSE(ReadStyleCollection(t.data, text, nullptr, &problems));
    EXPECT_EQ(text.Count(), t.stylesKept);
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems.back().find(t.problem), std::string::npos) << problems.back();
  }

  TFontInfos text(nullptr);
  text.Add();
  EXPECT_TRUE(ReadStyleCollection("", text, nullptr, nullptr));  // no data: no styles
  EXPECT_EQ(text.Count(), 0);
}

TEST_F(StyleStreaming, TheItemClassFollowsTheCollection) {
  // The same bytes fill any collection; what a class does not know is a problem.
  const std::string data = Bytes(R"(0E 01 "StyleName" 06 "S" "Alignment" 07 "pgaRight" 00 00)");
  const auto paras = ReadClean<TParaInfos>(data);
  EXPECT_EQ((*paras)[0].Alignment, pgaRight);
  TFontInfos text(nullptr);
  std::vector<std::string> problems;
  EXPECT_TRUE(ReadStyleCollection(data, text, nullptr, &problems));
  EXPECT_EQ(text[0].StyleName, "S");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("unknown property \"Alignment\""), std::string::npos);
}

}  // namespace
}  // namespace pagora
