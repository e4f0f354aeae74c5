#include "model/PGStyle.h"

#include <algorithm>

#include "graphics/Graphic.h"
#include "graphics/InvalidPicture.h"

namespace pagora {

TPGStyle::TPGStyle()
    : TextStyles(this, [this] { return NewTextStyle(); }),
      ParaStyles(this, [this] { return NewParaStyle(); }),
      ListStyles(this, [this] { return NewListStyle(); }) {
  CreateDefaultTextStyles();
  CreateDefaultParaStyles();
}

TPGStyle::~TPGStyle() {
  const std::vector<IPGStyleUser*> users = std::move(users_);
  for (IPGStyleUser* user : users) user->StyleSheetDestroyed(*this);
}

void TPGStyle::AddUser(IPGStyleUser* user) {
  if (user && std::find(users_.begin(), users_.end(), user) == users_.end()) users_.push_back(user);
}

void TPGStyle::RemoveUser(IPGStyleUser* user) { std::erase(users_, user); }

std::unique_ptr<TCustomPGInfo> TPGStyle::NewTextStyle() const { return std::make_unique<TFontInfo>(); }
std::unique_ptr<TCustomPGInfo> TPGStyle::NewParaStyle() const { return std::make_unique<TParaInfo>(); }
std::unique_ptr<TCustomPGInfo> TPGStyle::NewListStyle() const { return std::make_unique<TPGListInfo>(); }

void TPGStyle::CreateDefaultTextStyles() {
  TextStyles.Clear();
  TextStyles.Add().StyleName = "Normal text";

  TFontInfo& heading = TextStyles.Add();
  heading.StyleName = "Heading";
  heading.Style.Include(fsBold);
  heading.Color = clBlue;

  TFontInfo& subheading = TextStyles.Add();
  subheading.StyleName = "Subheading";
  subheading.Style.Include(fsBold);
  subheading.Color = clNavy;

  TFontInfo& keywords = TextStyles.Add();
  keywords.StyleName = "Keywords";
  keywords.Style.Include(fsItalic);
  keywords.Color = clMaroon;

  for (const char* name : {"Jump 1", "Jump 2"}) {
    TFontInfo& jump = TextStyles.Add();
    jump.StyleName = name;
    jump.Style.Include(fsUnderline);
    jump.Color = clGreen;
    jump.Jump = true;
    jump.JumpCursor = JumpCursor;
  }
}

void TPGStyle::CreateDefaultParaStyles() {
  ParaStyles.Clear();
  ParaStyles.Add();
  TParaInfo& centered = ParaStyles.Add();
  centered.StyleName = "Centered";
  centered.Alignment = pgaCenter;
}

TColor TPGStyle::EffectiveHoverColor(TColor color) const noexcept { return color == clNone ? HoverColor : color; }

bool TPGStyle::NeedsHoverRepaint(int styleNo) {
  const TFontInfo& f = TextStyles[styleNo];
  bool sensitive = !(EffectiveHoverColor(f.HoverColor) == clNone && f.HoverBackColor == f.BackColor);
  if (OnStyleHoverSensitive) OnStyleHoverSensitive(*this, styleNo, sensitive);
  return sensitive;
}

const TGraphic& TPGStyle::InvalidPicture() const {
  if (!invalidPicture_) invalidPicture_ = CreateInvalidPicture();
  return *invalidPicture_;
}

void TPGStyle::ForgetImageList(const TPGImageList* imageList) { ListStyles.ForgetImageList(imageList); }

}  // namespace pagora
