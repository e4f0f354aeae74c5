#include <gtest/gtest.h>

#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/CPGData.h"
#include "model/ControlItem.h"
#include "model/ControlRegistry.h"
#include "model/DocumentCheck.h"
#include "model/MarkerList.h"
#include "model/PGFFormat.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "platform/TextEncoding.h"
#include "support/DocumentDescription.h"
#include "support/FakeGraphics.h"
#include "graphics/InvalidPicture.h"
#include "graphics/Pictures.h"
#include "platform/FileIO.h"

namespace pagora {
namespace {

using test::DescribeItems;
using test::DescribeStyles;

// A picture class for these tests: its bytes must begin with "TG".
class TestGraphic : public TGraphic {
public:
  std::string ClassName() const override { return "TTestGraphic"; }
  int Width() const override { return static_cast<int>(bytes_.size()); }
  int Height() const override { return 2; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TestGraphic>(*this); }
  bool LoadFromBytes(std::string_view b) override {
    if (b.substr(0, 2) != "TG") return false;
    bytes_ = b;
    return true;
  }
  std::string SaveToBytes() const override { return bytes_; }
  bool IsBitmap() const override { return true; }

private:
  std::string bytes_;
};

std::unique_ptr<TGraphic> Picture(std::string bytes) {
  auto g = std::make_unique<TestGraphic>();
  EXPECT_TRUE(g->LoadFromBytes(bytes));
  return g;
}

// A control that stores its caption as its component data.
class TestControl : public test::FakeControl {
public:
  TestControl() : FakeControl(40, 20) {}
  std::string ClassName() const override { return "TTestControl"; }
  std::string WriteComponent() const override { return "caption=" + Caption; }
  bool ReadComponent(std::string_view data) override {
    if (data.substr(0, 8) != "caption=") return false;
    Caption = data.substr(8);
    return true;
  }
  std::string Caption;
};

class PGFTest : public testing::Test {
protected:
  PGFTest() {
    RegisterGraphicClass("TTestGraphic", [] { return std::make_unique<TestGraphic>(); });
    RegisterAllGraphicClasses();
    RegisterControlClass("TTestControl", [] { return std::make_unique<TestControl>(); });
    settings.Style = &sheet;
    settings.PGFOptions = {};
    settings.OnPGFImageListNeeded = [this](int tag) -> TPGImageList* { return tag == 7 ? &images : nullptr; };
    images.Tag = 7;
    TFontInfo& u = sheet.TextStyles.Add();  // 6: Unicode
    u.Assign(sheet.TextStyles[0]);
    u.Unicode = true;
    u.StyleName = "Unicode";
  }

  std::string Save(TCustomPGData& d, const TPGFSaveArgs& args = {}) {
    std::string out;
    EXPECT_TRUE(SavePGFToStream(d, out, args));
    return out;
  }

  TPGFReadResult Read(TCustomPGData& d, std::string_view data, bool inserting = false) {
    int position = d.CountItems();
    TPGFReadArgs args;
    args.Inserting = inserting;
    return ReadPGF(d, data, position, args);
  }

