// The viewer control as a Qt widget: a scroll area that owns the viewer's core, is its host,
// and turns Qt's events into the core's input calls. The behaviour is the core's; this only
// translates.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QImage>
#include <QPointer>

#include <map>
#include <memory>

#include "layout/Pagora.h"
#include "qt/QtCanvas.h"
#include "qt/QtClipboard.h"

class QMenu;
class QScrollBar;

namespace pagora {

class TQtPagoraWidget : public QAbstractScrollArea, public IHost {
  Q_OBJECT

public:
  explicit TQtPagoraWidget(QWidget* parent = nullptr);
  ~TQtPagoraWidget() override;
  TQtPagoraWidget(const TQtPagoraWidget&) = delete;
  TQtPagoraWidget& operator=(const TQtPagoraWidget&) = delete;

  [[nodiscard]] TPagora& Core() noexcept { return core_; }
  [[nodiscard]] const TPagora& Core() const noexcept { return core_; }

  // Sets the core's border style and the frame that shows it.
  void SetBorderStyle(TBorderStyle style);
  // The menu a right click opens; without one, PopupMenuRequested is emitted instead.
  void setContextMenu(QMenu* menu);

  // ---- IHost
  [[nodiscard]] TSize ClientSize() const override;
  void Invalidate(const TRect& r) override;
  void InvalidateAll() override;
  void UpdateNow() override;
  void ScrollContents(int dx, int dy) override;
  void SetScrollBar(TScrollBarKind kind, const TScrollBarInfo& info) override;
  [[nodiscard]] ICanvas& MeasureCanvas() override { return *measureCanvas_; }
  void StartTimer(int id, int milliseconds) override;
  void StopTimer(int id) override;
  void Post(std::unique_ptr<IPostedMessage> message) override;
  void SetFocus() override;
  [[nodiscard]] bool HasFocus() const override;
  void FocusNextControl(bool backwards) override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  [[nodiscard]] TPoint CursorPos() const override;
  [[nodiscard]] TShiftState KeyboardState() const override;
  [[nodiscard]] TPoint ClientToScreen(TPoint p) const override;
  void SetCursor(TCursorId cursor) override;
  [[nodiscard]] int WheelScrollLines() const override;
  void Beep() override;
  void ShowHint(const std::string& textUtf8) override;
  void CancelHint() override;
  bool PopupMenu(TPoint screen) override;

signals:
  void PopupMenuRequested(QPoint screen);

protected:
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void timerEvent(QTimerEvent* e) override;
  // The core moves the contents itself (ScrollContents).
  void scrollContentsBy(int /*dx*/, int /*dy*/) override {}

private:
  void ScrollBarAction(TScrollBarKind kind, int sliderAction);
  [[nodiscard]] QScrollBar& Bar(TScrollBarKind kind) const;
  // Tells the core about a new viewport size, later when the core itself changed it.
  void NotifyResized();

  TQtFontCache fonts_;
  QImage measureImage_;
  std::unique_ptr<TQtCanvas> measureCanvas_;
  TQtClipboard clipboard_;
  std::map<int, QBasicTimer> timers_;  // by the core's timer ids
  QPointer<QMenu> menu_;
  TScrollBarInfo barInfo_[2];
  int wheelRemainder_ = 0;  // eighths of a degree short of a notch
  int settingBars_ = 0;     // the core is setting a scroll bar
  bool resizePending_ = false;
  QSize notifiedSize_{-1, -1};
  Qt::MouseButtons buttonsDown_ = Qt::NoButton;
  bool grabbed_ = false;      // grabbed outside a press, to be let go
  TCursorId cursorId_ = kCursorDefault;
  // The last double click, to tell a third press from a new click.
  quint64 doubleClickTime_ = 0;
  QPoint doubleClickAt_;
  bool doubleClicked_ = false;
  TPagora core_;  // last: it goes first, after DetachHost
};

}  // namespace pagora
