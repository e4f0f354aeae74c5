#include "model/StyleStreaming.h"

#include <cstdint>
#include <exception>
#include <memory>

#include "graphics/Graphic.h"
#include "graphics/ImageList.h"
#include "model/StyleCollections.h"
#include "platform/ComponentStream.h"
#include "platform/IntMath.h"

namespace pagora {

namespace {

using K = TPropKind;

// ---- value names

constexpr TIdent kBiDiModes[] = {{"pgbdUnspecified", pgbdUnspecified}, {"pgbdLeftToRight", pgbdLeftToRight},
                                 {"pgbdRightToLeft", pgbdRightToLeft}};
constexpr TIdent kFontStyles[] = {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline},
                                  {"fsStrikeOut", fsStrikeOut}};
constexpr TIdent kPGFontStyles[] = {{"pgfsOverline", pgfsOverline}, {"pgfsAllCaps", pgfsAllCaps}};
constexpr TIdent kProtectOptions[] = {
    {"pgprStyleProtect", pgprStyleProtect},         {"pgprModifyProtect", pgprModifyProtect},
    {"pgprDeleteProtect", pgprDeleteProtect},       {"pgprConcateProtect", pgprConcateProtect},
    {"pgprPGFInsertProtect", pgprPGFInsertProtect}, {"pgprDoNotAutoSwitch", pgprDoNotAutoSwitch},
    {"pgprParaStartProtect", pgprParaStartProtect}, {"pgprSticking", pgprSticking},
    {"pgprStickToTop", pgprStickToTop},             {"pgprStickToBottom", pgprStickToBottom},
};
constexpr TIdent kTextOptions[] = {{"pgteoHTMLCode", pgteoHTMLCode}, {"pgteoRTFCode", pgteoRTFCode}};
constexpr TIdent kLineSpacingTypes[] = {{"pglsPercent", pglsPercent}, {"pglsSpaceBetween", pglsSpaceBetween}};
constexpr TIdent kAlignments[] = {{"pgaLeft", pgaLeft}, {"pgaRight", pgaRight}, {"pgaCenter", pgaCenter},
                                  {"pgaJustify", pgaJustify}};
constexpr TIdent kParaOptions[] = {
    {"pgpaoNoWrap", pgpaoNoWrap},
    {"pgpaoReadOnly", pgpaoReadOnly},
    {"pgpaoStyleProtect", pgpaoStyleProtect},
    {"pgpaoDoNotWantReturns", pgpaoDoNotWantReturns},
    {"pgpaoKeepLinesTogether", pgpaoKeepLinesTogether},
    {"pgpaoKeepWithNext", pgpaoKeepWithNext},
};
constexpr TIdent kBorderStyles[] = {{"pgbNone", pgbNone},           {"pgbSingle", pgbSingle},
                                    {"pgbDouble", pgbDouble},       {"pgbTriple", pgbTriple},
                                    {"pgbThickInside", pgbThickInside}, {"pgbThickOutside", pgbThickOutside}};
constexpr TIdent kListTypes[] = {
    {"pglstBullet", pglstBullet},         {"pglstPicture", pglstPicture},
    {"pglstImageList", pglstImageList},   {"pglstDecimal", pglstDecimal},
    {"pglstLowerAlpha", pglstLowerAlpha}, {"pglstUpperAlpha", pglstUpperAlpha},
    {"pglstLowerRoman", pglstLowerRoman}, {"pglstUpperRoman", pglstUpperRoman},
    {"pglstImageListCounter", pglstImageListCounter}, {"pglstUnicodeBullet", pglstUnicodeBullet},
};
constexpr TIdent kMarkerAlignments[] = {{"pgmaLeft", pgmaLeft}, {"pgmaRight", pgmaRight}, {"pgmaCenter", pgmaCenter}};
constexpr TIdent kListLevelOptions[] = {{"pgloContinuous", pgloContinuous}, {"pgloLevelReset", pgloLevelReset},
                                        {"pgloLegalStyleNumbering", pgloLegalStyleNumbering}};

// ---- helpers for the tables

constexpr TPropertyInfo ObjectProperty(std::string_view name, const TClassInfo& cls, const void* (*get)(const void*),
                                       void* (*forRead)(void*)) {
  TPropertyInfo p;
  p.Name = name;
  p.Kind = K::Object;
  p.ObjectClass = &cls;
  p.GetObject = get;
  p.ObjectForRead = forRead;
  return p;
}

constexpr TPropertyInfo CustomProperty(std::string_view name, bool (*stored)(const void*, const void*),
                                       void (*write)(TComponentWriter&, const void*, const void*),
                                       bool (*read)(TComponentReader&, void*, const void*)) {
  TPropertyInfo p;
  p.Name = name;
  p.Kind = K::Custom;
  p.Stored = stored;
  p.WriteCustom = write;
  p.ReadCustom = read;
  p.ReadOnly = write == nullptr;
  return p;
}

constexpr TPropertyInfo IgnoredProperty(std::string_view name) {
  TPropertyInfo p;
  p.Name = name;
  p.Kind = K::Ignored;
  return p;
}

// The fields every style has, with the class's own default name.
template <class C>
constexpr TPropertyInfo BaseStyleNoProperty() {
  return OrdProperty<C, &C::BaseStyleNo>("BaseStyleNo", K::Integer, -1);
}
template <class C>
constexpr TPropertyInfo StyleNameProperty(std::string_view defaultName) {
  return TextProperty<C, &C::StyleName>("StyleName", defaultName);
}
template <class C>
constexpr TPropertyInfo StandardProperty() {
  return OrdProperty<C, &C::Standard>("Standard", K::Boolean, 1);
}

// Uppercase hexadecimal, high digit first: two digits per byte, four per UTF-16 unit.
void AppendHex(std::string& hex, unsigned value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int d = digits - 1; d >= 0; --d) hex.push_back(kDigits[(value >> (4 * d)) & 0xF]);
}