  TPGStyle sheet;
  TPGDocumentSettings settings;
  test::FakeImageList images{16, 16, 4};
  TCustomPGData doc{&settings};
};

// ---- writing

TEST_F(PGFTest, AnEmptyDocumentWritesNothing) {
  std::string out;
  EXPECT_TRUE(SavePGFToStream(doc, out));
  EXPECT_EQ(out, "");
}

TEST_F(PGFTest, ParagraphsOfOneStyleShareOneTextRecord) {
  doc.AppendText("first", 0, 0);
  doc.AppendText("second", 0, 0);
  doc.AppendText("third", 0, 0);
  EXPECT_EQ(Save(doc), "-8 1 3\r\n0 3 0 0 0 0\r\nfirst\r\nsecond\r\nthird\r\n");
}

TEST_F(PGFTest, RecordsSplitWhereItemsDiffer) {
  doc.AppendText("a", 0, 0);
  doc.AppendText("b", 1, -1);  // continues its paragraph: other flags, a record of its own
  doc.AppendText("c", 1, 0);
  doc.AppendText("d", 1, 0, TPGTag::Int(5));
  doc.AppendText("e", 1, 1);
  EXPECT_EQ(Save(doc), "-8 1 3\r\n0 1 0 0 0 0\r\na\r\n1 1 -1 1 0 0\r\nb\r\n1 1 0 0 0 0\r\nc\r\n1 1 0 0 0 5\r\nd\r\n"
                       "1 1 1 0 0 0\r\ne\r\n");
}

TEST_F(PGFTest, HintsTagsAndStyleNames) {
  settings.Options.Include(pgoTagsArePChars);
  settings.PGFOptions = {pgfoUseStyleNames};
  sheet.TextStyles[3].StyleName = "Key \"words\"";
  doc.AppendText("x", 3, 1, TPGTag::Str("http://a/?q=\"1\""));
  doc.ItemAt(0).SetHint("tip");
  EXPECT_EQ(Save(doc), "-8 1 3\r\n\"Key \"\"words\"\"\" 1 \"Centered\" 0 0 \"http://a/?q=\"\"1\"\"\" \"tip\"\r\nx\r\n");
  TCustomPGData back(&settings);
  ASSERT_TRUE(LoadPGFFromStream(back, Save(doc)));
  EXPECT_EQ(DescribeItems(back), DescribeItems(doc));
}

TEST_F(PGFTest, UnicodeTextInBothForms) {
  doc.AppendTextUTF16(u"Жук", 6, 0);
  doc.AppendTextUTF16(u"日本", 6, 0);
  EXPECT_EQ(Save(doc), "-8 1 3\r\n6 2 0 8 3 0\r\n160443043A04\r\n" + EncodeHex(BytesFromU16(u"日本")) + "\r\n");
  settings.PGFOptions = {pgfoSaveBinary};
  const std::string binary = Save(doc);
  EXPECT_EQ(binary, "-8 1 3\r\n6 2 0 8 0 0\r\n" + BytesFromU16(u"Жук\u2029日本\u2029"));
  doc.AppendText("after", 0, 0);
  TCustomPGData back(&settings);
  ASSERT_TRUE(LoadPGFFromStream(back, Save(doc)));
  EXPECT_EQ(DescribeItems(back), DescribeItems(doc));
}

TEST_F(PGFTest, SelectionInsideOneItem) {
  doc.AppendText("hello world", 0, 1);
  TPGTextRange mid{0, 3, 0, 6};
  EXPECT_EQ(Save(doc, {&mid}), "-8 1 3\r\n0 1 -1 0 0 0\r\nllo\r\n");
  TPGTextRange start{0, 1, 0, 6};
  EXPECT_EQ(Save(doc, {&start}), "-8 1 3\r\n0 1 1 0 0 0\r\nhello\r\n");
  TPGTextRange none{0, 4, 0, 4};
  EXPECT_EQ(Save(doc, {&none}), "-8 1 3\r\n");
}

TEST_F(PGFTest, ASelectionAfterAMarkerBeginsWithIt) {
  TPGListInfo& list = sheet.ListStyles.Add();
  list.AddLevel().ListType = pglstDecimal;
  doc.ApplyListToPara(-1, 0, 0, 1, false, 0);
  doc.AppendText("one ", 0, -1);
  doc.AppendText("two", 1, -1);
  doc.AppendText("next", 0, 0);
  TPGTextRange r{2, 1, 3, 3};  // "two" whole and "ne" of the next paragraph
  EXPECT_EQ(Save(doc, {&r}), "-8 1 3\r\n-11 0 0 0 0 0 0 0 1 0\r\n1 1 -1 1 0 0\r\ntwo\r\n0 1 0 0 0 0\r\nne\r\n");
}

TEST_F(PGFTest, PendingCheckpointTravelsAtTheEnd) {
  doc.AppendText("text", 0, 0);
  doc.AppendCheckpoint("end", true, TPGTag::Int(3));
  const std::string data = Save(doc);
  EXPECT_EQ(data, "-8 1 3\r\n0 1 0 0 0 0\r\ntext\r\n-2 1 0 0 0 3 1 0\r\nend\r\n");
  TCustomPGData back(&settings);
  ASSERT_TRUE(LoadPGFFromStream(back, data));
  ASSERT_NE(back.PendingCheckpoint(), nullptr);
  EXPECT_EQ(back.PendingCheckpoint()->Name, "end");
  EXPECT_TRUE(back.PendingCheckpoint()->RaiseEvent);
  EXPECT_EQ(back.CheckpointCount(), 1);
}

// ---- reading: the header rules

TEST_F(PGFTest, WithoutAVersionRecordThereAreNoFlagsAndNoQuotedTags) {
  settings.Options.Include(pgoTagsArePChars);
  ASSERT_TRUE(Read(doc, "0 1 0 0 \"x\"\r\nplain\r\n").Ok);
  EXPECT_EQ(doc.TagOf(0).AsString(), "\"x\"");
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n0 1 0 0 0 \"x y\"\r\nq\r\n0 1 0 0 0 0\r\nn\r\n-8 1 2\r\n0 1 0 0 0 \"0\"\r\nw\r\n").Ok);
  EXPECT_EQ(doc.TagOf(1).AsString(), "x y");
  EXPECT_TRUE(doc.TagOf(2).IsEmpty());
  EXPECT_EQ(doc.TagOf(3).AsString(), "\"0\"");  // version 1.2 takes no quoted tags
  doc.Clear();
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n0 1 0 0 0 \"0\"\r\nq\r\n").Ok);
  EXPECT_EQ(doc.TagOf(0).AsString(), "0");
}

