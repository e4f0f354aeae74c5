// Painting a formatted document onto a canvas: paragraph backgrounds and borders, page
// breaks, checkpoints, the drawing items with their selection and hover states, and the
// marks of special characters.
#pragma once

#include "layout/CPGFData.h"
#include "platform/Geometry.h"

namespace pagora {

class ICanvas;
class TCustomPagora;

struct TPGPaintSettings {
  TRect Clip;                    // what to paint, in canvas coordinates
  int ScrollX = 0, ScrollY = 0;  // canvas coordinates are document coordinates minus these
  int ClientWidth = 0;           // of the window; 0: the layout's area width
  TPGSelectionRange Selection;
  bool Focused = false;   // the window has the keyboard focus
  int HoverItem = -1;     // the hypertext item under the mouse while hover is active
  int CurrentItem = -1;   // the object being resized
  TPGColorMode ColorMode = pgcmColor;
  TCustomPagora* Control = nullptr;  // passed to the style sheet's drawing handlers
};

// Paints what of the formatted document lies in settings.Clip. The document must be
// formatted and have a style sheet.
void PaintFormattedData(TCustomPGFormattedData& data, ICanvas& canvas, const TPGPaintSettings& settings);

}  // namespace pagora