std::string HexOfBytes(std::string_view bytes) {
  std::string hex;
  for (char c : bytes) AppendHex(hex, static_cast<unsigned char>(c), 2);
  return hex;
}

std::string HexOfUnits(std::u16string_view units) {
  std::string hex;
  for (char16_t u : units) AppendHex(hex, u, 4);
  return hex;
}

// The units of a code; a length that is not a multiple of digits gives nothing, as does a
// character that is no hexadecimal digit (reported as false).
bool UnitsOfHex(std::string_view hex, int digits, std::u16string& units) {
  units.clear();
  if (hex.size() % static_cast<std::size_t>(digits) != 0) return true;
  std::u16string out;
  out.reserve(hex.size() / static_cast<std::size_t>(digits));
  for (std::size_t i = 0; i < hex.size(); i += static_cast<std::size_t>(digits)) {
    unsigned v = 0;
    for (int d = 0; d < digits; ++d) {
      const char c = hex[i + static_cast<std::size_t>(d)];
      unsigned x;
      if (c >= '0' && c <= '9')
        x = static_cast<unsigned>(c - '0');
      else if (c >= 'A' && c <= 'F')
        x = static_cast<unsigned>(c - 'A' + 10);
      else if (c >= 'a' && c <= 'f')
        x = static_cast<unsigned>(c - 'a' + 10);
      else
        return false;
      v = v * 16 + x;
    }
    out.push_back(static_cast<char16_t>(v));
  }
  units = std::move(out);
  return true;
}

// ---- paragraph styles

constexpr TPropertyInfo kRectProps[] = {
    OrdProperty<TPGRect, &TPGRect::Top>("Top", K::Integer, 0),
    OrdProperty<TPGRect, &TPGRect::Left>("Left", K::Integer, 0),
    OrdProperty<TPGRect, &TPGRect::Right>("Right", K::Integer, 0),
    OrdProperty<TPGRect, &TPGRect::Bottom>("Bottom", K::Integer, 0),
};
constexpr TClassInfo kRectClass{"TPGRect", kRectProps};

constexpr TPropertyInfo kBooleanRectProps[] = {
    OrdProperty<TPGBooleanRect, &TPGBooleanRect::Top>("Top", K::Boolean, 1),
    OrdProperty<TPGBooleanRect, &TPGBooleanRect::Left>("Left", K::Boolean, 1),
    OrdProperty<TPGBooleanRect, &TPGBooleanRect::Right>("Right", K::Boolean, 1),
    OrdProperty<TPGBooleanRect, &TPGBooleanRect::Bottom>("Bottom", K::Boolean, 1),
};
constexpr TClassInfo kBooleanRectClass{"TPGBooleanRect", kBooleanRectProps};