TEST_F(PGFTest, StyleNamesAndNumbers) {
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n\"Keywords\" 1 \"Centered\" 0 0 0\r\na\r\n\"Nothing like it\" 1 0 0 0 0\r\nb\r\n").Ok);
  EXPECT_EQ(doc.ItemAt(0).StyleNo, 3);
  EXPECT_EQ(doc.ItemAt(0).ParaNo, 1);
  EXPECT_EQ(doc.ItemAt(1).StyleNo, 0);

  const TPGFReadResult r = Read(doc, "-8 1 3\r\n7 1 0 0 0 0\r\nc\r\n");  // 7 styles: 0..6
  EXPECT_FALSE(r.Ok);
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwStyleOutOfRange));
  EXPECT_EQ(doc.CountItems(), 2);
  settings.PGFOptions = {pgfoConvUnknownStylesToZero};
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n7 1 9 0 0 0\r\nc\r\n").Ok);
  EXPECT_EQ(doc.ItemAt(2).StyleNo, 0);
  EXPECT_EQ(doc.ItemAt(2).ParaNo, 0);
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwStyleOutOfRange));
}

TEST_F(PGFTest, WarningsBelongToTheLastRead) {
  settings.PGFOptions = {pgfoConvUnknownStylesToZero};
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n70 1 0 0 0 0\r\nc\r\n").Ok);
  EXPECT_FALSE(settings.ReadWarnings.Empty());
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n0 1 0 0 0 0\r\nd\r\n").Ok);
  EXPECT_TRUE(settings.ReadWarnings.Empty());
}

TEST_F(PGFTest, TextChangesEncodingToFitItsStyle) {
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n0 1 0 8 3 0\r\n" + EncodeHex(BytesFromU16(u"café Ж")) + "\r\n").Ok);
  EXPECT_EQ(doc.TextOf(0), "caf\xE9 ?");
  EXPECT_FALSE(doc.ItemAt(0).HasFlag(pgifUnicode));
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwTextMadeAnsi));
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n6 1 0 0 0 0\r\ncaf\xE9\r\n").Ok);
  EXPECT_EQ(doc.TextOfW(1), u"café");
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwTextMadeUnicode));
}

TEST_F(PGFTest, FramingCharactersInHexadecimalTextAreNormalised) {
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n6 1 0 8 3 0\r\n" + EncodeHex(BytesFromU16(std::u16string(u"a\0b\u2029c", 5))) + "\r\n").Ok);
  EXPECT_EQ(doc.TextOfW(0), u"a?b c");
  std::string why;
  EXPECT_TRUE(CheckDocumentStructure(doc, &why)) << why;
}

