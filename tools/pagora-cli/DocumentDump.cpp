#include "DocumentDump.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

#include "DumpNames.h"
#include "JsonWriter.h"
#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/CPGData.h"
#include "model/ControlItem.h"
#include "model/PGStyle.h"
#include "model/PGMarker.h"
#include "model/PictureItems.h"
#include "platform/EmbeddedControl.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora::cli {

namespace {

// 8-bit strings that carry no code page of their own (list bullets) are read as 1252.
std::string Utf8From1252(std::string_view bytes) { return UTF16ToUTF8(CodePageToUTF16(1252, bytes)); }

// A string tag is application data of unknown encoding: kept when it is UTF-8, else read
// as 1252 so that no byte is lost to a replacement character.
std::string Utf8FromTagBytes(std::string_view bytes) {
  return IsValidUTF8(bytes) ? std::string(bytes) : Utf8From1252(bytes);
}

// The class name of an item, so that classes registered later name themselves too.
std::string ClassNameOf(const TCustomPGItemInfo& item) {
  const char* mangled = typeid(item).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  if (const auto colons = name.rfind("::"); colons != std::string::npos) name.erase(0, colons + 2);
  return name;
}

void WriteTag(JsonWriter& json, const TPGTag& tag) {
  if (tag.IsEmpty()) json.Null();
  else if (tag.IsString()) json.String(Utf8FromTagBytes(tag.AsString()));
  else json.Int(tag.AsInt());
}

void WriteOffsets(JsonWriter& json, const TPGRect& r) {
  json.BeginObject();
  json.IntField("Top", r.Top);
  json.IntField("Left", r.Left);
  json.IntField("Right", r.Right);
  json.IntField("Bottom", r.Bottom);
  json.EndObject();
}

void WritePicture(JsonWriter& json, const TGraphic& graphic) {
  json.BeginObject();
  json.StringField("Class", graphic.ClassName());
  json.IntField("Width", graphic.Width());
  json.IntField("Height", graphic.Height());
  json.IntField("Bytes", static_cast<std::int64_t>(graphic.SaveToBytes().size()));
  json.EndObject();
}

void WriteBaseFields(JsonWriter& json, const TCustomPGInfo& info) {
  json.StringField("StyleName", info.StyleName);
  json.IntField("BaseStyleNo", info.BaseStyleNo);
  json.BoolField("Standard", info.Standard);
}

void DumpTextStyle(JsonWriter& json, const TFontInfo& s) {
  json.BeginObject();
  WriteBaseFields(json, s);
  json.Key("BiDiMode");
  WriteEnum(json, s.BiDiMode, kBiDiModeNames);
  json.BoolField("Jump", s.Jump);
  json.IntField("JumpCursor", s.JumpCursor);
  json.StringField("FontName", s.FontName);
  json.IntField("Size", s.Size);
  json.IntField("Color", s.Color);
  json.IntField("BackColor", s.BackColor);
  json.IntField("HoverColor", s.HoverColor);
  json.IntField("HoverBackColor", s.HoverBackColor);
  json.Key("Style");
  WriteSet(json, s.Style, kFontStyleNames);
  json.Key("StyleEx");
  WriteSet(json, s.StyleEx, kFontStyleExNames);
  json.IntField("VShift", s.VShift);
  json.IntField("NextStyleNo", s.NextStyleNo);
  json.IntField("Charset", s.Charset);
  json.BoolField("Unicode", s.Unicode);
  json.Key("Protection");
  WriteSet(json, s.Protection, kProtectionNames);
  json.Key("Options");
  WriteSet(json, s.Options, kTextOptionNames);
  json.IntField("CharScale", s.CharScale);
  json.IntField("CharSpacing", s.CharSpacing);
  json.EndObject();
}

void DumpBorder(JsonWriter& json, const TPGBorder& b) {
  json.BeginObject();
  json.IntField("Color", b.Color);
  json.Key("Style");
  WriteEnum(json, b.Style, kBorderStyleNames);
  json.IntField("Width", b.Width);
  json.IntField("InternalWidth", b.InternalWidth);
  json.Key("VisibleBorders");
  json.BeginObject();
  json.BoolField("Top", b.VisibleBorders.Top);
  json.BoolField("Left", b.VisibleBorders.Left);
  json.BoolField("Right", b.VisibleBorders.Right);
  json.BoolField("Bottom", b.VisibleBorders.Bottom);
  json.EndObject();
  json.Key("BorderOffsets");
  WriteOffsets(json, b.BorderOffsets);
  json.EndObject();
}

void DumpParaStyle(JsonWriter& json, const TParaInfo& s) {
  json.BeginObject();
  WriteBaseFields(json, s);
  json.IntField("FirstIndent", s.FirstIndent);
  json.IntField("LeftIndent", s.LeftIndent);
  json.IntField("RightIndent", s.RightIndent);
  json.IntField("SpaceBefore", s.SpaceBefore);
  json.IntField("SpaceAfter", s.SpaceAfter);
  json.IntField("LineSpacing", s.LineSpacing);
  json.Key("LineSpacingType");
  WriteEnum(json, s.LineSpacingType, kLineSpacingTypeNames);
  json.Key("Alignment");
  WriteEnum(json, s.Alignment, kAlignmentNames);
  json.Key("Border");
  DumpBorder(json, s.Border);
  json.IntField("NextParaNo", s.NextParaNo);
  json.Key("Background");
  json.BeginObject();
  json.Key("BorderOffsets");
  WriteOffsets(json, s.Background.BorderOffsets);
  json.IntField("Color", s.Background.Color);
  json.EndObject();
  json.Key("Options");
  WriteSet(json, s.Options, kParaOptionNames);
  json.Key("BiDiMode");
  WriteEnum(json, s.BiDiMode, kBiDiModeNames);
  json.IntField("DefStyleNo", s.DefStyleNo);
  json.EndObject();
}

void DumpListLevel(JsonWriter& json, const TPGListLevel& level) {
  json.BeginObject();
  json.Key("ListType");
  WriteEnum(json, level.ListType, kListTypeNames);
  json.IntField("StartFrom", level.StartFrom);
  if (level.ImageList) json.IntField("ImageList", level.ImageList->Tag);
  json.IntField("ImageIndex", level.ImageIndex);
  json.StringField("FormatString", Utf8From1252(level.FormatString));
  json.StringField("FormatStringW", UTF16ToUTF8(level.FormatStringW));
  json.IntField("LeftIndent", level.LeftIndent);
  json.IntField("FirstIndent", level.FirstIndent);
  json.IntField("MarkerIndent", level.MarkerIndent);
  json.Key("MarkerAlignment");
  WriteEnum(json, level.MarkerAlignment, kMarkerAlignmentNames);
  if (const TGraphic* picture = level.Picture()) {
    json.Key("Picture");
    WritePicture(json, *picture);
  }
  if (const TPGMarkerFont* font = level.FontIfAny()) {
    json.Key("Font");
    json.BeginObject();
    json.StringField("Name", font->Name);
    json.IntField("Size", font->Size);
    json.IntField("Color", font->Color);
    json.Key("Style");
    WriteSet(json, font->Style, kFontStyleNames);
    json.IntField("Charset", font->Charset);
    json.EndObject();
  }
  json.Key("Options");
  WriteSet(json, level.Options, kListLevelOptionNames);
  json.EndObject();
}

void DumpListStyle(JsonWriter& json, const TPGListInfo& s) {
  json.BeginObject();
  WriteBaseFields(json, s);
  json.Key("Levels");
  json.BeginArray();
  for (const TPGListLevel& level : s.Levels) DumpListLevel(json, level);
  json.EndArray();
  json.BoolField("OneLevelPreview", s.OneLevelPreview);
  // Asking a list for its identifier draws one; a dump must not change the style sheet
  // nor differ from run to run.
  json.Key("ListID");
  if (s.HasListID()) json.Int(s.ListID());
  else json.Null();
  json.EndObject();
}

// The item's text as UTF-8. A UTF-16 text of odd length (which the container refuses to
// convert) is shown up to its last whole code unit, followed by U+FFFD.
std::string ItemText(const TCustomPGData& data, int n) {
  try {
    return UTF16ToUTF8(data.TextOfW(n));
  } catch (const EPagoraError&) {
    return UTF16ToUTF8(U16FromBytes(data.TextOf(n))) + "\xEF\xBF\xBD";
  }
}

void DumpKindFields(JsonWriter& json, const TCustomPGItemInfo& item) {
  const auto* nonText = dynamic_cast<const TPGNonTextItemInfo*>(&item);
  if (!nonText) return;
  json.BoolField("Unremovable", nonText->Unremovable);
  if (const auto* brk = dynamic_cast<const TPGBreakItemInfo*>(&item)) {
    json.IntField("Width", brk->Width);
    json.IntField("Style", brk->Style);
    json.IntField("Color", brk->Color);
  }
  const auto* rect = dynamic_cast<const TPGRectItemInfo*>(&item);
  if (!rect) return;
  json.Key("VAlign");
  WriteEnum(json, rect->VAlign, kVAlignNames);
  json.IntField("VShift", rect->VShift);
  json.BoolField("VShiftAbs", rect->VShiftAbs);
  json.IntField("Spacing", rect->Spacing());
  json.IntField("MinHeightOnPage", rect->MinHeightOnPage);
  if (const auto* picture = dynamic_cast<const TPGGraphicItemInfo*>(&item)) {
    json.IntField("ShownWidth", picture->ShownWidth);
    json.IntField("ShownHeight", picture->ShownHeight);
    json.BoolField("NoHTMLSize", picture->NoHTMLSize);
    json.StringField("Alt", picture->Alt);
    json.StringField("FileName", picture->FileName);
    if (picture->Image) {
      json.Key("Picture");
      WritePicture(json, *picture->Image);
    }
  } else if (const auto* bullet = dynamic_cast<const TPGBulletItemInfo*>(&item)) {
    if (bullet->ImageList) json.IntField("ImageList", bullet->ImageList->Tag);
    json.IntField("ImageIndex", bullet->ImageIndex);
    if (const auto* hotspot = dynamic_cast<const TPGHotspotItemInfo*>(&item))
      json.IntField("HoverImageIndex", hotspot->HoverImageIndex);
    json.BoolField("NoHTMLSize", bullet->NoHTMLSize);
  } else if (const auto* marker = dynamic_cast<const TPGMarkerItemInfo*>(&item)) {
    json.IntField("ListStyleNo", marker->ListStyleNo);
    json.IntField("LevelNo", marker->LevelNo);
    json.BoolField("RestartNumbering", marker->RestartNumbering);
    json.IntField("RestartValue", marker->RestartValue);
    json.IntField("CounterValue", marker->CounterValue);
    // The marker text is 8-bit in the level font's charset; shown as it reads.
    json.StringField("MarkerText", UTF16ToUTF8(CodePageToUTF16(1252, marker->MarkerText)));
    json.BoolField("NoHTMLSize", marker->NoHTMLSize);
  } else if (const auto* control = dynamic_cast<const TPGControlItemInfo*>(&item)) {
    json.Key("Class");
    if (control->Control) json.String(control->Control->ClassName());
    else json.Null();
    json.IntField("WidthPercent", control->WidthPercent);
    json.BoolField("Resizable", control->Resizable);
  }
}

void DumpItem(JsonWriter& json, const TCustomPGData& data, int n) {
  const TCustomPGItemInfo& item = data.ItemAt(n);
  json.BeginObject();
  json.StringField("Kind", ClassNameOf(item));
  json.IntField("StyleNo", item.StyleNo);
  json.IntField("ParaNo", item.ParaNo);
  json.Key("Flags");
  WriteSet(json, item.Flags(), kItemFlagNames);
  json.StringField("Text", ItemText(data, n));
  json.Key("Tag");
  WriteTag(json, item.Tag);
  json.Key("Checkpoint");
  if (const TPGCPInfo* cp = item.Checkpoint.get()) {
    json.BeginObject();
    json.StringField("Name", cp->Name);
    json.BoolField("RaiseEvent", cp->RaiseEvent);
    json.BoolField("Persistent", cp->Persistent);
    json.Key("Tag");
    WriteTag(json, cp->Tag);
    json.EndObject();
  } else {
    json.Null();
  }
  if (!item.Hint().empty()) json.StringField("Hint", item.Hint());
  DumpKindFields(json, item);
  json.EndObject();
}

}  // namespace

void DumpDocument(JsonWriter& json, const TCustomPGData& data, const TPGStyle& style) {
  json.BeginObject();
  json.Key("textStyles");
  json.BeginArray();
  for (int i = 0; i < style.TextStyles.Count(); ++i) DumpTextStyle(json, style.TextStyles[i]);
  json.EndArray();
  json.Key("paraStyles");
  json.BeginArray();
  for (int i = 0; i < style.ParaStyles.Count(); ++i) DumpParaStyle(json, style.ParaStyles[i]);
  json.EndArray();
  json.Key("listStyles");
  json.BeginArray();
  for (int i = 0; i < style.ListStyles.Count(); ++i) DumpListStyle(json, style.ListStyles[i]);
  json.EndArray();
  json.Key("items");
  json.BeginArray();
  for (int n = 0; n < data.CountItems(); ++n) DumpItem(json, data, n);
  json.EndArray();
  json.EndObject();
}

}  // namespace pagora::cli
