// A formatted document: the document container with its layout for one width and device
// (drawing items, hot areas of hypertext, marker boxes), kept paragraph by paragraph so that
// an edit reformats what it touched and little else.
#pragma once

#include <span>
#include <vector>

#include "layout/DLines.h"
#include "layout/ParagraphBlocks.h"
#include "model/CPGData.h"
#include "model/DeviceScale.h"
#include "model/PlainText.h"

namespace pagora {

class ICanvas;

// Where a document is formatted: margins and widths in screen pixels, the area it is shown
// in, and the canvas it is measured on. A viewer answers these from its control.
struct TPGLayoutSettings {
  int LeftMargin = 5;
  int RightMargin = 5;
  int TopMargin = 5;
  int BottomMargin = 5;
  int MinTextWidth = 0;
  int MaxTextWidth = 0;
  int AreaWidth = 100;
  int AreaHeight = 40;
  TPGOwnerFlags OwnerFlags = kViewerOwnerFlags;
  int ScreenPpi = 96;  // the screen's pixels per inch; the canvas gives the device's
};

class TCustomPGFormattedData : public TCustomPGData {
public:
  explicit TCustomPGFormattedData(IPGDataOwner* owner = nullptr);
  ~TCustomPGFormattedData() override;

  // ---- what the owner answers (a viewer overrides these)
  TPGLayoutSettings Layout;
  ICanvas* Canvas = nullptr;  // the formatting canvas
  [[nodiscard]] virtual const TPGLayoutSettings& LayoutSettings() const { return Layout; }
  [[nodiscard]] virtual ICanvas* FormattingCanvas() const { return Canvas; }
  // The document's size for scrolling; a viewer may show or hide scroll bars and so change
  // the area, which formats once more.
  virtual void SetScrollSizes(int /*width*/, int /*height*/) {}
  // The origin of the document inside its owner (a table cell's offset in its table).
  [[nodiscard]] virtual TPoint Origin() const { return {}; }
  // The document y shown at the top of the owner's window, and a request to show another.
  [[nodiscard]] virtual int VerticalScrollPosition() const { return 0; }
  virtual void ScrollToPosition(int /*y*/) {}

  // ---- formatting
  // Formats the whole document. With force unset and the widths unchanged, only the
  // scroll sizes are refreshed.
  void Format(bool force = true, bool fullReformat = true);
  // Formats for a changed area (a resized window): the selection and the item at the top
  // of the window stay where they were.
  void FormatKeepingPosition(bool force = false);
  // Reformats the paragraphs holding items first..last after an edit. Items inserted or
  // removed since the last format are tracked already and reformatted too.
  void FormatParagraphs(int firstItem, int lastItem);
  // Reformats what the tracked insertions and removals touched.
  void FormatChanged();
  void ClearFormatting();
  // Clears the document, deselecting and unformatting it first.
  void Clear() override;
  [[nodiscard]] bool IsFormatted() const noexcept { return formatted_; }
  [[nodiscard]] int CalculateMinDocumentWidth();

  // ---- results
  [[nodiscard]] int DocumentWidth() const noexcept { return documentWidth_; }
  [[nodiscard]] int WrapWidth() const noexcept { return wrapWidth_; }
  [[nodiscard]] int DocumentHeight() const noexcept { return documentHeight_; }
  [[nodiscard]] int LastFormattedItem() const noexcept { return lastFormattedItem_; }
  [[nodiscard]] const TPGDeviceScale& DeviceScale() const noexcept { return scale_; }

  [[nodiscard]] int DrawItemCount() const;
  // A drawing item in document coordinates.
  [[nodiscard]] TPGDrawLineInfo DrawItem(int d) const;
  // The text of a drawing item: the characters of its item it covers (the display text:
  // capitals for all-caps styles).
  [[nodiscard]] std::u16string DrawItemText(int d) const;
  // The first drawing item of an item, or -1.
  [[nodiscard]] int FirstDrawItemOf(int itemNo) const;
  // The box of a list marker item as formatted (all zero for other items).
  [[nodiscard]] TPGMarkerBox MarkerBoxOf(int itemNo) const;
  // First and last drawing item of the line of drawing item d.
  void GetLineRange(int d, int& first, int& last) const;

  // Hot areas of hypertext (with pgofHypertext), in formatting order.
  // Built on first use after a pass, so that reformatting does not pay for them.
  [[nodiscard]] const std::vector<TPGJumpInfo>& Jumps() const;
  [[nodiscard]] int JumpCount() const;
  // The hot areas of one hypertext number (a link broken over lines has several).
  [[nodiscard]] std::span<const TPGJumpInfo> JumpAreas(int jumpIndex) const;
  // The hot area at a document point, or none.
  [[nodiscard]] const TPGJumpInfo* JumpAtPoint(int x, int y) const;
  // The hypertext number of an item in this layout: -1 when it is no link, -3 for an
  // empty link (which has no hot area).
  [[nodiscard]] int LinkIndexOf(int itemNo) const;

