// The viewer control: one document shown in a scrolling window, with a background,
// hypertext, mouse selection, copying and events. It is read-only; the editor derives
// from it. Its window is a host (the window-system layer, or a fake in tests) that turns
// window events into the input calls below.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "layout/CPGFData.h"
#include "layout/PGScroll.h"
#include "layout/ViewerMessages.h"
#include "model/DataOwner.h"
#include "model/PGFFormat.h"
#include "model/PGFTypes.h"
#include "model/PGStyle.h"
#include "platform/Clipboard.h"
#include "platform/InputTypes.h"

namespace pagora {

class ICanvas;
class TCustomPagora;

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TPGTabNavigationType : std::uint8_t { pgtnNone, pgtnTab, pgtnCtrlTab };
enum TCPEventKind : std::uint8_t { cpeNone, cpeAsSectionStart, cpeWhenVisible };
enum TPGPaletteAction : std::uint8_t { pgpaDoNothing, pgpaAssignPalette, pgpaCreateCopies, pgpaCreateCopiesEx };

// The document of a viewer: answers the formatting queries from its control.
class TPagoraPGData : public TCustomPGFormattedData {
public:
  explicit TPagoraPGData(TCustomPagora& control);
  [[nodiscard]] TCustomPagora& Control() const noexcept { return control_; }

  [[nodiscard]] const TPGLayoutSettings& LayoutSettings() const override;
  [[nodiscard]] ICanvas* FormattingCanvas() const override;
  void SetScrollSizes(int width, int height) override;
  [[nodiscard]] int VerticalScrollPosition() const override;
  void ScrollToPosition(int y) override;

private:
  TCustomPagora& control_;
  mutable TPGLayoutSettings settings_;
};

// How a word-wise or paragraph-wise mouse selection is going (see the selection modes).
struct TPGSelectingInfo {
  int AnchorDraw = -1, AnchorOffset = 0;       // where the press was
  int AnchorWordStart = 0, AnchorWordEnd = 0;  // draw offsets of the anchor's word, if any
  bool AnchorInWord = false;
  bool AnchorSnapped = false;  // the anchor moved to its word's far edge
  int EndWordDraw = -1, EndWordStart = 0, EndWordEnd = 0;  // the word the moving end snapped to
  bool EndSnapped = false;
  bool EndByChars = false;  // moved back inside that word: characters until the next word
  int LastDraw = -1, LastOffset = 0;  // where the point was on the last move
};

// A word found at a point: its text, where it lies, and the style that tells what it is
// (a text style, or the negative item type of another item).
struct TPGClickedWord {
  std::u16string Word;
  int Style = 0;
  TCustomPGFormattedData* Data = nullptr;
  int ItemNo = -1;
  int Offset = 0;  // 1-based offset of the word in its item
  [[nodiscard]] bool Found() const noexcept { return Data != nullptr; }
};

class TCustomPagora : public TPGScroller, public TPGDocumentSettings, public IPGStyleUser {
public:
  TCustomPagora();
  ~TCustomPagora() override;

  [[nodiscard]] TPagoraPGData& PGData() noexcept { return *data_; }
  [[nodiscard]] const TPagoraPGData& PGData() const noexcept { return *data_; }

  // ---- properties (Style, Options, BiDiMode, Delimiters and the document events are
  // inherited from the document settings)
  std::string Name = "Pagora1";
  int LeftMargin = 5, RightMargin = 5, TopMargin = 5, BottomMargin = 5;
  int MinTextWidth = 0, MaxTextWidth = 0;
  TTextLayout VAlign = tlTop;
  TColor Color = clNone;  // clNone: the style sheet's colour
  TBorderStyle BorderStyle = bsSingle;
  TCursorId Cursor = kCursorDefault;
  int FirstJumpNo = 0;
  TPGTabNavigationType TabNavigation = pgtnTab;
  TCPEventKind CPEventKind = cpeNone;
  TPGPaletteAction DoInPaletteMode = pgpaCreateCopies;  // displays are true-colour: no effect
  bool UseXPThemes = true;
  TPGOwnerFlags OwnerFlags = kViewerOwnerFlags;
  int ScreenPpi = 96;

  // Use this rather than assigning Style: the control is told when the sheet is destroyed.
  void SetStyle(TPGStyle* style);
  void StyleSheetDestroyed(TPGStyle& sheet) override;
  void SetBiDiMode(TPGBiDiMode mode);
  void SetBackgroundStyle(TBackgroundStyle style);
  void SetBackgroundBitmap(std::unique_ptr<TGraphic> picture);
  [[nodiscard]] const TPGBackground& Background() const noexcept { return background_; }
  [[nodiscard]] TPGBackground& Background() noexcept { return background_; }
  [[nodiscard]] bool AllowSelection() const { return Options.Contains(pgoAllowSelection); }
  void SetAllowSelection(bool on) { Options.Set(pgoAllowSelection, on); }
  [[nodiscard]] bool SingleClick() const { return Options.Contains(pgoSingleClick); }
  void SetSingleClick(bool on) { Options.Set(pgoSingleClick, on); }
  // The colour the background is filled with: the control's, else the style sheet's.
  [[nodiscard]] TColor EffectiveColor() const;

