// Reading the native format: records cut out of one buffer line by line (text lines,
// binary blocks and raw UTF-16 lines), items added at a position with their styles
// translated, checkpoints attached, and style records merged or taking over.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "graphics/Graphic.h"
#include "model/CPGData.h"
#include "model/ControlItem.h"
#include "model/DataOwner.h"
#include "model/PGFFormat.h"
#include "model/PGFRecords.h"
#include "model/PGMarker.h"
#include "model/PGStyle.h"
#include "model/StyleMerge.h"
#include "model/StyleStreaming.h"
#include "platform/FileIO.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora {

// ---------------------------------------------------------------- header fields

bool TPGFHeaderFields::Number(int& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < rest_.size() && rest_[i] == '-') {
    negative = true;
    ++i;
  }
  const std::size_t digits = i;
  std::int64_t v = 0;
  while (i < rest_.size() && rest_[i] >= '0' && rest_[i] <= '9') {
    v = v * 10 + (rest_[i] - '0');
    if (v > std::int64_t{1} << 32) return false;  // no number of the format is that long
    ++i;
  }
  if (i == digits) return false;
  if (i < rest_.size() && rest_[i] != ' ') return false;
  if (negative) v = -v;
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::uint32_t>::max()) return false;
  value = static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));  // colours fill 32 bits
  rest_.remove_prefix(i < rest_.size() ? i + 1 : i);
  return true;
}

