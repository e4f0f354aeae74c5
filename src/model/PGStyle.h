// The style sheet: the text, paragraph and list styles that documents refer to by
// number, the colours and settings shared by the documents that use it, and the drawing
// of a style onto a canvas.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/StyleCollections.h"
#include "model/StyleTypes.h"
#include "platform/CodePages.h"
#include "platform/Colors.h"
#include "platform/Geometry.h"

namespace pagora {

class ICanvas;
class TCustomPGData;
class TGraphic;
class TCustomPagora;  // the viewer control, passed through to drawing handlers

// One that refers to a style sheet without owning it (a control): told when the sheet goes,
// so that no pointer to it outlives it.
class IPGStyleUser {
public:
  virtual ~IPGStyleUser() = default;
  virtual void StyleSheetDestroyed(TPGStyle& sheet) = 0;
};

class TPGStyle {
public:
  TPGStyle();
  virtual ~TPGStyle();
  TPGStyle(const TPGStyle&) = delete;
  TPGStyle& operator=(const TPGStyle&) = delete;

  void AddUser(IPGStyleUser* user);
  void RemoveUser(IPGStyleUser* user);

  // The component name, which stored style collections carry along.
  std::string Name = "PGStyle1";

  // Collections. Assigning one copies the given styles into the owned collection.
  TFontInfos TextStyles;
  TParaInfos ParaStyles;
  TPGListInfos ListStyles;

  std::int16_t SpacesInTab = 8;
  TCursor JumpCursor = crJump;
  TCursor LineSelectCursor = crFlipArrow;
  bool FullRedraw = false;
  bool UseSound = true;
  TColor Color = clWindow;
  TColor HoverColor = clNone;
  TColor CurrentItemColor = clNone;
  TColor SelColor = clHighlight;
  TColor SelTextColor = clHighlightText;
  TColor InactiveSelColor = clHighlight;
  TColor InactiveSelTextColor = clHighlightText;
  TColor CheckpointColor = clGreen;
  TColor CheckpointEvColor = clLime;
  TColor PageBreakColor = clBtnShadow;
  TColor SoftPageBreakColor = clBtnFace;
  TPGSelectionMode SelectionMode = pgsmWord;
  TPGSelectionStyle SelectionStyle = pgssItems;
  int DefUnicodeStyle = -1;
  TPGCodePage DefCodePage = CP_ACP;

  // What is being drawn while OnDrawStyleText and OnDrawTextBack run.
  int DrawItemNo = -1;
  int DrawOffs = 0;
  TCustomPGData* DrawPGData = nullptr;

  // Events; DoDefault starts True and a handler clears it to replace the default drawing.
  std::function<void(TPGStyle& sender, ICanvas& canvas, int styleNo, bool& doDefault)> OnApplyStyle;
  std::function<void(TPGStyle& sender, ICanvas& canvas, int styleNo, TPGTextDrawStates drawState, bool& doDefault)>
      OnApplyStyleColor;
  std::function<void(TPGStyle& sender, const std::u16string& s, ICanvas& canvas, int styleNo, int spaceBefore,
                     int left, int top, int width, int height, TPGTextDrawStates drawState, bool& doDefault)>
      OnDrawStyleText;
  std::function<void(TPGStyle& sender, int styleNo, bool& sensitive)> OnStyleHoverSensitive;
  std::function<void(TPGStyle& sender, ICanvas& canvas, int styleNo, int left, int top, int width, int height,
                     TPGTextDrawStates drawState, bool& doDefault)>
      OnDrawTextBack;
  std::function<void(TPGStyle& sender, ICanvas& canvas, int x, int y, int itemNo, int xShift, bool raiseEvent,
                     TCustomPagora* control, bool& doDefault)>
      OnDrawCheckpoint;
  std::function<void(TPGStyle& sender, ICanvas& canvas, int y, int xShift, TPGPageBreakType pageBreakType,
                     TCustomPagora* control, bool& doDefault)>
      OnDrawPageBreak;
  std::function<void(TPGStyle& sender, ICanvas& canvas, int paraNo, const TRect& rect, bool& doDefault)>
      OnDrawParaBack;

  // Clear a collection and create the default styles in it.
  void CreateDefaultTextStyles();
  void CreateDefaultParaStyles();

  // Selects the font of a text style into the canvas; docBiDiMode stands in for the
  // style's direction when that is unspecified.
  void ApplyFontToCanvas(ICanvas& canvas, int styleNo, TPGBiDiMode docBiDiMode);
  // Sets the text colour and the brush for text in a style, in a draw state.
  void ApplyColorsToCanvas(ICanvas& canvas, int styleNo, TPGTextDrawStates drawState, TPGColorMode colorMode,
                           bool useColorMode);
  // Draws a piece of text in a style whose font is selected already: the background, the
  // text spaceBefore pixels from left (justification's extra room), the overline, and with
  // pgtsSpecialCharacters a dot in every space. s is shown in capitals for all-caps styles.
  void PaintStyleText(std::u16string_view s, ICanvas& canvas, int itemNo, int offs, TCustomPGData* pgData,
                      int styleNo, int spaceBefore, int left, int top, int width, int height,
                      TPGTextDrawStates drawState, TPGColorMode colorMode = pgcmColor, bool useColorMode = false);
  // Lets a handler paint behind text; there is no default drawing.
  void PaintTextBack(ICanvas& canvas, int itemNo, int offs, TCustomPGData* pgData, int styleNo, int left, int top,
                     int width, int height, TPGTextDrawStates drawState);

  // Whether links in the style must be redrawn when the mouse enters or leaves them.
  [[nodiscard]] bool NeedsHoverRepaint(int styleNo);
  // The colour, or the sheet's HoverColor when it is none.
  [[nodiscard]] TColor EffectiveHoverColor(TColor color) const noexcept;

  // The checkpoint mark at (x, y): a circle when it belongs to an item, then a dotted line
  // across the visible width (from xShift, controlWidth pixels long).
  void PaintCheckpoint(ICanvas& canvas, int x, int y, int itemNo, int xShift, bool raiseEvent, TCustomPagora* control,
                       int controlWidth);
  // A page break line at height y across the client area (from xShift, clientWidth wide)
  // ending in a small triangle.
  void PaintPageBreak(ICanvas& canvas, int y, int xShift, TPGPageBreakType pageBreakType, TCustomPagora* control,
                      int clientWidth);
  // The background of a paragraph in its paragraph style's colour.
  void PaintParaBack(ICanvas& canvas, int paraNo, const TRect& rect, TPGColorMode colorMode);

  // The image list is going away: list levels that refer to it forget it.
  void ForgetImageList(const TPGImageList* imageList);

  // Shown instead of a picture that cannot be decoded; made on first use.
  [[nodiscard]] const TGraphic& InvalidPicture() const;

protected:
  // The classes of new styles; a descendant style sheet may use derived style classes
  // (and then calls the CreateDefault functions again in its own constructor).
  [[nodiscard]] virtual std::unique_ptr<TCustomPGInfo> NewTextStyle() const;
  [[nodiscard]] virtual std::unique_ptr<TCustomPGInfo> NewParaStyle() const;
  [[nodiscard]] virtual std::unique_ptr<TCustomPGInfo> NewListStyle() const;

private:
  std::vector<IPGStyleUser*> users_;
  mutable std::unique_ptr<TGraphic> invalidPicture_;
};

}  // namespace pagora