TEST_F(PGFTest, BreaksHotSpotsAndBullets) {
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n-1 0 0 0 0 0\r\n-1 0 0 0 0 0 255 1 3\r\n-4 1 0 0 0 0 7 2\r\nspot\r\n"
                        "-6 2 -1 0 0 0 7 3\r\nbul\r\nspacing=4\r\n").Ok);
  const auto& b0 = dynamic_cast<const TPGBreakItemInfo&>(doc.ItemAt(0));
  EXPECT_EQ(b0.Color, clNone);
  EXPECT_EQ(b0.Style, 0);
  EXPECT_EQ(b0.Width, 1);
  const auto& b1 = dynamic_cast<const TPGBreakItemInfo&>(doc.ItemAt(1));
  EXPECT_EQ(b1.Color, 255u);
  EXPECT_EQ(b1.Style, 1);
  EXPECT_EQ(b1.Width, 3);
  const auto& spot = dynamic_cast<const TPGHotspotItemInfo&>(doc.ItemAt(2));
  EXPECT_EQ(spot.ImageIndex, 2);
  EXPECT_EQ(spot.HoverImageIndex, 2);  // no hover index: the image itself
  EXPECT_EQ(doc.TextOf(2), "spot");
  const auto& bul = dynamic_cast<const TPGBulletItemInfo&>(doc.ItemAt(3));
  EXPECT_EQ(bul.Spacing(), 4);
  EXPECT_TRUE(bul.HasFlag(pgifContinuesPara));

  EXPECT_FALSE(Read(doc, "-8 1 3\r\n-6 1 0 0 0 0 7 9\r\nx\r\n").Ok);  // index beyond the list
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwImageIndexOutOfRange));
  EXPECT_FALSE(Read(doc, "-8 1 3\r\n-1 0 0 0 0 0 5\r\n").Ok);  // a break needs all three
  const int before = doc.CountItems();
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n-6 1 0 0 0 0 99 0\r\nx\r\n").Ok);  // no such image list: dropped
  EXPECT_EQ(doc.CountItems(), before);
}

TEST_F(PGFTest, Pictures) {
  const std::string good = "-8 1 3\r\n-3 4 0 0 0 0 1\r\npic\r\nTTestGraphic\r\nwidth=30\r\n" + EncodeHex("TGabc") + "\r\n";
  ASSERT_TRUE(Read(doc, good).Ok);
  const auto& p = dynamic_cast<const TPGGraphicItemInfo&>(doc.ItemAt(0));
  EXPECT_EQ(p.Image->SaveToBytes(), "TGabc");
  EXPECT_EQ(p.ShownWidth, 30);
  EXPECT_EQ(p.VAlign, pgvaMiddle);

  EXPECT_FALSE(Read(doc, "-8 1 3\r\n-3 3 0 0 0 0 0\r\np\r\nTTestGraphic\r\n54474\r\n").Ok);  // odd hexadecimal
  EXPECT_FALSE(Read(doc, "-8 1 3\r\n-3 3 0 0 0 0 0\r\np\r\nTNoSuchClass\r\n00\r\n").Ok);
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwPictureClassUnknown));
  settings.PGFOptions = {pgfoIgnoreUnknownPicFmt};
  const int before = doc.CountItems();
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n-3 3 0 0 0 0 0\r\np\r\nTNoSuchClass\r\n00\r\n0 1 0 0 0 0\r\nafter\r\n").Ok);
  EXPECT_EQ(doc.CountItems(), before + 1);  // the picture was dropped, the text kept

  ASSERT_TRUE(Read(doc, "-8 1 3\r\n-3 3 0 0 0 0 0\r\nbad\r\nTTestGraphic\r\n" + EncodeHex("XX") + "\r\n").Ok);
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwPictureUnreadable));
  const auto& invalid = dynamic_cast<const TPGGraphicItemInfo&>(doc.ItemAt(doc.CountItems() - 1));
  ASSERT_NE(invalid.Image, nullptr);
  EXPECT_FALSE(invalid.Image->Empty());  // shown as the invalid picture ...
  EXPECT_EQ(invalid.Image->ClassName(), "TTestGraphic");
  EXPECT_EQ(invalid.Image->SaveToBytes(), "XX");  // ... and saved as it came

  // Without the data the application supplies the picture by name.
  settings.OnPGFPictureNeeded = [](const std::string& name, const TPGTag&) { return Picture("TG" + name); };
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n-3 1 0 0 1 0 0\r\nlogo\r\n").Ok);
  EXPECT_EQ(dynamic_cast<const TPGGraphicItemInfo&>(doc.ItemAt(doc.CountItems() - 1)).Image->SaveToBytes(), "TGlogo");
}

