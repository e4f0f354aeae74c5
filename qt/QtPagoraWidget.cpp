#include "qt/QtPagoraWidget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QToolTip>
#include <QWheelEvent>

#include "qt/QtCursors.h"
#include "qt/QtInput.h"
#include "qt/QtScrollBars.h"

namespace pagora {

namespace {

constexpr int kScreenDotsPerMeter = 3780;  // 96 pixels per inch
constexpr int kWheelNotch = 120;           // eighths of a degree

// A message the core posted to itself, on its way through the event queue.
class TPostedEvent : public QEvent {
public:
  explicit TPostedEvent(std::unique_ptr<IPostedMessage> message) : QEvent(Kind()), Message(std::move(message)) {}
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }
  std::unique_ptr<IPostedMessage> Message;
};

// Counts the core's calls that change scroll bars, so that what Qt does in answer (relayouts,
// slider actions) does not go back into the core in the middle of them.
class TBarGuard {
public:
  explicit TBarGuard(int& depth) : depth_(depth) { ++depth_; }
  ~TBarGuard() { --depth_; }
  TBarGuard(const TBarGuard&) = delete;
  TBarGuard& operator=(const TBarGuard&) = delete;

private:
  int& depth_;
};

int IndexOf(TScrollBarKind kind) { return kind == TScrollBarKind::Vertical ? 1 : 0; }

}  // namespace

TQtPagoraWidget::TQtPagoraWidget(QWidget* parent)
    : QAbstractScrollArea(parent), measureImage_(1, 1, QImage::Format_RGB32) {
  measureImage_.setDotsPerMeterX(kScreenDotsPerMeter);
  measureImage_.setDotsPerMeterY(kScreenDotsPerMeter);
  measureCanvas_ = std::make_unique<TQtCanvas>(measureImage_, &fonts_);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  SetBorderStyle(core_.BorderStyle);
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { ScrollBarAction(TScrollBarKind::Horizontal, action); });
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { ScrollBarAction(TScrollBarKind::Vertical, action); });
  core_.SetClipboard(&clipboard_);
  core_.AttachHost(this);
}

TQtPagoraWidget::~TQtPagoraWidget() {
  for (auto& entry : timers_) entry.second.stop();
  core_.DetachHost();
  core_.SetClipboard(nullptr);
}

