// Writing the native format: the version record, styles, layout and background when asked,
// then the items of the document or of a selection, consecutive paragraphs of one style
// packed into one text record.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "graphics/Graphic.h"
#include "model/CPGData.h"
#include "model/DataOwner.h"
#include "model/PGFFormat.h"
#include "model/PGFRecords.h"
#include "model/PGStyle.h"
#include "model/StyleStreaming.h"
#include "platform/FileIO.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora {

// ---------------------------------------------------------------- hexadecimal

std::string EncodeHex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out(bytes.size() * 2, '0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out[2 * i] = digits[b >> 4];
    out[2 * i + 1] = digits[b & 15];
  }
  return out;
}

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void PutLE32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
}  // namespace

bool DecodeHex(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  std::string out(hex.size() / 2, '\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    const int hi = HexValue(hex[2 * i]);
    const int lo = HexValue(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    out[i] = static_cast<char>((hi << 4) | lo);
  }
  bytes = std::move(out);
  return true;
}

// ---------------------------------------------------------------- records

TPGFWriter::TPGFWriter(TCustomPGData& data, std::string& out)
    : data_(data),
      out_(out),
      options_(data.GetRootData()->Owner() ? data.GetRootData()->Owner()->GetPGFOptions() : kDefaultPGFOptions),
      stringTags_(data.TagsAreStrings()),
      style_(data.GetStyle()) {}

std::string TPGFWriter::Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += "\"\"";
    else if (c == '\r' || c == '\n' || c == '\0') out += ' ';  // a header is one line
    else out += c;
  }
  out += '"';
  return out;
}

std::string TPGFWriter::StyleField(int styleNo, bool paragraph) const {
  if (styleNo >= 0 && options_.Contains(pgfoUseStyleNames) && style_) {
    if (paragraph && style_->ParaStyles.IsValidIndex(styleNo)) return Quoted(style_->ParaStyles[styleNo].StyleName);
    if (!paragraph && style_->TextStyles.IsValidIndex(styleNo)) return Quoted(style_->TextStyles[styleNo].StyleName);
  }
  return std::to_string(styleNo);
}

std::string TPGFWriter::TagField(const TPGTag& tag) const {
  if (stringTags_) return tag.IsEmpty() ? std::string("0") : Quoted(tag.IsString() ? tag.AsString() : std::to_string(tag.AsInt()));
  return std::to_string(tag.AsInt());
}

void TPGFWriter::RawHeader(const std::string& line) {
  out_ += line;
  out_ += "\r\n";
}

void TPGFWriter::Header(int kind, int lineCount, int paraNo, unsigned flags, int mode, const TPGTag& tag,
                        const std::string& extras) {
  std::string h = (kind >= 0 ? StyleField(kind, false) : std::to_string(kind)) + " " + std::to_string(lineCount) +
                  " " + StyleField(paraNo, true) + " " + std::to_string(flags & 0xF) + " " + std::to_string(mode) +
                  " " + TagField(tag);
  if (!extras.empty()) h += " " + extras;
  RawHeader(h);
}

void TPGFWriter::Line(std::string_view text) {
  const std::size_t start = out_.size();
  out_.append(text);
  for (std::size_t i = start; i < out_.size(); ++i)
    if (out_[i] == '\r' || out_[i] == '\n' || out_[i] == '\0') out_[i] = ' ';
  out_ += "\r\n";
}

void TPGFWriter::Data(std::string_view bytes) {
  if (Binary()) {
    PutLE32(out_, static_cast<std::uint32_t>(bytes.size()));
    out_.append(bytes);
  } else {
    out_ += EncodeHex(bytes);
    out_ += "\r\n";
  }
}

void TPGFWriter::RawUTF16Line(std::string_view utf16Bytes) {
  const std::size_t start = out_.size();
  out_.append(utf16Bytes.substr(0, utf16Bytes.size() & ~std::size_t{1}));
  for (std::size_t i = start; i + 1 < out_.size(); i += 2) {  // a line end inside the text would end it
    const auto lo = static_cast<unsigned char>(out_[i]);
    const auto hi = static_cast<unsigned char>(out_[i + 1]);
    if ((lo == 0 && hi == 0) || (lo == 0x29 && hi == 0x20)) {
      out_[i] = ' ';
      out_[i + 1] = 0;
    }
  }
  out_.append("\x29\x20", 2);
}

