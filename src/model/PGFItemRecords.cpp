// The native-format records of the built-in item classes: their header extras, property
// lines and bodies, written and read.
#include <string>

#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "graphics/InvalidPicture.h"
#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/CPGData.h"
#include "model/ControlItem.h"
#include "model/ControlRegistry.h"
#include "model/DataOwner.h"
#include "model/PGFFormat.h"
#include "model/PGFRecords.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"
#include "platform/EmbeddedControl.h"

namespace pagora {

namespace {
std::string KeywordLine(TPGItemIntProp p, int value) { return std::string(IntPropKeyword(p)) + "=" + std::to_string(value); }
std::string KeywordLine(TPGItemStrProp p, const std::string& value) {
  std::string line = std::string(StrPropKeyword(p)) + "=" + value;
  for (char& c : line)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  return line;
}
}  // namespace

// ---------------------------------------------------------------- base classes

void TCustomPGItemInfo::WritePGFRecord(TPGFWriter&, int, int, const std::string&) const {}

void TCustomPGItemInfo::PGFPropertyLines(std::vector<std::string>& lines) const {
  if (IsText()) return;  // a text item's hint is in its header
  if (!Hint().empty()) lines.push_back(KeywordLine(pgspHint, Hint()));
  if (const auto* nt = dynamic_cast<const TPGNonTextItemInfo*>(this); nt && nt->Unremovable)
    lines.push_back(KeywordLine(pgipUnremovable, 1));
}

bool TCustomPGItemInfo::ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext&) {
  if (IsText()) {
    std::string hint;
    if (fields.Quoted(hint)) SetHint(hint);
  }
  return true;
}

bool TCustomPGItemInfo::ParsePGFRecordLine(std::string_view line, int lineNo, int, TPGFReadContext&,
                                           std::string& name) {
  if (lineNo == 0) name = std::string(line);
  else ApplyPGFPropertyLine(*this, line);
  return true;
}

void ApplyPGFPropertyLine(TCustomPGItemInfo& item, std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return;
  const std::string_view keyword = line.substr(0, eq);
  const std::string value(line.substr(eq + 1));
  if (const auto ip = IntPropFromKeyword(keyword)) {
    int v = 0;
    TPGFHeaderFields f(value);
    if (!f.Number(v) || !f.AtEnd()) v = 0;
    item.SetIntProp(*ip, v);
  } else if (const auto sp = StrPropFromKeyword(keyword)) {
    item.SetStrProp(*sp, value);
  } else {
    item.SetCustomProp(std::string(keyword), value);
  }
}

namespace {

void RectPropertyLines(const TPGRectItemInfo& item, std::vector<std::string>& lines) {
  if (item.VShift != 0) lines.push_back(KeywordLine(pgipVShift, item.VShift));
  if (item.VShiftAbs) lines.push_back(KeywordLine(pgipVShiftAbs, 1));
  if (item.Spacing() != 1) lines.push_back(KeywordLine(pgipSpacing, item.Spacing()));
}

// Inline objects: the vertical alignment, 0 when nothing is there.
bool ReadVAlign(TPGRectItemInfo& item, TPGFHeaderFields& fields) {
  int v = 0;
  if (!fields.AtEnd() && !fields.Number(v)) return false;
  item.VAlign = (v & 0xFF) == 1 ? pgvaMiddle : pgvaBaseline;
  return true;
}

// The record of a picture or a control: name, class name, property lines and the object's
// data; or, without the data, name and property lines (mode 1: the application supplies
// the object). body writes the data line.
template <class WriteBody>
void WriteObjectRecord(TPGFWriter& w, const TPGRectItemInfo& item, int paraNo, const std::string& name,
                       const std::string* className, WriteBody writeBody) {
  std::vector<std::string> props;
  item.PGFPropertyLines(props);
  const int lines = static_cast<int>(props.size());
  const std::string valign = std::to_string(static_cast<int>(item.VAlign));
  const unsigned flags = item.Flags().Raw();
  if (className) {
    w.Header(item.StyleNo, 3 + lines, paraNo, flags, w.DataMode(), item.Tag, valign);
    w.Line(name);
    w.Line(*className);
    for (const std::string& p : props) w.Line(p);
    writeBody();
  } else {
    w.Header(item.StyleNo, 1 + lines, paraNo, flags, 1, item.Tag, valign);
    w.Line(name);
    for (const std::string& p : props) w.Line(p);
  }
}

// Decodes a body line and reports hexadecimal that is not.
bool BodyBytes(std::string_view line, TPGFReadContext& c, std::string& bytes, const char* what) {
  if (c.LineData(line, bytes)) return true;
  c.Error = std::string("the ") + what + " data is not valid hexadecimal";
  return false;
}

}  // namespace

