// A window for control cores in tests: a fixed client size, a fake measuring canvas,
// timers and posted messages that run only when the test says so, and a record of what
// the core asked for.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Host.h"
#include "support/FakeCanvas.h"

namespace pagora::test {

class FakeHost : public IHost {
public:
  TSize Client{300, 200};
  FakeCanvas Measure;
  int InvalidateAllCount = 0;
  std::vector<TRect> Invalidated;
  int UpdateNowCount = 0;
  std::vector<std::pair<int, int>> Scrolled;  // (dx, dy) of ScrollContents
  std::map<TScrollBarKind, TScrollBarInfo> ScrollBars;
  std::map<int, int> Timers;  // running timers: id -> interval
  std::vector<std::unique_ptr<IPostedMessage>> Posted;
  bool Focused = false;
  int FocusNextCount = 0;
  bool Captured = false;
  TPoint Cursor{-1, -1};
  TShiftState Keys;
  TCursorId CursorShape = kCursorDefault;
  int Lines = 3;
  int Beeps = 0;
  std::string Hint;
  int HintsCancelled = 0;
  int Popups = 0;

  TSize ClientSize() const override { return Client; }
  void Invalidate(const TRect& r) override { Invalidated.push_back(r); }
  void InvalidateAll() override { ++InvalidateAllCount; }
  void UpdateNow() override { ++UpdateNowCount; }
  void ScrollContents(int dx, int dy) override { Scrolled.emplace_back(dx, dy); }
  void SetScrollBar(TScrollBarKind kind, const TScrollBarInfo& info) override { ScrollBars[kind] = info; }
  ICanvas& MeasureCanvas() override { return Measure; }
  void StartTimer(int id, int ms) override { Timers[id] = ms; }
  void StopTimer(int id) override { Timers.erase(id); }
  void Post(std::unique_ptr<IPostedMessage> message) override { Posted.push_back(std::move(message)); }
  void SetFocus() override { Focused = true; }
  bool HasFocus() const override { return Focused; }
  void FocusNextControl(bool) override { ++FocusNextCount; Focused = false; }
  void CaptureMouse() override { Captured = true; }
  void ReleaseMouse() override { Captured = false; }
  TPoint CursorPos() const override { return Cursor; }
  TShiftState KeyboardState() const override { return Keys; }
  TPoint ClientToScreen(TPoint p) const override { return {p.X + 1000, p.Y + 2000}; }
  void SetCursor(TCursorId cursor) override { CursorShape = cursor; }
  int WheelScrollLines() const override { return Lines; }
  void Beep() override { ++Beeps; }
  void ShowHint(const std::string& text) override { Hint = text; }
  void CancelHint() override { Hint.clear(); ++HintsCancelled; }
  bool PopupMenu(TPoint) override { ++Popups; return true; }

  // Delivers what was posted, in order, through deliver (the core's Deliver).
  template <typename Deliver>
  void RunPosted(Deliver&& deliver) {
    while (!Posted.empty()) {
      auto message = std::move(Posted.front());
      Posted.erase(Posted.begin());
      deliver(std::move(message));
    }
  }
};

}  // namespace pagora::test
