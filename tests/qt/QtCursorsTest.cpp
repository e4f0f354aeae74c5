#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "qt/QtCursors.h"

namespace pagora {
namespace {

struct TCursorCase {
  TCursorId Id;
  Qt::CursorShape Shape;
};

TEST(QtCursors, NumbersMapToQtShapes) {
  const TCursorCase cases[] = {
      {kCursorDefault, Qt::ArrowCursor}, {kCursorArrow, Qt::ArrowCursor},  {-1, Qt::BlankCursor},
      {-3, Qt::CrossCursor},             {kCursorIBeam, Qt::IBeamCursor},  {-22, Qt::SizeAllCursor},
      {-6, Qt::SizeBDiagCursor},         {-7, Qt::SizeVerCursor},          {-8, Qt::SizeFDiagCursor},
      {-9, Qt::SizeHorCursor},           {-11, Qt::WaitCursor},            {-12, Qt::DragCopyCursor},
      {-13, Qt::ForbiddenCursor},        {-14, Qt::SplitHCursor},          {-15, Qt::SplitVCursor},
      {-21, Qt::PointingHandCursor},     {kCursorJump, Qt::PointingHandCursor},
      {12345, Qt::ArrowCursor},          {-100, Qt::ArrowCursor},
  };
  for (const TCursorCase& c : cases) EXPECT_EQ(CursorFor(c.Id).shape(), c.Shape) << "cursor " << c.Id;
}

// The line-selection arrow is the arrow mirrored: its tip, and so its hot spot, top right.
TEST(QtCursors, LineSelectArrowPointsRight) {
  const QCursor cursor = CursorFor(kCursorLineSelect);
  ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
  EXPECT_EQ(cursor.hotSpot(), QPoint(11, 0));
  const QImage image = cursor.pixmap().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.pixel(11, 0), qRgb(0, 0, 0));      // the tip
  EXPECT_EQ(image.pixel(10, 2), qRgb(255, 255, 255));  // inside
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.pixel(0, 2)), 0);
}

}  // namespace
}  // namespace pagora
