// What the writer and the reader of the native format give item classes while they write
// and read their records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/ItemTag.h"
#include "model/PGFTypes.h"

namespace pagora {

class IPGDataOwner;
class TCustomPGData;
class TCustomPGItemInfo;
class TPGStyle;

// Writes records: a header line made of fields, then counted lines in text or binary form.
class TPGFWriter {
public:
  TPGFWriter(TCustomPGData& data, std::string& out);

  [[nodiscard]] TCustomPGData& Document() const noexcept { return data_; }
  [[nodiscard]] TPGFOptions Options() const noexcept { return options_; }
  [[nodiscard]] bool Binary() const noexcept { return options_.Contains(pgfoSaveBinary); }
  // Mode 0 in text form, 2 in binary form: how a record with data writes it.
  [[nodiscard]] int DataMode() const noexcept { return Binary() ? 2 : 0; }

  // The standard header: kind, line count, paragraph, flags, mode and tag, then extras
  // (each extra after a space). The paragraph is -1 for items continuing their paragraph.
  void Header(int kind, int lineCount, int paraNo, unsigned flags, int mode, const TPGTag& tag,
              const std::string& extras = {});
  // A header line written as it stands.
  void RawHeader(const std::string& line);
  // One 8-bit line; characters that would end it early become spaces.
  void Line(std::string_view text);
  // Binary data: a hexadecimal line, or a block in binary form.
  void Data(std::string_view bytes);
  // A raw UTF-16 line ended by U+2029 (binary form of Unicode text).
  void RawUTF16Line(std::string_view utf16Bytes);

  // Field forms.
  [[nodiscard]] std::string StyleField(int styleNo, bool paragraph) const;
  [[nodiscard]] std::string TagField(const TPGTag& tag) const;
  [[nodiscard]] static std::string Quoted(std::string_view text);

  void Checkpoint(const TCustomPGItemInfo& item);

private:
  TCustomPGData& data_;
  std::string& out_;
  TPGFOptions options_;
  bool stringTags_;
  TPGStyle* style_;
};

// The fields of a header line after the tag.
class TPGFHeaderFields {
public:
  explicit TPGFHeaderFields(std::string_view rest) : rest_(rest) {}
  [[nodiscard]] bool AtEnd() const noexcept { return rest_.empty(); }
  // A decimal number ended by one space or the end; false (and nothing read) otherwise.
  bool Number(int& value);
  // A quoted string with doubled quotes inside; false when there is none.
  bool Quoted(std::string& value);
  // The characters up to the next space (which is consumed).
  std::string_view Word();
  [[nodiscard]] std::string_view Rest() const noexcept { return rest_; }

private:
  std::string_view rest_;
};

// The state of one read, for the item classes parsing their records.
class TPGFReadContext {
public:
  TPGFReadContext(TCustomPGData& data, TPGReadWarnings& warnings, bool nested);

  [[nodiscard]] TCustomPGData& Data() const noexcept { return data_; }
  [[nodiscard]] IPGDataOwner* Owner() const noexcept { return owner_; }
  [[nodiscard]] TPGStyle* Style() const noexcept { return style_; }
  [[nodiscard]] TPGFOptions Options() const noexcept { return options_; }
  [[nodiscard]] bool Nested() const noexcept { return nested_; }

  // The record being read.
  int Mode = 0;
  TPGTag Tag;

  void Warn(TPGReadWarning w) { warnings_.Include(w); }
  // The next line is a binary block (records of mode 2 say so before their data line).
  void NextLineBinary() { nextBinary_ = true; }
  [[nodiscard]] bool TakeNextLineBinary() { const bool b = nextBinary_; nextBinary_ = false; return b; }
  // The data of a line: the block itself in mode 2, else its hexadecimal decoded.
  bool LineData(std::string_view line, std::string& bytes) const;
  // Why the read stopped, when an item class stops it.
  std::string Error;

private:
  TCustomPGData& data_;
  IPGDataOwner* owner_;
  TPGStyle* style_;
  TPGFOptions options_;
  TPGReadWarnings& warnings_;
  bool nested_;
  bool nextBinary_ = false;
};

// Splits "keyword=value" and applies it to the item (integer and string properties by
// keyword, anything else to the item's custom properties). Lines without "=" are ignored.
void ApplyPGFPropertyLine(TCustomPGItemInfo& item, std::string_view line);

}  // namespace pagora
