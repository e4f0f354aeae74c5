#include "model/PlainText.h"

#include <algorithm>

#include "model/CPGData.h"
#include "model/PGStyle.h"
#include "platform/FileIO.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora {

namespace {

// ---------------------------------------------------------------- writing

// Appends text in the output encoding: 8-bit bytes, or UTF-16LE bytes for Unicode and UTF-8
// output (UTF-8 is transcoded from UTF-16 at the end).
class TextSink {
public:
  TextSink(std::string& out, bool unicode, TPGCodePage defCodePage) : out_(out), unicode_(unicode), defCP_(defCodePage) {}

  void Append8(std::string_view bytes, TPGCodePage codePage) {
    if (!unicode_) out_.append(bytes);
    else out_ += BytesFromU16(CodePageToUTF16(codePage, bytes));
  }
  void AppendUTF16Bytes(std::string_view bytes) {
    if (bytes.size() % 2 != 0) throw EPagoraError(msg::CantPerformUnicode);
    if (unicode_) out_.append(bytes);
    else out_ += UTF16ToCodePage(defCP_, U16FromBytes(bytes));
  }
  void LineEnd() {
    if (unicode_) out_.append("\r\0\n\0", 4);
    else out_.append("\r\n");
  }
  [[nodiscard]] bool unicode() const noexcept { return unicode_; }

private:
  std::string& out_;
  bool unicode_;
  TPGCodePage defCP_;
};

// The part [from, to) (in characters) of an item's stored text.
std::string_view Slice(const std::string& text, bool unicode, int from, int to) {
  const std::size_t unit = unicode ? 2 : 1;
  const std::size_t len = text.size() / unit;
  const std::size_t a = static_cast<std::size_t>(std::clamp(from, 0, static_cast<int>(len)));
  const std::size_t b = static_cast<std::size_t>(std::clamp(to, static_cast<int>(a), static_cast<int>(len)));
  return std::string_view(text).substr(a * unit, (b - a) * unit);
}

void WriteItem(TCustomPGData& data, TextSink& sink, int n, int fromChar, int toChar, const TPGTextWriteOptions& o) {
  TCustomPGItemInfo& item = data.ItemAt(n);
  const std::string& text = data.TextOf(n);
  TCustomPGData* root = data.GetRootData();
  const bool unicodeOut = sink.unicode();
  if (IPGDataOwner* owner = root->Owner(); owner && owner->WantsSaveItemToFile()) {
    std::string replaced = item.IsText() ? text : std::string();
    if (owner->SaveItemToFile(o.Path, &data, n, pgsfText, unicodeOut, replaced)) {
      // The handler's text is in the output encoding.
      if (unicodeOut) sink.AppendUTF16Bytes(replaced);
      else sink.Append8(replaced, data.DefCodePage());
      return;
    }
  }
  if (item.IsText()) {
    const bool unicode = item.HasFlag(pgifUnicode);
    const std::string_view part = Slice(text, unicode, fromChar, toChar);
    if (unicode) sink.AppendUTF16Bytes(part);
    else sink.Append8(part, data.StyleCodePage(data.EffectiveStyleOf(n)));
    return;
  }
  const bool itemUnicode = item.QueryTrait(pgitUnicodeText);
  const std::string exported = item.AsText(o.LineWidth, &data, text, o.Path, false, unicodeOut);
  if (itemUnicode && unicodeOut) sink.AppendUTF16Bytes(exported);
  else sink.Append8(exported, data.DefCodePage());
}

}  // namespace