// ---------------------------------------------------------------- breaks

void TPGBreakItemInfo::WritePGFRecord(TPGFWriter& w, int, int paraNo, const std::string&) const {
  w.Header(StyleNo, 0, paraNo, Flags().Raw(), 0, Tag,
           std::to_string(Color) + " " + std::to_string(Style) + " " + std::to_string(Width));
}

bool TPGBreakItemInfo::ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& c) {
  if (fields.AtEnd()) {
    Color = clNone;
    Style = 0;
    Width = 1;
    return true;
  }
  int color = 0, style = 0, width = 0;
  if (!fields.Number(color) || !fields.Number(style) || !fields.Number(width)) {
    c.Error = "a break record needs its colour, style and width";
    return false;
  }
  Color = static_cast<TColor>(color);
  Style = static_cast<std::uint8_t>(style);
  Width = static_cast<std::uint8_t>(width);
  return true;
}

// ---------------------------------------------------------------- pictures

void TPGGraphicItemInfo::PGFPropertyLines(std::vector<std::string>& lines) const {
  TPGRectItemInfo::PGFPropertyLines(lines);
  RectPropertyLines(*this, lines);
  if (ShownWidth > 0) lines.push_back(KeywordLine(pgipImageWidth, ShownWidth));
  if (ShownHeight > 0) lines.push_back(KeywordLine(pgipImageHeight, ShownHeight));
  if (MinHeightOnPage > 0) lines.push_back(KeywordLine(pgipMinHeightOnPage, MinHeightOnPage));
  if (NoHTMLSize) lines.push_back(KeywordLine(pgipNoHTMLSize, 1));
  if (Image && Image->IsBitmap() && Image->Transparent()) {
    lines.push_back(KeywordLine(pgipTransparent, 1));
    const bool fixed = Image->TransparentMode() == TTransparentMode::tmFixed;
    lines.push_back(KeywordLine(pgipTransparentMode, fixed ? 1 : 0));
    if (fixed) lines.push_back(KeywordLine(pgipTransparentColor, static_cast<int>(Image->TransparentColor())));
  }
  if (!FileName.empty()) lines.push_back(KeywordLine(pgspFileName, FileName));
  if (!Alt.empty()) lines.push_back(KeywordLine(pgspAlt, Alt));
}

void TPGGraphicItemInfo::WritePGFRecord(TPGFWriter& w, int, int paraNo, const std::string& name) const {
  const bool body = w.Options().Contains(pgfoSavePicturesBody) && Image;
  const std::string cls = body ? Image->ClassName() : std::string();
  WriteObjectRecord(w, *this, paraNo, name, body ? &cls : nullptr, [&] { w.Data(Image->SaveToBytes()); });
}

bool TPGGraphicItemInfo::ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& c) {
  if (ReadVAlign(*this, fields)) return true;
  c.Error = "the vertical alignment of a picture is not a number";
  return false;
}