void TPGFWriter::Checkpoint(const TCustomPGItemInfo& item) {
  if (!item.Checkpoint) return;
  const TPGCPInfo& cp = *item.Checkpoint;
  RawHeader("-2 1 0 0 0 " + TagField(cp.Tag) + " " + (cp.RaiseEvent ? "1" : "0") + " " + (cp.Persistent ? "1" : "0"));
  Line(cp.Name);
}

namespace {

// ---------------------------------------------------------------- document records

void WriteBackground(TPGFWriter& w, const TPGBackground& b, TColor color) {
  const std::string tail = " " + std::to_string(static_cast<int>(b.Style)) + " " + std::to_string(color);
  if (!b.Picture || b.Picture->Empty() || b.Style == bsNoBitmap) {
    w.RawHeader("-7 0 -1 0 0 0" + tail);
    return;
  }
  w.RawHeader("-7 2 0 0 " + std::to_string(w.DataMode()) + " 0" + tail);
  w.Line(b.Picture->ClassName());
  w.Data(b.Picture->SaveToBytes());
}

void WriteStyles(TPGFWriter& w, int subtype, const TCustomPGInfos& styles, const std::string& sheetName) {
  // Levels with image lists store the lists' tags.
  TPGStreamContext context;
  context.ImageListNeeded = [](int) -> TPGImageList* { return nullptr; };
  w.RawHeader("-9 2 0 0 " + std::to_string(w.DataMode()) + " 0 " + std::to_string(subtype));
  w.Line(sheetName);
  w.Data(WriteStyleCollection(styles, &context));
}

void WriteDocumentInfo(TPGFWriter& w, const std::vector<std::string>& info) {
  w.RawHeader("-9 " + std::to_string(info.size()) + " 0 0 0 0 5");
  for (std::string line : info) {
    for (char& c : line) {
      if (c == '\r') c = 1;
      else if (c == '\n') c = 2;
    }
    w.Line(line);
  }
}

void WriteLayout(TPGFWriter& w, const TPGLayoutInfo& l) {
  std::string data;
  PutLE32(data, 0);
  PutLE32(data, 25);
  for (int v : {l.LeftMargin, l.RightMargin, l.TopMargin, l.BottomMargin, l.MinTextWidth, l.MaxTextWidth})
    PutLE32(data, static_cast<std::uint32_t>(v));
  data.push_back(static_cast<char>(l.BiDiMode));
  w.RawHeader("-9 2 0 0 " + std::to_string(w.DataMode()) + " 0 3");
  w.Line("");
  w.Data(data);
}

// ---------------------------------------------------------------- items

class ItemWriter {
public:
  ItemWriter(TPGFWriter& w, TCustomPGData& data) : w_(w), d_(data) {}

  // Whether item i can be one more line of a text record begun by item first.
  bool Joins(int first, int i) const {
    const TCustomPGItemInfo& a = d_.ItemAt(first);
    const TCustomPGItemInfo& b = d_.ItemAt(i);
    return b.IsText() && b.StartsLine() && !b.Checkpoint && a.StyleNo == b.StyleNo && a.ParaNo == b.ParaNo &&
           (a.Flags().Raw() & 0xF) == (b.Flags().Raw() & 0xF) && a.Tag == b.Tag && a.Hint() == b.Hint();
  }

  // A text record of items [first, first + count) written whole; the first may be forced
  // to continue its paragraph.
  void TextRecord(int first, int count, bool forced) {
    const TCustomPGItemInfo& item = d_.ItemAt(first);
    TPGItemFlags flags = item.Flags();
    int paraNo = item.HasFlag(pgifContinuesPara) ? -1 : item.ParaNo;
    if (forced) {
      flags = flags - TPGItemFlags{pgifPageBreakBefore, pgifLineBreakBefore};
      flags.Include(pgifContinuesPara);
      paraNo = -1;
    }
    std::vector<std::string_view> lines;
    for (int i = first; i < first + count; ++i) lines.emplace_back(d_.TextOf(i));
    Text(item, paraNo, flags, lines);
  }

