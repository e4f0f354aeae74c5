#include "qt/QtSystemColors.h"

namespace pagora {

QColor ToQColor(TColor color) {
  if (color == clNone) return {};
  const TColor rgb = ColorToRGB(color);
  return QColor(static_cast<int>(GetRValue(rgb)), static_cast<int>(GetGValue(rgb)), static_cast<int>(GetBValue(rgb)));
}

TColor FromQColor(const QColor& color) noexcept {
  const QRgb rgb = color.rgb();
  return RGB(static_cast<unsigned>(qRed(rgb)), static_cast<unsigned>(qGreen(rgb)), static_cast<unsigned>(qBlue(rgb)));
}

void LoadSystemColors(const QPalette& palette, TSystemColorTable& table) {
  struct TSlot {
    unsigned Index;
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
  };
  using P = QPalette;
  // The desktop background (1) and slot 25 have no palette role.
  static constexpr TSlot kSlots[] = {
      {0, P::Active, P::Button},              // scroll bar
      {2, P::Active, P::Highlight},           // active caption
      {3, P::Inactive, P::Window},            // inactive caption
      {4, P::Active, P::Window},              // menu
      {5, P::Active, P::Base},                // window
      {6, P::Active, P::Shadow},              // window frame
      {7, P::Active, P::WindowText},          // menu text
      {8, P::Active, P::Text},                // window text
      {9, P::Active, P::HighlightedText},     // caption text
      {10, P::Active, P::Window},             // active border
      {11, P::Inactive, P::Window},           // inactive border
      {12, P::Active, P::Dark},               // application workspace
      {13, P::Active, P::Highlight},          // highlight
      {14, P::Active, P::HighlightedText},    // highlight text
      {15, P::Active, P::Button},             // button face
      {16, P::Active, P::Dark},               // button shadow
      {17, P::Disabled, P::Text},             // grey text
      {18, P::Active, P::ButtonText},         // button text
      {19, P::Inactive, P::WindowText},       // inactive caption text
      {20, P::Active, P::Light},              // button highlight
      {21, P::Active, P::Shadow},             // 3-D dark shadow
      {22, P::Active, P::Midlight},           // 3-D light
      {23, P::Active, P::ToolTipText},        // info text
      {24, P::Active, P::ToolTipBase},        // info background
      {26, P::Active, P::Link},               // hot light
      {27, P::Active, P::Highlight},          // gradient active caption
      {28, P::Inactive, P::Window},           // gradient inactive caption
      {29, P::Active, P::Highlight},          // menu highlight
      {30, P::Active, P::Window},             // menu bar
  };
  for (const TSlot& s : kSlots) table.Set(s.Index, FromQColor(palette.color(s.Group, s.Role)));
}

void LoadSystemColors(const QPalette& palette) { LoadSystemColors(palette, SystemColors()); }

}  // namespace pagora