bool TPGGraphicItemInfo::ParsePGFRecordLine(std::string_view line, int lineNo, int lineCount, TPGFReadContext& c,
                                            std::string& name) {
  if (lineNo == 0) {
    name = std::string(line);
    if (c.Mode == 1 && c.Owner()) Image = c.Owner()->PGFPictureNeeded(name, c.Tag);
    return true;
  }
  if (c.Mode == 1) {
    ApplyPGFPropertyLine(*this, line);
    return true;
  }
  if (lineNo == 1) {
    Image = CreateGraphic(line);
    if (!Image) {
      c.Warn(pgrwPictureClassUnknown);
      if (!c.Options().Contains(pgfoIgnoreUnknownPicFmt)) {
        c.Error = "unknown picture class '" + std::string(line) + "'";
        return false;
      }
    }
  } else if (lineNo < lineCount - 1) {
    ApplyPGFPropertyLine(*this, line);
  } else {
    std::string bytes;
    if (!BodyBytes(line, c, bytes, "picture")) return false;
    if (Image && !Image->LoadFromBytes(bytes)) {
      // What cannot be decoded is shown as the invalid picture, with its data kept for saving.
      Image = CreateUnreadablePicture(Image->ClassName(), std::move(bytes));
      c.Warn(pgrwPictureUnreadable);
    }
  }
  if (c.Mode == 2 && lineNo == lineCount - 2) c.NextLineBinary();
  return true;
}

// ---------------------------------------------------------------- controls

void TPGControlItemInfo::PGFPropertyLines(std::vector<std::string>& lines) const {
  TPGRectItemInfo::PGFPropertyLines(lines);
  RectPropertyLines(*this, lines);
  if (MinHeightOnPage > 0) lines.push_back(KeywordLine(pgipMinHeightOnPage, MinHeightOnPage));
  if (Resizable) lines.push_back(KeywordLine(pgipResizable, 1));
}

void TPGControlItemInfo::WritePGFRecord(TPGFWriter& w, int itemNo, int paraNo, const std::string& name) const {
  const bool body = w.Options().Contains(pgfoSaveControlsBody) && Control;
  const std::string cls = body ? Control->ClassName() : std::string();
  WriteObjectRecord(w, *this, paraNo, name, body ? &cls : nullptr, [&] {
    TCustomPGData* root = w.Document().GetRootData();
    root->RaiseControlAction(pgcaBeforePGFSave, itemNo, Control.get());
    w.Data(Control->WriteComponent());
    root->RaiseControlAction(pgcaAfterPGFSave, itemNo, Control.get());
  });
}

bool TPGControlItemInfo::ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& c) {
  if (ReadVAlign(*this, fields)) return true;
  c.Error = "the vertical alignment of a control is not a number";
  return false;
}

bool TPGControlItemInfo::ParsePGFRecordLine(std::string_view line, int lineNo, int lineCount, TPGFReadContext& c,
                                            std::string& name) {
  auto noControl = [&] {
    c.Warn(pgrwControlClassUnknown);
    if (c.Options().Contains(pgfoIgnoreUnknownCtrls)) return true;
    c.Error = "a control record gave no control";
    return false;
  };
  if (lineNo == 0) {
    name = std::string(line);
    if (c.Mode == 1) {
      if (c.Owner()) Control = c.Owner()->PGFControlNeeded(name, c.Tag);
      if (!Control && lineCount == 1) return noControl();
    }
    return true;
  }
  if (c.Mode == 1) {
    ApplyPGFPropertyLine(*this, line);
    if (!Control && lineNo == lineCount - 1) return noControl();
    return true;
  }
  if (lineNo == 1) {
    className_ = std::string(line);
  } else if (lineNo < lineCount - 1) {
    ApplyPGFPropertyLine(*this, line);
  } else {
    std::string bytes;
    if (!BodyBytes(line, c, bytes, "control")) return false;
    Control = CreateControl(className_);
    if (Control && !Control->ReadComponent(bytes)) Control.reset();  // a control that cannot be read is dropped
    if (!Control) return noControl();
  }
  if (c.Mode == 2 && lineNo == lineCount - 2) c.NextLineBinary();
  return true;
}

// ---------------------------------------------------------------- bullets and hot spots

void TPGBulletItemInfo::PGFPropertyLines(std::vector<std::string>& lines) const {
  TPGRectItemInfo::PGFPropertyLines(lines);
  RectPropertyLines(*this, lines);
  if (NoHTMLSize) lines.push_back(KeywordLine(pgipNoHTMLSize, 1));
}

void TPGBulletItemInfo::WritePGFRecord(TPGFWriter& w, int, int paraNo, const std::string& name) const {
  std::vector<std::string> props;
  PGFPropertyLines(props);
  w.Header(StyleNo, 1 + static_cast<int>(props.size()), paraNo, Flags().Raw(), 0, Tag,
           std::to_string(ImageList ? ImageList->Tag : 0) + " " + std::to_string(ImageIndex));
  w.Line(name);
  for (const std::string& p : props) w.Line(p);
}

