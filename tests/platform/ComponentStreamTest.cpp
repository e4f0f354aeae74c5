#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/Colors.h"
#include "platform/ComponentStream.h"
#include "platform/EnumSet.h"
#include "support/Bytes.h"

namespace pagora {
namespace {

using test::Bytes;
using test::HexDump;

std::string Written(const std::function<void(TComponentWriter&)>& write) {
  TComponentWriter w;
  write(w);
  return w.Take();
}

TEST(ComponentWriter, IntegersTakeTheSmallestTypeThatHoldsThem) {
  const struct {
    std::int64_t value;
    const char* bytes;
  } cases[] = {
      {0, "02 00"},
      {-1, "02 FF"},
      {127, "02 7F"},
      {-128, "02 80"},
      {128, "03 80 00"},
      {-129, "03 7F FF"},
      {32767, "03 FF 7F"},
      {-32768, "03 00 80"},
      {32768, "04 00 80 00 00"},
      {-32769, "04 FF 7F FF FF"},
      {INT32_MAX, "04 FF FF FF 7F"},
      {INT32_MIN, "04 00 00 00 80"},
      {std::int64_t{INT32_MAX} + 1, "13 00 00 00 80 00 00 00 00"},
      {INT64_MIN, "13 00 00 00 00 00 00 00 80"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.value);
    const std::string bytes = Written([&](TComponentWriter& w) { w.WriteInteger(t.value); });
    EXPECT_EQ(HexDump(bytes), HexDump(Bytes(t.bytes)));
    TComponentReader r(bytes);
    std::int64_t back = 0;
    ASSERT_TRUE(r.ReadInteger(back)) << r.Error();
    EXPECT_EQ(back, t.value);
    EXPECT_TRUE(r.AtEnd());
  }
}

TEST(ComponentWriter, EveryValueTypeIsEncodedByteForByte) {
  const struct {
    const char* what;
    std::function<void(TComponentWriter&)> write;
    std::string bytes;
  } cases[] = {
      {"false", [](auto& w) { w.WriteBoolean(false); }, Bytes("08")},
      {"true", [](auto& w) { w.WriteBoolean(true); }, Bytes("09")},
      {"short ASCII string", [](auto& w) { w.WriteString("abc"); }, Bytes(R"(06 "abc")")},
      {"empty string", [](auto& w) { w.WriteString(""); }, Bytes("06 00")},
      {"long ASCII string", [](auto& w) { w.WriteString(std::string(256, 'a')); },
       Bytes("0C 00 01 00 00") + std::string(256, 'a')},
      {"non-ASCII string", [](auto& w) { w.WriteString("caf\xC3\xA9"); }, Bytes("14 05 00 00 00 'caf' C3 A9")},
      {"UTF-8 string", [](auto& w) { w.WriteUTF8String("a"); }, Bytes("14 01 00 00 00 'a'")},
      {"wide string", [](auto& w) { w.WriteWString(u"A\u20AC"); }, Bytes("12 02 00 00 00 41 00 AC 20")},
      {"wide text shorter in UTF-8", [](auto& w) { w.WriteWideString(u"ab"); }, Bytes("14 02 00 00 00 'ab'")},
      {"wide text shorter in UTF-16", [](auto& w) { w.WriteWideString(u"\u65E5\u672C"); },
       Bytes("12 02 00 00 00 E5 65 2C 67")},
      {"unpaired surrogate stays UTF-16", [](auto& w) { w.WriteWideString(u"\xD800"); },
       Bytes("12 01 00 00 00 00 D8")},
      {"identifier", [](auto& w) { w.WriteIdent("clRed"); }, Bytes(R"(07 "clRed")")},
      {"identifier True", [](auto& w) { w.WriteIdent("true"); }, Bytes("09")},
      {"identifier False", [](auto& w) { w.WriteIdent("False"); }, Bytes("08")},
      {"identifier nil", [](auto& w) { w.WriteIdent("nil"); }, Bytes("0D")},
      {"identifier Null", [](auto& w) { w.WriteIdent("NULL"); }, Bytes("00")},
      {"set",
       [](auto& w) {
         const std::string_view names[] = {"fsBold", "fsItalic"};
         w.WriteSet(names);
       },
       Bytes(R"(0B "fsBold" "fsItalic" 00)")},
      {"empty set", [](auto& w) { w.WriteSet({}); }, Bytes("0B 00")},
      {"binary", [](auto& w) { w.WriteBinary(std::string_view("\x01\x02", 2)); }, Bytes("0A 02 00 00 00 01 02")},
      {"single", [](auto& w) { w.WriteSingle(1.5f); }, Bytes("0F 00 00 C0 3F")},
      {"double", [](auto& w) { w.WriteDouble(1.0); }, Bytes("15 00 00 00 00 00 00 F0 3F")},
      {"extended 1", [](auto& w) { w.WriteExtended(1.0); }, Bytes("05 00 00 00 00 00 00 00 80 FF 3F")},
      {"extended -2.5", [](auto& w) { w.WriteExtended(-2.5); }, Bytes("05 00 00 00 00 00 00 00 A0 00 C0")},
      {"extended of a denormal double", [](auto& w) { w.WriteExtended(std::numeric_limits<double>::denorm_min()); },
       Bytes("05 00 00 00 00 00 00 00 80 CD 3B")},
      {"currency", [](auto& w) { w.WriteCurrency(12345); }, Bytes("10 39 30 00 00 00 00 00 00")},
      {"date", [](auto& w) { w.WriteDate(2.0); }, Bytes("11 00 00 00 00 00 00 00 40")},
      {"nil", [](auto& w) { w.WriteValue(vaNil); }, Bytes("0D")},
      {"list", [](auto& w) { w.WriteListBegin(); w.WriteInteger(1); w.WriteListEnd(); }, Bytes("01 02 01 00")},
      {"property", [](auto& w) { w.WritePropName("Size"); w.WriteInteger(12); }, Bytes(R"("Size" 02 0C)")},
      {"component header",
       [](auto& w) {
         w.WriteSignature();
         w.WriteComponentHeader("TPGStyle", "PGStyle1");
       },
       Bytes(R"('TPF0' "TPGStyle" "PGStyle1")")},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    EXPECT_EQ(HexDump(Written(t.write)), HexDump(t.bytes));
  }
}

TEST(ComponentWriter, NamesLongerThanAShortStringAreRefused) {
  TComponentWriter w;
  EXPECT_NO_THROW(w.WriteStr(std::string(255, 'n')));
  EXPECT_THROW(w.WriteStr(std::string(256, 'n')), std::exception);
}

TEST(ComponentReader, StringsOfEveryTypeReadInEveryForm) {
  const struct {
    const char* what;
    std::string bytes;
    std::string utf8;
    std::string ansi;
    std::u16string wide;
  } cases[] = {
      {"vaString ASCII", Bytes(R"(06 "abc")"), "abc", "abc", u"abc"},
      {"vaString in code page 1252", Bytes("06 02 E9 80"), "\xC3\xA9\xE2\x82\xAC", "\xE9\x80", u"\u00E9\u20AC"},
      {"vaLString", Bytes("0C 01 00 00 00 'x'"), "x", "x", u"x"},
      {"vaUTF8String", Bytes("14 02 00 00 00 C3 A9"), "\xC3\xA9", "\xE9", u"\u00E9"},
      {"vaWString", Bytes("12 01 00 00 00 AC 20"), "\xE2\x82\xAC", "\x80", u"\u20AC"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    std::string utf8, ansi;
    std::u16string wide;
    TComponentReader a(t.bytes), b(t.bytes), c(t.bytes);
    ASSERT_TRUE(a.ReadString(utf8)) << a.Error();
    ASSERT_TRUE(b.ReadAnsiString(ansi)) << b.Error();
    ASSERT_TRUE(c.ReadWideString(wide)) << c.Error();
    EXPECT_EQ(utf8, t.utf8);
    EXPECT_EQ(ansi, t.ansi);
    EXPECT_EQ(wide, t.wide);
    EXPECT_TRUE(a.AtEnd() && b.AtEnd() && c.AtEnd());
  }
}

TEST(ComponentReader, ReadsBackTheOtherValueTypes) {
  const std::string bytes = Written([](TComponentWriter& w) {
    w.WriteBoolean(true);
    w.WriteIdent("True");
    w.WriteIdent("clNone");
    const std::string_view names[] = {"a", "bc"};
    w.WriteSet(names);
    w.WriteBinary("pic");
    w.WriteSingle(0.25f);
    w.WriteDouble(-3.5);
    w.WriteExtended(1e300);
    w.WriteInteger(7);  // a number where a float may stand
    w.WriteCurrency(-5);
    w.WriteDate(45000.5);
  });
  TComponentReader r(bytes);
  bool b = false;
  std::string ident, trueIdent;
  std::vector<std::string> set;
  std::string_view binary;
  double single = 0, dbl = 0, ext = 0, integer = 0, date = 0;
  std::int64_t currency = 0;
  ASSERT_TRUE(r.ReadBoolean(b) && r.ReadIdent(trueIdent) && r.ReadIdent(ident) && r.ReadSet(set) &&
              r.ReadBinary(binary) && r.ReadFloat(single) && r.ReadFloat(dbl) && r.ReadFloat(ext) &&
              r.ReadFloat(integer) && r.ReadCurrency(currency) && r.ReadDate(date))
      << r.Error();
  EXPECT_TRUE(b);
  EXPECT_EQ(trueIdent, "True");
  EXPECT_EQ(ident, "clNone");
  EXPECT_EQ(set, (std::vector<std::string>{"a", "bc"}));
  EXPECT_EQ(binary, "pic");
  EXPECT_EQ(single, 0.25);
  EXPECT_EQ(dbl, -3.5);
  EXPECT_EQ(ext, 1e300);
  EXPECT_EQ(integer, 7.0);
  EXPECT_EQ(currency, -5);
  EXPECT_EQ(date, 45000.5);
  EXPECT_TRUE(r.AtEnd());
}

TEST(ComponentReader, ExtendedValuesConvertExactlyOrToTheNearestDouble) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* bytes;
    double value;
  } cases[] = {
      {"05 00 00 00 00 00 00 00 00 00 00", 0.0},
      {"05 00 00 00 00 00 00 00 80 FF 3F", 1.0},
      {"05 00 00 00 00 00 00 00 A0 00 C0", -2.5},
      {"05 00 00 00 00 00 00 00 80 FF 7F", inf},
      {"05 00 00 00 00 00 00 00 80 FE 7F", inf},   // beyond the double range
      {"05 00 00 00 00 00 00 00 80 01 00", 0.0},   // below it
      {"05 00 04 00 00 00 00 00 80 FF 3F", 1.0},   // half of a double's last bit: to even
      {"05 01 04 00 00 00 00 00 80 FF 3F", 1.0 + std::numeric_limits<double>::epsilon()},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.bytes);
    const std::string data = Bytes(t.bytes);
    TComponentReader r(data);
    double v = -1;
    ASSERT_TRUE(r.ReadFloat(v)) << r.Error();
    EXPECT_EQ(v, t.value);
  }
  const std::string nanData = Bytes("05 00 00 00 00 00 00 00 C0 FF 7F");
  TComponentReader nan(nanData);
  double v = 0;
  ASSERT_TRUE(nan.ReadFloat(v));
  EXPECT_TRUE(std::isnan(v));

