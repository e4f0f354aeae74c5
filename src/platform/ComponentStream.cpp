#include "platform/ComponentStream.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/CodePages.h"
#include "platform/PagoraError.h"
#include "platform/TextEncoding.h"

namespace pagora {

namespace {

constexpr std::string_view kSignature = "TPF0";
constexpr std::size_t kMaxSetElements = 256;  // the platform's sets have at most 256 members

bool IsAscii(std::string_view s) noexcept {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The 10-byte extended form: 64-bit mantissa with an explicit integer bit, 15-bit exponent
// biased by 16383, sign. Converted by hand so that no platform's long double matters.
void DoubleToExtended(double value, unsigned char out[10]) noexcept {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  std::uint64_t mantissa = 0;
  int ext = 0;
  if (exponent == 0x7FF) {  // infinity or NaN
    ext = 0x7FFF;
    mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
  } else if (exponent != 0) {
    ext = exponent - 1023 + 16383;
    mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
  } else if (fraction != 0) {  // a denormal double is a normal extended
    const int top = 63 - std::countl_zero(fraction);
    mantissa = fraction << (63 - top);
    ext = top - 1074 + 16383;
  }
  for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(mantissa >> (8 * i));
  const unsigned se = static_cast<unsigned>(ext) | (negative ? 0x8000u : 0u);
  out[8] = static_cast<unsigned char>(se & 0xFF);
  out[9] = static_cast<unsigned char>(se >> 8);
}

double ExtendedToDouble(const unsigned char in[10]) noexcept {
  std::uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i) mantissa |= std::uint64_t{in[i]} << (8 * i);
  const unsigned se = in[8] | (unsigned{in[9]} << 8);
  const bool negative = (se & 0x8000) != 0;
  const int ext = static_cast<int>(se & 0x7FFF);
  double v;
  if (ext == 0x7FFF) {
    v = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
  } else {
    // ldexp rounds to the nearest double and goes to zero or infinity out of range.
    v = std::ldexp(static_cast<double>(mantissa), ext - 16383 - 63);
  }
  return negative ? -v : v;
}

}  // namespace

const char* ValueTypeName(TValueType t) noexcept {
  static constexpr const char* names[] = {
      "vaNull", "vaList", "vaInt8", "vaInt16", "vaInt32", "vaExtended", "vaString", "vaIdent",
      "vaFalse", "vaTrue", "vaBinary", "vaSet", "vaLString", "vaNil", "vaCollection", "vaSingle",
      "vaCurrency", "vaDate", "vaWString", "vaInt64", "vaUTF8String", "vaDouble",
  };
  return t <= kLastValueType ? names[t] : "an unknown value type";
}

// ---- writer

void TComponentWriter::WriteLE(std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) data_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void TComponentWriter::WriteStr(std::string_view s) {
  if (s.size() > 255) throw EPagoraError("Name is too long for the component stream");
  data_.push_back(static_cast<char>(s.size()));
  data_.append(s);
}

void TComponentWriter::WriteInteger(std::int64_t value) {
  const auto raw = static_cast<std::uint64_t>(value);
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteValue(vaInt8);
    WriteLE(raw, 1);
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteValue(vaInt16);
    WriteLE(raw, 2);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValue(vaInt32);
    WriteLE(raw, 4);
  } else {
    WriteValue(vaInt64);
    WriteLE(raw, 8);
  }
}

void TComponentWriter::WriteString(std::string_view utf8) {
  if (!IsAscii(utf8)) {
    WriteUTF8String(utf8);
  } else if (utf8.size() <= 255) {
    WriteValue(vaString);
    WriteLE(utf8.size(), 1);
    data_.append(utf8);
  } else {
    WriteValue(vaLString);
    WriteLE(utf8.size(), 4);
    data_.append(utf8);
  }
}

void TComponentWriter::WriteWideString(std::u16string_view text) {
  const std::string utf8 = UTF16ToUTF8(text);
  // An unpaired surrogate does not survive UTF-8; such text stays UTF-16.
  if (utf8.size() < text.size() * 2 && UTF8ToUTF16(utf8) == text)
    WriteUTF8String(utf8);
  else
    WriteWString(text);
}