TEST_F(PGFTest, TruncatedDataKeepsWhatWasRead) {
  const TPGFReadResult r = Read(doc, "-8 1 3\r\n0 1 0 0 0 0\r\nkept\r\n0 2 0 0 0 0\r\nonly one\r\n");
  EXPECT_FALSE(r.Ok);
  EXPECT_TRUE(r.StoppedByError);
  ASSERT_GE(doc.CountItems(), 1);
  EXPECT_EQ(doc.TextOf(0), "kept");
}

TEST_F(PGFTest, RecordsOfUnknownKindsAreSkippedWithAWarning) {
  const std::string table = "-8 1 3\r\n0 1 0 0 0 0\r\nbefore\r\n-2 1 0 0 0 0\r\ngone\r\n-60 3 0 0 0 0 x\r\nname\r\n"
                            "a=1\r\n00FF\r\n0 1 0 0 0 0\r\nafter\r\n";
  ASSERT_TRUE(Read(doc, table).Ok);
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwRecordSkipped));
  ASSERT_EQ(doc.CountItems(), 2);
  EXPECT_EQ(doc.TextOf(1), "after");
  EXPECT_EQ(doc.CheckpointCount(), 0);  // the checkpoint before the skipped record went with it
}

TEST_F(PGFTest, ATrailingMarkerGetsItsText) {
  sheet.ListStyles.Add().AddLevel();
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n-11 0 0 0 0 0 0 0 1 0\r\n").Ok);
  ASSERT_EQ(doc.CountItems(), 2);
  EXPECT_EQ(doc.ItemAt(1).StyleNo, 0);
  EXPECT_TRUE(doc.ItemAt(1).HasFlag(pgifContinuesPara));
  ASSERT_NE(doc.GetMarkerList(), nullptr);
  EXPECT_EQ(doc.GetMarkerList()->Count(), 1);
}

TEST_F(PGFTest, OnlyTheFirstOfTwoCheckpointsBeforeAnItemAttaches) {
  ASSERT_TRUE(Read(doc, "-8 1 3\r\n-2 1 0 0 0 0 1 1\r\nfirst\r\n-2 1 0 0 0 0\r\nsecond\r\n0 1 0 0 0 0\r\nx\r\n").Ok);
  ASSERT_NE(doc.CheckpointOf(0), nullptr);
  EXPECT_EQ(doc.CheckpointOf(0)->Name, "first");
  EXPECT_TRUE(doc.CheckpointOf(0)->Persistent);
  EXPECT_EQ(doc.CheckpointCount(), 1);
}

