// The names of integer values and the table-driven writing and reading of published
// properties (declared in ComponentStream.h).
#include <cstdint>

#include "platform/ComponentStream.h"
#include "platform/TextEncoding.h"

namespace pagora {

namespace {

constexpr TIdent kColors[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", 0xFF00000A},
    {"clActiveCaption", 0xFF000002},
    {"clAppWorkSpace", 0xFF00000C},
    {"clBackground", 0xFF000001},
    {"clBtnFace", 0xFF00000F},
    {"clBtnHighlight", 0xFF000014},
    {"clBtnShadow", 0xFF000010},
    {"clBtnText", 0xFF000012},
    {"clCaptionText", 0xFF000009},
    {"clDefault", 0x20000000},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clGrayText", 0xFF000011},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clHotLight", 0xFF00001A},
    {"clInactiveBorder", 0xFF00000B},
    {"clInactiveCaption", 0xFF000003},
    {"clInactiveCaptionText", 0xFF000013},
    {"clInfoBk", 0xFF000018},
    {"clInfoText", 0xFF000017},
    {"clMenu", 0xFF000004},
    {"clMenuBar", 0xFF00001E},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuText", 0xFF000007},
    {"clNone", 0x1FFFFFFF},
    {"clScrollBar", 0xFF000000},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clWindowText", 0xFF000008},
};

// The platform names no Vietnamese charset; files written elsewhere may.
constexpr TIdent kCharsets[] = {
    {"ANSI_CHARSET", 0},
    {"DEFAULT_CHARSET", 1},
    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},
    {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},
    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
    {"HANGUL_CHARSET", 129, true},
    {"VIETNAMESE_CHARSET", 163, true},
};

// crSize is an older name of crSizeAll.
constexpr TIdent kCursors[] = {
    {"crDefault", 0},
    {"crArrow", -2},
    {"crCross", -3},
    {"crIBeam", -4},
    {"crSizeNESW", -6},
    {"crSizeNS", -7},
    {"crSizeNWSE", -8},
    {"crSizeWE", -9},
    {"crUpArrow", -10},
    {"crHourGlass", -11},
    {"crDrag", -12},
    {"crNoDrop", -13},
    {"crHSplit", -14},
    {"crVSplit", -15},
    {"crMultiDrag", -16},
    {"crSQLWait", -17},
    {"crNo", -18},
    {"crAppStart", -19},
    {"crHelp", -20},
    {"crHandPoint", -21},
    {"crSizeAll", -22},
    {"crNone", -1},
    {"crSize", -22, true},
};

bool SameNameNoCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool IsIntegerType(TValueType t) noexcept { return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64; }
bool IsStringType(TValueType t) noexcept {
  return t == vaString || t == vaLString || t == vaUTF8String || t == vaWString;
}

// Reports a value the property cannot hold and skips it.
bool SkipMismatch(TComponentReader& r, std::string_view name, TValueType t, std::size_t at) {
  r.AddProblem(at, "property " + QuoteName(name) + " cannot hold a " + ValueTypeName(t) + " value");
  return r.SkipValue();
}

// True when the next value has one of the accepted types; otherwise it is reported and
// skipped, and the result is false.
template <typename Accepts>
bool NextValueIs(TComponentReader& r, std::string_view name, Accepts accepts) {
  const std::size_t at = r.Position();
  TValueType t;
  if (!r.PeekValue(t)) return false;
  if (accepts(t)) return true;
  SkipMismatch(r, name, t, at);
  return false;
}

TIdentTable TableOf(const TPropertyInfo& p) noexcept {
  switch (p.Kind) {
    case TPropKind::Color: return ColorIdents();
    case TPropKind::Charset: return CharsetIdents();
    case TPropKind::Cursor: return CursorIdents();
    default: return p.Idents;
  }
}

struct TRange {
  std::int64_t Lo, Hi;
};

TRange RangeOf(TPropKind kind) noexcept {
  switch (kind) {
    case TPropKind::Color: return {INT32_MIN, UINT32_MAX};  // written signed, held unsigned
    case TPropKind::Charset: return {0, 255};
    case TPropKind::Cursor: return {INT16_MIN, INT16_MAX};
    default: return {INT32_MIN, INT32_MAX};
  }
}

