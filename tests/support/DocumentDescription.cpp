#include "support/DocumentDescription.h"

#include <cstdio>
#include <vector>

#include "graphics/Graphic.h"
#include "model/BreakItem.h"
#include "model/BulletItems.h"
#include "model/CPGData.h"
#include "model/ControlItem.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/PictureItems.h"

namespace pagora::test {

namespace {
std::string Hex(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    out += buf;
  }
  return out;
}

std::string Tag(const TPGTag& t) {
  if (t.IsEmpty()) return "-";
  return t.IsString() ? "\"" + std::string(t.AsString()) + "\"" : std::to_string(t.AsInt());
}
}  // namespace

std::string DescribeItems(const TCustomPGData& data) {
  std::string s;
  for (int i = 0; i < data.CountItems(); ++i) {
    const TCustomPGItemInfo& item = data.ItemAt(i);
    s += std::to_string(i) + ": " + typeid(item).name() + " style " + std::to_string(item.StyleNo) + " para " +
         std::to_string(item.ParaNo) + " flags " + std::to_string(item.Flags().Raw()) + " tag " + Tag(item.Tag) +
         " text " + Hex(data.TextOf(i));
    if (!item.Hint().empty()) s += " hint \"" + item.Hint() + "\"";
    if (item.Checkpoint)
      s += " cp \"" + item.Checkpoint->Name + "\" " + std::to_string(item.Checkpoint->RaiseEvent) +
           std::to_string(item.Checkpoint->Persistent) + " " + Tag(item.Checkpoint->Tag);
    std::vector<std::string> props;
    item.PGFPropertyLines(props);
    for (const std::string& p : props) s += " [" + p + "]";
    if (const auto* g = dynamic_cast<const TPGGraphicItemInfo*>(&item); g && g->Image)
      s += " image " + g->Image->ClassName() + " " + Hex(g->Image->SaveToBytes());
    if (const auto* r = dynamic_cast<const TPGRectItemInfo*>(&item)) s += " valign " + std::to_string(r->VAlign);
    if (const auto* b = dynamic_cast<const TPGBreakItemInfo*>(&item))
      s += " break " + std::to_string(b->Color) + " " + std::to_string(b->Style) + " " + std::to_string(b->Width);
    if (const auto* b = dynamic_cast<const TPGBulletItemInfo*>(&item))
      s += " bullet " + std::to_string(b->ImageList != nullptr) + " " + std::to_string(b->ImageIndex);
    if (const auto* h = dynamic_cast<const TPGHotspotItemInfo*>(&item)) s += " hover " + std::to_string(h->HoverImageIndex);
    if (const auto* m = dynamic_cast<const TPGMarkerItemInfo*>(&item))
      s += " marker " + std::to_string(m->ListStyleNo) + " " + std::to_string(m->LevelNo) + " " +
           std::to_string(m->RestartValue) + " " + std::to_string(m->RestartNumbering) + " \"" + m->MarkerText + "\"";
    if (const auto* c = dynamic_cast<const TPGControlItemInfo*>(&item))
      s += " control " + (c->Control ? c->Control->ClassName() + " " + Hex(c->Control->WriteComponent()) : "-");
    s += "\n";
  }
  if (const TPGCPInfo* cp = data.PendingCheckpoint()) s += "pending \"" + cp->Name + "\" " + Tag(cp->Tag) + "\n";
  s += "checkpoints " + std::to_string(data.CheckpointCount()) + "\n";
  return s;
}