constexpr TPropertyInfo kBorderProps[] = {
    OrdProperty<TPGBorder, &TPGBorder::Color>("Color", K::Color, clWindowText),
    OrdProperty<TPGBorder, &TPGBorder::Style>("Style", K::Enumeration, pgbNone, kBorderStyles),
    OrdProperty<TPGBorder, &TPGBorder::Width>("Width", K::Integer, 1),
    OrdProperty<TPGBorder, &TPGBorder::InternalWidth>("InternalWidth", K::Integer, 1),
    ObjectProperty(
        "VisibleBorders", kBooleanRectClass,
        [](const void* o) -> const void* { return &static_cast<const TPGBorder*>(o)->VisibleBorders; },
        [](void* o) -> void* { return &static_cast<TPGBorder*>(o)->VisibleBorders; }),
    ObjectProperty(
        "BorderOffsets", kRectClass,
        [](const void* o) -> const void* { return &static_cast<const TPGBorder*>(o)->BorderOffsets; },
        [](void* o) -> void* { return &static_cast<TPGBorder*>(o)->BorderOffsets; }),
};
constexpr TClassInfo kBorderClass{"TPGBorder", kBorderProps};

constexpr TPropertyInfo kBackgroundProps[] = {
    ObjectProperty(
        "BorderOffsets", kRectClass,
        [](const void* o) -> const void* { return &static_cast<const TPGBackgroundRect*>(o)->BorderOffsets; },
        [](void* o) -> void* { return &static_cast<TPGBackgroundRect*>(o)->BorderOffsets; }),
    OrdProperty<TPGBackgroundRect, &TPGBackgroundRect::Color>("Color", K::Color, clNone),
};
constexpr TClassInfo kBackgroundClass{"TPGBackgroundRect", kBackgroundProps};

using P = TParaInfo;
constexpr TPropertyInfo kParaInfoProps[] = {
    BaseStyleNoProperty<P>(),
    StyleNameProperty<P>("Paragraph Style"),
    StandardProperty<P>(),
    OrdProperty<P, &P::FirstIndent>("FirstIndent", K::Integer, 0),
    OrdProperty<P, &P::LeftIndent>("LeftIndent", K::Integer, 0),
    OrdProperty<P, &P::RightIndent>("RightIndent", K::Integer, 0),
    OrdProperty<P, &P::SpaceBefore>("SpaceBefore", K::Integer, 0),
    OrdProperty<P, &P::SpaceAfter>("SpaceAfter", K::Integer, 0),
    OrdProperty<P, &P::LineSpacing>("LineSpacing", K::Integer, 100),
    OrdProperty<P, &P::LineSpacingType>("LineSpacingType", K::Enumeration, pglsPercent, kLineSpacingTypes),
    OrdProperty<P, &P::Alignment>("Alignment", K::Enumeration, pgaLeft, kAlignments),
    ObjectProperty(
        "Border", kBorderClass, [](const void* o) -> const void* { return &static_cast<const P*>(o)->Border; },
        [](void* o) -> void* { return &static_cast<P*>(o)->Border; }),
    OrdProperty<P, &P::NextParaNo>("NextParaNo", K::Integer, -1),
    ObjectProperty(
        "Background", kBackgroundClass,
        [](const void* o) -> const void* { return &static_cast<const P*>(o)->Background; },
        [](void* o) -> void* { return &static_cast<P*>(o)->Background; }),
    OrdProperty<P, &P::Options>("Options", K::Set, 0, kParaOptions),
    OrdProperty<P, &P::BiDiMode>("BiDiMode", K::Enumeration, pgbdUnspecified, kBiDiModes),
    OrdProperty<P, &P::DefStyleNo>("DefStyleNo", K::Integer, -1),
};
constexpr TClassInfo kParaInfoClass{"TParaInfo", kParaInfoProps};

// ---- text styles

using F = TFontInfo;

constexpr TPropertyInfo SingleSymbolsProperty() {
  // A legacy Boolean: True meant text that formatting and automatic switching leave alone.
  TPropertyInfo p;
  p.Name = "SingleSymbols";
  p.Kind = K::Boolean;
  p.ReadOnly = true;
  p.SetOrd = [](void* o, std::int64_t v) {
    if (v) static_cast<F*>(o)->Protection.Include(pgprStyleProtect).Include(pgprDoNotAutoSwitch);
  };
  return p;
}