bool IsOrdinal(TPropKind k) noexcept {
  return k == TPropKind::Integer || k == TPropKind::Boolean || k == TPropKind::Enumeration || k == TPropKind::Set ||
         k == TPropKind::Color || k == TPropKind::Charset || k == TPropKind::Cursor;
}

bool IsStored(const TPropertyInfo& p, const void* object, const void* context) {
  if (p.Stored) return p.Stored(object, context);
  if (IsOrdinal(p.Kind)) return p.GetOrd(object) != p.Default;
  switch (p.Kind) {
    case TPropKind::String: return p.GetText(object) != p.DefaultText;
    case TPropKind::WideString: return p.GetWide(object) != UTF8ToUTF16(p.DefaultText);
    case TPropKind::Collection: return p.Collection->Count(object) > 0;
    case TPropKind::Custom: return true;
    default: return false;
  }
}

void WriteOrdinal(TComponentWriter& w, const TPropertyInfo& p, std::int64_t v) {
  switch (p.Kind) {
    case TPropKind::Integer: w.WriteInteger(v); return;
    case TPropKind::Boolean: w.WriteBoolean(v != 0); return;
    case TPropKind::Set: {
      std::string_view names[64];
      std::size_t n = 0;
      for (int bit = 0; bit < 64; ++bit)
        if ((static_cast<std::uint64_t>(v) >> bit) & 1)
          if (const TIdent* id = FindIdentOf(p.Idents, bit)) names[n++] = id->Name;
      w.WriteSet({names, n});
      return;
    }
    default:
      if (const TIdent* id = FindIdentOf(TableOf(p), v))
        w.WriteIdent(id->Name);
      else
        w.WriteInteger(p.Kind == TPropKind::Color ? static_cast<std::int32_t>(static_cast<std::uint32_t>(v)) : v);
      return;
  }
}

bool ReadOrdinal(TComponentReader& r, const TPropertyInfo& p, std::string_view name, void* object, TValueType t,
                 std::size_t at) {
  switch (p.Kind) {
    case TPropKind::Boolean: {
      if (t != vaFalse && t != vaTrue) return SkipMismatch(r, name, t, at);
      bool b = false;
      if (!r.ReadBoolean(b)) return false;
      p.SetOrd(object, b);
      return true;
    }
    case TPropKind::Set: {
      if (t != vaSet) return SkipMismatch(r, name, t, at);
      std::vector<std::string> names;
      if (!r.ReadSet(names)) return false;
      std::uint64_t bits = 0;
      for (const std::string& n : names) {
        const TIdent* id = FindIdent(p.Idents, n);
        if (id && id->Value >= 0 && id->Value < 64)
          bits |= std::uint64_t{1} << id->Value;
        else
          r.AddProblem(at, QuoteName(n) + " is not an element of property " + QuoteName(name));
      }
      p.SetOrd(object, static_cast<std::int64_t>(bits));
      return true;
    }
    case TPropKind::Integer: {
      std::int64_t v = 0;
      if (ReadIntegerProperty(r, name, INT32_MIN, INT32_MAX, v)) p.SetOrd(object, v);
      return r.Ok();
    }
    default: break;
  }
  // Enumerations, colours, charsets and cursors: a name, or a number.
  const TIdentTable table = TableOf(p);
  if (t == vaIdent) {
    std::string ident;
    if (!r.ReadIdent(ident)) return false;
    if (const TIdent* id = FindIdent(table, ident))
      p.SetOrd(object, id->Value);
    else
      r.AddProblem(at, QuoteName(ident) + " is not a value of property " + QuoteName(name));
    return true;
  }
  if (!IsIntegerType(t)) return SkipMismatch(r, name, t, at);
  const TRange range = RangeOf(p.Kind);
  std::int64_t v = 0;
  if (!ReadIntegerProperty(r, name, range.Lo, range.Hi, v)) return r.Ok();
  if (p.Kind == TPropKind::Enumeration) {
    if (!FindIdentOf(table, v)) {
      r.AddProblem(at, std::to_string(v) + " is not a value of property " + QuoteName(name));
      return true;
    }
  } else if (p.Kind == TPropKind::Color) {
    v = static_cast<std::uint32_t>(v);
  }
  p.SetOrd(object, v);
  return true;
}