std::string DescribeStyles(const TPGStyle& style) {
  std::string s;
  for (int i = 0; i < style.TextStyles.Count(); ++i) {
    const TFontInfo& f = style.TextStyles[i];
    s += "text " + std::to_string(i) + " \"" + f.StyleName + "\" " + std::to_string(f.BaseStyleNo) + " " +
         std::to_string(f.Standard) + " " + f.FontName + " " + std::to_string(f.Size) + " " +
         std::to_string(f.Color) + " " + std::to_string(f.BackColor) + " " + std::to_string(f.Style.Raw()) + " " +
         std::to_string(f.StyleEx.Raw()) + " " + std::to_string(f.Charset) + " " + std::to_string(f.Unicode) + " " +
         std::to_string(f.Jump) + " " + std::to_string(f.NextStyleNo) + " " + std::to_string(f.Protection.Raw()) +
         " " + std::to_string(f.CharScale) + " " + std::to_string(f.CharSpacing) + " " + std::to_string(f.VShift) +
         " " + std::to_string(f.BiDiMode) + " " + std::to_string(f.HoverColor) + " " +
         std::to_string(f.HoverBackColor) + " " + std::to_string(f.JumpCursor) + " " +
         std::to_string(f.Options.Raw()) + "\n";
  }
  for (int i = 0; i < style.ParaStyles.Count(); ++i) {
    const TParaInfo& p = style.ParaStyles[i];
    const TPGBorder& b = p.Border;
    s += "para " + std::to_string(i) + " \"" + p.StyleName + "\" " + std::to_string(p.BaseStyleNo) + " " +
         std::to_string(p.Standard) + " " + std::to_string(p.FirstIndent) + " " + std::to_string(p.LeftIndent) + " " +
         std::to_string(p.RightIndent) + " " + std::to_string(p.SpaceBefore) + " " + std::to_string(p.SpaceAfter) +
         " " + std::to_string(p.LineSpacing) + " " + std::to_string(p.LineSpacingType) + " " +
         std::to_string(p.Alignment) + " " + std::to_string(p.NextParaNo) + " " + std::to_string(p.DefStyleNo) + " " +
         std::to_string(p.Options.Raw()) + " " + std::to_string(p.BiDiMode) + " border " + std::to_string(b.Style) +
         " " + std::to_string(b.Color) + " " + std::to_string(b.Width) + " " + std::to_string(b.InternalWidth) + " " +
         std::to_string(b.BorderOffsets.Left) + std::to_string(b.BorderOffsets.Top) +
         std::to_string(b.BorderOffsets.Right) + std::to_string(b.BorderOffsets.Bottom) + " " +
         std::to_string(b.VisibleBorders.Left) + std::to_string(b.VisibleBorders.Top) +
         std::to_string(b.VisibleBorders.Right) + std::to_string(b.VisibleBorders.Bottom) + " back " +
         std::to_string(p.Background.Color) + " " + std::to_string(p.Background.BorderOffsets.Left) +
         std::to_string(p.Background.BorderOffsets.Top) + std::to_string(p.Background.BorderOffsets.Right) +
         std::to_string(p.Background.BorderOffsets.Bottom) + "\n";
  }
  for (int i = 0; i < style.ListStyles.Count(); ++i) {
    const TPGListInfo& l = style.ListStyles[i];
    s += "list " + std::to_string(i) + " \"" + l.StyleName + "\" " + std::to_string(l.Standard) + " " +
         std::to_string(l.OneLevelPreview) + " id " + std::to_string(l.HasListID() ? l.ListID() : 0) + "\n";
    for (const TPGListLevel& v : l.Levels) {
      s += "  level " + std::to_string(v.ListType) + " " + std::to_string(v.StartFrom) + " " +
           std::to_string(v.ImageIndex) + " " + Hex(v.FormatString) + " " +
           Hex(std::string_view(reinterpret_cast<const char*>(v.FormatStringW.data()), v.FormatStringW.size() * 2)) +
           " " + std::to_string(v.LeftIndent) + " " + std::to_string(v.FirstIndent) + " " +
           std::to_string(v.MarkerIndent) + " " + std::to_string(v.MarkerAlignment) + " " +
           std::to_string(v.Options.Raw()) + " font " +
           (v.FontIfAny() ? v.FontIfAny()->Name + " " + std::to_string(v.FontIfAny()->Size) + " " +
                                std::to_string(v.FontIfAny()->Color) + " " + std::to_string(v.FontIfAny()->Style.Raw()) +
                                " " + std::to_string(v.FontIfAny()->Charset)
                          : std::string("-")) +
           " picture " + (v.Picture() ? v.Picture()->ClassName() + " " + Hex(v.Picture()->SaveToBytes()) : "-") + "\n";
    }
  }
  return s;
}

}  // namespace pagora::test