void TComponentWriter::WriteUTF8String(std::string_view utf8) {
  WriteValue(vaUTF8String);
  WriteLE(utf8.size(), 4);
  data_.append(utf8);
}

void TComponentWriter::WriteWString(std::u16string_view text) {
  WriteValue(vaWString);
  WriteLE(text.size(), 4);
  for (char16_t c : text) WriteLE(c, 2);
}

void TComponentWriter::WriteIdent(std::string_view ident) {
  static constexpr TIdent kOwnTypes[] = {{"False", vaFalse}, {"True", vaTrue}, {"Null", vaNull}, {"nil", vaNil}};
  if (const TIdent* own = FindIdent(kOwnTypes, ident)) {
    WriteValue(static_cast<TValueType>(own->Value));
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TComponentWriter::WriteSet(std::span<const std::string_view> names) {
  WriteValue(vaSet);
  for (std::string_view n : names) WriteStr(n);
  WriteStr({});
}

void TComponentWriter::WriteBinary(std::string_view bytes) {
  WriteValue(vaBinary);
  WriteLE(bytes.size(), 4);
  data_.append(bytes);
}

void TComponentWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  WriteLE(std::bit_cast<std::uint32_t>(value), 4);
}

void TComponentWriter::WriteDouble(double value) {
  WriteValue(vaDouble);
  WriteLE(std::bit_cast<std::uint64_t>(value), 8);
}

void TComponentWriter::WriteExtended(double value) {
  unsigned char ext[10];
  DoubleToExtended(value, ext);
  WriteValue(vaExtended);
  data_.append(reinterpret_cast<const char*>(ext), sizeof ext);
}

void TComponentWriter::WriteCurrency(std::int64_t tenThousandths) {
  WriteValue(vaCurrency);
  WriteLE(static_cast<std::uint64_t>(tenThousandths), 8);
}

void TComponentWriter::WriteDate(double days) {
  WriteValue(vaDate);
  WriteLE(std::bit_cast<std::uint64_t>(days), 8);
}

void TComponentWriter::WriteSignature() { data_.append(kSignature); }

void TComponentWriter::WriteComponentHeader(std::string_view className, std::string_view name) {
  WriteStr(className);
  WriteStr(name);
}

// ---- reader

TComponentReader::TComponentReader(std::string_view data, TComponentReaderLimits limits)
    : data_(data), limits_(limits) {}

bool TComponentReader::FailAt(std::size_t offset, std::string_view text) {
  if (error_.empty()) {
    error_ = "offset " + std::to_string(offset) + ": ";
    error_.append(text);
    errorOffset_ = offset;
  }
  return false;
}

void TComponentReader::AddProblem(std::size_t offset, std::string_view text) {
  const auto max = static_cast<std::size_t>(limits_.MaxProblems);
  if (problems_.size() < max) {
    std::string p = "offset " + std::to_string(offset) + ": ";
    p.append(text);
    problems_.push_back(std::move(p));
  } else if (problems_.size() == max) {
    problems_.push_back("more problems follow; they are not listed");
  }
}

bool TComponentReader::Need(std::size_t bytes) {
  if (!Ok()) return false;
  if (bytes > Remaining())
    return Fail("unexpected end of data: " + std::to_string(bytes) + " bytes needed, " + std::to_string(Remaining()) +
                " remain");
  return true;
}

std::uint64_t TComponentReader::TakeLE(int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= std::uint64_t{static_cast<unsigned char>(data_[pos_ + i])} << (8 * i);
  pos_ += static_cast<std::size_t>(bytes);
  return v;
}

bool TComponentReader::ReadLength32(std::uint64_t& length) {
  if (!Need(4)) return false;
  const std::size_t at = pos_;
  length = TakeLE(4);
  if (length > Remaining())
    return FailAt(at, "length " + std::to_string(length) + " exceeds the " + std::to_string(Remaining()) +
                          " bytes that remain");
  return true;
}

bool TComponentReader::PeekValue(TValueType& type) {
  if (!Need(1)) return false;
  const auto b = static_cast<unsigned char>(data_[pos_]);
  if (b > kLastValueType) return Fail("unknown value type " + std::to_string(b));
  type = static_cast<TValueType>(b);
  return true;
}

bool TComponentReader::EndOfList() { return Ok() && !AtEnd() && data_[pos_] == 0; }

bool TComponentReader::ReadValue(TValueType& type) {
  if (!PeekValue(type)) return false;
  ++pos_;
  return true;
}

bool TComponentReader::ReadStr(std::string& s) {
  if (!Need(1)) return false;
  const std::size_t length = static_cast<unsigned char>(data_[pos_]);
  ++pos_;
  if (!Need(length)) return false;
  s.assign(data_.substr(pos_, length));
  pos_ += length;
  return true;
}

bool TComponentReader::ReadListBegin() {
  TValueType t;
  if (!ReadValue(t)) return false;
  if (t != vaList) return FailAt(pos_ - 1, std::string("a list was expected, not ") + ValueTypeName(t));
  return true;
}

bool TComponentReader::ReadListEnd() {
  TValueType t;
  if (!ReadValue(t)) return false;
  if (t != vaNull) return FailAt(pos_ - 1, std::string("the end of a list was expected, not ") + ValueTypeName(t));
  return true;
}

bool TComponentReader::ReadInteger(std::int64_t& value) {
  TValueType t;
  if (!ReadValue(t)) return false;
  int bytes = 0;
  switch (t) {
    case vaInt8: bytes = 1; break;
    case vaInt16: bytes = 2; break;
    case vaInt32: bytes = 4; break;
    case vaInt64: bytes = 8; break;
    default: return FailAt(pos_ - 1, std::string("an integer was expected, not ") + ValueTypeName(t));
  }
  if (!Need(static_cast<std::size_t>(bytes))) return false;
  const std::uint64_t raw = TakeLE(bytes);
  const int shift = 64 - 8 * bytes;  // sign-extend
  value = static_cast<std::int64_t>(raw << shift) >> shift;
  return true;
}

bool TComponentReader::ReadBoolean(bool& value) {
  TValueType t;
  if (!ReadValue(t)) return false;
  if (t != vaFalse && t != vaTrue) return FailAt(pos_ - 1, std::string("a Boolean was expected, not ") + ValueTypeName(t));
  value = t == vaTrue;
  return true;
}

bool TComponentReader::ReadStringPayload(TValueType type, std::string& bytes, std::u16string* wide) {
  std::uint64_t length = 0;
  switch (type) {
    case vaString:
      if (!Need(1)) return false;
      length = TakeLE(1);
      if (!Need(length)) return false;
      break;
    case vaLString:
    case vaUTF8String:
      if (!ReadLength32(length)) return false;
      break;
    case vaWString: {
      if (!Need(4)) return false;
      const std::size_t at = pos_;
      const std::uint64_t units = TakeLE(4);
      if (units * 2 > Remaining())
        return FailAt(at, "length " + std::to_string(units) + " (UTF-16) exceeds the " + std::to_string(Remaining()) +
                              " bytes that remain");
      wide->resize(units);
      for (std::uint64_t i = 0; i < units; ++i) (*wide)[i] = static_cast<char16_t>(TakeLE(2));
      return true;
    }
    default: return FailAt(pos_ - 1, std::string("a string was expected, not ") + ValueTypeName(type));
  }
  bytes.assign(data_.substr(pos_, length));
  pos_ += length;
  return true;
}

bool TComponentReader::ReadString(std::string& utf8) {
  TValueType t;
  if (!ReadValue(t)) return false;
  std::string bytes;
  std::u16string wide;
  if (!ReadStringPayload(t, bytes, &wide)) return false;
  if (t == vaWString)
    utf8 = UTF16ToUTF8(wide);
  else if ((t == vaString || t == vaLString) && !IsAscii(bytes))
    utf8 = UTF16ToUTF8(CodePageToUTF16(CP_ACP, bytes));  // 8-bit strings are ANSI text
  else
    utf8 = std::move(bytes);
  return true;
}

bool TComponentReader::ReadAnsiString(std::string& out) {
  TValueType t;
  if (!ReadValue(t)) return false;
  std::string bytes;
  std::u16string wide;
  if (!ReadStringPayload(t, bytes, &wide)) return false;
  if (t == vaWString)
    out = UTF16ToCodePage(CP_ACP, wide);
  else if (t == vaUTF8String)
    out = UTF16ToCodePage(CP_ACP, UTF8ToUTF16(bytes));
  else
    out = std::move(bytes);
  return true;
}

bool TComponentReader::ReadWideString(std::u16string& text) {
  TValueType t;
  if (!ReadValue(t)) return false;
  std::string bytes;
  std::u16string wide;
  if (!ReadStringPayload(t, bytes, &wide)) return false;
  if (t == vaWString)
    text = std::move(wide);
  else if (t == vaUTF8String)
    text = UTF8ToUTF16(bytes);
  else
    text = CodePageToUTF16(CP_ACP, bytes);
  return true;
}

bool TComponentReader::ReadIdent(std::string& ident) {
  TValueType t;
  if (!ReadValue(t)) return false;
  switch (t) {
    case vaIdent: return ReadStr(ident);
    case vaFalse: ident = "False"; return true;
    case vaTrue: ident = "True"; return true;
    case vaNil: ident = "nil"; return true;
    case vaNull: ident = "Null"; return true;
    default: return FailAt(pos_ - 1, std::string("an identifier was expected, not ") + ValueTypeName(t));
  }
}

bool TComponentReader::ReadSet(std::vector<std::string>& names) {
  TValueType t;
  if (!ReadValue(t)) return false;
  if (t != vaSet) return FailAt(pos_ - 1, std::string("a set was expected, not ") + ValueTypeName(t));
  names.clear();
  for (;;) {
    std::string name;
    if (!ReadStr(name)) return false;
    if (name.empty()) return true;
    if (names.size() >= kMaxSetElements) return Fail("a set with more than 256 elements");
    names.push_back(std::move(name));
  }
}

bool TComponentReader::ReadBinary(std::string_view& bytes) {
  TValueType t;
  if (!ReadValue(t)) return false;
  if (t != vaBinary) return FailAt(pos_ - 1, std::string("binary data was expected, not ") + ValueTypeName(t));
  std::uint64_t length = 0;
  if (!ReadLength32(length)) return false;
  bytes = data_.substr(pos_, length);
  pos_ += length;
  return true;
}

bool TComponentReader::ReadFloat(double& value) {
  TValueType t;
  if (!PeekValue(t)) return false;
  switch (t) {
    case vaExtended: {
      ++pos_;
      if (!Need(10)) return false;
      unsigned char ext[10];
      std::memcpy(ext, data_.data() + pos_, sizeof ext);
      pos_ += sizeof ext;
      value = ExtendedToDouble(ext);
      return true;
    }
    case vaDouble:
      ++pos_;
      if (!Need(8)) return false;
      value = std::bit_cast<double>(TakeLE(8));
      return true;
    case vaSingle:
      ++pos_;
      if (!Need(4)) return false;
      value = std::bit_cast<float>(static_cast<std::uint32_t>(TakeLE(4)));
      return true;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: {
      std::int64_t i = 0;
      if (!ReadInteger(i)) return false;
      value = static_cast<double>(i);
      return true;
    }
    default: return Fail(std::string("a number was expected, not ") + ValueTypeName(t));
  }
}

bool TComponentReader::ReadCurrency(std::int64_t& tenThousandths) {
  TValueType t;
  if (!ReadValue(t)) return false;
  if (t != vaCurrency) return FailAt(pos_ - 1, std::string("a currency value was expected, not ") + ValueTypeName(t));
  if (!Need(8)) return false;
  tenThousandths = static_cast<std::int64_t>(TakeLE(8));
  return true;
}

bool TComponentReader::ReadDate(double& days) {
  TValueType t;
  if (!ReadValue(t)) return false;
  if (t != vaDate) return FailAt(pos_ - 1, std::string("a date was expected, not ") + ValueTypeName(t));
  if (!Need(8)) return false;
  days = std::bit_cast<double>(TakeLE(8));
  return true;
}

bool TComponentReader::SkipPayload(TValueType type) {
  std::uint64_t length = 0;
  switch (type) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: return true;
    case vaInt8: length = 1; break;
    case vaInt16: length = 2; break;
    case vaInt32:
    case vaSingle: length = 4; break;
    case vaInt64:
    case vaCurrency:
    case vaDate:
    case vaDouble: length = 8; break;
    case vaExtended: length = 10; break;
    case vaString:
    case vaIdent:
      if (!Need(1)) return false;
      length = TakeLE(1);
      break;
    case vaLString:
    case vaUTF8String:
    case vaBinary:
      if (!ReadLength32(length)) return false;
      break;
    case vaWString: {
      if (!Need(4)) return false;
      const std::size_t at = pos_;
      length = TakeLE(4) * 2;
      if (length > Remaining())
        return FailAt(at, "length " + std::to_string(length / 2) + " (UTF-16) exceeds the " +
                              std::to_string(Remaining()) + " bytes that remain");
      break;
    }
    case vaSet:
      // Each name takes at least its length byte, so the end of the data ends a set
      // that never ends.
      for (;;) {
        if (!Need(1)) return false;
        const std::size_t n = static_cast<unsigned char>(data_[pos_++]);
        if (n == 0) return true;
        if (!Need(n)) return false;
        pos_ += n;
      }
    case vaList:
    case vaCollection: return FailAt(pos_ - 1, "a list cannot be skipped as a plain value");
  }
  if (!Need(length)) return false;
  pos_ += length;
  return true;
}