  for (double d : {0.1, -123.456, std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                   std::numeric_limits<double>::denorm_min(), -0.0, -inf}) {
    SCOPED_TRACE(d);
    const std::string data = Written([&](TComponentWriter& w) { w.WriteExtended(d); });
    TComponentReader r(data);
    double back = 1;
    ASSERT_TRUE(r.ReadFloat(back));
    EXPECT_EQ(back, d);
    EXPECT_EQ(std::signbit(back), std::signbit(d));
  }
}

// A collection whose items hold a nested collection and a set.
const std::string kNestedCollection =
    Bytes(R"(0E 01 "Size" 02 0C "Sub" 0E 02 05 01 "X" 02 01 00 00 "Set" 0B "a" 00 00 00)");

TEST(ComponentReader, SkipsOneValueOfEveryType) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"vaNull", Bytes("00")},
      {"empty vaList", Bytes("01 00")},
      {"nested vaList", Bytes(R"(01 02 05 06 "ab" 01 09 00 00)")},
      {"vaInt8", Bytes("02 01")},
      {"vaInt16", Bytes("03 01 00")},
      {"vaInt32", Bytes("04 01 00 00 00")},
      {"vaExtended", Bytes("05 00 00 00 00 00 00 00 80 FF 3F")},
      {"vaString", Bytes(R"(06 "abc")")},
      {"vaIdent", Bytes(R"(07 "clRed")")},
      {"vaFalse", Bytes("08")},
      {"vaTrue", Bytes("09")},
      {"vaBinary", Bytes("0A 03 00 00 00 01 02 03")},
      {"vaSet", Bytes(R"(0B "a" "bc" 00)")},
      {"vaLString", Bytes("0C 02 00 00 00 'ab'")},
      {"vaNil", Bytes("0D")},
      {"empty vaCollection", Bytes("0E 00")},
      {"vaCollection with order numbers and nesting", kNestedCollection},
      {"vaSingle", Bytes("0F 00 00 C0 3F")},
      {"vaCurrency", Bytes("10 39 30 00 00 00 00 00 00")},
      {"vaDate", Bytes("11 00 00 00 00 00 00 00 40")},
      {"vaWString", Bytes("12 02 00 00 00 41 00 42 00")},
      {"vaInt64", Bytes("13 00 00 00 80 00 00 00 00")},
      {"vaUTF8String", Bytes("14 02 00 00 00 C3 A9")},
      {"vaDouble", Bytes("15 00 00 00 00 00 00 F0 3F")},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    const std::string data = t.bytes + Bytes("02 2A");
    TComponentReader r(data);
    ASSERT_TRUE(r.SkipValue()) << r.Error();
    EXPECT_EQ(r.Position(), t.bytes.size());
    std::int64_t next = 0;
    ASSERT_TRUE(r.ReadInteger(next));
    EXPECT_EQ(next, 42);
  }
}