  // ---- display operations
  void Format();
  void FormatKeepingPosition();
  void Clear();
  void Deselect();
  void SelectAll();
  [[nodiscard]] bool HasSelection() const;
  // Items and offsets as the container counts them (1-based in text, 0 and 1 around others).
  void SelectRange(int firstItem, int firstOffset, int lastItem, int lastOffset);
  [[nodiscard]] std::string GetSelectionText() const;          // 8-bit, in the system code page
  [[nodiscard]] std::u16string GetSelectionTextW() const;
  [[nodiscard]] const TGraphic* GetSelectionPicture() const;  // the one selected picture
  // Copies the selection in the formats the options ask for; false when nothing was copied.
  bool CopySelection();
  void SetClipboard(IClipboard* clipboard) noexcept { clipboard_ = clipboard; }

  // ---- reading and writing, with the control's layout, colour and background where the
  // format keeps them. Loading replaces the document and deselects (the caller formats);
  // when the data cannot be read, the document, its styles and the layout stay as they were.
  bool LoadPGF(const std::string& fileName, std::string* error = nullptr);
  bool LoadPGFFromStream(std::string_view stream, std::string* error = nullptr);
  bool SavePGF(const std::string& fileName, bool selectionOnly, std::string* error = nullptr);
  bool SavePGFToStream(std::string& stream, bool selectionOnly);
  // Plain text: adds to the document, found to be UTF-16, UTF-8 or 8-bit.
  bool LoadText(const std::string& fileName, int textStyle, int paraStyle, std::string* error = nullptr);
  bool SaveText(const std::string& fileName, int lineWidth, bool unicode, std::string* error = nullptr);
  [[nodiscard]] TPGLayoutInfo LayoutInfo() const;
  void ApplyLayoutInfo(const TPGLayoutInfo& layout);

  // Window and document coordinates: the document y at the window's top.
  [[nodiscard]] int VAlignOffset() const;
  [[nodiscard]] int DocumentTopInWindow() const;  // VPos × step − VAlignOffset
  [[nodiscard]] TPoint ClientToDocument(TPoint p) const;
  [[nodiscard]] TPoint DocumentToClient(TPoint p) const;
  // Hit tests at a window point.
  [[nodiscard]] TCustomPGFormattedData::TPosition FindDrawItemAtClientPoint(int x, int y, bool strict);
  [[nodiscard]] int FindItemAtClientPoint(int x, int y) const;  // the item under the point, or -1
  // The word under a window point.
  [[nodiscard]] TPGClickedWord WordAtClientPoint(int x, int y);

  // ---- state the painting and tests read
  [[nodiscard]] int HoveredJump() const noexcept { return hoverJump_; }     // hypertext number or -1
  [[nodiscard]] bool HoverActive() const noexcept { return hoverActive_; }
  [[nodiscard]] bool Selecting() const noexcept { return selecting_; }
  [[nodiscard]] int FocusedJump() const noexcept { return focusedJump_; }   // tab navigation, or -1
  [[nodiscard]] bool FullRedraw() const { return FullRedrawOnScroll(); }

  // ---- input from the window
  void Paint(ICanvas& canvas, const TRect& clip);
  void Resized();
  void MouseMove(TShiftState shift, int x, int y);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void DoubleClick(TShiftState shift, int x, int y);
  // A third press soon after a double click, near it (the window system's timing): selects
  // the paragraph; the next release keeps it.
  void TripleClick(TShiftState shift, int x, int y);
  void MouseLeave();
  // True when the key was used.
  bool KeyDown(int vk, TShiftState shift);
  // Which keys the window should route here rather than to dialog navigation.
  [[nodiscard]] bool WantsKey(int vk, TShiftState shift) const;
  // byTab: the focus came by Tab (backwards: Shift+Tab), which focuses the first (last) link.
  void FocusIn(bool backwards, bool byTab);
  void FocusOut();
  void TimerFired(int id);
  // A message posted through the host, back on the window's thread.
  void Deliver(std::unique_ptr<IPostedMessage> message);
  // Posts one of the deferred events to this control.
  void PostEvent(std::unique_ptr<TPGMessageData> message);

