#include <gtest/gtest.h>

#include "model/PGStyle.h"
#include "support/FakeGraphics.h"

namespace pagora {
namespace {

using test::FakeGraphic;

TEST(ListLevels, Defaults) {
  TPGListLevel level;
  EXPECT_EQ(level.ListType, pglstBullet);
  EXPECT_EQ(level.FormatString, "\xB7");
  EXPECT_EQ(level.FirstIndent, 10);
  EXPECT_EQ(level.StartFrom, 1);
  EXPECT_EQ(level.Options, (TPGListLevelOptions{pgloContinuous, pgloLevelReset}));
  EXPECT_FALSE(level.HasFont());
  EXPECT_FALSE(level.HasPicture());
  EXPECT_EQ(level.Font().Name, "Arial");  // created on first use
  EXPECT_EQ(level.Font().Size, 8);
  EXPECT_TRUE(level.HasFont());
  EXPECT_TRUE(level.HasDefaultFont());
  EXPECT_EQ(TPGListInfo().StyleName, "List Style");
}

TEST(ListLevels, Equality) {
  TPGListLevel a, b;
  EXPECT_TRUE(a.IsEqual(b));
  (void)b.Font();  // a default font equals no font
  EXPECT_TRUE(a.IsEqual(b));
  b.Font().Name = "ARIAL";
  EXPECT_TRUE(a.IsEqual(b));
  b.Font().Size = 9;
  EXPECT_FALSE(a.IsEqual(b));
  a.Font().Size = 9;
  a.Font().Name = "arial";
  EXPECT_TRUE(a.IsEqual(b));

  FakeGraphic picture(8, 8);
  a.SetPicture(&picture);
  EXPECT_FALSE(a.IsEqual(b));
  EXPECT_TRUE(a.Picture()->Transparent());
  b.SetPicture(&picture);
  EXPECT_TRUE(a.IsEqual(b));
  FakeGraphic other(8, 8);
  other.LoadFromBytes("different");
  b.SetPicture(&other);
  EXPECT_FALSE(a.IsEqual(b));
  FakeGraphic empty(0, 0);
  b.SetPicture(&empty);  // an empty picture clears it
  EXPECT_FALSE(b.HasPicture());

  TPGListLevel c, d;
  d.FormatStringW = u"\u2022";
  EXPECT_FALSE(c.IsEqual(d));
  TPGListLevel copy = d;
  EXPECT_TRUE(copy.IsEqual(d));
}

TEST(ListStyles, NumberedQueries) {
  TPGListInfo list;
  EXPECT_FALSE(list.HasNumberedLevel());
  EXPECT_TRUE(list.AllLevelsNumbered());
  list.AddLevel().ListType = pglstImageListCounter;
  EXPECT_TRUE(list.HasNumberedLevel());
  EXPECT_FALSE(list.HasNumberTextLevel());
  list.AddLevel().ListType = pglstLowerRoman;
  EXPECT_TRUE(list.HasNumberTextLevel());
  EXPECT_TRUE(list.AllLevelsNumbered());
  list.AddLevel();
  EXPECT_FALSE(list.AllLevelsNumbered());
}

TEST(ListStyles, IdentifiersAreDrawnOnceAndNotCopied) {
  TPGListInfo a;
  EXPECT_FALSE(a.HasListID());
  const std::int32_t id = a.ListID();
  EXPECT_GE(id, 1);
  EXPECT_LE(id, 2147483646);
  EXPECT_EQ(a.ListID(), id);
  TPGListInfo b;
  b.Assign(a);
  EXPECT_NE(b.ListID(), id);
  EXPECT_TRUE(b.EqualsStyleEx(a, true));
  EXPECT_FALSE(b.EqualsStyle(a, false));
}

TEST(ListStyles, FindOrAdd) {
  TPGStyle sheet;
  TPGListInfo templ;
  templ.AddLevel().ListType = pglstDecimal;
  EXPECT_EQ(sheet.ListStyles.FindOrAddList(templ, false), -1);
  EXPECT_EQ(sheet.ListStyles.FindOrAddList(templ, true), 0);
  EXPECT_FALSE(sheet.ListStyles[0].Standard);
  EXPECT_NE(sheet.ListStyles[0].ListID(), templ.ListID());
  EXPECT_EQ(sheet.ListStyles.FindOrAddList(templ, true), 0);  // the identifier is ignored

  std::vector<TPGListLevel> levels(2);
  levels[1].ListType = pglstUpperAlpha;
  EXPECT_EQ(sheet.ListStyles.FindOrAddListByLevels(levels, "Outline", false), -1);
  EXPECT_EQ(sheet.ListStyles.FindOrAddListByLevels(levels, "Outline", true), 1);
  const TPGListInfo& added = sheet.ListStyles[1];
  EXPECT_EQ(added.StyleName, "Outline");
  EXPECT_TRUE(added.OneLevelPreview);
  EXPECT_FALSE(added.Standard);
  EXPECT_EQ(sheet.ListStyles.FindOrAddListByLevels(levels, "Again", true), 1);
}

TEST(ListStyles, LikenessPrefersTheSameLevels) {
  TPGListInfo a;
  a.AddLevel().ListType = pglstDecimal;
  a.AddLevel().ListType = pglstLowerAlpha;
  TPGListInfo sameLevels;
  sameLevels.Assign(a);
  TPGListInfo shorter;
  shorter.AddLevel().ListType = pglstDecimal;
  TPGListInfo bullets;
  bullets.AddLevel();
  bullets.AddLevel();
  EXPECT_GT(a.Likeness(sameLevels), a.Likeness(shorter));
  EXPECT_GT(a.Likeness(shorter), a.Likeness(bullets));
  // Same identifier: +50
  TPGListInfo sameId;
  sameId.Assign(a);
  sameId.SetListID(a.ListID());
  EXPECT_EQ(a.Likeness(sameId) - a.Likeness(sameLevels), 50);
}

TEST(ListStyles, ForgettingAnImageList) {
  TPGStyle sheet;
  test::FakeImageList images(8, 8, 2);
  TPGListInfo& l = sheet.ListStyles.Add();
  l.AddLevel().ImageList = &images;
  sheet.ForgetImageList(&images);
  EXPECT_EQ(l.Levels[0].ImageList, nullptr);
}

}  // namespace
}  // namespace pagora