bool WritePlainText(TCustomPGData& data, std::string& out, const TPGTextWriteOptions& o) {
  try {
    const bool unicode = o.Encoding != TPGTextEncoding::EightBit;
    std::string body;
    TextSink sink(body, unicode, data.DefCodePage());
    if (data.CountItems() > 0) {
      TPGTextRange r{0, data.FirstOffset(0), data.CountItems() - 1, data.EndOffset(data.CountItems() - 1)};
      if (o.Range) r = *o.Range;
      if (r.FirstItem < 0 || r.LastItem >= data.CountItems() || r.FirstItem > r.LastItem)
        throw EPagoraError(msg::ItemIndexOutOfBounds);
      // A selection inside a list paragraph begins with the paragraph's marker.
      if (o.Range) {
        const int first = data.ParaFirstItem(r.FirstItem);
        if (first < r.FirstItem && data.ItemAt(first).StyleNo == pgsListMarker)
          WriteItem(data, sink, first, 0, INT32_MAX, o);
      }
      for (int n = r.FirstItem; n <= r.LastItem; ++n) {
        if (n > r.FirstItem && data.StartsLine(n)) sink.LineEnd();
        const bool text = data.ItemAt(n).IsText();
        int from = 0, to = INT32_MAX;
        if (n == r.FirstItem) {
          if (!text && r.FirstOffs >= 1 && n != r.LastItem) continue;  // starts after the object
          if (text) from = r.FirstOffs - 1;
        }
        if (n == r.LastItem) {
          if (!text && r.LastOffs <= 0) continue;  // ends before the object
          if (!text && n == r.FirstItem && r.FirstOffs >= 1) continue;
          if (text) to = r.LastOffs - 1;
        }
        WriteItem(data, sink, n, from, to, o);
      }
    }
    std::string result;
    if (o.Encoding == TPGTextEncoding::UTF8) {
      if (o.WriteBOM) result = "\xEF\xBB\xBF";
      result += UTF16ToUTF8(U16FromBytes(body));
    } else {
      if (o.WriteBOM && unicode) result = "\xFF\xFE";
      result += body;
    }
    out += result;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool WritePlainTextFileAs(TCustomPGData& data, const std::string& fileName, const TPGTextWriteOptions& options,
                          std::string* error) {
  std::string bytes;
  if (!WritePlainText(data, bytes, options)) {
    if (error) *error = "the document could not be converted to text";
    return false;
  }
  std::string why;
  if (!WriteFileAtomically(fileName, bytes, why)) {
    if (error) *error = why;
    return false;
  }
  return true;
}

bool WritePlainTextFile(TCustomPGData& data, const std::string& fileName, int lineWidth, bool unicode,
                        std::string* error) {
  TPGTextWriteOptions o;
  o.Encoding = unicode ? TPGTextEncoding::UTF16 : TPGTextEncoding::EightBit;
  o.WriteBOM = unicode;
  o.LineWidth = lineWidth;
  return WritePlainTextFileAs(data, fileName, o, error);
}

// ---------------------------------------------------------------- reading

namespace {

// Where the next piece of text goes.
enum class PieceStart { First, NewPara, NewLine };

// Adds the pieces of a text one after another, deciding paragraphs, lines and page breaks.
class PieceAdder {
public:
  PieceAdder(TCustomPGData& data, const TPGTextReadOptions& o) : data_(data), o_(o), savedMode_(data.ParagraphMode()) {}
  ~PieceAdder() { data_.SetParagraphMode(savedMode_); }
  PieceAdder(const PieceAdder&) = delete;
  PieceAdder& operator=(const PieceAdder&) = delete;

  void SetNext(PieceStart start) { next_ = start; }
  void PageBreakNext() { pageBreak_ = data_.SupportsPageBreaks(); }
  [[nodiscard]] bool AddedAny() const noexcept { return added_; }

  template <class AppendFn>
  void Add(AppendFn append) {
    int paraNo = o_.ParaStyle;
    bool paragraphMode = true;
    if (next_ != PieceStart::First) {
      paraNo = firstParaNo_;
      paragraphMode = next_ == PieceStart::NewPara;
    }
    if (pageBreak_) {
      paragraphMode = true;  // a page break starts a paragraph
      if (paraNo < 0) paraNo = firstParaNo_ >= 0 ? firstParaNo_ : 0;
    }
    data_.SetParagraphMode(paragraphMode);
    append(paraNo);
    const int last = data_.CountItems() - 1;
    if (pageBreak_) data_.ItemAt(last).SetFlag(pgifPageBreakBefore, true);
    if (!added_) firstParaNo_ = data_.ItemAt(last).ParaNo;
    pageBreak_ = false;
    added_ = true;
    next_ = o_.AsSingleParagraph ? PieceStart::NewLine : PieceStart::NewPara;
  }

private:
  TCustomPGData& data_;
  const TPGTextReadOptions& o_;
  bool savedMode_;
  PieceStart next_ = PieceStart::First;
  bool pageBreak_ = false;
  bool added_ = false;
  int firstParaNo_ = -1;
};

}  // namespace

bool ReadPlainText8(TCustomPGData& data, std::string_view bytes, const TPGTextReadOptions& o) {
  try {
    PieceAdder adder(data, o);
    auto addPiece = [&](std::string_view piece) {
      adder.Add([&](int paraNo) {
        if (o.CodePage >= 0) data.AppendTextUTF16(CodePageToUTF16(o.CodePage, piece), o.TextStyle, paraNo);
        else data.AppendText8(piece, o.TextStyle, paraNo);
      });
    };
    std::string line;
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
      // One line, ended by CR LF, LF or CR.
      std::size_t end = i;
      while (end < n && bytes[end] != '\r' && bytes[end] != '\n') ++end;
      line.assign(bytes.substr(i, end - i));
      std::replace(line.begin(), line.end(), '\0', '?');
      if (end < n) {
        i = end + ((bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ? 2 : 1);
      } else {
        i = n;
      }
      // Form feeds split the line; the piece after one starts a new page.
      bool addedInLine = false;
      std::size_t start = 0;
      for (;;) {
        const std::size_t ff = line.find('\f', start);
        const std::string_view piece = std::string_view(line).substr(start, ff == std::string::npos ? std::string::npos : ff - start);
        if (!piece.empty()) {
          addPiece(piece);
          addedInLine = true;
        }
        if (ff == std::string::npos) break;
        adder.PageBreakNext();
        if (!piece.empty()) adder.SetNext(PieceStart::NewPara);
        start = ff + 1;
      }
      if (!addedInLine) addPiece(std::string_view{});
    }
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

namespace {

bool ReadUTF16Units(TCustomPGData& data, std::u16string_view units, const TPGTextReadOptions& o) {
  PieceAdder adder(data, o);
  auto addPiece = [&](std::u16string_view piece) {
    adder.Add([&](int paraNo) { data.AppendTextUTF16(piece, o.TextStyle, paraNo); });
  };
  const std::size_t n = units.size();
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = units[i];
    switch (c) {
      case u'\r':
      case u'\n': {
        addPiece(units.substr(start, i - start));
        const char16_t partner = c == u'\r' ? u'\n' : u'\r';
        if (i + 1 < n && units[i + 1] == partner) ++i;
        adder.SetNext(o.AsSingleParagraph ? PieceStart::NewLine : PieceStart::NewPara);
        start = i + 1;
        break;
      }
      case 0x2029:
        addPiece(units.substr(start, i - start));
        adder.SetNext(PieceStart::NewPara);
        start = i + 1;
        break;
      case 0:
      case 11:
      case 0x2028:
        addPiece(units.substr(start, i - start));
        adder.SetNext(PieceStart::NewLine);
        start = i + 1;
        break;
      case 12:
        if (i > start) {
          addPiece(units.substr(start, i - start));
          adder.SetNext(PieceStart::NewPara);
        }
        adder.PageBreakNext();
        start = i + 1;
        break;
      default:
        break;
    }
  }
  if (start < n) addPiece(units.substr(start));
  else if (!adder.AddedAny() && o.ParaStyle != -1) addPiece(std::u16string_view{});
  return true;
}

}  // namespace

bool ReadPlainTextUTF16(TCustomPGData& data, std::string_view bytes, const TPGTextReadOptions& o, std::string* error) {
  try {
    if (bytes.size() % 2 != 0) throw EPagoraError(msg::CantPerformUnicode);
    std::u16string units = U16FromBytes(bytes);
    std::size_t skip = 0;
    if (!units.empty() && units[0] == 0xFEFF) {
      skip = 1;
    } else if (!units.empty() && units[0] == 0xFFFE) {
      skip = 1;
      for (char16_t& u : units) u = static_cast<char16_t>((u << 8) | (u >> 8));
    }
    return ReadUTF16Units(data, std::u16string_view(units).substr(skip), o);
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

bool ReadPlainTextUTF8(TCustomPGData& data, std::string_view bytes, const TPGTextReadOptions& o) {
  try {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return ReadUTF16Units(data, UTF8ToUTF16(bytes), o);
  } catch (const std::exception&) {
    return false;
  }
}

namespace {
bool ReadFile(const std::string& fileName, std::string& bytes, std::string* error) {
  std::string why;
  if (ReadFileBytes(fileName, bytes, why)) return true;
  if (error) *error = why;
  return false;
}
}  // namespace

bool ReadPlainText8File(TCustomPGData& data, const std::string& fileName, const TPGTextReadOptions& o,
                        std::string* error) {
  std::string bytes;
  if (!ReadFile(fileName, bytes, error)) return false;
  if (ReadPlainText8(data, bytes, o)) return true;
  if (error) *error = "the text could not be added to the document";
  return false;
}

bool ReadPlainTextUTF8File(TCustomPGData& data, const std::string& fileName, const TPGTextReadOptions& o,
                           std::string* error) {
  std::string bytes;
  if (!ReadFile(fileName, bytes, error)) return false;
  if (ReadPlainTextUTF8(data, bytes, o)) return true;
  if (error) *error = "the text could not be added to the document";
  return false;
}

bool ReadPlainTextUTF16File(TCustomPGData& data, const std::string& fileName, const TPGTextReadOptions& o,
                            std::string* error) {
  std::string bytes;
  if (!ReadFile(fileName, bytes, error)) return false;
  return ReadPlainTextUTF16(data, bytes, o, error);
}

bool ReadPlainTextFileDetect(TCustomPGData& data, const std::string& fileName, const TPGTextReadOptions& o,
                             std::string* error) {
  std::string bytes;
  if (!ReadFile(fileName, bytes, error)) return false;
  switch (DetectTextEncoding(bytes).Encoding) {
    case TTextEncoding::UTF16LE:
    case TTextEncoding::UTF16BE:
      if (ReadPlainTextUTF16(data, bytes, o, error)) return true;
      if (error && error->empty()) *error = "the UTF-16 text could not be read";
      return false;
    case TTextEncoding::UTF8:
      if (ReadPlainTextUTF8(data, bytes, o)) return true;
      break;
    case TTextEncoding::EightBit:
      if (ReadPlainText8(data, bytes, o)) return true;
      break;
  }
  if (error) *error = "the text could not be added to the document";
  return false;
}

}  // namespace pagora