  // ---- events (the control is the first argument)
  std::function<void(TCustomPagora&, int id)> OnJump;
  std::function<void(TCustomPagora&, int id)> OnPGMouseMove;
  std::function<void(TCustomPagora&, TMouseButton, TShiftState, int itemNo, int x, int y)> OnPGMouseDown;
  std::function<void(TCustomPagora&, TMouseButton, TShiftState, int itemNo, int x, int y)> OnPGMouseUp;
  std::function<void(TCustomPagora&, const std::u16string& word, int style)> OnPGDblClick;
  std::function<void(TCustomPagora&, const std::u16string& word, int style, int x, int y)> OnPGRightClick;
  std::function<void(TCustomPagora&)> OnSelect;
  std::function<void(TCustomPagora&)> OnCopy;
  std::function<void(TCustomPagora&, const TPGCPInfo* checkpoint)> OnCheckpointVisible;
  std::function<void(TCustomPagora&, ICanvas&, bool prepaint)> OnPaint;
  std::function<void(TCustomPagora&, TCustomPGData&, int itemNo, std::string& hintText)> OnItemHint;
  std::function<void(TCustomPagora&)> OnVScrolled;
  std::function<void(TCustomPagora&)> OnHScrolled;
  std::function<void(TCustomPagora&, int dropX, int dropY)> OnDragDrop;
  std::function<void(TCustomPagora&, int x, int y)> OnEndDrag;
  std::function<void(TCustomPagora&)> OnClick;
  std::function<void(TCustomPagora&)> OnDblClick;
  std::function<void(TCustomPagora&, TShiftState, int x, int y)> OnMouseMove;

  void Beep() override;

protected:
  [[nodiscard]] bool FullRedrawOnScroll() const override;
  void WindowCreated() override;
  void AfterVScroll() override;
  void AfterHScroll() override;
  // Descendants paint their own marks (the caret, drop marks) after the document.
  virtual void PaintOverlay(ICanvas& /*canvas*/) {}
  // Dragging the selection elsewhere comes with drag and drop; until a descendant offers
  // it, a press inside the selection starts a new one.
  [[nodiscard]] virtual bool CanDragSelection() const { return false; }
  virtual void StartSelectionDrag() {}

private:
  friend class TPagoraPGData;
  // Mouse selection.
  void MoveSelectionEnd(int x, int y);
  void ApplySelectionModes(TCustomPGFormattedData::TPosition at);
  void SelectLines(int anchorDraw, int endDraw);
  void UpdateHover(TShiftState shift, int x, int y);
  void SetHoveredJump(int jump);
  void InvalidateJump(int jump);
  [[nodiscard]] int JumpAtDocumentPoint(TPoint p) const;
  void SelectionChanged();
  void RaiseSelect();
  [[nodiscard]] bool InsideSelection(int drawItem, int offset) const;
  [[nodiscard]] bool BeforeSelection(TCustomPGFormattedData::TPosition p) const;
  [[nodiscard]] bool AfterSelection(TCustomPGFormattedData::TPosition p) const;
  bool SelectWordAt(int x, int y);
  // Word bounds (draw offsets) around a position in a text run; false when the position
  // touches a delimiter on either side.
  bool WordAround(int drawItem, int offset, int& start, int& end) const;
  [[nodiscard]] bool IsDelimiter(char16_t c) const;
  // Checkpoint events after a vertical scroll.
  void CheckpointEvents();
  void PaintDocument(ICanvas& canvas, const TRect& clip);
  void PaintBackground(ICanvas& canvas, const TRect& clip);
  void PaintNoStyleNotice(ICanvas& canvas, const TRect& clip);
  void PaintFocusMark(ICanvas& canvas);
  void LayoutChanged();
  // Hover, link focus and a selection in progress refer to the layout that went.
  void ResetMouseState();
  // Embedded controls sit over their drawing items and move with the content.
  void PlaceControls();
  void MoveControls();
  // After scrolling: the mouse is over other content now.
  void HoverAtCursor();
  [[nodiscard]] bool SelectionHasUnicodeText(const TPGTextRange& range) const;
  [[nodiscard]] TPGFSaveArgs SaveArgs(const TPGTextRange* selection, TPGLayoutInfo& layout) const;
  void MoveLinkFocus(bool backwards);

  struct TPlacedControl {
    IEmbeddedControl* Control;
    TRect Bounds;  // in document coordinates
  };
  std::vector<TPlacedControl> controls_;
  std::unique_ptr<TPagoraPGData> data_;
  TPGBackground background_;
  IClipboard* clipboard_ = nullptr;
  // Mouse state.
  bool selecting_ = false;
  bool lineSelecting_ = false;
  bool ignoreNextRelease_ = false;  // a double click selected a word
  std::unique_ptr<TPGSelectingInfo> selectingInfo_;
  int pressedJump_ = -1;
  int hoverJump_ = -1;
  bool hoverActive_ = false;
  int autoScrollX_ = 0, autoScrollY_ = 0;
  int focusedJump_ = -1;
  // Checkpoint events: the last one reported.
  const TPGCPInfo* lastReportedCheckpoint_ = nullptr;
  bool checkpointReported_ = false;
  bool destroying_ = false;
  bool choosingStep_ = false;  // a full format: the scroll step is chosen anew
};

// The control with its properties published; applications use this one.
class TPagora : public TCustomPagora {};

inline constexpr int kAutoScrollTimerId = 1;
inline constexpr int kAutoScrollInterval = 100;  // milliseconds

}  // namespace pagora