bool ReadValueOf(TComponentReader& r, const TPropertyInfo& p, std::string_view name, void* object,
                 const void* context, std::size_t at) {
  TValueType t;
  if (!r.PeekValue(t)) return false;
  if (IsOrdinal(p.Kind)) return ReadOrdinal(r, p, name, object, t, at);
  switch (p.Kind) {
    case TPropKind::String: {
      if (!IsStringType(t)) return SkipMismatch(r, name, t, at);
      std::string s;
      if (!r.ReadString(s)) return false;
      p.SetText(object, std::move(s));
      return true;
    }
    case TPropKind::WideString: {
      if (!IsStringType(t)) return SkipMismatch(r, name, t, at);
      std::u16string s;
      if (!r.ReadWideString(s)) return false;
      p.SetWide(object, std::move(s));
      return true;
    }
    case TPropKind::Collection:
      if (t != vaCollection) return SkipMismatch(r, name, t, at);
      return ReadCollection(r, *p.Collection, object, context);
    case TPropKind::Custom: return p.ReadCustom(r, object, context);
    case TPropKind::Ignored: return r.SkipValue();
    default: return SkipMismatch(r, name, t, at);  // an object has no value of its own
  }
}

}  // namespace

std::string QuoteName(std::string_view name) {
  constexpr std::size_t kMax = 80;
  std::string q = "\"";
  for (std::size_t i = 0; i < name.size() && i < kMax; ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    q.push_back(c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
  }
  if (name.size() > kMax) q += "...";
  q += '"';
  return q;
}

TIdentTable ColorIdents() noexcept { return kColors; }
TIdentTable CharsetIdents() noexcept { return kCharsets; }
TIdentTable CursorIdents() noexcept { return kCursors; }

const TIdent* FindIdent(TIdentTable table, std::string_view name) noexcept {
  for (const TIdent& id : table)
    if (SameNameNoCase(id.Name, name)) return &id;
  return nullptr;
}

const TIdent* FindIdentOf(TIdentTable table, std::int64_t value) noexcept {
  for (const TIdent& id : table)
    if (id.Value == value && !id.ReadOnly) return &id;
  return nullptr;
}

const TPropertyInfo* TClassInfo::Find(std::string_view name) const noexcept {
  for (const TPropertyInfo& p : Properties)
    if (SameNameNoCase(p.Name, name)) return &p;
  return nullptr;
}

void WriteProperties(TComponentWriter& w, const TClassInfo& cls, const void* object, const void* context,
                     std::string_view prefix) {
  for (const TPropertyInfo& p : cls.Properties) {
    if (p.ReadOnly || p.Kind == TPropKind::Ignored) continue;
    std::string name(prefix);
    name += p.Name;
    if (p.Kind == TPropKind::Object) {
      const void* sub = p.GetObject(object);
      if (sub && (!p.Stored || p.Stored(object, context))) WriteProperties(w, *p.ObjectClass, sub, context, name + ".");
      continue;
    }
    if (!IsStored(p, object, context)) continue;
    w.WritePropName(name);
    if (IsOrdinal(p.Kind))
      WriteOrdinal(w, p, p.GetOrd(object));
    else if (p.Kind == TPropKind::String)
      w.WriteString(p.GetText(object));
    else if (p.Kind == TPropKind::WideString)
      w.WriteWideString(p.GetWide(object));
    else if (p.Kind == TPropKind::Collection)
      WriteCollection(w, *p.Collection, object, context);
    else
      p.WriteCustom(w, object, context);
  }
}

void WriteCollection(TComponentWriter& w, const TCollectionAccess& access, const void* owner, const void* context) {
  w.WriteValue(vaCollection);
  const int count = access.Count(owner);
  for (int i = 0; i < count; ++i) {
    const TClassInfo* cls = nullptr;
    const void* item = access.Item(owner, i, &cls);
    w.WriteListBegin();
    WriteProperties(w, *cls, item, context);
    w.WriteListEnd();
  }
  w.WriteListEnd();
}

bool ReadProperty(TComponentReader& r, const TClassInfo& cls, void* object, const void* context) {
  const std::size_t at = r.Position();
  std::string name;
  if (!r.ReadStr(name)) return false;

  // Resolve a dotted name through the nested objects before creating any of them, so an
  // unknown name leaves no empty object behind.
  constexpr int kMaxPath = 8;
  const TPropertyInfo* path[kMaxPath];
  int depth = 0;
  const TClassInfo* c = &cls;
  std::string_view rest = name;
  const TPropertyInfo* p = nullptr;
  for (;;) {
    const std::size_t dot = rest.find('.');
    p = c->Find(rest.substr(0, dot));
    if (!p || dot == std::string_view::npos) break;
    if (p->Kind != TPropKind::Object || depth == kMaxPath) {
      p = nullptr;
      break;
    }
    path[depth++] = p;
    c = p->ObjectClass;
    rest.remove_prefix(dot + 1);
  }
  if (!p) {
    r.AddProblem(at, "unknown property " + QuoteName(name));
    return r.SkipValue();
  }
  void* target = object;
  for (int i = 0; i < depth && target; ++i) target = path[i]->ObjectForRead(target);
  if (!target) {
    r.AddProblem(at, "property " + QuoteName(name) + " has no object to go into");
    return r.SkipValue();
  }
  return ReadValueOf(r, *p, name, target, context, at);
}

bool ReadProperties(TComponentReader& r, const TClassInfo& cls, void* object, const void* context) {
  for (;;) {
    if (!r.Ok()) return false;
    if (r.AtEnd()) return r.Fail("unexpected end of data in a list of properties");
    if (r.EndOfList()) return r.ReadListEnd();
    if (!ReadProperty(r, cls, object, context)) return false;
  }
}

bool ReadCollection(TComponentReader& r, const TCollectionAccess& access, void* owner, const void* context) {
  TValueType t;
  if (!r.ReadValue(t)) return false;
  if (t != vaCollection) return r.FailAt(r.Position() - 1, "a collection was expected");
  if (!r.EnterNesting()) return false;
  access.Clear(owner);
  bool ok = false;
  for (;;) {
    if (!r.Ok()) break;
    if (r.AtEnd()) {
      r.Fail("unexpected end of data in a collection");
      break;
    }
    if (r.EndOfList()) {
      ok = r.ReadListEnd();
      break;
    }
    if (!r.PeekValue(t)) break;
    if (t == vaInt8 || t == vaInt16 || t == vaInt32) {  // the item's order; the position decides
      std::int64_t order = 0;
      if (!r.ReadInteger(order)) break;
    }
    if (!r.ReadListBegin() || !r.CountObject() || !r.EnterNesting()) break;
    const TClassInfo* cls = nullptr;
    void* item = access.Add(owner, &cls);
    const bool itemOk = ReadProperties(r, *cls, item, context);
    r.LeaveNesting();
    if (!itemOk) {
      access.RemoveLast(owner);
      break;
    }
  }
  r.LeaveNesting();
  return ok;
}

bool ReadIntegerProperty(TComponentReader& r, std::string_view name, std::int64_t lo, std::int64_t hi,
                         std::int64_t& value) {
  const std::size_t at = r.Position();
  if (!NextValueIs(r, name, IsIntegerType)) return false;
  std::int64_t v = 0;
  if (!r.ReadInteger(v)) return false;
  if (v < lo || v > hi) {
    r.AddProblem(at, "value " + std::to_string(v) + " is out of range for property " + QuoteName(name));
    return false;
  }
  value = v;
  return true;
}

bool ReadStringProperty(TComponentReader& r, std::string_view name, std::string& utf8) {
  return NextValueIs(r, name, IsStringType) && r.ReadString(utf8);
}

bool ReadAnsiStringProperty(TComponentReader& r, std::string_view name, std::string& bytes) {
  return NextValueIs(r, name, IsStringType) && r.ReadAnsiString(bytes);
}

bool ReadBinaryProperty(TComponentReader& r, std::string_view name, std::string_view& bytes) {
  return NextValueIs(r, name, [](TValueType t) { return t == vaBinary; }) && r.ReadBinary(bytes);
}

}  // namespace pagora
