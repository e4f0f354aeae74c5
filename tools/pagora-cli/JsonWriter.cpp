#include "JsonWriter.h"

#include <cassert>
#include <string>

#include "platform/TextEncoding.h"

namespace pagora::cli {

void JsonWriter::Indent(std::size_t depth) {
  out_.put('\n');
  for (std::size_t i = 0; i < depth; ++i) out_ << "  ";
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (stack_.empty()) return;
  Level& level = stack_.back();
  assert(!level.object && "a value inside an object needs a key");
  if (level.count++ > 0) out_.put(',');
  Indent(stack_.size());
}

void JsonWriter::Key(std::string_view name) {
  assert(!stack_.empty() && stack_.back().object && !afterKey_);
  Level& level = stack_.back();
  if (level.count++ > 0) out_.put(',');
  Indent(stack_.size());
  WriteEscaped(name);
  out_ << ": ";
  afterKey_ = true;
}

void JsonWriter::BeginObject() {
  BeforeValue();
  out_.put('{');
  stack_.push_back({true, 0});
}

void JsonWriter::BeginArray() {
  BeforeValue();
  out_.put('[');
  stack_.push_back({false, 0});
}

void JsonWriter::Close(bool object, char bracket) {
  assert(!stack_.empty() && stack_.back().object == object && !afterKey_);
  (void)object;
  const bool empty = stack_.back().count == 0;
  stack_.pop_back();
  if (!empty) Indent(stack_.size());
  out_.put(bracket);
}

void JsonWriter::EndObject() { Close(true, '}'); }
void JsonWriter::EndArray() { Close(false, ']'); }

void JsonWriter::String(std::string_view utf8) {
  BeforeValue();
  WriteEscaped(utf8);
}

void JsonWriter::Int(std::int64_t value) {
  BeforeValue();
  out_ << value;
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ << (value ? "true" : "false");
}

void JsonWriter::Null() {
  BeforeValue();
  out_ << "null";
}

bool JsonWriter::Finish() {
  out_.put('\n');
  out_.flush();
  return stack_.empty() && !afterKey_;
}

void JsonWriter::WriteEscaped(std::string_view utf8) {
  // Ill-formed input is repaired by a round trip through UTF-16, which replaces every bad
  // sequence with U+FFFD.
  std::string repaired;
  if (!IsValidUTF8(utf8)) {
    repaired = UTF16ToUTF8(UTF8ToUTF16(utf8));
    utf8 = repaired;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  out_.put('"');
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    switch (c) {
      case '"': out_ << "\\\""; break;
      case '\\': out_ << "\\\\"; break;
      case '\b': out_ << "\\b"; break;
      case '\f': out_ << "\\f"; break;
      case '\n': out_ << "\\n"; break;
      case '\r': out_ << "\\r"; break;
      case '\t': out_ << "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out_ << "\\u00" << kHex[c >> 4] << kHex[c & 0xF];
        } else if (c == 0xE2 && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(utf8[i + 2]) == 0xA8 || static_cast<unsigned char>(utf8[i + 2]) == 0xA9)) {
          // U+2028 and U+2029 are valid JSON but end lines in JavaScript; escape them.
          out_ << (static_cast<unsigned char>(utf8[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029");
          i += 2;
        } else {
          out_.put(static_cast<char>(c));
        }
    }
  }
  out_.put('"');
}

}  // namespace pagora::cli