  // ---- hit testing, in document coordinates
  struct TPosition {
    int DrawItem = -1;
    int Offset = -1;
  };
  [[nodiscard]] TPosition FindDrawItemAtPoint(int x, int y, bool strict);
  [[nodiscard]] int FindDrawItemUnderPoint(int x, int y) const;
  // The character of a text run under document x (0-based in DrawItemText), or -1 outside.
  [[nodiscard]] int CharacterAtX(int drawItem, int x);
  // The first drawing item whose Top is at or below y (lastItem: the last one when all
  // lie above y).
  [[nodiscard]] int FindDrawItemByY(int y, bool lastItem) const;

  // The layout paragraph by paragraph (drawing items relative to their paragraph).
  [[nodiscard]] const TPGParaBlocks& Blocks() const noexcept { return blocks_; }
  // The margins as formatted, in device pixels.
  [[nodiscard]] int LeftMarginPixels() const noexcept { return leftMarginPx_; }
  [[nodiscard]] int RightMarginPixels() const { return scale_.ScaleX(LayoutSettings().RightMargin); }

  // ---- the selection, in drawing-item coordinates (see TPGSelectionRange): an anchor and
  // a moving end, the anchor possibly after the end
  void SetSelectionBounds(int anchorDraw, int anchorOffset, int endDraw, int endOffset);
  void GetSelectionBounds(int& anchorDraw, int& anchorOffset, int& endDraw, int& endOffset) const;
  // The bounds ordered; both -1 when nothing is selected.
  [[nodiscard]] TPGSelectionRange NormalizedSelection() const;
  // Something is selected: the two ends differ.
  [[nodiscard]] bool SelectionExists() const;
  void Deselect();
  void SelectAll();
  // The selection in item coordinates, for writers; false when nothing is selected.
  [[nodiscard]] bool SelectionAsItemRange(TPGTextRange& range) const;
  // Between drawing-item and item coordinates. A text position at a line's end maps to
  // the earlier line's drawing item.
  [[nodiscard]] bool DrawToItemPosition(int drawItem, int drawOffset, int& itemNo, int& itemOffset) const;
  [[nodiscard]] bool ItemToDrawPosition(int itemNo, int itemOffset, int& drawItem, int& drawOffset) const;
  // The position before the first and after the last character of a drawing item.
  [[nodiscard]] int DrawOffsetBefore(int drawItem) const;
  [[nodiscard]] int DrawOffsetAfter(int drawItem) const;

  // Where pages end when the document is printed, as the last pagination found them.
  std::vector<TPGSoftPageBreakInfo> SoftPageBreaks;

  // The display text of an item (text items; capitals for all-caps styles).
  [[nodiscard]] std::u16string DisplayText(int itemNo) const;

protected:
  void ItemsInserted(int first, int count) override;
  void ItemsRemoved(int first, int count) override;

private:
  friend class TPGLineBuilder;
  void ComputeWidths();
  void LayoutAll();
  void Reformat(int firstBlock, int lastBlock);
  void FinishPass();
  void BuildJumps() const;
  // Selects the font of a text item for measuring; true when it reads right to left.
  bool ApplyRunFont(ICanvas& canvas, int itemNo, TPGBiDiMode mode);
  // x measured from where a run's text starts (its right edge for right-to-left text).
  [[nodiscard]] static int RunRelativeX(const TPGDrawLineInfo& di, int x, bool rtl);
  void MarkDirty(int firstBlock, int lastBlock);
  [[nodiscard]] TPGParaBlock LayoutParagraph(int firstItem, int lastItem);
  [[nodiscard]] int ParagraphMinWidth(int firstItem, int lastItem);
  [[nodiscard]] int TopMargin() const { return LayoutSettings().TopMargin; }

  TPGParaBlocks blocks_;
  bool formatted_ = false;
  int dirtyFirst_ = -1, dirtyLast_ = -1;  // blocks waiting to be laid out again
  int documentWidth_ = 0;
  int wrapWidth_ = 0;
  int documentHeight_ = 0;
  int leftMarginPx_ = 0;
  int lastFormattedItem_ = -1;
  int minWidth_ = 0;
  TPGDeviceScale scale_;
  mutable std::vector<TPGJumpInfo> jumps_;
  mutable std::vector<int> linkIndex_;
  mutable int jumpCount_ = 0;
  mutable bool jumpsStale_ = false;
  int canvasStyle_ = -1;
  // The selection, and while a format keeps the position, the same in item coordinates.
  int selAnchorDraw_ = -1, selAnchorOffset_ = 0, selEndDraw_ = -1, selEndOffset_ = 0;  // the text style selected into the canvas, -1 when unknown
  int passDepth_ = 0;
};

}  // namespace pagora