bool TComponentReader::SkipValue() {
  // Open lists, innermost last. Plain lists hold values; collections hold items (each an
  // optional order number and a list); items hold property names with values. Every
  // kind ends with vaNull.
  enum Frame : std::uint8_t { kValues, kItems, kProperties };
  std::vector<Frame> open;
  const int outerDepth = depth_;
  auto fail = [&] {
    depth_ = outerDepth;
    return false;
  };
  for (;;) {
    if (!open.empty()) {
      if (!Ok()) return fail();
      if (EndOfList()) {
        ++pos_;
        open.pop_back();
        LeaveNesting();
        if (open.empty()) return true;
        continue;
      }
      if (open.back() == kItems) {
        TValueType t;
        if (!PeekValue(t)) return fail();
        if (t == vaInt8 || t == vaInt16 || t == vaInt32) {
          std::int64_t order = 0;
          if (!ReadInteger(order)) return fail();
          if (!ReadListBegin()) return fail();
        } else if (t == vaList) {
          ++pos_;
        } else {
          Fail(std::string("a collection item was expected, not ") + ValueTypeName(t));
          return fail();
        }
        if (!EnterNesting()) return fail();
        open.push_back(kProperties);
        continue;
      }
      if (open.back() == kProperties) {
        if (!Need(1)) return fail();
        const std::size_t n = static_cast<unsigned char>(data_[pos_++]);
        if (!Need(n)) return fail();
        pos_ += n;
      }
    }
    TValueType t;
    if (!ReadValue(t)) return fail();
    if (t == vaList || t == vaCollection) {
      if (!EnterNesting()) return fail();
      open.push_back(t == vaList ? kValues : kItems);
      continue;
    }
    if (!SkipPayload(t)) return fail();
    if (open.empty()) return true;
  }
}

