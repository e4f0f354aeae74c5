#include <gtest/gtest.h>

#include "model/PGStyle.h"
#include "model/StyleMerge.h"

namespace pagora {
namespace {

class MergeTest : public testing::Test {
protected:
  TPGStyle dest;
  TPGStyle source;
  TPGStyleMap map;
};

TEST_F(MergeTest, MergeReusesEqualStylesAndAppendsTheRest) {
  source.TextStyles.Clear();
  TFontInfo& a = source.TextStyles.Add();
  a.Assign(dest.TextStyles[3]);  // equal to dest 3, at another number
  TFontInfo& b = source.TextStyles.Add();
  b.FontName = "Courier New";
  MergeStyleCollection(dest.TextStyles, source.TextStyles, TPGMergeMode::Merge, map);
  ASSERT_EQ(map, (TPGStyleMap{3, 6}));
  ASSERT_EQ(dest.TextStyles.Count(), 7);
  EXPECT_EQ(dest.TextStyles[6].FontName, "Courier New");
  EXPECT_FALSE(dest.TextStyles[6].Standard);
  EXPECT_TRUE(dest.TextStyles[3].Standard);
}

TEST_F(MergeTest, MergeTriesTheSameNumberFirst) {
  dest.TextStyles.Add().Assign(dest.TextStyles[1]);  // 6 equals 1
  source.TextStyles.Assign(dest.TextStyles);
  MergeStyleCollection(dest.TextStyles, source.TextStyles, TPGMergeMode::Merge, map);
  EXPECT_EQ(map, (TPGStyleMap{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(MergeTest, AppendedStylesGetTheirReferencesTranslated) {
  source.TextStyles.Clear();
  TFontInfo& s0 = source.TextStyles.Add();
  s0.FontName = "A";
  s0.NextStyleNo = 1;
  TFontInfo& s1 = source.TextStyles.Add();
  s1.FontName = "B";
  s1.BaseStyleNo = 0;
  MergeStyleCollection(dest.TextStyles, source.TextStyles, TPGMergeMode::Merge, map);
  ASSERT_EQ(map, (TPGStyleMap{6, 7}));
  EXPECT_EQ(dest.TextStyles[6].NextStyleNo, 7);
  EXPECT_EQ(dest.TextStyles[7].BaseStyleNo, 6);
}

TEST_F(MergeTest, ParagraphDefaultTextStyleFollowsTheTextStyleMap) {
  source.ParaStyles.Clear();
  TParaInfo& p = source.ParaStyles.Add();
  p.LeftIndent = 40;
  p.DefStyleNo = 2;
  const TPGStyleMap textMap{0, 1, 9};
  MergeStyleCollection(dest.ParaStyles, source.ParaStyles, TPGMergeMode::Merge, map, &textMap);
  ASSERT_EQ(map, (TPGStyleMap{2}));
  EXPECT_EQ(dest.ParaStyles[2].DefStyleNo, 9);
}

TEST_F(MergeTest, MappedReferencesMustAgree) {
  // Source style 1 continues with style 0; dest 1 equal but continuing with 5.
  dest.TextStyles[1].NextStyleNo = 5;
  source.TextStyles.Clear();
  source.TextStyles.Add().Assign(dest.TextStyles[0]);
  TFontInfo& s1 = source.TextStyles.Add();
  s1.Assign(dest.TextStyles[1]);
  s1.NextStyleNo = 0;
  MergeStyleCollection(dest.TextStyles, source.TextStyles, TPGMergeMode::Merge, map);
  ASSERT_EQ(map.size(), 2u);
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[1], 6);  // 0 maps to 0, but dest 1 continues with 5
}

TEST_F(MergeTest, ClosestAppendsNothingAndPrefersLinksForLinks) {
  source.TextStyles.Clear();
  TFontInfo& link = source.TextStyles.Add();
  link.Jump = true;
  link.Color = clRed;
  TFontInfo& bold = source.TextStyles.Add();
  bold.Style.Include(fsBold);
  bold.Color = 0xFE0000;
  MergeStyleCollection(dest.TextStyles, source.TextStyles, TPGMergeMode::Closest, map);
  EXPECT_EQ(dest.TextStyles.Count(), 6);
  ASSERT_EQ(map.size(), 2u);
  EXPECT_EQ(map[0], 4);  // the first link style
  EXPECT_EQ(map[1], 1);  // bold and almost blue: "Heading"
}

TEST_F(MergeTest, ClosestIntoAnEmptyCollectionGivesMinusOne) {
  dest.TextStyles.Clear();
  MergeStyleCollection(dest.TextStyles, source.TextStyles, TPGMergeMode::Closest, map);
  EXPECT_EQ(map, TPGStyleMap(6, -1));
}

TEST_F(MergeTest, AppendAppendsEverything) {
  MergeStyleCollection(dest.ParaStyles, source.ParaStyles, TPGMergeMode::Append, map);
  EXPECT_EQ(map, (TPGStyleMap{2, 3}));
  EXPECT_EQ(dest.ParaStyles.Count(), 4);
  EXPECT_FALSE(dest.ParaStyles[3].Standard);
  EXPECT_EQ(dest.ParaStyles[3].Alignment, pgaCenter);
}

TEST_F(MergeTest, NumberedListsStayDistinct) {
  TPGListInfo& l = source.ListStyles.Add();
  l.AddLevel().ListType = pglstDecimal;
  TPGListInfo& copy = source.ListStyles.Add();
  copy.Assign(l);
  copy.SetListID(l.ListID());  // the same list twice
  MergeStyleCollection(dest.ListStyles, source.ListStyles, TPGMergeMode::Merge, map);
  ASSERT_EQ(map.size(), 2u);
  EXPECT_NE(map[0], map[1]);
  EXPECT_EQ(dest.ListStyles.Count(), 2);
}

TEST_F(MergeTest, TheSameListIsReusedOnTheNextMergeAndACopyIsNot) {
  TPGListInfo& l = source.ListStyles.Add();
  l.AddLevel().ListType = pglstBullet;
  MergeStyleCollection(dest.ListStyles, source.ListStyles, TPGMergeMode::Merge, map);
  ASSERT_EQ(map, (TPGStyleMap{0}));
  EXPECT_EQ(dest.ListStyles[0].ListID(), l.ListID());
  MergeStyleCollection(dest.ListStyles, source.ListStyles, TPGMergeMode::Merge, map);
  EXPECT_EQ(map, (TPGStyleMap{0}));
  TPGStyle other;
  other.ListStyles.Add().Assign(l);  // a copy draws its own identifier
  MergeStyleCollection(dest.ListStyles, other.ListStyles, TPGMergeMode::Merge, map);
  EXPECT_EQ(map, (TPGStyleMap{1}));
}

}  // namespace
}  // namespace pagora