  // Characters [from, to) (0-based) of a text item as a record of one line.
  void TextPart(int n, int from, int to, bool forced) {
    const TCustomPGItemInfo& item = d_.ItemAt(n);
    const bool unicode = item.HasFlag(pgifUnicode);
    const std::string& text = d_.TextOf(n);
    const std::size_t unit = unicode ? 2 : 1;
    const int len = static_cast<int>(text.size() / unit);
    from = std::clamp(from, 0, len);
    to = std::clamp(to, from, len);
    if (from == 0) w_.Checkpoint(item);
    TPGItemFlags flags = item.Flags();
    int paraNo = (from > 0 || item.HasFlag(pgifContinuesPara)) ? -1 : item.ParaNo;
    if (forced && from == 0) {
      flags = flags - TPGItemFlags{pgifPageBreakBefore, pgifLineBreakBefore};
      flags.Include(pgifContinuesPara);
      paraNo = -1;
    }
    const std::string_view part = std::string_view(text).substr(static_cast<std::size_t>(from) * unit,
                                                                static_cast<std::size_t>(to - from) * unit);
    Text(item, paraNo, flags, {part});
  }

  void NonText(int n, bool forced) {
    const TCustomPGItemInfo& item = d_.ItemAt(n);
    w_.Checkpoint(item);
    int paraNo = item.HasFlag(pgifContinuesPara) || forced ? -1 : item.ParaNo;
    item.WritePGFRecord(w_, n, paraNo, d_.TextOf(n));
  }

private:
  void Text(const TCustomPGItemInfo& item, int paraNo, TPGItemFlags flags, const std::vector<std::string_view>& lines) {
    const bool unicode = flags.Contains(pgifUnicode);
    const int mode = unicode && !w_.Binary() ? 3 : 0;
    const std::string hint = item.Hint().empty() ? std::string() : TPGFWriter::Quoted(item.Hint());
    w_.Header(item.StyleNo, static_cast<int>(lines.size()), paraNo, flags.Raw(), mode, item.Tag, hint);
    for (std::string_view line : lines) {
      if (!unicode) w_.Line(line);
      else if (mode == 3) w_.Line(EncodeHex(line));
      else w_.RawUTF16Line(line);
    }
  }

  TPGFWriter& w_;
  TCustomPGData& d_;
};

bool WriteItems(TPGFWriter& w, TCustomPGData& d, const TPGTextRange& r, bool selection) {
  ItemWriter items(w, d);
  const int F = r.FirstItem, E = r.LastItem;
  const bool fText = d.ItemAt(F).IsText();
  const bool eText = d.ItemAt(E).IsText();
  // A part of a single text item.
  if (F == E && fText && (r.FirstOffs > d.FirstOffset(F) || r.LastOffs < d.EndOffset(F))) {
    const int first = d.ParaFirstItem(F);
    const bool forced = selection && first < F && d.ItemAt(first).StyleNo == pgsListMarker;
    if (forced) items.NonText(first, false);
    items.TextPart(F, r.FirstOffs - 1, r.LastOffs - 1, forced);
    return true;
  }
  bool forceNext = false;
  if (selection) {
    const int first = d.ParaFirstItem(F);
    if (first < F && d.ItemAt(first).StyleNo == pgsListMarker) {
      items.NonText(first, false);
      forceNext = true;
    }
  }
  int runFirst = -1, runCount = 0;
  bool runForced = false;
  auto flush = [&] {
    if (runCount == 0) return;
    w.Checkpoint(d.ItemAt(runFirst));
    int first = runFirst, count = runCount;
    if (runForced) {
      items.TextRecord(first, 1, true);
      ++first;
      --count;
    }
    if (count > 0) items.TextRecord(first, count, false);
    runCount = 0;
    runForced = false;
  };
  const bool eCut = eText && r.LastOffs < d.EndOffset(E);
  for (int i = F; i <= E; ++i) {
    const bool text = d.ItemAt(i).IsText();
    if (i == E && eCut) break;
    if (i == F && text && r.FirstOffs > d.FirstOffset(F)) {
      items.TextPart(F, r.FirstOffs - 1, d.ItemLength(F), false);
      forceNext = false;
      continue;
    }
    if (i == F && !text && r.FirstOffs >= 1 && F != E) continue;  // the range begins after the object
    if (runCount > 0 && items.Joins(runFirst, i) && !forceNext) {
      ++runCount;
      continue;
    }
    flush();
    if (text) {
      runFirst = i;
      runCount = 1;
      runForced = forceNext;
    } else if (i != E || r.LastOffs >= 1) {
      items.NonText(i, forceNext);
    }
    forceNext = false;
  }
  flush();
  if (eCut) {
    items.TextPart(E, E == F ? r.FirstOffs - 1 : 0, r.LastOffs - 1, false);
  } else if (E == d.CountItems() - 1 && r.LastOffs >= d.EndOffset(E) && d.PendingCheckpoint()) {
    const TPGCPInfo& cp = *d.PendingCheckpoint();
    w.RawHeader("-2 1 0 0 0 " + w.TagField(cp.Tag) + " " + (cp.RaiseEvent ? "1" : "0") + " " +
                (cp.Persistent ? "1" : "0"));
    w.Line(cp.Name);
  }
  return true;
}

}  // namespace