bool TComponentReader::ReadSignature() {
  if (!Need(kSignature.size())) return false;
  if (data_.substr(pos_, kSignature.size()) != kSignature) return Fail("not a component stream (no TPF0 signature)");
  pos_ += kSignature.size();
  return true;
}

bool TComponentReader::ReadComponentHeader(std::string& className, std::string& name, std::uint8_t* flags) {
  if (!Need(1)) return false;
  std::uint8_t f = 0;
  const auto b = static_cast<unsigned char>(data_[pos_]);
  if ((b & 0xF0) == 0xF0) {  // a prefix: inherited (1), child position (2), inline (4)
    ++pos_;
    f = b & 0x0F;
    if (f & 2) {
      std::int64_t position = 0;
      if (!ReadInteger(position)) return false;
    }
  }
  if (flags) *flags = f;
  return ReadStr(className) && ReadStr(name);
}

bool TComponentReader::EnterNesting() {
  if (!Ok()) return false;
  if (depth_ >= limits_.MaxDepth) return Fail("lists nested deeper than " + std::to_string(limits_.MaxDepth) + " levels");
  ++depth_;
  return true;
}

bool TComponentReader::CountObject() {
  if (!Ok()) return false;
  if (objects_ >= limits_.MaxObjects) return Fail("more than " + std::to_string(limits_.MaxObjects) + " objects");
  ++objects_;
  return true;
}

}  // namespace pagora
