#include <gtest/gtest.h>

#include <array>

#include "platform/Colors.h"

namespace pagora {
namespace {

// Tests that change the process-wide table put it back afterwards.
class SystemColorTable : public testing::Test {
protected:
  void SetUp() override {
    for (unsigned i = 0; i < saved_.size(); ++i) saved_[i] = SystemColors().Get(i);
  }
  void TearDown() override {
    for (unsigned i = 0; i < saved_.size(); ++i) SystemColors().Set(i, saved_[i]);
  }

private:
  std::array<TColor, TSystemColorTable::Count> saved_{};
};

TEST(ColorToRGB, ResolvesTheNamedSystemColoursThroughTheTable) {
  const struct {
    TColor color;
    TColor rgb;
  } cases[] = {
      {clWindow, 0xFFFFFF},   {clWindowText, 0x000000}, {clHighlight, 0xFF9933},
      {clHighlightText, 0xFFFFFF}, {clBtnFace, 0xF0F0F0}, {clBtnShadow, 0xA0A0A0},
      {clBtnHighlight, 0xFFFFFF},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << t.color);
    EXPECT_EQ(ColorToRGB(t.color), t.rgb);
  }
}

TEST(ColorToRGB, LeavesOtherValuesAlone) {
  const TColor cases[] = {clNone, clBlack, clWhite, clBlue, 0x123456, 0x00FFFFFF, 0x7F000005, 0x1F000005};
  for (TColor c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c);
    EXPECT_FALSE(IsSystemColor(c));
    EXPECT_EQ(ColorToRGB(c), c);
  }
}

TEST_F(SystemColorTable, SetChangesWhatSystemColoursResolveTo) {
  SystemColors().Set(5, 0x203040);
  EXPECT_EQ(SystemColors().Get(5), 0x203040u);
  EXPECT_EQ(ColorToRGB(clWindow), 0x203040u);
  EXPECT_EQ(ColorToRGB(clWindowText), 0x000000u);  // the others stay

  SystemColors().Set(8, 0xAB112233);  // only the RGB part is kept
  EXPECT_EQ(ColorToRGB(clWindowText), 0x112233u);
}

TEST_F(SystemColorTable, IndexesOutsideTheTableAreHarmless) {
  SystemColors().Set(TSystemColorTable::Count, 0x123456);
  SystemColors().Set(1000, 0x123456);
  EXPECT_EQ(SystemColors().Get(TSystemColorTable::Count), 0u);
  EXPECT_EQ(ColorToRGB(0xFF0000FF), 0u);
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
}

TEST(RGB, PacksRedLowest) {
  const TColor c = RGB(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x563412u);
  EXPECT_EQ(GetRValue(c), 0x12u);
  EXPECT_EQ(GetGValue(c), 0x34u);
  EXPECT_EQ(GetBValue(c), 0x56u);
  EXPECT_EQ(RGB(0x1FF, 0, 0), 0xFFu);
  EXPECT_EQ(RGB(255, 0, 0), clRed);
}

}  // namespace
}  // namespace pagora
