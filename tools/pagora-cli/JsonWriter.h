// A streaming JSON writer with two-space indentation. Strings go out as UTF-8: control
// characters and quotes are escaped, ill-formed UTF-8 becomes U+FFFD, so the output is
// valid JSON whatever bytes a document holds.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace pagora::cli {

class JsonWriter {
public:
  explicit JsonWriter(std::ostream& out) : out_(out) {}

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next value in the current object.
  void Key(std::string_view name);

  void String(std::string_view utf8);
  void Int(std::int64_t value);
  void Bool(bool value);
  void Null();

  // Key and value in one call, for the common case.
  void StringField(std::string_view name, std::string_view utf8) { Key(name); String(utf8); }
  void IntField(std::string_view name, std::int64_t value) { Key(name); Int(value); }
  void BoolField(std::string_view name, bool value) { Key(name); Bool(value); }

  // Ends the document with a line end; true when every value was closed.
  bool Finish();

private:
  struct Level {
    bool object;
    int count;
  };
  // Separator and indentation before a value or a key.
  void BeforeValue();
  void Close(bool object, char bracket);
  void WriteEscaped(std::string_view utf8);
  void Indent(std::size_t depth);

  std::ostream& out_;
  std::vector<Level> stack_;
  bool afterKey_ = false;
};

}  // namespace pagora::cli
