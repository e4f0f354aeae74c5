// The platform's binary component streaming format (form files, and the style collections,
// table bodies and controls inside native documents): a writer, a bounded reader, and
// property tables that let a class be written and read by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace pagora {

// The type byte in front of every value; the numbers are the format's.
enum TValueType : std::uint8_t {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
  vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
  vaInt64, vaUTF8String, vaDouble,
};
inline constexpr std::uint8_t kLastValueType = vaDouble;

[[nodiscard]] const char* ValueTypeName(TValueType type) noexcept;
// A name read from the data, in quotes and fit for a message: control characters
// become "?", and long names are cut.
[[nodiscard]] std::string QuoteName(std::string_view name);

// ---- writing

// Appends values to a byte buffer. Short strings (names, identifiers) longer than 255
// bytes are a programming error and throw EPagoraError; nothing else throws.
class TComponentWriter {
public:
  [[nodiscard]] const std::string& Data() const noexcept { return data_; }
  [[nodiscard]] std::string Take() noexcept { return std::move(data_); }

  void WriteValue(TValueType type) { data_.push_back(static_cast<char>(type)); }
  // A length byte and the bytes: property names, identifiers, set elements, class names.
  void WriteStr(std::string_view s);
  void WritePropName(std::string_view name) { WriteStr(name); }
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }  // also ends collections and an item's properties

  // The smallest of vaInt8, vaInt16, vaInt32 and vaInt64 that holds the value.
  void WriteInteger(std::int64_t value);
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  // ASCII as vaString (up to 255 bytes) or vaLString; anything else as vaUTF8String.
  void WriteString(std::string_view utf8);
  // vaUTF8String when that is shorter than UTF-16, else vaWString (as wide properties are kept).
  void WriteWideString(std::u16string_view text);
  void WriteUTF8String(std::string_view utf8);
  void WriteWString(std::u16string_view text);
  // False, True, nil and Null have value types of their own.
  void WriteIdent(std::string_view ident);
  // vaSet, the element names, and the empty name that ends them.
  void WriteSet(std::span<const std::string_view> names);
  void WriteBinary(std::string_view bytes);
  void WriteSingle(float value);
  void WriteDouble(double value);
  void WriteExtended(double value);  // the 10-byte extended form
  void WriteCurrency(std::int64_t tenThousandths);
  void WriteDate(double days);

  // The "TPF0" signature of a whole component, then its class and name.
  void WriteSignature();
  void WriteComponentHeader(std::string_view className, std::string_view name);

  void WriteRaw(std::string_view bytes) { data_.append(bytes); }

private:
  void WriteLE(std::uint64_t value, int bytes);
  std::string data_;
};

// ---- reading

struct TComponentReaderLimits {
  int MaxDepth = 64;           // lists and collections open at once
  int MaxObjects = 100000;     // collection items created by one read (styles, levels, ...)
  int MaxProblems = 100;       // beyond these, one last entry says that more followed
};

// Reads values from bytes with every length checked against what remains. The first
// error sticks: every later read returns false and Error() tells what and where.
// Problems are recoverable findings (an unknown property, a value of the wrong type).
class TComponentReader {
public:
  // The reader keeps a view of the data, which must outlive it.
  explicit TComponentReader(std::string_view data, TComponentReaderLimits limits = {});
  TComponentReader(std::string&&, TComponentReaderLimits = {}) = delete;

  [[nodiscard]] std::size_t Position() const noexcept { return pos_; }
  [[nodiscard]] std::size_t Remaining() const noexcept { return data_.size() - pos_; }
  [[nodiscard]] bool AtEnd() const noexcept { return pos_ >= data_.size(); }
  [[nodiscard]] bool Ok() const noexcept { return error_.empty(); }
  [[nodiscard]] const std::string& Error() const noexcept { return error_; }
  [[nodiscard]] std::size_t ErrorOffset() const noexcept { return errorOffset_; }

  // Stops the read: "offset N: text". Always returns false.
  bool Fail(std::string_view text) { return FailAt(pos_, text); }
  bool FailAt(std::size_t offset, std::string_view text);

  void AddProblem(std::size_t offset, std::string_view text);
  [[nodiscard]] const std::vector<std::string>& Problems() const noexcept { return problems_; }

  // The next value's type, not consumed.
  bool PeekValue(TValueType& type);
  // True when the next byte closes a list (vaNull), not consumed.
  [[nodiscard]] bool EndOfList();
  bool ReadValue(TValueType& type);
  bool ReadStr(std::string& s);
  bool ReadListBegin();
  bool ReadListEnd();