TEST(ComponentReader, HostileDataFailsWithAReasonAndNeverReadsBeyondTheEnd) {
  std::string deepLists(100, '\x01');
  std::string deepCollections;
  for (int i = 0; i < 40; ++i) deepCollections += Bytes(R"(0E 01 "A")");
  std::string endlessSet = Bytes("0B");
  for (int i = 0; i < 1000; ++i) endlessSet += Bytes(R"("abc")");
  const struct {
    const char* what;
    std::string bytes;
    const char* error;
  } cases[] = {
      {"no data", "", "unexpected end of data"},
      {"value type 22", Bytes("16"), "unknown value type 22"},
      {"value type 255", Bytes("FF"), "unknown value type 255"},
      {"huge vaLString", Bytes("0C FF FF FF FF 'abc'"), "length 4294967295 exceeds the 3 bytes that remain"},
      {"huge vaBinary", Bytes("0A FF FF FF 7F 00"), "exceeds"},
      {"huge vaUTF8String", Bytes("14 00 00 00 80"), "exceeds"},
      {"vaWString whose byte count overflows 32 bits", Bytes("12 00 00 00 80 41 00"), "exceeds"},
      {"vaWString of 2^32-1 units", Bytes("12 FF FF FF FF"), "exceeds"},
      {"vaString cut short", Bytes("06 05 'ab'"), "5 bytes needed, 2 remain"},
      {"vaInt32 cut short", Bytes("04 01 00"), "unexpected end of data"},
      {"a set that never ends", endlessSet, "unexpected end of data"},
      {"lists nested 100 deep", deepLists, "nested deeper than 64"},
      {"collections nested 40 deep", deepCollections, "nested deeper than 64"},
      {"a list without its end", Bytes("01 02 01"), "unexpected end of data"},
      {"a collection item that is no list", Bytes("0E 06 00"), "a collection item was expected"},
      {"an order number without its item", Bytes("0E 02 01 06 00"), "a list was expected"},
      {"a property name cut short", Bytes("0E 01 05 'ab'"), "unexpected end of data"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    TComponentReader r(t.bytes);
    EXPECT_FALSE(r.SkipValue());
    EXPECT_NE(r.Error().find(t.error), std::string::npos) << r.Error();
    EXPECT_LE(r.Position(), t.bytes.size());
  }
}

TEST(ComponentReader, NestingUpToTheLimitIsFine) {
  const std::string limit = std::string(64, '\x01') + std::string(64, '\x00');
  TComponentReader ok(limit);
  EXPECT_TRUE(ok.SkipValue()) << ok.Error();
  const std::string beyond = std::string(65, '\x01') + std::string(65, '\x00');
  TComponentReader bad(beyond);
  EXPECT_FALSE(bad.SkipValue());
}

TEST(ComponentReader, EveryTruncationOfAValueFailsCleanly) {
  for (std::size_t n = 0; n < kNestedCollection.size(); ++n) {
    SCOPED_TRACE(n);
    TComponentReader r(std::string_view(kNestedCollection).substr(0, n));
    EXPECT_FALSE(r.SkipValue());
    EXPECT_LE(r.ErrorOffset(), n);
  }
}

TEST(ComponentReader, TheFirstErrorSticksAndTellsItsOffset) {
  const std::string data = Bytes("02 01 06 05 'ab' 02 01");
  TComponentReader r(data);
  std::int64_t v = 0;
  std::string s;
  EXPECT_TRUE(r.ReadInteger(v));
  EXPECT_FALSE(r.ReadString(s));
  EXPECT_EQ(r.ErrorOffset(), 4u);
  EXPECT_EQ(r.Error(), "offset 4: unexpected end of data: 5 bytes needed, 4 remain");
  EXPECT_FALSE(r.ReadInteger(v));  // nothing reads after an error
  EXPECT_FALSE(r.SkipValue());
  EXPECT_EQ(r.ErrorOffset(), 4u);

  const std::string wrongData = Bytes(R"(06 "x")");
  TComponentReader wrong(wrongData);
  EXPECT_FALSE(wrong.ReadInteger(v));
  EXPECT_EQ(wrong.Error(), "offset 0: an integer was expected, not vaString");
}

TEST(ComponentReader, SetsHaveAtMost256Elements) {
  std::string set = Bytes("0B");
  for (int i = 0; i < 257; ++i) set += Bytes(R"("e")");
  set += Bytes("00");
  std::vector<std::string> names;
  TComponentReader r(set);
  EXPECT_FALSE(r.ReadSet(names));
  EXPECT_NE(r.Error().find("more than 256"), std::string::npos);
  TComponentReader skip(set);  // skipping allocates nothing, so it need not stop
  EXPECT_TRUE(skip.SkipValue());
}

TEST(ComponentReader, ComponentHeaders) {
  const std::string plainData = Bytes(R"('TPF0' "TPGStyle" "PGStyle1")");
  TComponentReader plain(plainData);
  std::string cls, name;
  std::uint8_t flags = 9;
  ASSERT_TRUE(plain.ReadSignature() && plain.ReadComponentHeader(cls, name, &flags));
  EXPECT_EQ(cls, "TPGStyle");
  EXPECT_EQ(name, "PGStyle1");
  EXPECT_EQ(flags, 0);

  const std::string prefixedData = Bytes(R"('TPF0' F3 02 07 "TButton" "Button1")");  // inherited, child position 7
  TComponentReader prefixed(prefixedData);
  ASSERT_TRUE(prefixed.ReadSignature() && prefixed.ReadComponentHeader(cls, name, &flags)) << prefixed.Error();
  EXPECT_EQ(cls, "TButton");
  EXPECT_EQ(flags, 3);

  const std::string otherData = Bytes("'TPF1'");
  TComponentReader other(otherData);
  EXPECT_FALSE(other.ReadSignature());
  EXPECT_NE(other.Error().find("TPF0"), std::string::npos);
}

// ---- property tables, on a small class of every kind

enum TShade : std::uint8_t { shLight, shDark, shDeep };
enum TFlag : std::uint8_t { flA, flB, flC };
using TFlags = TSet<TFlag, std::uint8_t>;

struct TPoint2 {
  int X = 0;
  bool On = true;
};

struct TSample {
  int Count = 5;
  bool Visible = false;
  TShade Shade = shLight;
  TFlags Flags{flA};
  std::string Caption = "none";
  TColor Color = clNone;
  std::uint8_t Charset = 1;
  std::int16_t Cursor = 0;
  TPoint2 Origin;
  std::vector<TPoint2> Points;
  std::u16string Wide;
  int Legacy = 0;
};

constexpr TIdent kShades[] = {{"shLight", shLight}, {"shDark", shDark}, {"shDeep", shDeep}};
constexpr TIdent kFlagNames[] = {{"flA", flA}, {"flB", flB}, {"flC", flC}};

constexpr TPropertyInfo kPointProps[] = {
    OrdProperty<TPoint2, &TPoint2::X>("X", TPropKind::Integer, 0),
    OrdProperty<TPoint2, &TPoint2::On>("On", TPropKind::Boolean, 1),
};
constexpr TClassInfo kPointClass{"TPoint2", kPointProps};

constexpr TCollectionAccess kPointsAccess = {
    [](const void* o) { return static_cast<int>(static_cast<const TSample*>(o)->Points.size()); },
    [](const void* o, int i, const TClassInfo** cls) -> const void* {
      *cls = &kPointClass;
      return &static_cast<const TSample*>(o)->Points[static_cast<std::size_t>(i)];
    },
    [](void* o, const TClassInfo** cls) -> void* {
      *cls = &kPointClass;
      return &static_cast<TSample*>(o)->Points.emplace_back();
    },
    [](void* o) { static_cast<TSample*>(o)->Points.pop_back(); },
    [](void* o) { static_cast<TSample*>(o)->Points.clear(); },
};

constexpr TPropertyInfo SampleProperty(TPropertyInfo p, auto adjust) {
  adjust(p);
  return p;
}

constexpr TPropertyInfo kSampleProps[] = {
    OrdProperty<TSample, &TSample::Count>("Count", TPropKind::Integer, 5),
    OrdProperty<TSample, &TSample::Visible>("Visible", TPropKind::Boolean, 0),
    OrdProperty<TSample, &TSample::Shade>("Shade", TPropKind::Enumeration, shLight, kShades),
    OrdProperty<TSample, &TSample::Flags>("Flags", TPropKind::Set, TFlags{flA}.Raw(), kFlagNames),
    TextProperty<TSample, &TSample::Caption>("Caption", "none"),
    OrdProperty<TSample, &TSample::Color>("Color", TPropKind::Color, clNone),
    OrdProperty<TSample, &TSample::Charset>("Charset", TPropKind::Charset, 1),
    OrdProperty<TSample, &TSample::Cursor>("Cursor", TPropKind::Cursor, 0),
    SampleProperty({}, [](TPropertyInfo& p) {
      p.Name = "Origin";
      p.Kind = TPropKind::Object;
      p.ObjectClass = &kPointClass;
      p.GetObject = [](const void* o) -> const void* { return &static_cast<const TSample*>(o)->Origin; };
      p.ObjectForRead = [](void* o) -> void* { return &static_cast<TSample*>(o)->Origin; };
    }),
    SampleProperty({}, [](TPropertyInfo& p) {
      p.Name = "Points";
      p.Kind = TPropKind::Collection;
      p.Collection = &kPointsAccess;
    }),
    SampleProperty({}, [](TPropertyInfo& p) {
      p.Name = "Wide";
      p.Kind = TPropKind::WideString;
      p.GetWide = [](const void* o) { return static_cast<const TSample*>(o)->Wide; };
      p.SetWide = [](void* o, std::u16string v) { static_cast<TSample*>(o)->Wide = std::move(v); };
    }),
    SampleProperty(OrdProperty<TSample, &TSample::Legacy>("OldCount", TPropKind::Integer, 0),
                   [](TPropertyInfo& p) { p.ReadOnly = true; }),
    SampleProperty({}, [](TPropertyInfo& p) {
      p.Name = "Skipped";
      p.Kind = TPropKind::Ignored;
    }),
};
constexpr TClassInfo kSampleClass{"TSample", kSampleProps};

std::string WrittenSample(const TSample& s) {
  TComponentWriter w;
  WriteProperties(w, kSampleClass, &s, nullptr);
  return w.Take();
}

TEST(PropertyTables, OnlyPropertiesThatDifferFromTheirDefaultsAreWrittenInTableOrder) {
  EXPECT_EQ(WrittenSample(TSample{}), "");

  TSample s;
  s.Count = 300;
  s.Visible = true;
  s.Shade = shDark;
  s.Flags = {flB, flC};
  s.Caption = "hi";
  s.Color = clRed;
  s.Charset = 204;
  s.Cursor = -21;
  s.Origin.X = -2;
  s.Origin.On = false;
  s.Points.resize(2);
  s.Points[0].X = 1;
  s.Wide = u"\u00E9";
  s.Legacy = 9;  // read-only: never written
  const std::string expected = Bytes(R"(
      "Count" 03 2C 01  "Visible" 09  "Shade" 07 "shDark"  "Flags" 0B "flB" "flC" 00  "Caption" 06 "hi"
      "Color" 07 "clRed"  "Charset" 07 "RUSSIAN_CHARSET"  "Cursor" 07 "crHandPoint"
      "Origin.X" 02 FE  "Origin.On" 08  "Points" 0E 01 "X" 02 01 00 01 00 00  "Wide" 12 01 00 00 00 E9 00)");
  const std::string bytes = WrittenSample(s);
  EXPECT_EQ(HexDump(bytes), HexDump(expected));

  TSample back;
  const std::string data = bytes + Bytes("00");
  TComponentReader r(data);
  ASSERT_TRUE(ReadProperties(r, kSampleClass, &back, nullptr)) << r.Error();
  EXPECT_TRUE(r.Problems().empty());
  EXPECT_EQ(back.Count, 300);
  EXPECT_TRUE(back.Visible);
  EXPECT_EQ(back.Shade, shDark);
  EXPECT_EQ(back.Flags, (TFlags{flB, flC}));
  EXPECT_EQ(back.Caption, "hi");
  EXPECT_EQ(back.Color, clRed);
  EXPECT_EQ(back.Charset, 204);
  EXPECT_EQ(back.Cursor, -21);
  EXPECT_EQ(back.Origin.X, -2);
  EXPECT_FALSE(back.Origin.On);
  ASSERT_EQ(back.Points.size(), 2u);
  EXPECT_EQ(back.Points[0].X, 1);
  EXPECT_EQ(back.Wide, u"\u00E9");
  EXPECT_EQ(back.Legacy, 0);
}

TEST(PropertyTables, ValuesWithoutANameAreWrittenAsIntegers) {
  const struct {
    const char* what;
    std::function<void(TSample&)> set;
    const char* bytes;
  } cases[] = {
      {"RGB colour", [](TSample& s) { s.Color = 0x123456; }, R"("Color" 04 56 34 12 00)"},
      {"system colour without a name, signed", [](TSample& s) { s.Color = 0xFF000019; }, R"("Color" 04 19 00 00 FF)"},
      {"charset", [](TSample& s) { s.Charset = 100; }, R"("Charset" 02 64)"},
      {"cursor", [](TSample& s) { s.Cursor = 101; }, R"("Cursor" 02 65)"},
      {"cursor written by its current name", [](TSample& s) { s.Cursor = -22; }, R"("Cursor" 07 "crSizeAll")"},
      {"charset only read by name", [](TSample& s) { s.Charset = 163; }, R"("Charset" 03 A3 00)"},
      {"empty set unlike its default", [](TSample& s) { s.Flags = {}; }, R"("Flags" 0B 00)"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    TSample s;
    t.set(s);
    EXPECT_EQ(HexDump(WrittenSample(s)), HexDump(Bytes(t.bytes)));
  }
}

TEST(PropertyTables, ReadingByNameReportsAndSkipsWhatDoesNotFit) {
  const struct {
    const char* what;
    const char* property;
    std::function<bool(const TSample&)> check;
    const char* problem;  // "" for none
  } cases[] = {
      {"names ignore case", R"("COUNT" 02 09)", [](auto& s) { return s.Count == 9; }, ""},
      {"value names ignore case", R"("Shade" 07 "SHDARK")", [](auto& s) { return s.Shade == shDark; }, ""},
      {"enumeration by number", R"("Shade" 02 02)", [](auto& s) { return s.Shade == shDeep; }, ""},
      {"colour by name", R"("Color" 07 "clWindowText")", [](auto& s) { return s.Color == clWindowText; }, ""},
      {"colour as signed number", R"("Color" 04 08 00 00 FF)", [](auto& s) { return s.Color == clWindowText; }, ""},
      {"colour as unsigned number", R"("Color" 13 08 00 00 FF 00 00 00 00)",
       [](auto& s) { return s.Color == clWindowText; }, ""},
      {"charset by number", R"("Charset" 02 00)", [](auto& s) { return s.Charset == 0; }, ""},
      {"charset by an alias", R"("Charset" 07 "VIETNAMESE_CHARSET")", [](auto& s) { return s.Charset == 163; }, ""},
      {"cursor by an old name", R"("Cursor" 07 "crSize")", [](auto& s) { return s.Cursor == -22; }, ""},
      {"dotted name", R"("Origin.On" 08)", [](auto& s) { return !s.Origin.On; }, ""},
      {"read-only name", R"("OldCount" 02 04)", [](auto& s) { return s.Legacy == 4; }, ""},
      {"ignored name", R"("Skipped" 01 02 01 00)", [](auto&) { return true; }, ""},
      {"string into a wide property", R"("Wide" 06 "ab")", [](auto& s) { return s.Wide == u"ab"; }, ""},
      {"unknown name", R"("Bogus" 02 01)", [](auto&) { return true; }, "unknown property \"Bogus\""},
      {"unknown nested name", R"("Origin.Bogus" 02 01)", [](auto&) { return true; },
       "unknown property \"Origin.Bogus\""},
      {"dotted name through a non-object", R"("Count.X" 02 01)", [](auto& s) { return s.Count == 5; },
       "unknown property"},
      {"object without a property", R"("Origin" 02 01)", [](auto&) { return true; }, "cannot hold a vaInt8"},
      {"integer beyond 32 bits", R"("Count" 13 00 00 00 00 01 00 00 00)", [](auto& s) { return s.Count == 5; },
       "value 4294967296 is out of range for property \"Count\""},
      {"charset beyond a byte", R"("Charset" 03 00 01)", [](auto& s) { return s.Charset == 1; }, "out of range"},
      {"cursor beyond 16 bits", R"("Cursor" 04 00 80 00 00)", [](auto& s) { return s.Cursor == 0; }, "out of range"},
      {"string for an integer", R"("Count" 06 "12")", [](auto& s) { return s.Count == 5; },
       "property \"Count\" cannot hold a vaString value"},
      {"integer for a Boolean", R"("Origin.On" 02 00)", [](auto& s) { return s.Origin.On; }, "cannot hold"},
      {"unknown value name", R"("Shade" 07 "shPurple")", [](auto& s) { return s.Shade == shLight; },
       "\"shPurple\" is not a value of property \"Shade\""},
      {"enumeration number without a name", R"("Shade" 02 07)", [](auto& s) { return s.Shade == shLight; },
       "7 is not a value"},
      {"unknown colour name", R"("Color" 07 "clPlaid")", [](auto& s) { return s.Color == clNone; }, "not a value"},
      {"unknown set element", R"("Flags" 0B "flB" "flZ" 00)", [](auto& s) { return s.Flags == TFlags{flB}; },
       "\"flZ\" is not an element of property \"Flags\""},
      {"integer for a collection", R"("Points" 02 01)", [](auto& s) { return s.Points.empty(); }, "cannot hold"},
      {"list for a string", R"("Caption" 01 06 "x" 00)", [](auto& s) { return s.Caption == "none"; },
       "cannot hold a vaList"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    // The property is followed by another, which must still be read.
    const std::string data = Bytes(t.property) + Bytes(R"("Visible" 09 00)");
    TComponentReader r(data);
    TSample s;
    ASSERT_TRUE(ReadProperties(r, kSampleClass, &s, nullptr)) << r.Error();
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(t.check(s));
    EXPECT_TRUE(s.Visible);
    if (*t.problem) {
      ASSERT_EQ(r.Problems().size(), 1u);
      EXPECT_NE(r.Problems()[0].find(t.problem), std::string::npos) << r.Problems()[0];
      EXPECT_EQ(r.Problems()[0].rfind("offset ", 0), 0u) << r.Problems()[0];
    } else {
      EXPECT_TRUE(r.Problems().empty()) << r.Problems()[0];
    }
  }
}

TEST(PropertyTables, CollectionsSkipOrderNumbersAndDropAnItemCutShort) {
  TSample s;
  s.Points.resize(3);  // replaced by what is read
  const std::string data = Bytes(R"("Points" 0E 02 00 01 "X" 02 03 00 03 01 00 01 00 01 "X" 02)");
  TComponentReader r(data);
  EXPECT_FALSE(ReadProperties(r, kSampleClass, &s, nullptr));
  EXPECT_NE(r.Error().find("unexpected end of data"), std::string::npos);
  ASSERT_EQ(s.Points.size(), 2u);
  EXPECT_EQ(s.Points[0].X, 3);
  EXPECT_EQ(s.Points[1].X, 0);
}

TEST(PropertyTables, ObjectsAndProblemsAreBounded) {
  TComponentReaderLimits limits;
  limits.MaxObjects = 2;
  limits.MaxProblems = 3;
  TSample s;
  const std::string data = Bytes(R"("A" 08 "B" 08 "C" 08 "D" 08 "E" 08 "Points" 0E 01 00 01 00 01 00 00 00)");
  TComponentReader r(data, limits);
  EXPECT_FALSE(ReadProperties(r, kSampleClass, &s, nullptr));
  EXPECT_NE(r.Error().find("more than 2 objects"), std::string::npos) << r.Error();
  EXPECT_EQ(s.Points.size(), 2u);
  ASSERT_EQ(r.Problems().size(), 4u);
  EXPECT_EQ(r.Problems()[3], "more problems follow; they are not listed");
}

TEST(IdentTables, NamesAndValues) {
  const struct {
    TIdentTable table;
    const char* name;
    std::int64_t value;
  } cases[] = {
      {ColorIdents(), "clWindowText", 0xFF000008},
      {ColorIdents(), "clNone", 0x1FFFFFFF},
      {ColorIdents(), "clDefault", 0x20000000},
      {ColorIdents(), "clRed", 0x0000FF},
      {ColorIdents(), "clMoneyGreen", 0xC0DCC0},
      {ColorIdents(), "clMenuBar", 0xFF00001E},
      {CharsetIdents(), "DEFAULT_CHARSET", 1},
      {CharsetIdents(), "OEM_CHARSET", 255},
      {CursorIdents(), "crHandPoint", -21},
      {CursorIdents(), "crNone", -1},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.name);
    const TIdent* byName = FindIdent(t.table, t.name);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->Value, t.value);
    const TIdent* byValue = FindIdentOf(t.table, t.value);
    ASSERT_NE(byValue, nullptr);
    EXPECT_EQ(byValue->Name, t.name);
  }
  EXPECT_EQ(FindIdentOf(ColorIdents(), 0x123456), nullptr);
}

}  // namespace
}  // namespace pagora