namespace {

// The image list by its tag, and an index checked against it.
bool ReadBulletImage(TPGBulletItemInfo& item, TPGFHeaderFields& fields, TPGFReadContext& c, int& index) {
  int tag = 0;
  if (!fields.Number(tag) || !fields.Number(index)) {
    c.Error = "a bullet record needs its image list and image index";
    return false;
  }
  item.ImageList = c.Owner() ? c.Owner()->PGFImageListNeeded(tag) : nullptr;
  return true;
}

bool CheckImageIndex(const TPGBulletItemInfo& item, TPGFReadContext& c, int& index) {
  if (!item.ImageList || index < item.ImageList->Count()) return true;
  c.Warn(pgrwImageIndexOutOfRange);
  if (c.Options().Contains(pgfoConvLargeImageIdxToZero)) {
    index = 0;
    return true;
  }
  c.Error = "image index " + std::to_string(index) + " is beyond its image list";
  return false;
}

}  // namespace

bool TPGBulletItemInfo::ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& c) {
  int index = 0;
  if (!ReadBulletImage(*this, fields, c, index) || !CheckImageIndex(*this, c, index)) return false;
  ImageIndex = index;
  return true;
}

void TPGHotspotItemInfo::PGFPropertyLines(std::vector<std::string>&) const {}

void TPGHotspotItemInfo::WritePGFRecord(TPGFWriter& w, int, int paraNo, const std::string& name) const {
  w.Header(StyleNo, 1, paraNo, Flags().Raw(), 0, Tag,
           std::to_string(ImageList ? ImageList->Tag : 0) + " " + std::to_string(ImageIndex) + " " +
               std::to_string(HoverImageIndex));
  w.Line(name);
}

bool TPGHotspotItemInfo::ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& c) {
  int index = 0;
  if (!ReadBulletImage(*this, fields, c, index) || !CheckImageIndex(*this, c, index)) return false;
  ImageIndex = index;
  int hover = index;
  if (!fields.AtEnd()) {
    if (!fields.Number(hover)) {
      c.Error = "the hover image index is not a number";
      return false;
    }
    if (!CheckImageIndex(*this, c, hover)) return false;
  }
  HoverImageIndex = hover;
  return true;
}

// ---------------------------------------------------------------- list markers

void TPGMarkerItemInfo::PGFPropertyLines(std::vector<std::string>& lines) const {
  TPGRectItemInfo::PGFPropertyLines(lines);
  RectPropertyLines(*this, lines);
  if (NoHTMLSize) lines.push_back(KeywordLine(pgipNoHTMLSize, 1));
}

void TPGMarkerItemInfo::WritePGFRecord(TPGFWriter& w, int, int paraNo, const std::string&) const {
  std::vector<std::string> props;
  PGFPropertyLines(props);
  w.Header(StyleNo, static_cast<int>(props.size()), paraNo, Flags().Raw(), 0, Tag,
           std::to_string(ListStyleNo) + " " + std::to_string(LevelNo) + " " + std::to_string(RestartValue) + " " +
               (RestartNumbering ? "1" : "0"));
  for (const std::string& p : props) w.Line(p);
}

bool TPGMarkerItemInfo::ParsePGFHeaderExtras(TPGFHeaderFields& fields, TPGFReadContext& c) {
  int list = 0, level = 0, restartValue = 0, restart = 0;
  if (!fields.Number(list) || !fields.Number(level) || !fields.Number(restartValue) || !fields.Number(restart)) {
    c.Error = "a list marker record needs its list, level and restart values";
    return false;
  }
  ListStyleNo = list;
  LevelNo = ClampLevelNo(level);
  RestartValue = restartValue;
  RestartNumbering = restart != 0;
  return true;
}

bool TPGMarkerItemInfo::ParsePGFRecordLine(std::string_view line, int, int, TPGFReadContext&, std::string&) {
  ApplyPGFPropertyLine(*this, line);  // markers have no name line
  return true;
}

}  // namespace pagora
