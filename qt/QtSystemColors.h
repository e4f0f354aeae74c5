// Colours between the document encoding (0x00BBGGRR, system colours 0xFF0000nn, clNone)
// and Qt, and the system colour table filled from the desktop's palette.
#pragma once

#include <QColor>
#include <QPalette>

#include "platform/Colors.h"

namespace pagora {

// The Qt colour of a document colour, system colours resolved through the table;
// clNone gives an invalid QColor (nothing is drawn with it).
[[nodiscard]] QColor ToQColor(TColor color);
// The document colour of a Qt colour; alpha is dropped.
[[nodiscard]] TColor FromQColor(const QColor& color) noexcept;

// Sets the system colours from a palette: window and window text from the base and text
// roles, highlight, button face, shadow and highlight, tooltips and the rest from their
// nearest roles. Slots with no counterpart keep their values. The application calls it
// at start-up and whenever the palette changes.
void LoadSystemColors(const QPalette& palette, TSystemColorTable& table);
void LoadSystemColors(const QPalette& palette);

}  // namespace pagora
