// Events that an in-place cell editor raises on its viewer: posted to the viewer's window
// and dispatched after the current event, so that the editor is not re-entered.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Host.h"
#include "platform/InputTypes.h"

namespace pagora {

enum class TPGMessageKind : std::uint8_t {
  DblClickWord = 0,  // OnPGDblClick (word, style)
  Jump = 1,          // OnJump (number)
  PGMouseUp = 2,
  PGMouseDown = 3,
  Click = 4,
  DblClick = 5,
  MouseMove = 6,
  DragDrop = 7,
  EndDrag = 8,
};

struct TPGMessageData : IPostedMessage {
  explicit TPGMessageData(TPGMessageKind kind) : Kind(kind) {}
  TPGMessageKind Kind;
};

struct TPGDblClickMessageData : TPGMessageData {
  TPGDblClickMessageData(std::u16string word, int style)
      : TPGMessageData(TPGMessageKind::DblClickWord), Word(std::move(word)), Style(style) {}
  std::u16string Word;
  int Style;
};

struct TPGJumpMessageData : TPGMessageData {
  explicit TPGJumpMessageData(int id) : TPGMessageData(TPGMessageKind::Jump), Id(id) {}
  int Id;
};

// Click (4) and double click (5) carry nothing more.
struct TPGClickMessageData : TPGMessageData {
  explicit TPGClickMessageData(bool doubleClick)
      : TPGMessageData(doubleClick ? TPGMessageKind::DblClick : TPGMessageKind::Click) {}
};

struct TPGMouseMoveMessageData : TPGMessageData {
  TPGMouseMoveMessageData(TShiftState shift, int x, int y)
      : TPGMessageData(TPGMessageKind::MouseMove), Shift(shift), X(x), Y(y) {}
  TShiftState Shift;
  int X, Y;
};

struct TPGMouseUpDownMessageData : TPGMessageData {
  TPGMouseUpDownMessageData(bool down, TMouseButton button, TShiftState shift, int itemNo, int x, int y)
      : TPGMessageData(down ? TPGMessageKind::PGMouseDown : TPGMessageKind::PGMouseUp),
        Button(button), Shift(shift), ItemNo(itemNo), X(x), Y(y) {}
  TMouseButton Button;
  TShiftState Shift;
  int ItemNo, X, Y;
};

// Drag drop (7) and end drag (8) at a point.
struct TPGDNDMessageData : TPGMessageData {
  TPGDNDMessageData(bool endDrag, int x, int y)
      : TPGMessageData(endDrag ? TPGMessageKind::EndDrag : TPGMessageKind::DragDrop), X(x), Y(y) {}
  int X, Y;
};

}  // namespace pagora