TEST_F(PGFTest, LayoutRecords) {
  auto layout = [](int size, int extra) {
    std::string d;
    auto put = [&](int v) {
      for (int i = 0; i < 4; ++i) d.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(0);
    put(size);
    for (int v : {1, 2, 3, 4, 5, 6}) put(v);
    d.push_back(2);
    d.append(static_cast<std::size_t>(extra), 'x');
    return "-8 1 3\r\n-9 2 0 0 0 0 3\r\n\r\n" + EncodeHex(d) + "\r\n0 1 0 0 0 0\r\nt\r\n";
  };
  settings.PGFOptions = {pgfoLoadLayout};
  TPGLayoutInfo l;
  ASSERT_TRUE(LoadPGFFromStream(doc, layout(33, 8), nullptr, &l));
  EXPECT_TRUE(l.WasRead);
  EXPECT_EQ(l.LeftMargin, 1);
  EXPECT_EQ(l.MaxTextWidth, 6);
  EXPECT_EQ(l.BiDiMode, pgbdRightToLeft);
  EXPECT_EQ(doc.CountItems(), 1);
  TPGLayoutInfo bad;
  std::string error;
  EXPECT_FALSE(LoadPGFFromStream(doc, layout(24, 0), nullptr, &bad, nullptr, &error));
  EXPECT_EQ(error, "Invalid PGF format");
}

TEST_F(PGFTest, StylesReplaceOnLoadAndMergeOnInsert) {
  TPGStyle other;
  other.TextStyles.Clear();
  for (int i = 0; i < 5; ++i) other.TextStyles.Add().Size = 10 + i;  // size 10 equals style 0
  TPGDocumentSettings os;
  os.Style = &other;
  os.PGFOptions = {pgfoSaveTextStyles};
  TCustomPGData source(&os);
  source.AppendText("x", 4, 0);
  std::string data;
  ASSERT_TRUE(SavePGFToStream(source, data));

  ASSERT_TRUE(LoadPGFFromStream(doc, data));
  EXPECT_EQ(sheet.TextStyles.Count(), 5);
  EXPECT_EQ(sheet.TextStyles[4].Size, 14);

  TPGStyle target;
  TPGDocumentSettings ts;
  ts.Style = &target;
  ts.PGFTextStylesReadMode = pgf_sInsertMerge;
  TCustomPGData into(&ts);
  into.AppendText("start", 0, 0);
  ASSERT_TRUE(Read(into, data, true).Ok);
  EXPECT_EQ(target.TextStyles.Count(), 6 + 4);  // sizes 11..14 appended, 10 is "Normal text"
  EXPECT_EQ(target.TextStyles[into.ItemAt(1).StyleNo].Size, 14);
  EXPECT_FALSE(target.TextStyles[9].Standard);
}

TEST_F(PGFTest, ClipboardWrapperAndNestedDocuments) {
  EXPECT_EQ(WrapPGFForClipboard("abc"), std::string("\x03\0\0\0abc", 7));
  std::string_view pgf;
  const std::string longer("\x03\0\0\0abcdef", 10);
  ASSERT_TRUE(UnwrapPGFFromClipboard(longer, pgf));
  EXPECT_EQ(pgf, "abc");
  const std::string shorter("\x09\0\0\0abc", 7);
  EXPECT_FALSE(UnwrapPGFFromClipboard(shorter, pgf));
  EXPECT_FALSE(UnwrapPGFFromClipboard("ab", pgf));

  settings.PGFOptions = {pgfoSaveTextStyles, pgfoSaveBack};
  doc.AppendText("cell text", 2, 0);
  std::string stream;
  ASSERT_TRUE(WriteSubDocumentData(doc, stream));
  stream += "trailing";
  std::string_view view = stream;
  TCustomPGData cell(&settings);
  ASSERT_TRUE(ReadSubDocumentData(cell, view));
  EXPECT_EQ(view, "trailing");
  EXPECT_EQ(DescribeItems(cell), DescribeItems(doc));
  EXPECT_TRUE(settings.PGFOptions.Contains(pgfoSaveBack));  // restored after writing
}

TEST_F(PGFTest, ControlsWithAndWithoutTheirData) {
  auto control = std::make_unique<TestControl>();
  control->Caption = "OK";
  doc.AppendText("before", 0, 0);
  doc.AppendControl("button", std::move(control), -1, pgvaMiddle);
  std::vector<int> actions;
  settings.OnControlAction = [&](TCustomPGData&, TPGControlAction a, int, IEmbeddedControl*) { actions.push_back(a); };
  settings.PGFOptions = {pgfoSaveControlsBody};
  const std::string data = Save(doc);
  EXPECT_EQ(actions, (std::vector<int>{pgcaBeforePGFSave, pgcaAfterPGFSave}));
  TCustomPGData back(&settings);
  ASSERT_TRUE(LoadPGFFromStream(back, data));
  EXPECT_EQ(DescribeItems(back), DescribeItems(doc));
  EXPECT_EQ(actions.back(), pgcaAfterPGFLoad);

  settings.PGFOptions = {};
  const std::string bare = Save(doc);
  TCustomPGData none(&settings);
  EXPECT_FALSE(LoadPGFFromStream(none, bare));  // nobody supplies the control
  EXPECT_TRUE(settings.ReadWarnings.Contains(pgrwControlClassUnknown));
  settings.OnPGFControlNeeded = [](const std::string& name, const TPGTag&) {
    auto c = std::make_unique<TestControl>();
    c->Caption = name;
    return c;
  };
  ASSERT_TRUE(LoadPGFFromStream(none, bare));
  EXPECT_EQ(dynamic_cast<TestControl&>(*dynamic_cast<TPGControlItemInfo&>(none.ItemAt(1)).Control).Caption, "button");
}

// ---- round trips

struct RoundTripCase {
  const char* name;
  void (*build)(TCustomPGData&, TPGStyle&, TPGImageList&);
};

void BuildMixed(TCustomPGData& d, TPGStyle& s, TPGImageList& images) {
  TPGListInfo& list = s.ListStyles.Add();
  list.AddLevel().ListType = pglstDecimal;
  list.Levels[0].FormatString = "%0:s.";
  list.AddLevel().ListType = pglstUpperRoman;
  d.AppendCheckpoint("top", true, TPGTag::Int(1));
  d.AppendText("Heading", 1, 1);
  d.AppendText("plain", 0, 0);
  d.AppendText("more", 3, -1, TPGTag::Int(9));
  d.ItemAt(2).SetHint("a hint");
  d.AppendTextUTF16(u"Ünïcödé 日本語 \U0001F600", 6, 0);
  d.AppendBreak(2, 1, clRed);
  d.AppendPicture("pic", Picture(std::string("TGpicture bytes \r\n\0 all", 23)), 0, pgvaMiddle, TPGTag::Int(4));
  d.AppendHotPicture("hot", Picture("TGhot"), -1);
  d.AppendBullet("b", 1, &images, -1);
  d.AppendHotspot("h", 1, 2, &images, -1);
  d.ApplyListToPara(-1, 0, 0, 1, false, 0);
  d.AppendText("item one", 0, -1);
  d.ApplyListToPara(-1, 0, 1, 5, true, 0);
  d.AppendText("item two", 0, -1);
  d.SetParagraphMode(false);
  d.AppendText("second line", 0, 0);
  d.SetParagraphMode(true);
  d.AppendText("page", 0, 0);
  d.SetPageBreak(d.CountItems() - 1, true);
  auto& pic = dynamic_cast<TPGGraphicItemInfo&>(d.ItemAt(5));
  pic.ShownWidth = 50;
  pic.SetSpacing(3);
  pic.VShift = -20;
  pic.Alt = "alternative";
  pic.FileName = "a/b.png";
  pic.Unremovable = true;
  pic.Image->SetTransparent(true);
  pic.Image->SetTransparentMode(TTransparentMode::tmFixed);
  pic.Image->SetTransparentColor(clLime);
  d.AttachCheckpoint(4, TPGTag::Int(2), false, "at the break");
  auto control = std::make_unique<TestControl>();
  control->Caption = "Press";
  d.AppendControl("button", std::move(control), -1, pgvaMiddle);
  dynamic_cast<TPGControlItemInfo&>(d.ItemAt(d.CountItems() - 1)).Resizable = true;
  d.AppendCheckpoint("end", false);
}

// Real pictures of every class, from the fuzzing seeds.
std::unique_ptr<TGraphic> Seed(const char* className, const char* file) {
  std::string bytes, error;
  EXPECT_TRUE(ReadFileBytes(std::string(PAGORA_SOURCE_DIR) + "/fuzz/corpus/" + file, bytes, error)) << file;
  std::unique_ptr<TGraphic> g = CreateGraphic(className);
  EXPECT_TRUE(g && g->LoadFromBytes(bytes)) << file;
  return g;
}

void BuildPictures(TCustomPGData& d, TPGStyle&, TPGImageList&) {
  const struct {
    const char* cls;
    const char* file;
  } pictures[] = {{"TBitmap", "bmp/rgb8.bmp"},       {"TBitmap", "bmp/v5alpha32.bmp"}, {"TPNGObject", "png/gray16.png"},
                  {"TJPEGImage", "jpeg/rgb.jpg"},    {"TGIFImage", "gif/transparent_offset.gif"},
                  {"TIcon", "ico/four_depths.ico"}, {"TMetafile", "metafile/bitmap.emf"},
                  {"TMetafile", "metafile/placeable_bitmap.wmf"}};
  for (const auto& p : pictures) {
    d.AppendText(p.file, 0, 0);
    d.AppendPicture(p.cls, Seed(p.cls, p.file), -1);
  }
  // A picture whose data cannot be read keeps its bytes through a round trip.
  d.AppendPicture("broken", CreateUnreadablePicture("TPNGObject", "\x89PNG not really"), 0);
}

const RoundTripCase kRoundTrips[] = {
    {"mixed", BuildMixed},
    {"pictures of every class", BuildPictures},
    {"8-bit only", [](TCustomPGData& d, TPGStyle&, TPGImageList&) {
       for (int i = 0; i < 50; ++i) d.AppendText("line " + std::to_string(i), i % 6, i % 2);
     }},
    {"empty texts", [](TCustomPGData& d, TPGStyle&, TPGImageList&) {
       d.AppendText("", 0, 0);
       d.AppendText("", 0, -1);
       d.AppendTextUTF16(u"", 6, 0);
     }},
};

TEST_F(PGFTest, RoundTripsAreExactInBothForms) {
  for (const RoundTripCase& c : kRoundTrips) {
    SCOPED_TRACE(c.name);
    TPGStyle style;
    TFontInfo& u = style.TextStyles.Add();
    u.Unicode = true;
    TPGDocumentSettings s;
    s.Style = &style;
    s.OnPGFImageListNeeded = [this](int tag) -> TPGImageList* { return tag == 7 ? &images : nullptr; };
    TCustomPGData original(&s);
    c.build(original, style, images);
    std::string why;
    ASSERT_TRUE(CheckDocumentStructure(original, &why)) << why;
    std::string forms[2];
    for (int binary = 0; binary < 2; ++binary) {
      s.PGFOptions = {pgfoSavePicturesBody, pgfoSaveControlsBody, pgfoSaveTextStyles, pgfoSaveParaStyles};
      if (binary) s.PGFOptions.Include(pgfoSaveBinary);
      ASSERT_TRUE(SavePGFToStream(original, forms[binary]));

      TPGStyle style2;
      TPGDocumentSettings s2 = s;
      s2.Style = &style2;
      TCustomPGData back(&s2);
      std::string error;
      ASSERT_TRUE(LoadPGFFromStream(back, forms[binary], nullptr, nullptr, nullptr, &error)) << error;
      EXPECT_EQ(DescribeItems(back), DescribeItems(original));
      EXPECT_EQ(DescribeStyles(style2), DescribeStyles(style));
      EXPECT_TRUE(CheckDocumentStructure(back, &why)) << why;
      std::string again;
      ASSERT_TRUE(SavePGFToStream(back, again));
      EXPECT_EQ(again, forms[binary]);
    }
    EXPECT_NE(forms[0], forms[1]);
  }
}

TEST_F(PGFTest, ReadingIntoTheMiddleOfADocument) {
  doc.AppendText("head", 0, 0);
  doc.AppendText("tail", 0, 0);
  int position = 1;
  TPGFReadArgs args;
  args.Inserting = true;
  const TPGFReadResult r = ReadPGF(doc, "-8 1 3\r\n0 2 1 0 0 0\r\nx\r\ny\r\n", position, args);
  ASSERT_TRUE(r.Ok);
  EXPECT_EQ(r.ItemsAdded, 2);
  EXPECT_EQ(r.FirstItemAdded, 1);
  EXPECT_EQ(position, 3);
  EXPECT_EQ(doc.TextOf(1), "x");
  EXPECT_EQ(doc.TextOf(3), "tail");
  std::string why;
  EXPECT_TRUE(CheckDocumentStructure(doc, &why)) << why;
}

}  // namespace
}  // namespace pagora