bool SavePGFToStream(TCustomPGData& data, std::string& stream, const TPGFSaveArgs& args) {
  try {
    if (data.CountItems() == 0) return true;
    TPGFWriter w(data, stream);
    const TPGFOptions o = w.Options();
    {
      // One allocation for the whole output instead of repeated doubling of a large buffer.
      std::size_t estimate = stream.size() + 256;
      for (int i = 0; i < data.CountItems(); ++i) estimate += data.TextOf(i).size() * 2 + 24;
      stream.reserve(estimate);
    }
    const bool selection = args.Selection != nullptr;
    const bool top = data.GetParentData() == nullptr;
    w.RawHeader("-8 1 3");
    if (!selection && o.Contains(pgfoSaveBack) && args.Background) WriteBackground(w, *args.Background, args.Color);
    TPGStyle* style = data.GetStyle();
    if ((data.IsMainDocument() || selection) && style) {
      if (o.Contains(pgfoSaveTextStyles)) WriteStyles(w, 1, style->TextStyles, style->Name);
      if (o.Contains(pgfoSaveParaStyles) && top) {
        WriteStyles(w, 2, style->ParaStyles, style->Name);
        WriteStyles(w, 4, style->ListStyles, style->Name);
      }
      IPGDataOwner* owner = data.GetRootData()->Owner();
      std::vector<std::string>* info = owner ? owner->DocumentInfo() : nullptr;
      if (o.Contains(pgfoSaveDocProperties) && info && !info->empty()) WriteDocumentInfo(w, *info);
    }
    if (o.Contains(pgfoSaveLayout) && top && args.Layout && !selection) WriteLayout(w, *args.Layout);
    TPGTextRange r{0, data.FirstOffset(0), data.CountItems() - 1, data.EndOffset(data.CountItems() - 1)};
    if (selection) {
      r = *args.Selection;
      if (r.FirstItem > r.LastItem || (r.FirstItem == r.LastItem && r.FirstOffs > r.LastOffs)) {
        std::swap(r.FirstItem, r.LastItem);
        std::swap(r.FirstOffs, r.LastOffs);
      }
      if (r.FirstItem < 0 || r.LastItem >= data.CountItems()) return false;
      if (r.FirstItem == r.LastItem && r.FirstOffs == r.LastOffs) return true;  // nothing selected
    }
    return WriteItems(w, data, r, selection);
  } catch (const std::exception&) {
    return false;
  }
}

bool SavePGFFile(TCustomPGData& data, const std::string& fileName, const TPGFSaveArgs& args, std::string* error) {
  std::string bytes;
  if (!SavePGFToStream(data, bytes, args)) {
    if (error) *error = "the document could not be written";
    return false;
  }
  std::string why;
  if (WriteFileAtomically(fileName, bytes, why)) return true;
  if (error) *error = why;
  return false;
}

bool WriteSubDocumentData(TCustomPGData& data, std::string& stream) {
  IPGDataOwner* owner = data.GetRootData()->Owner();
  const TPGFOptions saved = owner ? owner->GetPGFOptions() : kDefaultPGFOptions;
  if (owner && saved.Contains(pgfoSaveBack)) owner->SetPGFOptions(saved - TPGFOptions{pgfoSaveBack});
  std::string body;
  const bool ok = SavePGFToStream(data, body, {});
  if (owner) owner->SetPGFOptions(saved);
  PutLE32(stream, static_cast<std::uint32_t>(body.size()));
  stream += body;
  return ok;
}

std::string WrapPGFForClipboard(std::string_view pgf) {
  std::string out;
  out.reserve(pgf.size() + 4);
  PutLE32(out, static_cast<std::uint32_t>(pgf.size()));
  out.append(pgf);
  return out;
}

bool UnwrapPGFFromClipboard(std::string_view bytes, std::string_view& pgf) {
  if (bytes.size() < 4) return false;
  std::uint32_t n = 0;
  for (int i = 0; i < 4; ++i) n |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  if (n > bytes.size() - 4) return false;
  pgf = bytes.substr(4, n);
  return true;
}

}  // namespace pagora
