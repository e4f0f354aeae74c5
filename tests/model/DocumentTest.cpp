#include <gtest/gtest.h>

#include "support/FakeGraphics.h"
#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/CPGData.h"
#include "model/ControlItem.h"
#include "model/PGStyle.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora {
namespace {

using test::FakeControl;
using test::FakeGraphic;
using test::FakeImageList;

// A document with its own style sheet; text style 6 is a Unicode copy of style 0.
class DocumentTest : public testing::Test {
protected:
  DocumentTest() {
    settings.Style = &sheet;
    TFontInfo& u = sheet.TextStyles.Add();
    u.Assign(sheet.TextStyles[0]);
    u.Unicode = true;
    u.StyleName = "Unicode";
  }

  // "P" for a paragraph start, "L" for a line break, "C" for continuing; with the ParaNo.
  std::string Shape() const {
    std::string s;
    for (int i = 0; i < doc.CountItems(); ++i) {
      const TCustomPGItemInfo& item = doc.ItemAt(i);
      s += item.HasFlag(pgifContinuesPara) ? 'C' : item.HasFlag(pgifLineBreakBefore) ? 'L' : 'P';
      s += std::to_string(item.ParaNo);
      if (item.HasFlag(pgifPageBreakBefore)) s += '!';
      s += ' ';
    }
    if (!s.empty()) s.pop_back();
    return s;
  }

