#include <gtest/gtest.h>

#include <QColor>
#include <QPalette>

#include <array>

#include "platform/Colors.h"
#include "qt/QtSystemColors.h"

namespace pagora {
namespace {

TEST(QtColors, DocumentColoursAreBlueGreenRed) {
  EXPECT_EQ(ToQColor(0x00332211), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(ToQColor(clRed), QColor(Qt::red));
  EXPECT_EQ(FromQColor(QColor(0x11, 0x22, 0x33)), 0x00332211u);
  EXPECT_EQ(FromQColor(QColor(0x11, 0x22, 0x33, 0x80)), 0x00332211u);  // alpha is dropped
  EXPECT_FALSE(ToQColor(clNone).isValid());
  const TColor window = SystemColors().Get(5);
  EXPECT_EQ(FromQColor(ToQColor(clWindow)), window);
}

// The tests fill a table of their own, or put the process-wide one back afterwards.
class QtSystemColors : public testing::Test {
protected:
  void SetUp() override {
    for (unsigned i = 0; i < saved_.size(); ++i) saved_[i] = SystemColors().Get(i);
  }
  void TearDown() override {
    for (unsigned i = 0; i < saved_.size(); ++i) SystemColors().Set(i, saved_[i]);
  }

  static QPalette Custom() {
    QPalette p;
    p.setColor(QPalette::Base, QColor(1, 2, 3));
    p.setColor(QPalette::Text, QColor(4, 5, 6));
    p.setColor(QPalette::Highlight, QColor(7, 8, 9));
    p.setColor(QPalette::HighlightedText, QColor(10, 11, 12));
    p.setColor(QPalette::Button, QColor(13, 14, 15));
    p.setColor(QPalette::Dark, QColor(16, 17, 18));
    p.setColor(QPalette::Light, QColor(19, 20, 21));
    p.setColor(QPalette::Shadow, QColor(22, 23, 24));
    p.setColor(QPalette::ToolTipBase, QColor(25, 26, 27));
    p.setColor(QPalette::ToolTipText, QColor(28, 29, 30));
    p.setColor(QPalette::ButtonText, QColor(31, 32, 33));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(34, 35, 36));
    return p;
  }

private:
  std::array<TColor, TSystemColorTable::Count> saved_{};
};

TEST_F(QtSystemColors, APaletteLandsInTheTable) {
  TSystemColorTable table;
  const TColor desktop = table.Get(1);
  LoadSystemColors(Custom(), table);
  const struct {
    unsigned index;
    TColor rgb;
  } cases[] = {
      {5, RGB(1, 2, 3)},       // window
      {8, RGB(4, 5, 6)},       // window text
      {13, RGB(7, 8, 9)},      // highlight
      {14, RGB(10, 11, 12)},   // highlight text
      {15, RGB(13, 14, 15)},   // button face
      {16, RGB(16, 17, 18)},   // button shadow
      {20, RGB(19, 20, 21)},   // button highlight
      {21, RGB(22, 23, 24)},   // 3-D dark shadow
      {24, RGB(25, 26, 27)},   // info background
      {23, RGB(28, 29, 30)},   // info text
      {18, RGB(31, 32, 33)},   // button text
      {17, RGB(34, 35, 36)},   // grey text
      {1, desktop},            // no palette role: kept
  };
  for (const auto& c : cases) EXPECT_EQ(table.Get(c.index), c.rgb) << c.index;
}

TEST_F(QtSystemColors, TheProcessTableResolvesSystemColoursAfterLoading) {
  LoadSystemColors(Custom());
  EXPECT_EQ(ColorToRGB(clWindow), RGB(1, 2, 3));
  EXPECT_EQ(ColorToRGB(clHighlight), RGB(7, 8, 9));
  EXPECT_EQ(ToQColor(clBtnFace), QColor(13, 14, 15));
}

}  // namespace
}  // namespace pagora