  bool ReadInteger(std::int64_t& value);     // any integer type
  bool ReadBoolean(bool& value);             // vaFalse or vaTrue
  bool ReadString(std::string& utf8);        // any string type; 8-bit strings are in code page 0
  bool ReadAnsiString(std::string& bytes);   // any string type, as 8-bit text in code page 0
  bool ReadWideString(std::u16string& text); // any string type
  bool ReadIdent(std::string& ident);        // vaIdent, and False, True, nil, Null
  bool ReadSet(std::vector<std::string>& names);
  bool ReadBinary(std::string_view& bytes);  // a view into the data
  bool ReadFloat(double& value);             // vaExtended, vaDouble, vaSingle or an integer
  bool ReadCurrency(std::int64_t& tenThousandths);
  bool ReadDate(double& days);

  // Skips one value of any type, lists and collections included.
  bool SkipValue();

  bool ReadSignature();
  // An optional prefix (inherited, child position, inline flags), then class and name.
  bool ReadComponentHeader(std::string& className, std::string& name, std::uint8_t* flags = nullptr);

  // Counts a list or collection entered by a caller against MaxDepth.
  bool EnterNesting();
  void LeaveNesting() noexcept { --depth_; }
  // Counts an object about to be created against MaxObjects.
  bool CountObject();

private:
  bool Need(std::size_t bytes);
  std::uint64_t TakeLE(int bytes);
  bool ReadLength32(std::uint64_t& length);
  bool ReadStringPayload(TValueType type, std::string& bytes, std::u16string* wide);
  bool SkipPayload(TValueType type);

  std::string_view data_;
  std::size_t pos_ = 0;
  TComponentReaderLimits limits_;
  int depth_ = 0;
  int objects_ = 0;
  std::string error_;
  std::size_t errorOffset_ = 0;
  std::vector<std::string> problems_;
};

// ---- names of integer values

struct TIdent {
  std::string_view Name;
  std::int64_t Value;
  bool ReadOnly = false;  // an alias accepted when reading, never written
};
using TIdentTable = std::span<const TIdent>;

// The names the platform registers for colours (clWindowText, clNone, clRed, ...),
// font charsets (DEFAULT_CHARSET, ...) and cursors (crDefault, crHandPoint, ...).
[[nodiscard]] TIdentTable ColorIdents() noexcept;
[[nodiscard]] TIdentTable CharsetIdents() noexcept;
[[nodiscard]] TIdentTable CursorIdents() noexcept;

// Names compare without regard to ASCII case, as the format's readers do.
[[nodiscard]] const TIdent* FindIdent(TIdentTable table, std::string_view name) noexcept;
// The first entry for the value that is not read-only.
[[nodiscard]] const TIdent* FindIdentOf(TIdentTable table, std::int64_t value) noexcept;

// ---- property tables

enum class TPropKind : std::uint8_t {
  Integer,      // 32-bit signed
  Boolean,
  Enumeration,  // by the value names in Idents
  Set,          // by the element names in Idents, whose values are bit numbers
  String,       // UTF-8
  WideString,   // UTF-16
  Color,        // 32-bit, a name when it has one
  Charset,      // 0..255, a name when it has one
  Cursor,       // 16-bit signed, a name when it has one
  Object,       // an owned object whose properties are written as dotted names
  Collection,
  Custom,       // written and read by callbacks
  Ignored,      // known, but its value is skipped when read and never written
};

struct TClassInfo;
class TComponentWriter;

// How a collection's items are reached; owner is the object that holds the collection.
// Item and Add also tell the class of the item.
struct TCollectionAccess {
  int (*Count)(const void* owner);
  const void* (*Item)(const void* owner, int index, const TClassInfo** cls);
  void* (*Add)(void* owner, const TClassInfo** cls);  // a new item with class defaults
  void (*RemoveLast)(void* owner);                    // drops an item whose data was cut short
  void (*Clear)(void* owner);
};

// One published property. Ordinal kinds use GetOrd/SetOrd (sets as raw bits, colours as
// their unsigned 32-bit value); a property is written when it differs from Default (or
// DefaultText), unless Stored decides. The context is passed through untouched.
struct TPropertyInfo {
  std::string_view Name;
  TPropKind Kind = TPropKind::Integer;
  std::int64_t Default = 0;
  std::string_view DefaultText;
  TIdentTable Idents;
  bool ReadOnly = false;  // a legacy name: read when present, never written

