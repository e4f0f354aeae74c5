// Lays out one paragraph: text pieces broken into lines, inline objects, full-line items,
// indents, alignment, justification, line spacing and bidirectional order. Positions are
// relative to the paragraph's start; the formatted container places the paragraph.
#pragma once

#include <string>
#include <vector>

#include "layout/ParagraphBlocks.h"
#include "model/DeviceScale.h"
#include "model/StyleTypes.h"

namespace pagora {

class ICanvas;
class TCustomPGFormattedData;
class TPGStyle;
class TCustomPGItemInfo;

class TPGLineBuilder {
public:
  struct TParams {
    TCustomPGFormattedData* Data = nullptr;
    TPGStyle* Style = nullptr;
    ICanvas* Canvas = nullptr;
    TPGDeviceScale Scale;
    int DocumentWidth = 0;
    int WrapWidth = 0;
    int LeftMarginPx = 0;
    TPGBiDiMode DocBiDiMode = pgbdUnspecified;
    int* CanvasStyle = nullptr;  // the text style selected into the canvas, shared between paragraphs
  };

  explicit TPGLineBuilder(const TParams& p) : p_(p) {}

  // Lays out items first..last (one paragraph, or one full-line item).
  [[nodiscard]] TPGParaBlock Build(int first, int last);

private:
  struct Metrics {
    int Ascent = 0, Descent = 0, Height = 0, VShift = 0;
  };

  void PlaceText(int itemNo, const std::u16string& text, int s, int n, bool mayStartLine, bool firstWord);
  void PlaceObject(int itemNo);
  void PlaceFullLine(int itemNo);
  void StartNewLine(int itemNo, bool becauseOfItem);
  void FinishLine(bool paragraphEnd);
  void RaiseLine(int ascent);
  void SelectStyle(int itemNo);
  // The most characters of text[s, s+n) fitting into width (Algorithm: largest prefix with a
  // positive width not above it, moved to a cluster boundary in Unicode text).
  int FitCount(const std::u16string& text, int s, int n, int width, bool unicode);
  bool IsJustified() const;
  [[nodiscard]] int ParaNoOf(int itemNo) const;
  [[nodiscard]] bool PrevIsMarker(int itemNo) const;

  TParams p_;
  TPGParaBlock block_;
  int first_ = 0;       // first item of the paragraph
  int paraNo_ = 0;
  // The formatting state.
  int y_ = 0;           // baseline of the current line
  int ascent_ = 0;
  int descent_ = 0;     // pending height below y_
  int x_ = 0;
  int lineLeft_ = 0;
  int lineWidth_ = 0;
  int lineStart_ = 0;   // first drawing item of the current line (relative)
  bool noLineYet_ = true;
  bool markerLine_ = false;  // the current line holds the paragraph's marker
  int spacingBelow_ = 0;
  bool spaceConsumed_ = false;
  Metrics m_;
};

}  // namespace pagora
