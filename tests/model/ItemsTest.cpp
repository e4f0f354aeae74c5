#include <gtest/gtest.h>

#include "support/FakeGraphics.h"
#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/ControlItem.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "platform/PagoraError.h"

namespace pagora {
namespace {

using test::FakeControl;
using test::FakeGraphic;
using test::FakeImageList;

class TableLikeItem : public TPGFullLineItemInfo {
public:
  using TPGFullLineItemInfo::TPGFullLineItemInfo;
  std::unique_ptr<TCustomPGItemInfo> CreateEmpty(TCustomPGData* c) const override {
    return std::make_unique<TableLikeItem>(c);
  }
};
class OtherItem : public TableLikeItem {
public:
  using TableLikeItem::TableLikeItem;
};

TEST(CreateItem, BuiltInTypesAndTheRegistry) {
  struct Case {
    int styleNo;
    bool created;
  };
  const Case cases[] = {{0, true}, {7, true}, {2147483647, true}, {-1, true}, {-2, false}, {-3, true}, {-4, true},
                        {-5, true}, {-6, true}, {-7, false}, {-8, false}, {-9, false}, {-10, true}, {-77, false}};
  for (const Case& c : cases) {
    auto item = CreateItem(c.styleNo, nullptr);
    EXPECT_EQ(item != nullptr, c.created) << c.styleNo;
    if (item) {
      EXPECT_EQ(item->StyleNo, c.styleNo);
    }
  }
  EXPECT_NE(dynamic_cast<TPGTextItemInfo*>(CreateItem(0, nullptr).get()), nullptr);
  EXPECT_NE(dynamic_cast<TPGHotspotItemInfo*>(CreateItem(-4, nullptr).get()), nullptr);
  EXPECT_NE(dynamic_cast<TPGHotGraphicItemInfo*>(CreateItem(-10, nullptr).get()), nullptr);

  EXPECT_EQ(CreateItem(-61, nullptr), nullptr);
  RegisterItemType<TableLikeItem>(-61);
  RegisterItemType<TableLikeItem>(-61);  // the same pair again is fine
  auto item = CreateItem(-61, nullptr);
  ASSERT_NE(dynamic_cast<TableLikeItem*>(item.get()), nullptr);
  EXPECT_EQ(item->StyleNo, -61);
  EXPECT_THROW(RegisterItemType<OtherItem>(-61), EPagoraError);
  EXPECT_THROW(RegisterItemType<OtherItem>(-9), EPagoraError);
  try {
    RegisterItemType<OtherItem>(-3);
  } catch (const EPagoraError& e) {
    EXPECT_STREQ(e.what(), "Can't register Pagora item type - this StyleNo is already registered");
  }
}

TEST(ItemFlags, TheThreePlacementFlagsExcludeOneAnother) {
  TPGTextItemInfo text;
  text.SetFlag(pgifLineBreakBefore, true);
  text.SetFlag(pgifContinuesPara, true);
  EXPECT_EQ(text.Flags(), TPGItemFlags{pgifContinuesPara});
  text.SetFlag(pgifPageBreakBefore, true);
  EXPECT_EQ(text.Flags(), TPGItemFlags{pgifPageBreakBefore});
  text.SetFlag(pgifLineBreakBefore, true);
  EXPECT_EQ(text.Flags(), TPGItemFlags{pgifLineBreakBefore});
  text.SetFlag(pgifUnicode, true);
  EXPECT_TRUE(text.HasFlag(pgifLineBreakBefore));

  TPGBreakItemInfo line;
  line.SetFlag(pgifLineBreakBefore, true);  // refused for full-width items
  EXPECT_FALSE(line.HasFlag(pgifLineBreakBefore));
  TPGGraphicItemInfo picture;
  picture.SetFlag(pgifContinuesPara, true);
  picture.SetFlag(pgifLineBreakBefore, true);
  EXPECT_EQ(picture.Flags(), TPGItemFlags{pgifLineBreakBefore});
}

TEST(ItemProperties, ByNumberAndKeyword) {
  TPGGraphicItemInfo picture;
  picture.Image = std::make_unique<FakeGraphic>(40, 30);
  EXPECT_TRUE(picture.SetIntProp(pgipSpacing, -5));
  EXPECT_EQ(picture.Spacing(), 0);
  EXPECT_TRUE(picture.SetIntProp(*IntPropFromKeyword("width"), 80));
  EXPECT_EQ(picture.ShownWidth, 80);
  EXPECT_TRUE(picture.SetIntProp(pgipTransparent, 1));
  EXPECT_TRUE(picture.Image->Transparent());
  EXPECT_TRUE(picture.SetStrProp(pgspAlt, "a cat"));
  EXPECT_EQ(picture.Alt, "a cat");
  EXPECT_FALSE(picture.SetIntProp(pgipResizable, 1));

  TPGGraphicItemInfo jpeg;
  jpeg.Image = std::make_unique<FakeGraphic>(4, 3, "TJPEGImage");
  int v = 0;
  EXPECT_FALSE(jpeg.SetIntProp(pgipTransparent, 1));  // transparency is for bitmaps only
  EXPECT_FALSE(jpeg.GetIntProp(pgipTransparentColor, v));

  TPGTextItemInfo text;
  EXPECT_FALSE(text.SetIntProp(pgipUnremovable, 1));
  EXPECT_TRUE(text.SetStrProp(pgspHint, "tip\r\nnext"));
  EXPECT_EQ(text.Hint(), "tip  next");  // a hint stays on one line
  EXPECT_FALSE(text.SetStrProp(pgspAlt, "x"));
  TPGBreakItemInfo line;
  EXPECT_TRUE(line.SetIntProp(pgipUnremovable, 1));
  EXPECT_TRUE(line.Unremovable);
  EXPECT_FALSE(line.SetIntProp(pgipSpacing, 3));

  struct Kw {
    const char* word;
    int number;
  };
  const Kw ints[] = {{"vshift", 1}, {"vshiftabs", 2}, {"width", 3}, {"height", 4}, {"transparent", 5}, {"tmode", 6},
                     {"tcolor", 7}, {"minheightonpage", 8}, {"spacing", 9}, {"resizable", 10}, {"unremovable", 11},
                     {"nohtmlsize", 12}};
  for (const Kw& k : ints) {
    EXPECT_EQ(static_cast<int>(*IntPropFromKeyword(k.word)), k.number);
    EXPECT_EQ(IntPropKeyword(static_cast<TPGItemIntProp>(k.number)), k.word);
  }
  EXPECT_FALSE(IntPropFromKeyword("Width").has_value());
  EXPECT_EQ(static_cast<int>(*StrPropFromKeyword("filename")), 3);
}

TEST(ItemSizes, SpacingFramesEveryInlineObject) {
  TPGGraphicItemInfo picture;
  picture.Image = std::make_unique<FakeGraphic>(40, 30);
  picture.SetSpacing(3);
  EXPECT_EQ(picture.BoxWidth(), 46);
  EXPECT_EQ(picture.BoxHeight(), 36);
  EXPECT_EQ(picture.GetMinWidth(nullptr, nullptr, nullptr), 46);
  picture.ShownWidth = 100;
  EXPECT_EQ(picture.BoxWidth(), 106);
  const TPGDeviceScale printer{96, 96, 600, 600, 0};
  EXPECT_EQ(picture.GetMinWidth(&printer, nullptr, nullptr), 663);

  FakeImageList images(16, 12, 3);
  TPGBulletItemInfo bullet;
  bullet.ImageList = &images;
  EXPECT_EQ(bullet.BoxWidth(), 18);
  EXPECT_EQ(bullet.BoxHeight(), 14);
  EXPECT_EQ(bullet.BoxDescent(), 1);

  TPGControlItemInfo control;
  control.Control = std::make_unique<FakeControl>(80, 20);
  EXPECT_EQ(control.BoxWidth(), 82);
  EXPECT_EQ(control.GetMinWidth(nullptr, nullptr, nullptr), 82);
  control.WidthPercent = 50;
  EXPECT_EQ(control.GetMinWidth(nullptr, nullptr, nullptr), 20);
  const TPGFitResult fit = control.FitToWidth(400, nullptr, nullptr, nullptr);
  EXPECT_EQ(control.Control->Width(), 198);
  EXPECT_EQ(fit.Descent, 1);

  TPGTextItemInfo text;
  EXPECT_EQ(text.GetMinWidth(nullptr, nullptr, nullptr), 20);
  EXPECT_EQ(text.GetMinWidth(&printer, nullptr, nullptr), 125);
}

TEST(ItemTraits, WhatEachClassAnswers) {
  FakeImageList images(16, 16, 2);
  TPGStyle sheet;
  TPGTextItemInfo text;
  TPGTextItemInfo link;
  link.StyleNo = 4;
  TPGBreakItemInfo line;
  TPGGraphicItemInfo picture;
  TPGGraphicItemInfo metafile;
  metafile.Image = std::make_unique<FakeGraphic>(10, 10, "TMetafile");
  TPGGraphicItemInfo icon;
  icon.Image = std::make_unique<FakeGraphic>(10, 10, "TIcon");
  TPGHotGraphicItemInfo hotPicture;
  TPGHotspotItemInfo hotspot;
  TPGControlItemInfo control;

  EXPECT_TRUE(line.QueryTrait(pgitFullWidth));
  EXPECT_FALSE(picture.QueryTrait(pgitFullWidth));
  EXPECT_FALSE(line.QueryTrait(pgitReadsPGFLines));
  EXPECT_TRUE(text.QueryTrait(pgitReadsPGFLines));
  EXPECT_TRUE(text.QueryTrait(static_cast<TPGItemTrait>(20)));  // unknown questions: yes
  EXPECT_FALSE(picture.QueryTrait(pgitValid));  // no image
  EXPECT_TRUE(metafile.QueryTrait(pgitValid));
  EXPECT_FALSE(hotspot.QueryTrait(pgitValid));
  hotspot.ImageList = &images;
  EXPECT_TRUE(hotspot.QueryTrait(pgitValid));
  EXPECT_FALSE(control.QueryTrait(pgitValid));
  EXPECT_TRUE(control.QueryTrait(pgitTabNavigable));
  EXPECT_FALSE(control.QueryTrait(pgitResizable));
  control.Resizable = true;
  EXPECT_TRUE(control.QueryTrait(pgitResizable));
  control.WidthPercent = 20;
  EXPECT_FALSE(control.QueryTrait(pgitResizable));
  EXPECT_TRUE(metafile.QueryTrait(pgitResizable));
  EXPECT_FALSE(icon.QueryTrait(pgitResizable));
  EXPECT_TRUE(picture.QueryTrait(pgitChangesCanvasFont));
  EXPECT_FALSE(text.QueryTrait(pgitChoosable));
  EXPECT_TRUE(hotspot.QueryTrait(pgitChoosable));

  EXPECT_TRUE(text.QueryStyledTrait(pgstPrintViaBitmap, &sheet));
  EXPECT_FALSE(line.QueryStyledTrait(pgstPrintViaBitmap, &sheet));
  EXPECT_FALSE(metafile.QueryStyledTrait(pgstPrintViaBitmap, &sheet));
  EXPECT_TRUE(icon.QueryStyledTrait(pgstPrintViaBitmap, &sheet));
  EXPECT_FALSE(text.QueryStyledTrait(pgstJump, &sheet));
  EXPECT_TRUE(link.QueryStyledTrait(pgstJump, &sheet));
  EXPECT_TRUE(link.QueryStyledTrait(pgstShowsJumpCursor, &sheet));
  EXPECT_TRUE(hotPicture.QueryStyledTrait(pgstJump, &sheet));
  EXPECT_FALSE(picture.QueryStyledTrait(pgstJump, &sheet));
  EXPECT_TRUE(hotspot.QueryStyledTrait(pgstFocusable, &sheet));
  EXPECT_FALSE(control.QueryStyledTrait(pgstFocusable, &sheet));
  control.Control = std::make_unique<FakeControl>(10, 10, true);
  EXPECT_TRUE(control.QueryStyledTrait(pgstFocusable, &sheet));
  EXPECT_FALSE(control.QueryStyledTrait(pgstShowsJumpCursor, &sheet));

  // A paragraph whose default text style is a link makes default-styled text a link.
  TPGTextItemInfo byDefault;
  byDefault.StyleNo = kDefaultTextStyleOfPara;
  byDefault.ParaNo = 1;
  EXPECT_FALSE(byDefault.QueryStyledTrait(pgstJump, &sheet));
  sheet.ParaStyles[1].DefStyleNo = 5;
  EXPECT_TRUE(byDefault.QueryStyledTrait(pgstJump, &sheet));
}

TEST(ItemTraits, HoverSensitivity) {
  TPGStyle sheet;
  TPGHotspotItemInfo hotspot;
  hotspot.ImageIndex = hotspot.HoverImageIndex = 2;
  EXPECT_FALSE(hotspot.QueryStyledTrait(pgstHoverSensitive, &sheet));
  hotspot.HoverImageIndex = 3;
  EXPECT_TRUE(hotspot.QueryStyledTrait(pgstHoverSensitive, &sheet));
  EXPECT_EQ(hotspot.ImageIndexFor(true), 3);
  EXPECT_EQ(hotspot.ImageIndexFor(false), 2);

  TPGTextItemInfo link;
  link.StyleNo = 4;
  EXPECT_FALSE(link.QueryStyledTrait(pgstHoverSensitive, &sheet));
  sheet.TextStyles[4].HoverColor = clRed;
  EXPECT_TRUE(link.QueryStyledTrait(pgstHoverSensitive, &sheet));
  TPGTextItemInfo plain;
  sheet.TextStyles[0].HoverColor = clRed;  // not a link: never hover sensitive
  EXPECT_FALSE(plain.QueryStyledTrait(pgstHoverSensitive, &sheet));
}

TEST(CopyItem, CopiesPropertiesTagAndCheckpointIndependently) {
  TPGGraphicItemInfo picture;
  picture.StyleNo = pgsPicture;
  picture.ParaNo = 3;
  picture.SetHint("hint");
  picture.Image = std::make_unique<FakeGraphic>(5, 6);
  picture.ShownHeight = 12;
  picture.SetSpacing(4);
  picture.Tag = TPGTag::Str("http://example.com/");
  picture.Checkpoint = std::make_unique<TPGCPInfo>();
  picture.Checkpoint->Name = "here";
  picture.Checkpoint->Persistent = true;

  auto copy = CopyItem(picture, nullptr, true);
  auto* p = dynamic_cast<TPGGraphicItemInfo*>(copy.get());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->ParaNo, 3);
  EXPECT_EQ(p->Hint(), "hint");
  EXPECT_EQ(p->ShownHeight, 12);
  EXPECT_EQ(p->Spacing(), 4);
  ASSERT_NE(p->Image, nullptr);
  EXPECT_NE(p->Image.get(), picture.Image.get());
  EXPECT_EQ(p->Tag.AsString(), "http://example.com/");
  ASSERT_NE(p->Checkpoint, nullptr);
  EXPECT_EQ(p->Checkpoint->Name, "here");
  EXPECT_TRUE(p->Checkpoint->Persistent);
  EXPECT_EQ(p->Checkpoint->Item, p);

