// The viewer's documents in and out: the formats store the control's margins, widths,
// direction, colour and background along with the items.
#include "layout/Pagora.h"
#include "model/PGFFormat.h"
#include "model/PlainText.h"

namespace pagora {

TPGLayoutInfo TCustomPagora::LayoutInfo() const {
  TPGLayoutInfo l;
  l.LeftMargin = LeftMargin;
  l.RightMargin = RightMargin;
  l.TopMargin = TopMargin;
  l.BottomMargin = BottomMargin;
  l.MinTextWidth = MinTextWidth;
  l.MaxTextWidth = MaxTextWidth;
  l.BiDiMode = BiDiMode;
  return l;
}

void TCustomPagora::ApplyLayoutInfo(const TPGLayoutInfo& l) {
  LeftMargin = l.LeftMargin;
  RightMargin = l.RightMargin;
  TopMargin = l.TopMargin;
  BottomMargin = l.BottomMargin;
  MinTextWidth = l.MinTextWidth;
  MaxTextWidth = l.MaxTextWidth;
  BiDiMode = l.BiDiMode;
}

bool TCustomPagora::LoadPGFFromStream(std::string_view stream, std::string* error) {
  Clear();
  TPGLayoutInfo layout;
  const bool ok = pagora::LoadPGFFromStream(*data_, stream, &Color, &layout, &background_, error);
  if (layout.WasRead) ApplyLayoutInfo(layout);
  return ok;
}

bool TCustomPagora::LoadPGF(const std::string& fileName, std::string* error) {
  TPGLayoutInfo layout;
  Clear();
  const bool ok = LoadPGFFile(*data_, fileName, &Color, &layout, &background_, error);
  if (layout.WasRead) ApplyLayoutInfo(layout);
  return ok;
}

TPGFSaveArgs TCustomPagora::SaveArgs(const TPGTextRange* selection, TPGLayoutInfo& layout) const {
  layout = LayoutInfo();
  TPGFSaveArgs args;
  args.Selection = selection;
  args.Layout = &layout;
  args.Background = &background_;
  args.Color = Color;
  return args;
}

bool TCustomPagora::SavePGFToStream(std::string& stream, bool selectionOnly) {
  TPGTextRange range;
  if (selectionOnly && !data_->SelectionAsItemRange(range)) return true;  // nothing selected
  TPGLayoutInfo layout;
  return pagora::SavePGFToStream(*data_, stream, SaveArgs(selectionOnly ? &range : nullptr, layout));
}

bool TCustomPagora::SavePGF(const std::string& fileName, bool selectionOnly, std::string* error) {
  TPGTextRange range;
  if (selectionOnly && !data_->SelectionAsItemRange(range)) {
    // An empty selection saves an empty document rather than the whole one.
    TPagora empty;
    empty.SetStyle(Style);
    return SavePGFFile(empty.PGData(), fileName, {}, error);
  }
  TPGLayoutInfo layout;
  return SavePGFFile(*data_, fileName, SaveArgs(selectionOnly ? &range : nullptr, layout), error);
}

bool TCustomPagora::LoadText(const std::string& fileName, int textStyle, int paraStyle, std::string* error) {
  TPGTextReadOptions o;
  o.TextStyle = textStyle;
  o.ParaStyle = paraStyle;
  return ReadPlainTextFileDetect(*data_, fileName, o, error);
}

bool TCustomPagora::SaveText(const std::string& fileName, int lineWidth, bool unicode, std::string* error) {
  return WritePlainTextFile(*data_, fileName, lineWidth, unicode, error);
}

}  // namespace pagora
