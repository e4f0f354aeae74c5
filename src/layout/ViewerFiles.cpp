// The viewer's documents in and out: the formats store the control's margins, widths,
// direction, colour and background along with the items. A document that cannot be read
// leaves the one shown as it was.
#include "layout/Pagora.h"
#include "model/PGFFormat.h"
#include "model/PGStyle.h"
#include "model/PlainText.h"
#include "platform/FileIO.h"

namespace pagora {

namespace {

// What reading a document may change in a style sheet.
void CopyStyleCollections(const TPGStyle& from, TPGStyle& to) {
  to.TextStyles.Assign(from.TextStyles);
  to.ParaStyles.Assign(from.ParaStyles);
  to.ListStyles.Assign(from.ListStyles);
}

}  // namespace

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
  // The data is read into a document of its own with a copy of the style sheet, so that
  // data that cannot be read leaves the shown document, its styles and the layout alone.
  TPGStyle sheet;
  if (Style) CopyStyleCollections(*Style, sheet);
  TPGDocumentSettings reader = *this;
  reader.Style = &sheet;
  reader.OnItemAction = nullptr;  // the items are announced once, when they arrive here
  reader.OnControlAction = nullptr;
  TCustomPGData read(&reader);
  TPGLayoutInfo layout;
  TColor color = Color;
  TPGBackground background;
  background.Style = background_.Style;
  if (background_.Picture) background.Picture = background_.Picture->Clone();
  if (!pagora::LoadPGFFromStream(read, stream, &color, &layout, &background, error)) {
    read.Clear();
    return false;
  }
  Clear();
  if (Style) CopyStyleCollections(sheet, *Style);
  data_->TakeItemsFrom(read);
  Color = color;
  background_.Style = background.Style;
  background_.Picture = std::move(background.Picture);
  ReadWarnings = reader.ReadWarnings;
  DocumentInfoList = std::move(reader.DocumentInfoList);
  if (layout.WasRead) ApplyLayoutInfo(layout);
  return true;
}

bool TCustomPagora::LoadPGF(const std::string& fileName, std::string* error) {
  std::string bytes, why;
  if (!ReadFileBytes(fileName, bytes, why)) {
    if (error) *error = why;
    return false;
  }
  return LoadPGFFromStream(bytes, error);
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