  std::int64_t (*GetOrd)(const void* object) = nullptr;
  void (*SetOrd)(void* object, std::int64_t value) = nullptr;
  std::string (*GetText)(const void* object) = nullptr;
  void (*SetText)(void* object, std::string value) = nullptr;
  std::u16string (*GetWide)(const void* object) = nullptr;
  void (*SetWide)(void* object, std::u16string value) = nullptr;

  const TClassInfo* ObjectClass = nullptr;
  const void* (*GetObject)(const void* object) = nullptr;  // nullptr: nothing to write
  void* (*ObjectForRead)(void* object) = nullptr;          // may create the object

  const TCollectionAccess* Collection = nullptr;  // the object itself is the owner

  bool (*Stored)(const void* object, const void* context) = nullptr;
  void (*WriteCustom)(TComponentWriter& w, const void* object, const void* context) = nullptr;
  // Reads the value; false only when the read must stop (reader no longer Ok).
  bool (*ReadCustom)(TComponentReader& r, void* object, const void* context) = nullptr;
};

struct TClassInfo {
  std::string_view ClassName;
  std::span<const TPropertyInfo> Properties;  // in published order

  [[nodiscard]] const TPropertyInfo* Find(std::string_view name) const noexcept;
};

// Writes the properties that differ from their defaults, in order, nested objects as
// dotted names after prefix.
void WriteProperties(TComponentWriter& w, const TClassInfo& cls, const void* object, const void* context,
                     std::string_view prefix = {});
// A vaCollection value: every item's properties in a list, then the closing vaNull.
void WriteCollection(TComponentWriter& w, const TCollectionAccess& access, const void* owner, const void* context);

// Reads one property name and its value. Unknown names, values of the wrong type and
// values out of range are reported as problems and skipped. False when the read stops.
bool ReadProperty(TComponentReader& r, const TClassInfo& cls, void* object, const void* context);
// Properties up to and including the vaNull that ends them.
bool ReadProperties(TComponentReader& r, const TClassInfo& cls, void* object, const void* context);
// A vaCollection value into the (cleared) collection of owner. An item whose data is cut
// short is dropped.
bool ReadCollection(TComponentReader& r, const TCollectionAccess& access, void* owner, const void* context);

// Helpers for custom readers: the value of property name as an integer in [lo, hi] or as
// a string. A value of another type or out of range is a problem and is skipped; the
// result is then false with r.Ok() still true.
bool ReadIntegerProperty(TComponentReader& r, std::string_view name, std::int64_t lo, std::int64_t hi,
                         std::int64_t& value);
bool ReadStringProperty(TComponentReader& r, std::string_view name, std::string& utf8);
bool ReadAnsiStringProperty(TComponentReader& r, std::string_view name, std::string& bytes);
bool ReadBinaryProperty(TComponentReader& r, std::string_view name, std::string_view& bytes);

// ---- accessors for property tables: member M of class C, where the object pointer
// handed to the table points to a C.

template <class C, auto M>
std::int64_t MemberOrd(const void* object) {
  const auto& v = static_cast<const C*>(object)->*M;
  if constexpr (requires { v.Raw(); })
    return static_cast<std::int64_t>(v.Raw());
  else
    return static_cast<std::int64_t>(v);
}

template <class C, auto M>
void SetMemberOrd(void* object, std::int64_t value) {
  auto& v = static_cast<C*>(object)->*M;
  using T = std::remove_cvref_t<decltype(v)>;
  if constexpr (requires { v.Raw(); })
    v = T::FromRaw(static_cast<decltype(v.Raw())>(value));
  else if constexpr (std::is_same_v<T, bool>)
    v = value != 0;
  else
    v = static_cast<T>(value);
}

template <class C, auto M>
std::string MemberText(const void* object) {
  return static_cast<const C*>(object)->*M;
}

template <class C, auto M>
void SetMemberText(void* object, std::string value) {
  static_cast<C*>(object)->*M = std::move(value);
}

template <class C, auto M>
constexpr TPropertyInfo OrdProperty(std::string_view name, TPropKind kind, std::int64_t def, TIdentTable idents = {}) {
  TPropertyInfo p;
  p.Name = name;
  p.Kind = kind;
  p.Default = def;
  p.Idents = idents;
  p.GetOrd = &MemberOrd<C, M>;
  p.SetOrd = &SetMemberOrd<C, M>;
  return p;
}

template <class C, auto M>
constexpr TPropertyInfo TextProperty(std::string_view name, std::string_view def) {
  TPropertyInfo p;
  p.Name = name;
  p.Kind = TPropKind::String;
  p.DefaultText = def;
  p.GetText = &MemberText<C, M>;
  p.SetText = &SetMemberText<C, M>;
  return p;
}

}  // namespace pagora
