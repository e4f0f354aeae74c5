#include "qt/QtCursors.h"

#include <QPixmap>

// The resources of a static library are registered by hand (outside any namespace).
static void InitCursorResources() { Q_INIT_RESOURCE(cursors); }

namespace pagora {

namespace {

// The arrow drawn mirrored, its tip at the top right.
QCursor FlipArrow() {
  static const QPixmap pixmap = [] {
    InitCursorResources();
    return QPixmap(QStringLiteral(":/pagora/cursors/flip-arrow.xpm"));
  }();
  return QCursor(pixmap, 11, 0);
}

}  // namespace

QCursor CursorFor(TCursorId id) {
  switch (id) {
    case -1: return Qt::BlankCursor;
    case -3: return Qt::CrossCursor;
    case kCursorIBeam: return Qt::IBeamCursor;
    case -5:
    case -22: return Qt::SizeAllCursor;
    case -6: return Qt::SizeBDiagCursor;  // north-east to south-west
    case -7: return Qt::SizeVerCursor;
    case -8: return Qt::SizeFDiagCursor;  // north-west to south-east
    case -9: return Qt::SizeHorCursor;
    case -10: return Qt::UpArrowCursor;
    case -11:
    case -17: return Qt::WaitCursor;
    case -12:
    case -16: return Qt::DragCopyCursor;
    case -13:
    case -18: return Qt::ForbiddenCursor;
    case -14: return Qt::SplitHCursor;
    case -15: return Qt::SplitVCursor;
    case -19: return Qt::BusyCursor;
    case -20: return Qt::WhatsThisCursor;
    case -21:
    case kCursorJump: return Qt::PointingHandCursor;
    case kCursorLineSelect: return FlipArrow();
    default: return Qt::ArrowCursor;  // 0 (the default) and -2 among them
  }
}

}  // namespace pagora