bool TPGFHeaderFields::Quoted(std::string& value) {
  if (rest_.empty() || rest_[0] != '"') return false;
  std::string out;
  std::size_t i = 1;
  for (;;) {
    if (i >= rest_.size()) return false;  // no closing quote
    if (rest_[i] == '"') {
      if (i + 1 < rest_.size() && rest_[i + 1] == '"') {
        out += '"';
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    out += rest_[i++];
  }
  if (i < rest_.size() && rest_[i] == ' ') ++i;
  rest_.remove_prefix(i);
  value = std::move(out);
  return true;
}

std::string_view TPGFHeaderFields::Word() {
  const std::size_t space = rest_.find(' ');
  const std::string_view word = rest_.substr(0, space);
  rest_.remove_prefix(space == std::string_view::npos ? rest_.size() : space + 1);
  return word;
}

// ---------------------------------------------------------------- context

TPGFReadContext::TPGFReadContext(TCustomPGData& data, TPGReadWarnings& warnings, bool nested)
    : data_(data),
      owner_(data.GetRootData()->Owner()),
      style_(data.GetStyle()),
      options_(owner_ ? owner_->GetPGFOptions() : kDefaultPGFOptions),
      warnings_(warnings),
      nested_(nested) {}

bool TPGFReadContext::LineData(std::string_view line, std::string& bytes) const {
  if (Mode == 2) {
    bytes.assign(line);
    return true;
  }
  return DecodeHex(line, bytes);
}

namespace {

// ---------------------------------------------------------------- lines

enum class LineMode { Text, Binary, UTF16 };

class LineCutter {
public:
  explicit LineCutter(std::string_view data) : data_(data) {}

  [[nodiscard]] bool AtEnd() const noexcept { return pos_ >= data_.size(); }

  // A text line: up to CR, LF or NUL; then one CR and one LF are skipped (a NUL too).
  std::string_view TextLine() {
    const std::size_t start = pos_;
    while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n' && data_[pos_] != '\0') ++pos_;
    const std::string_view line = data_.substr(start, pos_ - start);
    endedWithCRLF_ = false;
    if (pos_ < data_.size() && data_[pos_] == '\0') {
      ++pos_;
      return line;
    }
    const bool cr = pos_ < data_.size() && data_[pos_] == '\r';
    if (cr) ++pos_;
    const bool lf = pos_ < data_.size() && data_[pos_] == '\n';
    if (lf) ++pos_;
    endedWithCRLF_ = cr && lf;
    return line;
  }
  // Whether the last text line ended with CR LF, as a line before a block must.
  [[nodiscard]] bool EndedWithCRLF() const noexcept { return endedWithCRLF_; }

  // A binary block: a 32-bit count and that many bytes. False when the data is shorter.
  bool Block(std::string_view& block) {
    if (data_.size() - pos_ < 4) return false;
    std::uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n |= static_cast<std::uint32_t>(static_cast<unsigned char>(data_[pos_ + i])) << (8 * i);
    if (n > data_.size() - pos_ - 4) return false;
    block = data_.substr(pos_ + 4, n);
    pos_ += 4 + n;
    return true;
  }

  // A raw UTF-16 line: code units up to U+2029, a zero unit or the end (the terminator is
  // skipped); as bytes.
  std::string_view UTF16Line() {
    const std::size_t start = pos_;
    while (pos_ + 1 < data_.size()) {
      const auto lo = static_cast<unsigned char>(data_[pos_]);
      const auto hi = static_cast<unsigned char>(data_[pos_ + 1]);
      if ((lo == 0x29 && hi == 0x20) || (lo == 0 && hi == 0)) {
        const std::string_view line = data_.substr(start, pos_ - start);
        pos_ += 2;
        return line;
      }
      pos_ += 2;
    }
    const std::string_view line = data_.substr(start, pos_ - start);
    pos_ = data_.size();  // an odd last byte belongs to nothing
    return line;
  }

private:
  std::string_view data_;
  std::size_t pos_ = 0;
  bool endedWithCRLF_ = false;
};

// ---------------------------------------------------------------- the read

class Reader {
public:
  Reader(TCustomPGData& data, int position, const TPGFReadArgs& args)
      : d_(data),
        p_(std::clamp(position, 0, data.CountItems())),
        args_(args),
        ctx_(data, warnings_, data.ReadingNested()),
        maps_(data.PGFStyleMaps()),
        stringTags_(data.TagsAreStrings()) {}

  TPGFReadResult Run(std::string_view stream) {
    TPGFReadResult result;
    IPGDataOwner* owner = ctx_.Owner();
    if (args_.WholeDocument && owner && owner->DocumentInfo()) owner->DocumentInfo()->clear();
    if (p_ == d_.CountItems() && !args_.Inserting) {
      waiting_ = d_.TakePendingCheckpoint();
      waitingWasPending_ = waiting_ != nullptr;
    }
    ++maps_.Depth;
    const int start = p_;
    LineCutter cutter(stream);
    bool ok = true;
    try {
      while (!cutter.AtEnd() && ok) ok = Record(cutter);
    } catch (const std::exception& e) {
      ok = false;
      if (error_.empty()) error_ = e.what();
    }
    Finish();  // also after an error: what was read keeps the structure documents rely on
    Reconcile(start);
    if (--maps_.Depth == 0) maps_ = TPGFStyleMaps{};
    SettleWaitingCheckpoint(ok);
    if (added_ > 0) FixFollowingItem();
    if (markersAdded_) d_.RebuildMarkerList();
    if (owner) owner->SetReadWarnings(owner->GetReadWarnings() | warnings_);
    result.Ok = ok;
    result.StoppedByError = !ok;
    result.ItemsAdded = added_;
    result.FirstItemAdded = added_ > 0 ? start : -1;
    result.Error = ok ? std::string() : error_;
    return result;
  }

  [[nodiscard]] int Position() const noexcept { return p_; }

private:
  bool Fail(std::string why) {
    if (error_.empty()) error_ = std::move(why);
    return false;
  }

  // ---- one record

  bool Record(LineCutter& cutter) {
    const std::string_view line = cutter.TextLine();
    TPGFHeaderFields f(line);
    int kind = 0;
    std::string name;
    bool kindByName = false;
    if (f.Quoted(name)) {
      kind = StyleByName(name, false);
      kindByName = true;
    } else if (!f.Number(kind)) {
      if (line.empty() && cutter.AtEnd()) return true;  // a last line end
      return Fail("invalid record header");
    }
    if (kind == pgsVersionInfo) {
      if (!f.Number(major_) || !f.Number(minor_)) return Fail("invalid version record");
      return true;
    }
    int lineCount = 0, paraNo = 0, options = 0, mode = 0;
    bool paraByName = false;
    if (!f.Number(lineCount) || lineCount < 0) return Fail("invalid line count");
    if (f.Quoted(name)) {
      paraNo = StyleByName(name, true);
      paraByName = true;
    } else if (!f.Number(paraNo)) {
      return Fail("invalid paragraph field");
    }
    if (major_ > 0 && minor_ > 1 && !f.Number(options)) return Fail("invalid options field");
    if (!f.Number(mode)) return Fail("invalid mode field");
    TPGTag tag;
    if (!ReadTag(f, tag)) return Fail("invalid tag field");
    ctx_.Mode = mode;
    ctx_.Tag = tag;

    switch (kind) {
      case pgsCheckpoint: return CheckpointRecord(cutter, f, lineCount, tag);
      case pgsBack: return BackgroundRecord(cutter, f, lineCount, mode);
      case pgsDocProperty: return DocumentRecord(cutter, f, lineCount, mode);
      default: break;
    }
    std::unique_ptr<TCustomPGItemInfo> item = CreateItem(kind, &d_);
    if (!item) {  // no class for the kind: its lines go, and so does a checkpoint before it
      ctx_.Warn(pgrwRecordSkipped);
      waiting_.reset();
      waitingWasPending_ = false;
      return SkipLines(cutter, lineCount, mode);
    }
    item->PrepareForRead(pglfPGF);
    item->SetFlags(TPGItemFlags::FromRaw(static_cast<std::uint8_t>(options & 0xF)));
    item->Tag = tag;
    item->ParaNo = paraNo < -1 ? -1 : paraNo;  // any other negative number means the same as -1
    if (kind >= 0 && !kindByName && !TranslateStyle(item->StyleNo, false)) return false;
    if (item->ParaNo >= 0 && !paraByName && !TranslateStyle(item->ParaNo, true)) return false;
    if (!item->ParsePGFHeaderExtras(f, ctx_)) return Fail(ctx_.Error.empty() ? "invalid record header" : ctx_.Error);

    if (item->IsText()) return TextRecord(cutter, *item, lineCount, mode);
    if (lineCount == 0) return AddItem(std::move(item), std::string());
    if (!item->QueryTrait(pgitReadsPGFLines)) {
      if (!SkipLines(cutter, lineCount, mode)) return false;
      return AddItem(std::move(item), std::string());
    }
    std::string itemName;
    for (int i = 0; i < lineCount; ++i) {
      std::string_view l;
      if (!NextLine(cutter, l)) return Fail("the data ends inside a record");
      if (!item->ParsePGFRecordLine(l, i, lineCount, ctx_, itemName))
        return Fail(ctx_.Error.empty() ? "invalid record line" : ctx_.Error);
    }
    return AddItem(std::move(item), std::move(itemName));
  }

  // The next line of a record, in the mode the record asked for.
  bool NextLine(LineCutter& cutter, std::string_view& line) {
    if (cutter.AtEnd()) return false;
    if (ctx_.TakeNextLineBinary()) {
      if (!cutter.EndedWithCRLF()) return Fail("a block does not follow a line end");
      return cutter.Block(line) || Fail("a block is longer than the data");
    }
    line = cutter.TextLine();
    return true;
  }

  bool SkipLines(LineCutter& cutter, int lineCount, int mode) {
    for (int i = 0; i < lineCount; ++i) {
      if (mode == 2 && i == lineCount - 1) ctx_.NextLineBinary();
      std::string_view l;
      if (!NextLine(cutter, l)) return Fail("the data ends inside a record");
    }
    return true;
  }

  bool ReadTag(TPGFHeaderFields& f, TPGTag& tag) {
    if (!stringTags_) {
      int v = 0;
      if (!f.Number(v)) return false;
      tag = TPGTag::Int(v);
      return true;
    }
    std::string s;
    if ((major_ > 1 || minor_ > 2) && f.Quoted(s)) {
      tag = TPGTag::Str(s);
      return true;
    }
    const std::string_view word = f.Word();
    if (word.empty()) return false;
    tag = word == "0" ? TPGTag() : TPGTag::Str(word);
    return true;
  }

  int StyleByName(const std::string& name, bool paragraph) const {
    const TPGStyle* style = ctx_.Style();
    if (!style) return 0;
    const TCustomPGInfos& styles = paragraph ? static_cast<const TCustomPGInfos&>(style->ParaStyles)
                                             : static_cast<const TCustomPGInfos&>(style->TextStyles);
    for (int i = 0; i < styles.Count(); ++i)
      if (styles.Info(i).StyleName == name) return i;
    return 0;
  }

  // Through the map of the insertion, then checked against the style sheet.
  bool TranslateStyle(int& styleNo, bool paragraph) {
    if (styleNo == kDefaultTextStyleOfPara && !paragraph) return true;
    const bool hasMap = paragraph ? maps_.HasPara : maps_.HasText;
    const TPGStyleMap& map = paragraph ? maps_.Para : maps_.Text;
    if (hasMap) {
      if (styleNo >= static_cast<int>(map.size())) {
        ctx_.Warn(pgrwStyleOutOfRange);
        return Fail("style " + std::to_string(styleNo) + " is beyond the styles the data brought");
      }
      styleNo = map[static_cast<std::size_t>(styleNo)];
    }
    const TPGStyle* style = ctx_.Style();
    const int count = !style ? 0 : paragraph ? style->ParaStyles.Count() : style->TextStyles.Count();
    if (styleNo < 0 || styleNo >= count) {
      ctx_.Warn(pgrwStyleOutOfRange);
      if (!ctx_.Options().Contains(pgfoConvUnknownStylesToZero))
        return Fail("style " + std::to_string(styleNo) + " is not in the style sheet");
      styleNo = 0;
    }
    return true;
  }

  // ---- text

  bool TextRecord(LineCutter& cutter, TCustomPGItemInfo& proto, int lineCount, int mode) {
    const bool rawUTF16 = proto.HasFlag(pgifUnicode) && mode != 3;
    if (rawUTF16 && lineCount > 0 && !cutter.EndedWithCRLF()) return Fail("raw text does not follow a line end");
    for (int i = 0; i < lineCount; ++i) {
      if (cutter.AtEnd()) return Fail("the data ends inside a text record");
      std::string text;
      if (rawUTF16) {
        text.assign(cutter.UTF16Line());
      } else {
        const std::string_view line = cutter.TextLine();
        if (proto.HasFlag(pgifUnicode)) {
          if (!DecodeHex(line, text) || text.size() % 2 != 0) return Fail("invalid hexadecimal text");
        } else {
          text.assign(line);
        }
      }
      if (!AddText(proto, std::move(text))) return false;
    }
    return true;
  }

  bool AddText(const TCustomPGItemInfo& proto, std::string text) {
    const TPGStyle* style = ctx_.Style();
    if (args_.Inserting && style) {
      const int actual = d_.ResolveTextStyle(proto.StyleNo, proto.ParaNo < 0 ? PreviousParaNo() : proto.ParaNo);
      if (style->TextStyles[actual].Protection.Contains(pgprPGFInsertProtect)) return true;  // dropped
    }
    std::unique_ptr<TCustomPGItemInfo> item = CopyItem(proto, &d_, false);
    return AddItem(std::move(item), std::move(text));
  }

  [[nodiscard]] int PreviousParaNo() const { return p_ > 0 ? d_.ItemAt(p_ - 1).ParaNo : 0; }

  // ---- adding items

  bool AddItem(std::unique_ptr<TCustomPGItemInfo> item, std::string text) {
    if (!item->IsText() && !item->QueryTrait(pgitValid)) return true;  // the waiting checkpoint stays
    // Place in the paragraph structure.
    const bool fullWidth = item->QueryTrait(pgitFullWidth);
    const TCustomPGItemInfo* prev = p_ > 0 ? &d_.ItemAt(p_ - 1) : nullptr;
    const bool afterFullWidth = prev && prev->QueryTrait(pgitFullWidth);
    if (item->StyleNo == pgsListMarker) {
      // A marker begins its paragraph (in the paragraph style it was to continue).
      if (item->ParaNo == -1) item->ParaNo = prev ? prev->ParaNo : 0;
      item->SetFlag(pgifLineBreakBefore, false);
    }
    if (item->ParaNo == -1 && prev && !afterFullWidth && !fullWidth) {
      item->SetFlag(pgifContinuesPara, true);
      item->ParaNo = prev->ParaNo;
    } else {
      if (prev && prev->StyleNo == pgsListMarker && !AddMarkerText()) return false;
      prev = p_ > 0 ? &d_.ItemAt(p_ - 1) : nullptr;
      item->SetFlag(pgifContinuesPara, false);
      if (item->ParaNo == -1) item->ParaNo = 0;
      if (!prev || afterFullWidth || fullWidth) item->SetFlag(pgifLineBreakBefore, false);
      if (item->HasFlag(pgifLineBreakBefore) && prev) item->ParaNo = prev->ParaNo;
    }
    if (!d_.SupportsPageBreaks()) item->SetFlag(pgifPageBreakBefore, false);
    if (waiting_) {
      waiting_->Item = item.get();
      item->Checkpoint = std::move(waiting_);
      waitingWasPending_ = false;
    }
    if (item->IsText()) {
      PrepareText(*item, text);
    } else {
      item->SetFlag(pgifUnicode, false);
      TCustomPGData::NormalizeText8(text);
    }
    if (auto* marker = dynamic_cast<TPGMarkerItemInfo*>(item.get())) {
      TranslateList(*marker);
      markersAdded_ = true;
    }
    TCustomPGItemInfo* raw = item.get();
    const int at = p_;
    if (added_ == 0) {
      if (!d_.InsertFirstReadItem(p_, std::move(text), std::move(item))) return Fail("the first item was refused");
    } else {
      d_.InsertItemAt(p_, std::move(text), std::move(item));
      ++p_;
    }
    ++added_;
    if (auto* control = dynamic_cast<TPGControlItemInfo*>(raw))
      d_.GetRootData()->RaiseControlAction(pgcaAfterPGFLoad, at, control->Control.get());
    if (!ctx_.Nested()) raw->FinishRead(pglfPGF);
    return true;
  }

  // Text in the encoding its style wants, without framing characters.
  void PrepareText(TCustomPGItemInfo& item, std::string& text) {
    const TPGStyle* style = ctx_.Style();
    const int actual = d_.ResolveTextStyle(item.StyleNo, item.ParaNo);
    const bool styleUnicode = style && style->TextStyles[actual].Unicode;
    const TPGCodePage cp = d_.StyleCodePage(actual);
    if (item.HasFlag(pgifUnicode)) {
      if (text.size() % 2 != 0) text.pop_back();
      TCustomPGData::NormalizeTextUTF16Bytes(text);
      if (!styleUnicode) {
        text = UTF16ToCodePage(cp, U16FromBytes(text));
        TCustomPGData::NormalizeText8(text);  // line ends inside UTF-16 text would end 8-bit lines
        item.SetFlag(pgifUnicode, false);
        ctx_.Warn(pgrwTextMadeAnsi);
      }
    } else {
      TCustomPGData::NormalizeText8(text);
      if (styleUnicode) {
        text = BytesFromU16(CodePageToUTF16(cp, text));
        TCustomPGData::NormalizeTextUTF16Bytes(text);
        item.SetFlag(pgifUnicode, true);
        ctx_.Warn(pgrwTextMadeUnicode);
      }
    }
  }

  void TranslateList(TPGMarkerItemInfo& m) {
    if (m.ListStyleNo < 0) return;
    if (maps_.HasList) {
      if (m.ListStyleNo >= static_cast<int>(maps_.List.size())) {
        ctx_.Warn(pgrwStyleOutOfRange);
        m.ListStyleNo = 0;
      } else {
        m.ListStyleNo = maps_.List[static_cast<std::size_t>(m.ListStyleNo)];
      }
    }
    const TPGStyle* style = ctx_.Style();
    const int count = style ? style->ListStyles.Count() : 0;
    if (m.ListStyleNo < 0 || m.ListStyleNo >= count) {
      ctx_.Warn(pgrwStyleOutOfRange);
      m.ListStyleNo = count > 0 ? 0 : -1;
    }
  }

  // ---- other records

  bool CheckpointRecord(LineCutter& cutter, TPGFHeaderFields& f, int lineCount, const TPGTag& tag) {
    int raise = 0, persistent = 0;
    if (!f.AtEnd() && !f.Number(raise)) return Fail("invalid checkpoint record");
    if (!f.AtEnd() && !f.Number(persistent)) return Fail("invalid checkpoint record");
    for (int i = 0; i < lineCount; ++i) {
      std::string_view l;
      if (!NextLine(cutter, l)) return Fail("the data ends inside a checkpoint record");
      if (i == 0 && !waiting_) {
        waiting_ = std::make_unique<TPGCPInfo>();
        waiting_->Name = std::string(l);
        waiting_->RaiseEvent = raise != 0;
        waiting_->Persistent = persistent != 0;
        waiting_->Tag = tag;
        waitingWasPending_ = false;
      }
    }
    return true;
  }

  bool BackgroundRecord(LineCutter& cutter, TPGFHeaderFields& f, int lineCount, int mode) {
    int style = 0, color = 0;
    if (!f.Number(style) || !f.Number(color)) return Fail("invalid background record");
    const bool load = ctx_.Options().Contains(pgfoLoadBack);
    if (load) {
      if (args_.Color) *args_.Color = static_cast<TColor>(color);
      if (args_.Background) {
        args_.Background->Style = static_cast<TBackgroundStyle>(std::clamp(style, 0, static_cast<int>(bsCentered)));
        args_.Background->Picture.reset();
      }
    }
    for (int i = 0; i < lineCount; ++i) {
      if (mode == 2 && i == lineCount - 1) ctx_.NextLineBinary();
      std::string_view l;
      if (!NextLine(cutter, l)) return Fail("the data ends inside a background record");
      if (i == 1 && load) {
        std::string bytes;
        if (!ctx_.LineData(l, bytes)) return Fail("the background picture is not valid hexadecimal");
        std::unique_ptr<TGraphic> picture = CreateGraphic("TBitmap");
        if (picture && picture->LoadFromBytes(bytes) && args_.Background) args_.Background->Picture = std::move(picture);
      }
    }
    return true;
  }

  bool DocumentRecord(LineCutter& cutter, TPGFHeaderFields& f, int lineCount, int mode) {
    int subtype = 0;
    if (!f.Number(subtype)) return Fail("invalid document data record");
    std::vector<std::string> lines;
    for (int i = 0; i < lineCount; ++i) {
      if (mode == 2 && i == 1 && subtype != 5) ctx_.NextLineBinary();
      std::string_view l;
      if (!NextLine(cutter, l)) return Fail("the data ends inside a document data record");
      if (subtype == 5 || i == 1) lines.emplace_back(l);
    }
    switch (subtype) {
      case 1:
      case 2:
      case 4: return lines.empty() || StyleRecord(subtype, lines[0], mode);
      case 3: return lines.empty() || LayoutRecord(lines[0], mode);
      case 5: DocumentInfoRecord(lines); return true;
      default: return true;  // list counters and kinds of data this document does not keep
    }
  }

  bool StyleRecord(int subtype, std::string_view line, int mode) {
    IPGDataOwner* owner = ctx_.Owner();
    const TPGFReaderStyleMode readMode =
        !owner ? pgf_sInsertMerge : subtype == 1 ? owner->GetPGFTextStylesReadMode() : owner->GetPGFParaStylesReadMode();
    TPGStyle* style = ctx_.Style();
    if (readMode == pgf_sIgnore || !style) return true;
    std::string bytes;
    ctx_.Mode = mode;
    if (!ctx_.LineData(line, bytes)) return Fail("the style data is not valid hexadecimal");
    if (bytes.empty()) return true;
    if (static_cast<unsigned char>(bytes[0]) != 14) return Fail("the style data is not a collection");
    TPGStyle scratch;
    TCustomPGInfos& temp = subtype == 1 ? static_cast<TCustomPGInfos&>(scratch.TextStyles)
                           : subtype == 2 ? static_cast<TCustomPGInfos&>(scratch.ParaStyles)
                                          : static_cast<TCustomPGInfos&>(scratch.ListStyles);
    temp.Clear();
    TPGStreamContext context;
    context.ImageListNeeded = [owner](int tag) { return owner ? owner->PGFImageListNeeded(tag) : nullptr; };
    std::vector<std::string> problems;
    if (!ReadStyleCollection(bytes, temp, &context, &problems) || !problems.empty())
      ctx_.Warn(pgrwStylePropertyUnknown);
    for (int i = 0; i < temp.Count(); ++i)  // names go into one-line headers
      for (char& c : temp.Info(i).StyleName)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    bool& hasMap = subtype == 1 ? maps_.HasText : subtype == 2 ? maps_.HasPara : maps_.HasList;
    TPGStyleMap& map = subtype == 1 ? maps_.Text : subtype == 2 ? maps_.Para : maps_.List;
    if (temp.Count() == 0 || hasMap) return true;
    if (added_ > 0) styleRecordAfterItems_ = true;
    TCustomPGInfos& dest = subtype == 1 ? static_cast<TCustomPGInfos&>(style->TextStyles)
                           : subtype == 2 ? static_cast<TCustomPGInfos&>(style->ParaStyles)
                                          : static_cast<TCustomPGInfos&>(style->ListStyles);
    if (args_.WholeDocument) {
      dest.Assign(temp);
      return true;
    }
    hasMap = true;
    MergeStyleCollection(dest, temp, readMode == pgf_sInsertMap ? TPGMergeMode::Closest : TPGMergeMode::Merge, map,
                         subtype == 2 && maps_.HasText ? &maps_.Text : nullptr);
    return true;
  }

  bool LayoutRecord(std::string_view line, int mode) {
    if (!args_.Layout || !args_.WholeDocument || !ctx_.Options().Contains(pgfoLoadLayout)) return true;
    std::string bytes;
    ctx_.Mode = mode;
    if (!ctx_.LineData(line, bytes)) return Fail("the layout data is not valid hexadecimal");
    auto at = [&](std::size_t offset) -> int {
      std::uint32_t v = 0;
      for (int i = 0; i < 4; ++i)
        if (offset + i < bytes.size()) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
      return static_cast<int>(v);
    };
    const int size = at(4);
    if (bytes.size() < 33 || size < 25) throw EPagoraError("Invalid PGF format");
    TPGLayoutInfo& l = *args_.Layout;
    l.LeftMargin = at(8);
    l.RightMargin = at(12);
    l.TopMargin = at(16);
    l.BottomMargin = at(20);
    l.MinTextWidth = at(24);
    l.MaxTextWidth = at(28);
    l.BiDiMode = static_cast<TPGBiDiMode>(std::min<int>(static_cast<unsigned char>(bytes[32]), pgbdRightToLeft));
    if (size - 25 >= 16 && bytes.size() >= 49) {
      l.HeadParaCut = at(33);
      l.TailParaCut = at(37);
      l.HeadMarkerListNo = at(41);
      l.HeadMarkerLevel = at(45);
      if (l.HeadParaCut != 0 && l.HeadMarkerListNo >= 0 && maps_.HasList &&
          l.HeadMarkerListNo < static_cast<int>(maps_.List.size()))
        l.HeadMarkerListNo = maps_.List[static_cast<std::size_t>(l.HeadMarkerListNo)];
    }
    l.WasRead = true;
    return true;
  }

  void DocumentInfoRecord(const std::vector<std::string>& lines) {
    IPGDataOwner* owner = ctx_.Owner();
    std::vector<std::string>* info = owner ? owner->DocumentInfo() : nullptr;
    if (!args_.WholeDocument || !info || !ctx_.Options().Contains(pgfoLoadDocProperties)) return;
    for (std::string line : lines) {
      for (char& c : line) {
        if (c == 1) c = '\r';
        else if (c == 2) c = '\n';
      }
      info->push_back(std::move(line));
    }
  }

  // A marker is never the last item of its paragraph: an empty text item in text style 0
  // (taking the waiting checkpoint) follows it.
  bool AddMarkerText() {
    auto empty = CreateItem(0, &d_);
    empty->SetFlag(pgifContinuesPara, true);
    empty->ParaNo = d_.ItemAt(p_ - 1).ParaNo;
    const TPGStyle* style = ctx_.Style();
    if (style && style->TextStyles[0].Unicode) empty->SetFlag(pgifUnicode, true);
    if (waiting_) {
      waiting_->Item = empty.get();
      empty->Checkpoint = std::move(waiting_);
      waitingWasPending_ = false;
    }
    d_.InsertItemAt(p_, std::string(), std::move(empty));
    ++p_;
    ++added_;
    return true;
  }

  // ---- the end

  void Finish() {
    if (p_ > 0 && d_.ItemAt(p_ - 1).StyleNo == pgsListMarker && (p_ == d_.CountItems() || d_.ItemAt(p_).StartsPara()))
      AddMarkerText();
    if (!args_.Inserting && p_ > 0 && p_ <= d_.CountItems()) {
      // The paragraph holding the position takes one paragraph style.
      const int first = d_.ParaFirstItem(p_ - 1);
      const int last = d_.ParaLastItem(p_ - 1);
      for (int i = first + 1; i <= last; ++i) d_.ItemAt(i).ParaNo = d_.ItemAt(first).ParaNo;
    }
  }

  // A style record that comes after items (data written out of order) may have replaced
  // the styles those items refer to: their numbers and encodings are brought in line.
  void Reconcile(int start) {
    if (!styleRecordAfterItems_) return;
    const TPGStyle* style = ctx_.Style();
    if (!style) return;
    for (int i = start; i < start + added_ && i < d_.CountItems(); ++i) {
      TCustomPGItemInfo& item = d_.ItemAt(i);
      if (item.ParaNo >= style->ParaStyles.Count()) {
        ctx_.Warn(pgrwStyleOutOfRange);
        item.ParaNo = 0;
      }
      if (auto* marker = dynamic_cast<TPGMarkerItemInfo*>(&item)) {
        if (marker->ListStyleNo >= style->ListStyles.Count()) {
          ctx_.Warn(pgrwStyleOutOfRange);
          marker->ListStyleNo = style->ListStyles.Count() > 0 ? 0 : -1;
        }
      }
      if (!item.IsText()) continue;
      if (item.StyleNo != kDefaultTextStyleOfPara && item.StyleNo >= style->TextStyles.Count()) {
        ctx_.Warn(pgrwStyleOutOfRange);
        item.StyleNo = 0;
      }
      std::string text = d_.TextOf(i);
      PrepareText(item, text);
      d_.SetTextOf(i, std::move(text));
    }
  }

  void SettleWaitingCheckpoint(bool ok) {
    if (!waiting_) return;
    if (ok && p_ == d_.CountItems() && !d_.PendingCheckpoint()) d_.SetPendingCheckpoint(std::move(waiting_));
    waiting_.reset();
  }

  // What follows the inserted items starts a paragraph where it must.
  void FixFollowingItem() {
    if (p_ <= 0 || p_ >= d_.CountItems()) return;
    TCustomPGItemInfo& next = d_.ItemAt(p_);
    const TCustomPGItemInfo& prev = d_.ItemAt(p_ - 1);
    if ((prev.QueryTrait(pgitFullWidth) || next.QueryTrait(pgitFullWidth)) && !next.StartsPara()) {
      next.SetFlag(pgifContinuesPara, false);
      next.SetFlag(pgifLineBreakBefore, false);
    }
    if (!next.StartsPara()) {
      const int paraNo = prev.ParaNo;
      for (int i = p_; i < d_.CountItems() && !d_.ItemAt(i).StartsPara(); ++i) d_.ItemAt(i).ParaNo = paraNo;
    }
  }

  TCustomPGData& d_;
  int p_;
  TPGFReadArgs args_;
  TPGReadWarnings warnings_;
  TPGFReadContext ctx_;
  TPGFStyleMaps& maps_;
  bool stringTags_;
  int major_ = 0, minor_ = 0;
  int added_ = 0;
  bool markersAdded_ = false;
  bool styleRecordAfterItems_ = false;
  std::unique_ptr<TPGCPInfo> waiting_;
  bool waitingWasPending_ = false;
  std::string error_;
};

}  // namespace

TPGFReadResult ReadPGF(TCustomPGData& data, std::string_view stream, int& position, const TPGFReadArgs& args) {
  IPGDataOwner* owner = data.GetRootData()->Owner();
  if (owner && data.GetParentData() == nullptr && !data.ReadingNested()) owner->SetReadWarnings({});
  Reader reader(data, position, args);
  TPGFReadResult result = reader.Run(stream);
  position = reader.Position();
  return result;
}

bool LoadPGFFromStream(TCustomPGData& data, std::string_view stream, TColor* color, TPGLayoutInfo* layout,
                       TPGBackground* background, std::string* error) {
  try {
    data.Clear();
    IPGDataOwner* owner = data.GetRootData()->Owner();
    if (owner && owner->DocumentInfo() && !data.ReadingNested()) owner->DocumentInfo()->clear();
    TPGFReadArgs args;
    args.Color = color;
    args.Layout = layout;
    args.Background = background;
    args.WholeDocument = true;
    int position = 0;
    const TPGFReadResult r = ReadPGF(data, stream, position, args);
    if (!r.Ok && error) *error = r.Error;
    return r.Ok;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

bool LoadPGFFile(TCustomPGData& data, const std::string& fileName, TColor* color, TPGLayoutInfo* layout,
                 TPGBackground* background, std::string* error) {
  std::string bytes, why;
  if (!ReadFileBytes(fileName, bytes, why)) {
    if (error) *error = why;
    return false;
  }
  return LoadPGFFromStream(data, bytes, color, layout, background, error);
}

bool ReadSubDocumentData(TCustomPGData& data, std::string_view& stream) {
  std::string_view body;
  if (!UnwrapPGFFromClipboard(stream, body)) {  // the same framing: a 32-bit count, then the data
    stream = {};
    return false;
  }
  stream.remove_prefix(4 + body.size());
  data.SetReadingNested(true);
  const bool ok = LoadPGFFromStream(data, body);
  data.SetReadingNested(false);
  return ok;
}

}  // namespace pagora