  TPGStyle sheet;
  TPGDocumentSettings settings;
  TCustomPGData doc{&settings};
};

TEST_F(DocumentTest, TabsBecomeSpacesInBothEncodings) {
  sheet.SpacesInTab = 4;
  doc.AppendText("a\tb", 0, 0);
  EXPECT_EQ(doc.TextOf(0), "a    b");
  doc.AppendTextUTF16(u"x\ty", 6, 0);
  EXPECT_EQ(doc.TextOfW(1), u"x    y");
  EXPECT_TRUE(doc.ItemAt(1).HasFlag(pgifUnicode));
}

TEST_F(DocumentTest, ParagraphStyleMinusOneContinuesExceptAtTheStartAndAfterABreak) {
  doc.AppendText("a", 0, -1);
  doc.AppendText("b", 0, -1);
  doc.AppendText("c", 0, 1);
  doc.AppendText("d", 0, -1);
  doc.AppendBreak();
  doc.AppendText("e", 0, -1);
  EXPECT_EQ(Shape(), "P0 C0 P1 C1 P0 P0");
}

TEST_F(DocumentTest, ParagraphModeOffMakesLineBreaksButNeverOnTheFirstItemOrAfterABreak) {
  doc.SetParagraphMode(false);
  doc.AppendText("a", 0, 1);
  doc.AppendText("b", 0, 0);
  doc.AppendText("c", 0, 0);
  doc.AppendBreak();
  doc.AppendText("d", 0, 0);
  doc.AppendText("e", 0, 1);
  // Lines inside a paragraph carry the paragraph's style.
  EXPECT_EQ(Shape(), "P1 L1 L1 P0 P0 L0");
  EXPECT_EQ(doc.ParaFirstItem(2), 0);
  EXPECT_EQ(doc.LineFirstItem(2), 2);
  EXPECT_EQ(doc.ParaLastItem(0), 2);
}

TEST_F(DocumentTest, AParagraphAfterAMarkerGetsAnEmptyTextItemFirst) {
  auto marker = std::make_unique<TPGBulletItemInfo>(&doc);  // stands in for a marker
  marker->StyleNo = pgsListMarker;
  marker->ParaNo = 1;
  doc.AppendItem("", std::move(marker));
  doc.AppendText("next paragraph", 0, 0);
  ASSERT_EQ(doc.CountItems(), 3);
  EXPECT_EQ(doc.ItemAt(1).StyleNo, 0);
  EXPECT_EQ(doc.TextOf(1), "");
  EXPECT_EQ(Shape(), "P1 C1 P0");
}

TEST_F(DocumentTest, UnicodeAndEightBitStylesConvertOnTheWayIn) {
  doc.AppendText8("caf\xE9", 6, 0);  // 8-bit into a Unicode style
  EXPECT_EQ(doc.TextOfW(0), u"café");
  doc.AppendTextUTF16(u"café Ж", 0, 0);  // Unicode into an 8-bit style
  EXPECT_EQ(doc.TextOf(1), "caf\xE9 ?");
  EXPECT_FALSE(doc.ItemAt(1).HasFlag(pgifUnicode));
  sheet.TextStyles[1].Charset = RUSSIAN_CHARSET;
  doc.AppendTextUTF16(u"Ж", 1, 0);
  EXPECT_EQ(doc.TextOf(2), "\xC6");
  EXPECT_EQ(doc.TextOfW(2), u"Ж");
  EXPECT_EQ(doc.ItemLength(0), 4);
}

TEST_F(DocumentTest, DefaultTextStyleNumberResolvesThroughTheParagraph) {
  sheet.ParaStyles[1].DefStyleNo = 6;
  doc.AppendTextUTF16(u"x", -1, 1);
  EXPECT_EQ(doc.ItemAt(0).StyleNo, kDefaultTextStyleOfPara);
  EXPECT_EQ(doc.EffectiveStyleOf(0), 6);
  EXPECT_TRUE(doc.ItemAt(0).HasFlag(pgifUnicode));
  doc.AppendText("y", -1, 0);
  EXPECT_EQ(doc.EffectiveStyleOf(1), 0);
}

TEST_F(DocumentTest, TextThatWouldBreakStoredDocumentsIsNormalised) {
  doc.AppendText(std::string("a\0b\rc\nd", 7), 0, 0);
  EXPECT_EQ(doc.TextOf(0), "a?b c d");
  doc.AppendTextUTF16(std::u16string(u"a\0b\u2029c", 5), 6, 0);
  EXPECT_EQ(doc.TextOfW(1), u"a?b c");
  EXPECT_THROW(doc.AppendText("odd", 6, 0), EPagoraError);
  EXPECT_THROW(doc.SetTextOf(1, "odd"), EPagoraError);
}

TEST_F(DocumentTest, NonTextItems) {
  FakeImageList images(16, 16, 4);
  doc.AppendPicture("pic", std::make_unique<FakeGraphic>(10, 10), 0, pgvaMiddle);
  doc.AppendHotspot("spot", 1, 2, &images, -1, TPGTag::Int(9));
  doc.AppendBullet("bullet", 3, &images, -1);
  doc.AppendControl("ctl", std::make_unique<FakeControl>(30, 20), -1);
  doc.AppendBreak(2, 1, clRed);
  ASSERT_EQ(doc.CountItems(), 5);
  EXPECT_EQ(Shape(), "P0 C0 C0 C0 P0");
  EXPECT_EQ(doc.TextOf(0), "pic");
  EXPECT_EQ(doc.FirstOffset(0), 0);
  EXPECT_EQ(doc.EndOffset(0), 1);
  const TPGImageItemInfo info = doc.ReadImageItem(1);
  EXPECT_EQ(info.Name, "spot");
  EXPECT_EQ(info.ImageIndex, 1);
  EXPECT_EQ(info.ImageList, &images);
  EXPECT_EQ(info.Tag, TPGTag::Int(9));
  doc.WriteImageItem(2, "b2", 0, TPGTag::Int(1));
  EXPECT_EQ(doc.TextOf(2), "b2");
  try {
    (void)doc.ReadImageItem(0);
    ADD_FAILURE();
  } catch (const EPagoraError& e) {
    EXPECT_STREQ(e.what(), "Can't get or set this kind of information for this item");
  }
  auto& br = dynamic_cast<TPGBreakItemInfo&>(doc.ItemAt(4));
  EXPECT_EQ(br.Width, 2);
  EXPECT_EQ(br.Color, clRed);
  auto& ctl = dynamic_cast<TPGControlItemInfo&>(doc.ItemAt(3));
  EXPECT_FALSE(ctl.Control->Visible());  // hidden until the layout places it
}

TEST_F(DocumentTest, PageBreaks) {
  doc.AppendText("a", 0, 0);
  doc.AppendText("b", 0, -1);
  doc.SetPageBreak(0, true);
  EXPECT_TRUE(doc.HasPageBreak(0));
  doc.SetPageBreak(1, true);  // an item inside a paragraph cannot carry one
  EXPECT_FALSE(doc.HasPageBreak(1));
  EXPECT_THROW((void)doc.HasPageBreak(2), EPagoraError);
  EXPECT_THROW(doc.SetPageBreak(-1, true), EPagoraError);
}

TEST_F(DocumentTest, Directions) {
  sheet.ParaStyles[1].BiDiMode = pgbdRightToLeft;
  sheet.TextStyles[1].BiDiMode = pgbdLeftToRight;
  settings.BiDiMode = pgbdLeftToRight;
  doc.AppendText("a", 0, 0);
  doc.AppendText("b", 0, 1);
  doc.AppendText("c", 1, 1);
  EXPECT_EQ(doc.DirectionOf(0), pgbdLeftToRight);
  EXPECT_EQ(doc.DirectionOf(1), pgbdRightToLeft);
  EXPECT_EQ(doc.DirectionOf(2), pgbdLeftToRight);
}

TEST_F(DocumentTest, ItemActionsSeeInsertionAndMayChangeTheText) {
  std::vector<std::string> seen;
  settings.OnItemAction = [&](TCustomPGData&, TPGItemAction a, TCustomPGItemInfo*, std::string& text) {
    seen.push_back(std::to_string(a) + ":" + text);
    if (a == pgiaInserting) text += "!";
  };
  doc.AppendText("hi", 0, 0);
  EXPECT_EQ(doc.TextOf(0), "hi!");
  doc.RemoveItems(0, 5);
  EXPECT_EQ(seen, (std::vector<std::string>{"0:hi", "1:", "3:hi!"}));
}

// ---- checkpoints

TEST_F(DocumentTest, PendingCheckpointAttachesToTheNextItem) {
  EXPECT_EQ(doc.AppendCheckpoint("one", true), 0);
  EXPECT_EQ(doc.AppendCheckpoint("ignored", false), 0);  // one is already waiting
  doc.AppendText("a", 0, 0);
  ASSERT_NE(doc.CheckpointOf(0), nullptr);
  EXPECT_EQ(doc.CheckpointOf(0)->Name, "one");
  EXPECT_TRUE(doc.CheckpointOf(0)->RaiseEvent);
  EXPECT_EQ(doc.AppendCheckpoint("two", false), 1);
  EXPECT_EQ(doc.CheckpointCount(), 2);
  doc.AppendText("b", 0, 0);
  EXPECT_EQ(doc.FirstCheckpoint()->Name, "one");
  EXPECT_EQ(doc.LastCheckpoint()->Name, "two");
  EXPECT_EQ(doc.FirstCheckpoint()->Next, doc.LastCheckpoint());
  EXPECT_EQ(doc.CheckpointItemNo(doc.LastCheckpoint()), 1);
}

TEST_F(DocumentTest, AttachedCheckpointsJoinTheChainInItemOrder) {
  for (const char* t : {"a", "b", "c", "d"}) doc.AppendText(t, 0, 0);
  doc.AttachCheckpoint(2, {}, false, "c");
  doc.AttachCheckpoint(0, {}, false, "a");
  doc.AttachCheckpoint(3, {}, false, "d");
  std::vector<std::string> names;
  for (TPGCPInfo* cp = doc.FirstCheckpoint(); cp; cp = cp->Next) names.push_back(cp->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_EQ(doc.CheckpointBefore(3)->Name, "c");
  EXPECT_EQ(doc.CheckpointBefore(0), nullptr);
  EXPECT_THROW(doc.AttachCheckpoint(2, {}, false, "again"), EPagoraError);
  doc.UpdateCheckpoint(2, TPGTag::Int(4), true, "renamed");
  EXPECT_EQ(doc.CheckpointOf(2)->Name, "renamed");
  const auto d = doc.DescribeCheckpoint(doc.CheckpointOf(2));
  EXPECT_EQ(d.Tag, TPGTag::Int(4));
  EXPECT_TRUE(d.RaiseEvent);
  EXPECT_THROW((void)doc.DescribeCheckpoint(nullptr), EPagoraError);
  doc.RemoveItems(1, 2);
  EXPECT_EQ(doc.CheckpointCount(), 2);
  EXPECT_EQ(doc.CheckpointItemNo(doc.LastCheckpoint()), 1);
  EXPECT_EQ(doc.FirstCheckpoint()->Next, doc.LastCheckpoint());
}

TEST_F(DocumentTest, AnItemsOwnCheckpointBecomesPending) {
  doc.AppendCheckpoint("pending", false);
  auto item = CreateItem(0, &doc);
  item->Checkpoint = std::make_unique<TPGCPInfo>();
  item->Checkpoint->Name = "own";
  doc.AppendItem("x", std::move(item));
  EXPECT_EQ(doc.CheckpointCount(), 1);
  EXPECT_EQ(doc.CheckpointOf(0)->Name, "own");
}

// ---- moving, removing and clearing

TEST_F(DocumentTest, TakeItemsFromMovesEverythingAndContinuesParagraphs) {
  TCustomPGData other(&settings);
  other.AppendText("x", 0, 1);
  other.AppendText("y", 0, -1);
  other.AttachCheckpoint(1, {}, false, "y");
  other.AppendCheckpoint("after", false);
  doc.AppendText("a", 0, 0);
  doc.TakeItemsFrom(other);
  EXPECT_EQ(other.CountItems(), 0);
  EXPECT_EQ(other.CheckpointCount(), 0);
  EXPECT_EQ(Shape(), "P0 P1 C1");
  EXPECT_EQ(doc.CheckpointOf(2)->Name, "y");
  ASSERT_NE(doc.PendingCheckpoint(), nullptr);
  EXPECT_EQ(doc.PendingCheckpoint()->Name, "after");
  EXPECT_EQ(doc.CheckpointCount(), 2);
  doc.AppendText("z", 0, 0);
  EXPECT_EQ(doc.LastCheckpoint()->Name, "after");
}

TEST_F(DocumentTest, TakeItemsFromRefusesMixedTagKinds) {
  TPGDocumentSettings stringTags;
  stringTags.Style = &sheet;
  stringTags.Options.Include(pgoTagsArePChars);
  TCustomPGData other(&stringTags);
  other.AppendText("x", 0, 0);
  try {
    doc.TakeItemsFrom(other);
    ADD_FAILURE();
  } catch (const EPagoraError& e) {
    EXPECT_STREQ(e.what(), "Can't assign Pagora to Pagora - tags types mismatch");
  }
  EXPECT_EQ(other.CountItems(), 1);
  EXPECT_EQ(doc.CountItems(), 0);
}

TEST_F(DocumentTest, RemovingKeepsTheParagraphStructure) {
  doc.AppendText("a", 0, 1);
  doc.AppendText("b", 0, -1);
  doc.AppendText("c", 0, 0);
  doc.AppendText("d", 0, -1);
  doc.RemoveItems(0, 1);  // "b" now starts the document
  EXPECT_EQ(Shape(), "P1 P0 C0");
  doc.RemoveItems(1, 1);  // "d" continues the paragraph of "b"
  EXPECT_EQ(Shape(), "P1 C1");
  doc.RemoveItems(5, 1);  // nothing there
  doc.RemoveItems(1, 100);  // count clipped
  EXPECT_EQ(doc.CountItems(), 1);
}

TEST_F(DocumentTest, ControlsAreAnnouncedBeforeTheyGo) {
  std::vector<int> actions;
  settings.OnControlAction = [&](TCustomPGData&, TPGControlAction a, int itemNo, IEmbeddedControl* c) {
    EXPECT_NE(c, nullptr);
    actions.push_back(a * 100 + itemNo);
  };
  doc.AppendText("a", 0, 0);
  doc.AppendControl("c", std::make_unique<FakeControl>(5, 5), -1);
  doc.AppendCheckpoint("x", false);
  doc.Clear();
  EXPECT_EQ(actions, (std::vector<int>{pgcaDestroy * 100 + 1}));
  EXPECT_EQ(doc.CountItems(), 0);
  EXPECT_EQ(doc.CheckpointCount(), 0);
  EXPECT_EQ(doc.PendingCheckpoint(), nullptr);
}

// ---- joining

TEST_F(DocumentTest, JoiningNeighbours) {
  struct Case {
    const char* name;
    void (*build)(TCustomPGData&);
    bool ignoreBoundary;
    bool joinable;
  };
  const Case cases[] = {
      {"same style", [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendText("b", 0, -1); }, false, true},
      {"other style", [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendText("b", 1, -1); }, false, false},
      {"new paragraph", [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendText("b", 0, 0); }, false, false},
      {"boundary ignored", [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendText("b", 0, 0); }, true, true},
      {"different tags", [](TCustomPGData& d) { d.AppendText("a", 0, 0, TPGTag::Int(1)); d.AppendText("b", 0, -1); },
       false, false},
      {"equal tags",
       [](TCustomPGData& d) { d.AppendText("a", 0, 0, TPGTag::Int(1)); d.AppendText("b", 0, -1, TPGTag::Int(1)); },
       false, true},
      {"checkpoint on the second",
       [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendCheckpoint("x", false); d.AppendText("b", 0, -1); },
       false, false},
      {"checkpoint on an empty second",
       [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendCheckpoint("x", false); d.AppendText("", 0, -1); },
       false, false},
      {"empty first, other style", [](TCustomPGData& d) { d.AppendText("", 0, 0); d.AppendText8("b", 6, -1); }, false,
       true},
      {"empty second, other style", [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendText("", 6, -1); }, false,
       true},
      {"picture", [](TCustomPGData& d) { d.AppendText("a", 0, 0); d.AppendBreak(); }, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    doc.Clear();
    c.build(doc);
    EXPECT_EQ(doc.CanJoinItems(0, c.ignoreBoundary), c.joinable);
  }
}

TEST_F(DocumentTest, ModifyOrConcateProtectionPreventsJoining) {
  sheet.TextStyles[2].Protection.Include(pgprConcateProtect);
  doc.AppendText("a", 2, 0);
  doc.AppendText("b", 2, -1);
  EXPECT_FALSE(doc.CanJoinItems(0, false));
}

TEST_F(DocumentTest, JoinedTextIsAppended) {
  doc.AppendText("ab", 0, 0);
  doc.AppendText("cd", 0, -1);
  doc.AppendText("ef", 0, -1);
  doc.JoinItems(0);
  ASSERT_EQ(doc.CountItems(), 2);
  EXPECT_EQ(doc.TextOf(0), "abcd");
  EXPECT_EQ(Shape(), "P0 C0");
}

TEST_F(DocumentTest, AnEmptyFirstItemGivesWayToTheSecondWithItsStyleAndCheckpoint) {
  doc.AppendText("", 0, 1);
  doc.AppendCheckpoint("mark", false);
  doc.AppendTextUTF16(u"Жук", 6, -1);
  ASSERT_TRUE(doc.CanJoinItems(0, false));
  doc.JoinItems(0);
  ASSERT_EQ(doc.CountItems(), 1);
  EXPECT_EQ(doc.ItemAt(0).StyleNo, 6);
  EXPECT_TRUE(doc.ItemAt(0).HasFlag(pgifUnicode));
  EXPECT_EQ(doc.TextOfW(0), u"Жук");
  ASSERT_NE(doc.CheckpointOf(0), nullptr);
  EXPECT_EQ(doc.CheckpointOf(0)->Name, "mark");
  EXPECT_EQ(Shape(), "P1");
  EXPECT_EQ(doc.CheckpointCount(), 1);
}

TEST_F(DocumentTest, JoiningAcrossParagraphsMovesTheRestIntoTheFirst) {
  doc.AppendText("a", 0, 1);
  doc.AppendText("b", 0, 0);
  doc.AppendText("c", 0, -1);
  doc.JoinItems(0);
  EXPECT_EQ(Shape(), "P1 C1");
}

// ---- deleting unused styles

TEST_F(DocumentTest, PurgeKeepsReachableStylesAndRenumbersEverything) {
  // 6: Unicode (non-standard after this), 7: used, 8: unused, 9: reached by NextStyleNo.
  sheet.TextStyles[6].Standard = false;
  for (int i = 0; i < 3; ++i) {
    TFontInfo& f = sheet.TextStyles.Add();
    f.Standard = false;
    f.Size = 20 + i;
  }
  sheet.TextStyles[7].NextStyleNo = 9;
  sheet.TextStyles[9].BaseStyleNo = 8;  // reached from 9: kept too
  TParaInfo& p = sheet.ParaStyles.Add();  // 2: unused
  p.Standard = false;
  TParaInfo& q = sheet.ParaStyles.Add();  // 3: used
  q.Standard = false;
  q.DefStyleNo = 9;
  sheet.DefUnicodeStyle = 6;

  doc.AppendText("x", 7, 3);
  doc.AppendText("y", kDefaultTextStyleOfPara, 3);
  doc.AppendText("z", 99, 0);  // a missing style stays as it is
  doc.PurgeStyles(true, true, true);

  EXPECT_EQ(sheet.TextStyles.Count(), 10);  // all reachable
  ASSERT_EQ(sheet.ParaStyles.Count(), 3);
  EXPECT_EQ(doc.ItemAt(0).ParaNo, 2);
  EXPECT_EQ(doc.ItemAt(1).StyleNo, kDefaultTextStyleOfPara);
  EXPECT_EQ(doc.ItemAt(2).StyleNo, 99);
  EXPECT_EQ(sheet.ParaStyles[2].DefStyleNo, 9);

  // Without the base reference style 8 goes, and 6 too once it is not the Unicode default:
  // everything after them moves down.
  sheet.TextStyles[9].BaseStyleNo = -1;
  sheet.DefUnicodeStyle = 9;
  doc.PurgeStyles(true, false, false);
  ASSERT_EQ(sheet.TextStyles.Count(), 8);
  EXPECT_EQ(sheet.TextStyles[7].Size, 22);
  EXPECT_EQ(sheet.TextStyles[6].NextStyleNo, 7);
  EXPECT_EQ(sheet.ParaStyles[2].DefStyleNo, 7);
  EXPECT_EQ(sheet.DefUnicodeStyle, 7);
  EXPECT_EQ(doc.ItemAt(0).StyleNo, 6);
  EXPECT_EQ(doc.ItemAt(2).StyleNo, 99);
}

TEST_F(DocumentTest, PurgeDropsUnusedListStylesAndResetsBrokenReferences) {
  TPGListInfo& l = sheet.ListStyles.Add();
  l.Standard = false;
  sheet.ParaStyles[0].NextParaNo = 40;
  sheet.DefUnicodeStyle = 77;
  doc.AppendText("x", 0, 0);
  doc.PurgeStyles(true, true, true);
  EXPECT_EQ(sheet.ListStyles.Count(), 0);
  EXPECT_EQ(sheet.ParaStyles[0].NextParaNo, -1);
  EXPECT_EQ(sheet.DefUnicodeStyle, -1);
}

TEST_F(DocumentTest, WordDelimiters) {
  EXPECT_TRUE(doc.IsWordDelimiter(' '));
  EXPECT_TRUE(doc.IsWordDelimiter('\\'));
  EXPECT_FALSE(doc.IsWordDelimiter('a'));
  EXPECT_TRUE(doc.IsWordDelimiterW(u'('));
  EXPECT_FALSE(doc.IsWordDelimiterW(u'\u2028'));
  EXPECT_FALSE(doc.IsWordDelimiterW(0x012C));  // its low byte is ','; only 8-bit characters count
}

TEST(DocumentWithoutOwner, GivesNeutralAnswers) {
  TCustomPGData doc;
  EXPECT_EQ(doc.GetStyle(), nullptr);
  EXPECT_TRUE(doc.GetOptions().Empty());
  doc.AppendText("a\tb", 0, 0);
  EXPECT_EQ(doc.TextOf(0), "a        b");
  EXPECT_EQ(doc.EffectiveStyleOf(0), 0);
  EXPECT_EQ(doc.TextOfW(0), u"a        b");
}

}  // namespace
}  // namespace pagora