constexpr TPropertyInfo kFontInfoProps[] = {
    BaseStyleNoProperty<F>(),
    StyleNameProperty<F>("Font Style"),
    StandardProperty<F>(),
    OrdProperty<F, &F::BiDiMode>("BiDiMode", K::Enumeration, pgbdUnspecified, kBiDiModes),
    OrdProperty<F, &F::Jump>("Jump", K::Boolean, 0),
    OrdProperty<F, &F::JumpCursor>("JumpCursor", K::Cursor, crJump),
    TextProperty<F, &F::FontName>("FontName", "Arial"),
    OrdProperty<F, &F::Size>("Size", K::Integer, 10),
    OrdProperty<F, &F::Color>("Color", K::Color, clWindowText),
    OrdProperty<F, &F::BackColor>("BackColor", K::Color, clNone),
    OrdProperty<F, &F::HoverColor>("HoverColor", K::Color, clNone),
    OrdProperty<F, &F::HoverBackColor>("HoverBackColor", K::Color, clNone),
    OrdProperty<F, &F::Style>("Style", K::Set, 0, kFontStyles),
    OrdProperty<F, &F::StyleEx>("StyleEx", K::Set, 0, kPGFontStyles),
    OrdProperty<F, &F::VShift>("VShift", K::Integer, 0),
    OrdProperty<F, &F::NextStyleNo>("NextStyleNo", K::Integer, -1),
    OrdProperty<F, &F::Charset>("Charset", K::Charset, DEFAULT_CHARSET),
    OrdProperty<F, &F::Unicode>("Unicode", K::Boolean, 0),
    OrdProperty<F, &F::Protection>("Protection", K::Set, 0, kProtectOptions),
    OrdProperty<F, &F::Options>("Options", K::Set, 0, kTextOptions),
    OrdProperty<F, &F::CharScale>("CharScale", K::Integer, 100),
    OrdProperty<F, &F::CharSpacing>("CharSpacing", K::Integer, 0),
    SingleSymbolsProperty(),
};
constexpr TClassInfo kFontInfoClass{"TFontInfo", kFontInfoProps};

// ---- list styles

using MF = TPGMarkerFont;
using L = TPGListLevel;

const L& Level(const void* o) { return *static_cast<const L*>(o); }
L& Level(void* o) { return *static_cast<L*>(o); }

// Height is the negative pixel height at 96 pixels per inch; the font keeps its size.
std::int64_t MarkerFontHeight(const void* o) {
  const std::int64_t product = std::int64_t{static_cast<const MF*>(o)->Size} * 96;
  const std::int64_t magnitude = ((product < 0 ? -product : product) * 2 + 72) / 144;  // half away from zero
  const std::int64_t height = product < 0 ? magnitude : -magnitude;
  return height < INT32_MIN ? INT32_MIN : (height > INT32_MAX ? INT32_MAX : height);
}

constexpr int kDefaultMarkerFontHeight = -11;  // 8 points
constexpr std::string_view kDefaultFormatString = "\xB7";

constexpr TPropertyInfo MarkerFontHeightProperty() {
  TPropertyInfo p;
  p.Name = "Height";
  p.Kind = K::Integer;
  p.Default = kDefaultMarkerFontHeight;
  p.GetOrd = &MarkerFontHeight;
  p.SetOrd = [](void* o, std::int64_t h) { static_cast<MF*>(o)->Size = -MulDiv(static_cast<int>(h), 72, 96); };
  return p;
}

constexpr TPropertyInfo kMarkerFontProps[] = {
    OrdProperty<MF, &MF::Charset>("Charset", K::Charset, DEFAULT_CHARSET),
    OrdProperty<MF, &MF::Color>("Color", K::Color, clWindowText),
    TextProperty<MF, &MF::Name>("Name", "Arial"),
    OrdProperty<MF, &MF::Style>("Style", K::Set, 0, kFontStyles),
    MarkerFontHeightProperty(),
    // Font properties that marker fonts do not keep.
    IgnoredProperty("Pitch"),
    IgnoredProperty("Orientation"),
    IgnoredProperty("Quality"),
};
constexpr TClassInfo kMarkerFontClass{"TPGMarkerFont", kMarkerFontProps};

