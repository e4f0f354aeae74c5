// Events the viewer raises on its own schedule: checkpoints scrolling into view, and the
// deferred events posted to it.
#include "layout/Pagora.h"

namespace pagora {

// ---------------------------------------------------------------- checkpoint events

void TCustomPagora::CheckpointEvents() {
  if (!OnCheckpointVisible || CPEventKind == cpeNone || !data_->IsFormatted()) return;
  const int top = DocumentTopInWindow();
  const int bottom = top + ClientSize().cy;
  auto yOf = [&](const TPGCPInfo* cp) {
    const int d = data_->FirstDrawItemOf(cp->ItemNo);
    return d < 0 ? data_->DocumentHeight() : data_->DrawItem(d).Top;
  };
  const TPGCPInfo* pending = data_->PendingCheckpoint();
  const TPGCPInfo* found = nullptr;
  if (CPEventKind == cpeAsSectionStart) {
    const TPGCPInfo* previous = nullptr;
    const TPGCPInfo* last = nullptr;
    bool located = false;
    for (const TPGCPInfo* cp = data_->FirstCheckpoint(); cp; cp = cp->Next) {
      if (!cp->RaiseEvent || !cp->Item) continue;
      last = cp;
      if (!located && yOf(cp) >= top) {
        found = yOf(cp) > bottom ? previous : cp;
        located = true;
      }
      if (!located) previous = cp;
    }
    if (!located) {
      const int end = data_->DocumentHeight();
      found = pending && pending->RaiseEvent && end >= top && end <= bottom ? pending : last;
    }
    if (found != lastReportedCheckpoint_ || !checkpointReported_) {
      if (found == lastReportedCheckpoint_ && !found) return;
      lastReportedCheckpoint_ = found;
      checkpointReported_ = found != nullptr;
      OnCheckpointVisible(*this, found);
    }
    return;
  }
  for (const TPGCPInfo* cp = data_->FirstCheckpoint(); cp && !found; cp = cp->Next) {
    if (!cp->RaiseEvent || !cp->Item) continue;
    const int y = yOf(cp);
    if (y >= top && y <= bottom) found = cp;
    if (y > bottom) break;
  }
  if (!found && pending && pending->RaiseEvent && data_->DocumentHeight() >= top &&
      data_->DocumentHeight() <= bottom)
    found = pending;
  if (found) {
    if (found != lastReportedCheckpoint_) {
      lastReportedCheckpoint_ = found;
      checkpointReported_ = true;
      OnCheckpointVisible(*this, found);
    }
  } else if (checkpointReported_) {
    lastReportedCheckpoint_ = nullptr;
    checkpointReported_ = false;
    OnCheckpointVisible(*this, nullptr);
  }
}

// ---------------------------------------------------------------- deferred events

void TCustomPagora::PostEvent(std::unique_ptr<TPGMessageData> message) {
  if (Host()) Host()->Post(std::move(message));
}

void TCustomPagora::Deliver(std::unique_ptr<IPostedMessage> message) {
  auto* m = dynamic_cast<TPGMessageData*>(message.get());
  if (!m || destroying_) return;
  switch (m->Kind) {
    case TPGMessageKind::DblClickWord: {
      auto& d = static_cast<TPGDblClickMessageData&>(*m);
      if (OnPGDblClick) OnPGDblClick(*this, d.Word, d.Style);
      break;
    }
    case TPGMessageKind::Jump:
      if (OnJump) OnJump(*this, static_cast<TPGJumpMessageData&>(*m).Id);
      break;
    case TPGMessageKind::PGMouseUp:
    case TPGMessageKind::PGMouseDown: {
      auto& d = static_cast<TPGMouseUpDownMessageData&>(*m);
      auto& handler = m->Kind == TPGMessageKind::PGMouseUp ? OnPGMouseUp : OnPGMouseDown;
      if (handler) handler(*this, d.Button, d.Shift, d.ItemNo, d.X, d.Y);
      break;
    }
    case TPGMessageKind::Click:
      if (OnClick) OnClick(*this);
      break;
    case TPGMessageKind::DblClick:
      if (OnDblClick) OnDblClick(*this);
      break;
    case TPGMessageKind::MouseMove: {
      auto& d = static_cast<TPGMouseMoveMessageData&>(*m);
      if (OnMouseMove) OnMouseMove(*this, d.Shift, d.X, d.Y);
      break;
    }
    case TPGMessageKind::DragDrop:
    case TPGMessageKind::EndDrag: {
      auto& d = static_cast<TPGDNDMessageData&>(*m);
      if (m->Kind == TPGMessageKind::DragDrop) {
        if (OnDragDrop) OnDragDrop(*this, d.X, d.Y);
      } else if (OnEndDrag) {
        OnEndDrag(*this, d.X, d.Y);
      }
      break;
    }
  }
}

}  // namespace pagora