void TQtPagoraWidget::SetBorderStyle(TBorderStyle style) {
  core_.BorderStyle = style;
  if (style == bsNone) {
    setFrameStyle(QFrame::NoFrame);
  } else {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
}

void TQtPagoraWidget::setContextMenu(QMenu* menu) { menu_ = menu; }

// ---------------------------------------------------------------- the host

TSize TQtPagoraWidget::ClientSize() const { return {viewport()->width(), viewport()->height()}; }

void TQtPagoraWidget::Invalidate(const TRect& r) {
  if (!r.IsEmpty()) viewport()->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TQtPagoraWidget::InvalidateAll() { viewport()->update(); }

void TQtPagoraWidget::UpdateNow() {
  if (isVisible()) viewport()->repaint();
}

void TQtPagoraWidget::ScrollContents(int dx, int dy) {
  // The rectangle form moves pixels only; children would otherwise move too.
  viewport()->scroll(dx, dy, viewport()->rect());
}

QScrollBar& TQtPagoraWidget::Bar(TScrollBarKind kind) const {
  return kind == TScrollBarKind::Vertical ? *verticalScrollBar() : *horizontalScrollBar();
}

void TQtPagoraWidget::SetScrollBar(TScrollBarKind kind, const TScrollBarInfo& info) {
  TBarGuard guard(settingBars_);
  barInfo_[IndexOf(kind)] = info;
  const Qt::ScrollBarPolicy policy = info.Visible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  if (kind == TScrollBarKind::Vertical) {
    if (verticalScrollBarPolicy() != policy) setVerticalScrollBarPolicy(policy);
  } else if (horizontalScrollBarPolicy() != policy) {
    setHorizontalScrollBarPolicy(policy);
  }
  ApplyScrollBarInfo(Bar(kind), info, core_.Tracking);
}

void TQtPagoraWidget::ScrollBarAction(TScrollBarKind kind, int sliderAction) {
  if (settingBars_ > 0) return;
  QScrollBar& bar = Bar(kind);
  const std::optional<TScrollAction> action = ScrollActionOf(sliderAction, bar.isSliderDown());
  if (!action) return;
  core_.ScrollAction(kind, *action, bar.sliderPosition());
  // Qt moves the slider where it thinks it should go once this returns; it goes where the
  // core went instead.
  TBarGuard guard(settingBars_);
  bar.setSliderPosition(barInfo_[IndexOf(kind)].Position);
}

void TQtPagoraWidget::StartTimer(int id, int milliseconds) { timers_[id].start(milliseconds, this); }

void TQtPagoraWidget::StopTimer(int id) {
  if (auto it = timers_.find(id); it != timers_.end()) it->second.stop();
}

void TQtPagoraWidget::Post(std::unique_ptr<IPostedMessage> message) {
  // The event queue owns the event, and drops it if this widget goes first.
  QCoreApplication::postEvent(this, new TPostedEvent(std::move(message)));
}

void TQtPagoraWidget::SetFocus() { setFocus(Qt::OtherFocusReason); }

bool TQtPagoraWidget::HasFocus() const { return hasFocus(); }

void TQtPagoraWidget::FocusNextControl(bool backwards) { focusNextPrevChild(!backwards); }

void TQtPagoraWidget::CaptureMouse() {
  // While a button is held Qt already sends the mouse here.
  if (buttonsDown_ != Qt::NoButton || grabbed_) return;
  viewport()->grabMouse();
  grabbed_ = true;
}

void TQtPagoraWidget::ReleaseMouse() {
  if (!grabbed_) return;
  viewport()->releaseMouse();
  grabbed_ = false;
}

TPoint TQtPagoraWidget::CursorPos() const {
  const QPoint p = viewport()->mapFromGlobal(QCursor::pos());
  return {p.x(), p.y()};
}

TShiftState TQtPagoraWidget::KeyboardState() const {
  return ShiftStateOf(QGuiApplication::keyboardModifiers(), QGuiApplication::mouseButtons());
}

TPoint TQtPagoraWidget::ClientToScreen(TPoint p) const {
  const QPoint s = viewport()->mapToGlobal(QPoint(p.X, p.Y));
  return {s.x(), s.y()};
}

void TQtPagoraWidget::SetCursor(TCursorId cursor) {
  if (cursor == cursorId_) return;
  cursorId_ = cursor;
  viewport()->setCursor(CursorFor(cursor));
}

int TQtPagoraWidget::WheelScrollLines() const { return QApplication::wheelScrollLines(); }

void TQtPagoraWidget::Beep() { QApplication::beep(); }

void TQtPagoraWidget::ShowHint(const std::string& textUtf8) {
  QToolTip::showText(QCursor::pos(), QString::fromStdString(textUtf8), viewport());
}

void TQtPagoraWidget::CancelHint() { QToolTip::hideText(); }

bool TQtPagoraWidget::PopupMenu(TPoint screen) {
  const QPoint at(screen.X, screen.Y);
  if (!menu_) {
    emit PopupMenuRequested(at);
    return false;
  }
  menu_->popup(at);
  return true;
}

// ---------------------------------------------------------------- Qt's events

bool TQtPagoraWidget::event(QEvent* e) {
  if (e->type() == TPostedEvent::Kind()) {
    auto& posted = static_cast<TPostedEvent&>(*e);
    if (posted.Message) core_.Deliver(std::move(posted.Message));
    return true;
  }
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
    auto& k = static_cast<QKeyEvent&>(*e);
    const std::optional<TKeyStroke> key = KeyStrokeOf(k);
    const bool wanted = key && core_.WantsKey(key->Vk, key->Shift);
    // Keys the core wants are not application shortcuts, and Tab is not focus navigation.
    if (e->type() == QEvent::ShortcutOverride && wanted) {
      e->accept();
      return true;
    }
    if (e->type() == QEvent::KeyPress && wanted && key->Vk == VK_TAB) {
      keyPressEvent(&k);
      return true;
    }
  }
  return QAbstractScrollArea::event(e);
}

bool TQtPagoraWidget::viewportEvent(QEvent* e) {
  // Leaving the viewport (for a scroll bar too) is leaving the client area.
  if (e->type() == QEvent::Leave) core_.MouseLeave();
  return QAbstractScrollArea::viewportEvent(e);
}

void TQtPagoraWidget::paintEvent(QPaintEvent* e) {
  QPainter painter(viewport());
  TQtCanvas canvas(painter, &fonts_);
  const QRect r = e->rect();
  core_.Paint(canvas, Bounds(r.x(), r.y(), r.width(), r.height()));
}

void TQtPagoraWidget::resizeEvent(QResizeEvent* /*e*/) { NotifyResized(); }

void TQtPagoraWidget::NotifyResized() {
  if (settingBars_ > 0) {
    // A scroll bar the core showed or hid changed the viewport; the core formats for the
    // new size once it is done.
    if (!resizePending_) {
      resizePending_ = true;
      QMetaObject::invokeMethod(
          this,
          [this] {
            resizePending_ = false;
            NotifyResized();
          },
          Qt::QueuedConnection);
    }
    return;
  }
  const QSize size = viewport()->size();
  if (size == notifiedSize_) return;  // the frame's resize and the viewport's come both
  notifiedSize_ = size;
  core_.Resized();
}

void TQtPagoraWidget::mousePressEvent(QMouseEvent* e) {
  buttonsDown_ = e->buttons();
  const std::optional<TMouseButton> button = MouseButtonOf(e->button());
  if (!button) return QAbstractScrollArea::mousePressEvent(e);
  const QPoint p = e->position().toPoint();
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  // Qt reports no third click: a press soon after a double click, near it, is one.
  const QStyleHints* hints = QGuiApplication::styleHints();
  const bool third = doubleClicked_ && *button == mbLeft &&
                     e->timestamp() - doubleClickTime_ <= static_cast<quint64>(hints->mouseDoubleClickInterval()) &&
                     (p - doubleClickAt_).manhattanLength() <= hints->startDragDistance();
  doubleClicked_ = false;
  if (third)
    core_.TripleClick(shift, p.x(), p.y());
  else
    core_.MouseDown(*button, shift, p.x(), p.y());
}

void TQtPagoraWidget::mouseReleaseEvent(QMouseEvent* e) {
  buttonsDown_ = e->buttons();
  const std::optional<TMouseButton> button = MouseButtonOf(e->button());
  if (!button) return QAbstractScrollArea::mouseReleaseEvent(e);
  const QPoint p = e->position().toPoint();
  core_.MouseUp(*button, ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TQtPagoraWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  core_.MouseMove(ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TQtPagoraWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  buttonsDown_ = e->buttons();
  const std::optional<TMouseButton> button = MouseButtonOf(e->button());
  if (!button) return QAbstractScrollArea::mouseDoubleClickEvent(e);
  const QPoint p = e->position().toPoint();
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  if (*button == mbLeft) {
    core_.DoubleClick(shift, p.x(), p.y());
    doubleClicked_ = true;
    doubleClickTime_ = e->timestamp();
    doubleClickAt_ = p;
  } else {
    core_.MouseDown(*button, shift | TShiftState{ssDouble}, p.x(), p.y());
  }
}

void TQtPagoraWidget::wheelEvent(QWheelEvent* e) {
  const int delta = e->angleDelta().y();
  if (delta == 0) {
    e->ignore();
    return;
  }
  // High-resolution wheels send parts of a notch; they add up.
  wheelRemainder_ += delta;
  const int notches = wheelRemainder_ / kWheelNotch;
  wheelRemainder_ -= notches * kWheelNotch;
  if (core_.MouseWheel(notches)) {
    e->accept();
  } else {
    wheelRemainder_ = 0;
    e->ignore();  // to the parent
  }
}

void TQtPagoraWidget::keyPressEvent(QKeyEvent* e) {
  const std::optional<TKeyStroke> key = KeyStrokeOf(*e);
  if (key && core_.KeyDown(key->Vk, key->Shift))
    e->accept();
  else
    e->ignore();
}

void TQtPagoraWidget::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  const bool backwards = e->reason() == Qt::BacktabFocusReason;
  core_.FocusIn(backwards, backwards || e->reason() == Qt::TabFocusReason);
}

void TQtPagoraWidget::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  core_.FocusOut();
}

void TQtPagoraWidget::contextMenuEvent(QContextMenuEvent* e) {
  // A right click opens the menu when it is released (the core asks); the menu key does now.
  if (e->reason() != QContextMenuEvent::Mouse) PopupMenu({e->globalPos().x(), e->globalPos().y()});
  e->accept();
}

void TQtPagoraWidget::timerEvent(QTimerEvent* e) {
  for (auto& [id, timer] : timers_)
    if (timer.timerId() == e->timerId()) {
      core_.TimerFired(id);
      return;
    }
  QAbstractScrollArea::timerEvent(e);
}

}  // namespace pagora