// A picture is stored as "Picture.Data": its class name as a short string, then the
// graphic's own data. Bitmaps and JPEG images put their size in front of it; metafiles a
// size that counts those four bytes too.
enum class TSizePrefix { None, Excluding, Including };

TSizePrefix SizePrefixOf(std::string_view className) {
  if (className == "TBitmap" || className == "TJPEGImage") return TSizePrefix::Excluding;
  if (className == "TMetafile") return TSizePrefix::Including;
  return TSizePrefix::None;
}

void AppendLE32(std::string& s, std::size_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void WritePictureData(TComponentWriter& w, const void* o, const void*) {
  const TGraphic& g = *Level(o).Picture();
  const std::string className = g.ClassName();
  const std::string bytes = g.SaveToBytes();
  std::string data;
  data.push_back(static_cast<char>(className.size()));
  data += className;
  switch (SizePrefixOf(className)) {
    case TSizePrefix::Excluding: AppendLE32(data, bytes.size()); break;
    case TSizePrefix::Including: AppendLE32(data, bytes.size() + 4); break;
    case TSizePrefix::None: break;
  }
  data += bytes;
  w.WriteBinary(data);
}

bool ReadPictureData(TComponentReader& r, void* o, const void*) {
  const std::size_t at = r.Position();
  std::string_view data;
  if (!ReadBinaryProperty(r, "Picture.Data", data)) return r.Ok();
  L& level = Level(o);
  if (data.empty() || static_cast<unsigned char>(data[0]) + 1u > data.size()) {
    r.AddProblem(at, "the picture's class name is cut short");
    return true;
  }
  const std::string_view className = data.substr(1, static_cast<unsigned char>(data[0]));
  std::string_view bytes = data.substr(1 + className.size());
  if (className.empty()) {  // a picture without a graphic
    level.SetPicture(nullptr);
    return true;
  }
  const TSizePrefix prefix = SizePrefixOf(className);
  if (prefix != TSizePrefix::None) {
    std::uint64_t size = 0;
    if (bytes.size() >= 4)
      for (int i = 0; i < 4; ++i) size |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    if (prefix == TSizePrefix::Including) size = size >= 4 ? size - 4 : UINT64_MAX;
    if (bytes.size() < 4 || size > bytes.size() - 4) {
      r.AddProblem(at, "the picture's data is cut short");
      return true;
    }
    bytes = bytes.substr(4, size);
  }
  std::unique_ptr<TGraphic> graphic = CreateGraphic(className);
  if (!graphic) {
    r.AddProblem(at, "unknown picture class " + QuoteName(className));
    return true;
  }
  bool loaded = false;
  try {
    loaded = graphic->LoadFromBytes(bytes);
  } catch (const std::exception&) {
    loaded = false;  // a codec's failure is a bad picture, not a bad document
  }
  if (!loaded) {
    r.AddProblem(at, "the picture cannot be read");
    return true;
  }
  level.SetPicture(graphic.get());
  return true;
}

constexpr TPropertyInfo kPictureProps[] = {
    CustomProperty("Data", nullptr, &WritePictureData, &ReadPictureData),
};
// The picture of a level: the object pointer is the level itself.
constexpr TClassInfo kPictureClass{"TPicture", kPictureProps};

constexpr TPropertyInfo FormatStringWProperty() {
  TPropertyInfo p;
  p.Name = "FormatStringW";
  p.Kind = K::WideString;
  p.ReadOnly = true;
  p.SetWide = [](void* o, std::u16string v) { Level(o).FormatStringW = std::move(v); };
  return p;
}

bool ReadFormatCode(TComponentReader& r, std::string_view name, int digits, std::u16string& units) {
  const std::size_t at = r.Position();
  std::string hex;
  if (!ReadStringProperty(r, name, hex)) return false;
  if (!UnitsOfHex(hex, digits, units)) r.AddProblem(at, "property " + QuoteName(name) + " is not hexadecimal");
  return true;
}

constexpr TPropertyInfo kListLevelProps[] = {
    OrdProperty<L, &L::ListType>("ListType", K::Enumeration, pglstBullet, kListTypes),
    OrdProperty<L, &L::StartFrom>("StartFrom", K::Integer, 1),
    // A reference to a form's image list; documents use "ILTag" instead.
    IgnoredProperty("ImageList"),
    OrdProperty<L, &L::ImageIndex>("ImageIndex", K::Integer, 0),
    CustomProperty("FormatString", nullptr, nullptr,
                   [](TComponentReader& r, void* o, const void*) {
                     std::string s;
                     if (ReadAnsiStringProperty(r, "FormatString", s)) Level(o).FormatString = std::move(s);
                     return r.Ok();
                   }),
    FormatStringWProperty(),
    OrdProperty<L, &L::LeftIndent>("LeftIndent", K::Integer, 0),
    OrdProperty<L, &L::FirstIndent>("FirstIndent", K::Integer, 10),
    OrdProperty<L, &L::MarkerIndent>("MarkerIndent", K::Integer, 0),
    OrdProperty<L, &L::MarkerAlignment>("MarkerAlignment", K::Enumeration, pgmaLeft, kMarkerAlignments),
    ObjectProperty(
        "Picture", kPictureClass,
        [](const void* o) -> const void* {
          // The class name is a short string; a graphic whose name does not fit is not stored.
          return Level(o).HasPicture() && Level(o).Picture()->ClassName().size() <= 255 ? o : nullptr;
        },
        [](void* o) -> void* { return o; }),
    ObjectProperty(
        "Font", kMarkerFontClass, [](const void* o) -> const void* { return Level(o).FontIfAny(); },
        [](void* o) -> void* { return &Level(o).Font(); }),
    OrdProperty<L, &L::Options>("Options", K::Set, TPGListLevelOptions{pgloContinuous, pgloLevelReset}.Raw(),
                                kListLevelOptions),
    CustomProperty(
        "ILTag", [](const void* o, const void* context) { return context && Level(o).ImageList; },
        [](TComponentWriter& w, const void* o, const void*) { w.WriteInteger(Level(o).ImageList->Tag); },
        [](TComponentReader& r, void* o, const void* context) {
          std::int64_t tag = 0;
          if (!ReadIntegerProperty(r, "ILTag", INT32_MIN, INT32_MAX, tag)) return r.Ok();
          const auto* c = static_cast<const TPGStreamContext*>(context);
          Level(o).ImageList = c && c->ImageListNeeded ? c->ImageListNeeded(static_cast<int>(tag)) : nullptr;
          return true;
        }),
    CustomProperty(
        "FormatStringWCode", [](const void* o, const void*) { return !Level(o).FormatStringW.empty(); },
        [](TComponentWriter& w, const void* o, const void*) { w.WriteString(HexOfUnits(Level(o).FormatStringW)); },
        [](TComponentReader& r, void* o, const void*) {
          std::u16string units;
          if (ReadFormatCode(r, "FormatStringWCode", 4, units)) Level(o).FormatStringW = std::move(units);
          return r.Ok();
        }),
    CustomProperty(
        "FormatStringCode", [](const void* o, const void*) { return Level(o).FormatString != kDefaultFormatString; },
        [](TComponentWriter& w, const void* o, const void*) { w.WriteString(HexOfBytes(Level(o).FormatString)); },
        [](TComponentReader& r, void* o, const void*) {
          std::u16string units;
          if (!ReadFormatCode(r, "FormatStringCode", 2, units)) return r.Ok();
          std::string& s = Level(o).FormatString;
          s.clear();
          for (char16_t u : units) s.push_back(static_cast<char>(u));
          return r.Ok();
        }),
};
constexpr TClassInfo kListLevelClass{"TPGListLevel", kListLevelProps};

using LI = TPGListInfo;

constexpr TCollectionAccess kLevelsAccess = {
    [](const void* o) { return static_cast<int>(static_cast<const LI*>(o)->Levels.size()); },
    [](const void* o, int i, const TClassInfo** cls) -> const void* {
      *cls = &kListLevelClass;
      return &static_cast<const LI*>(o)->Levels[static_cast<std::size_t>(i)];
    },
    [](void* o, const TClassInfo** cls) -> void* {
      *cls = &kListLevelClass;
      return &static_cast<LI*>(o)->AddLevel();
    },
    [](void* o) { static_cast<LI*>(o)->Levels.pop_back(); },
    [](void* o) { static_cast<LI*>(o)->Levels.clear(); },
};

constexpr TPropertyInfo LevelsProperty() {
  TPropertyInfo p;
  p.Name = "Levels";
  p.Kind = K::Collection;
  p.Collection = &kLevelsAccess;
  return p;
}

constexpr TPropertyInfo kListInfoProps[] = {
    BaseStyleNoProperty<LI>(),
    StyleNameProperty<LI>("List Style"),
    StandardProperty<LI>(),
    LevelsProperty(),
    OrdProperty<LI, &LI::OneLevelPreview>("OneLevelPreview", K::Boolean, 0),
    // Always stored: the identifier is what keeps two lists with equal levels apart.
    CustomProperty(
        "LstID", nullptr,
        [](TComponentWriter& w, const void* o, const void*) { w.WriteInteger(static_cast<const LI*>(o)->ListID()); },
        [](TComponentReader& r, void* o, const void*) {
          std::int64_t id = 0;
          if (ReadIntegerProperty(r, "LstID", INT32_MIN, INT32_MAX, id))
            static_cast<LI*>(o)->SetListID(static_cast<std::int32_t>(id));
          return r.Ok();
        }),
};
constexpr TClassInfo kListInfoClass{"TPGListInfo", kListInfoProps};

// A style of a class this file does not know keeps its base fields.
constexpr TPropertyInfo kCustomInfoProps[] = {
    BaseStyleNoProperty<TCustomPGInfo>(),
    StyleNameProperty<TCustomPGInfo>(""),
    StandardProperty<TCustomPGInfo>(),
};
constexpr TClassInfo kCustomInfoClass{"TCustomPGInfo", kCustomInfoProps};

// ---- collections of styles

// The table of a style, and the pointer its accessors expect.
const TClassInfo& ClassOfStyle(const TCustomPGInfo& s, const void*& object) {
  if (const auto* f = dynamic_cast<const TFontInfo*>(&s)) {
    object = f;
    return kFontInfoClass;
  }
  if (const auto* p = dynamic_cast<const TParaInfo*>(&s)) {
    object = p;
    return kParaInfoClass;
  }
  if (const auto* l = dynamic_cast<const TPGListInfo*>(&s)) {
    object = l;
    return kListInfoClass;
  }
  object = &s;
  return kCustomInfoClass;
}

const TCustomPGInfos& Styles(const void* o) { return *static_cast<const TCustomPGInfos*>(o); }
TCustomPGInfos& Styles(void* o) { return *static_cast<TCustomPGInfos*>(o); }

constexpr TCollectionAccess kStylesAccess = {
    [](const void* o) { return Styles(o).Count(); },
    [](const void* o, int i, const TClassInfo** cls) {
      const void* object = nullptr;
      *cls = &ClassOfStyle(Styles(o).Info(i), object);
      return object;
    },
    [](void* o, const TClassInfo** cls) {
      const void* object = nullptr;
      *cls = &ClassOfStyle(Styles(o).AddInfo(), object);
      return const_cast<void*>(object);  // the style was just created, not const
    },
    [](void* o) { Styles(o).Delete(Styles(o).Count() - 1); },
    [](void* o) { Styles(o).Clear(); },
};

}  // namespace