  copy.reset();  // freeing the copy leaves the original's tag intact
  EXPECT_EQ(picture.Tag.AsString(), "http://example.com/");
  EXPECT_EQ(CopyItem(picture, nullptr, false)->Checkpoint, nullptr);

  FakeImageList images(8, 8, 1);
  TPGHotspotItemInfo hotspot;
  hotspot.ImageList = &images;
  hotspot.HoverImageIndex = 7;
  auto hc = CopyItem(hotspot, nullptr, false);
  auto* h = dynamic_cast<TPGHotspotItemInfo*>(hc.get());
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->ImageList, &images);  // image lists are shared
  EXPECT_EQ(h->HoverImageIndex, 7);
}

TEST(Tags, KindsAndEquality) {
  EXPECT_EQ(TPGTag(), TPGTag::Int(0));
  EXPECT_EQ(TPGTag(), TPGTag::Str(""));
  EXPECT_EQ(TPGTag::Int(5), TPGTag::Int(5));
  EXPECT_FALSE(TPGTag::Int(5) == TPGTag::Int(6));
  EXPECT_EQ(TPGTag::Str("a"), TPGTag::Str("a"));
  EXPECT_FALSE(TPGTag::Str("a") == TPGTag::Str("b"));
  EXPECT_FALSE(TPGTag::Str("5") == TPGTag::Int(5));
  TPGTag s = TPGTag::Str("x");
  TPGTag copy = s;
  EXPECT_NE(copy.AsString().data(), s.AsString().data());
  EXPECT_EQ(TPGTag::Str("x").AsInt(), 0);
}

TEST(ItemText, BreaksExportAsALineOfDashesOrEquals) {
  TPGBreakItemInfo thin;
  EXPECT_EQ(thin.AsText(5, nullptr, "", "", false, false), "-----");
  EXPECT_EQ(thin.AsText(0, nullptr, "", "", false, false), "-");
  TPGBreakItemInfo thick;
  thick.Width = 2;
  EXPECT_EQ(thick.AsText(5, nullptr, "", "", false, false), "=====");
  TPGGraphicItemInfo picture;
  EXPECT_EQ(picture.AsText(5, nullptr, "", "", false, false), "");
}

}  // namespace
}  // namespace pagora