const TClassInfo& FontInfoClass() noexcept { return kFontInfoClass; }
const TClassInfo& ParaInfoClass() noexcept { return kParaInfoClass; }
const TClassInfo& ListInfoClass() noexcept { return kListInfoClass; }
const TClassInfo& ListLevelClass() noexcept { return kListLevelClass; }

std::string WriteStyleCollection(const TCustomPGInfos& styles, const TPGStreamContext* context) {
  TComponentWriter w;
  WriteCollection(w, kStylesAccess, &styles, context);
  return w.Take();
}

bool ReadStyleCollection(std::string_view data, TCustomPGInfos& into, const TPGStreamContext* context,
                         std::vector<std::string>* problems) {
  try {
    into.Clear();
    if (data.empty()) return true;
    TComponentReader r(data);
    const bool ok = static_cast<unsigned char>(data[0]) == vaCollection
                        ? ReadCollection(r, kStylesAccess, &into, context)
                        : r.Fail("a style collection must begin with byte 14");
    if (problems) {
      problems->insert(problems->end(), r.Problems().begin(), r.Problems().end());
      if (!ok) problems->push_back(r.Error());
    }
    return ok;
  } catch (const std::exception& e) {
    if (problems) problems->push_back(std::string("the styles cannot be read: ") + e.what());
    return false;
  }
}

}  // namespace pagora
