#include "platform/CodePages.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace pagora {

namespace {

struct CompositionEntry {
  char16_t Base, Mark, Composed;
};
struct MarkRange {
  char16_t First, Last;
};
#include "platform/UnicodeTables.inc"

TPGCodePage g_ansiCodePage = 1252;

// A bit per BMP character: this is asked for every character of text being saved.
const std::bitset<0x10000> kMarkBits = [] {
  std::bitset<0x10000> bits;
  for (const MarkRange& r : kNonSpacingMarks)
    for (unsigned u = r.First; u <= r.Last; ++u) bits.set(u);
  return bits;
}();

inline bool IsMark(char16_t c) noexcept { return c >= 0x0300 && kMarkBits[c]; }

std::string IconvName(TPGCodePage cp) {
  switch (cp) {
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 65001: return "UTF-8";
    case 20932: return "EUC-JP";
    case 51932: return "EUC-JP";
    case 51949: return "EUC-KR";
    case 52936: return "HZ";
    case 50220: return "ISO-2022-JP";
    case 54936: return "GB18030";
    default: break;
  }
  if (cp >= 28591 && cp <= 28606) return "ISO-8859-" + std::to_string(cp - 28590);
  return "CP" + std::to_string(cp);
}

// RAII for an iconv descriptor.
class Iconv {
public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() { if (ok()) iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  [[nodiscard]] bool ok() const noexcept { return cd_ != reinterpret_cast<iconv_t>(-1); }
  void reset() noexcept { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }
  void flush(char*& out, std::size_t& outLeft) noexcept { iconv(cd_, nullptr, nullptr, &out, &outLeft); }
  // Converts as much as it can; returns iconv's result and errno-style status.
  int convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) noexcept {
    char* inp = const_cast<char*>(in);
    const std::size_t r = iconv(cd_, &inp, &inLeft, &out, &outLeft);
    in = inp;
    return r == static_cast<std::size_t>(-1) ? errno : 0;
  }

private:
  iconv_t cd_;
};

// One code page's converter. Single-byte code pages are turned into two tables once,
// so that converting is a table lookup per character; multi-byte ones go through iconv.
class CodePageConverter {
public:
  explicit CodePageConverter(TPGCodePage cp) : name_(IconvName(cp)) {
    Iconv probe("UTF-16LE", name_.c_str());
    if (!probe.ok()) return;
    available_ = true;
    singleByte_ = BuildTables(probe);
  }

  [[nodiscard]] bool available() const noexcept { return available_; }

  std::u16string Decode(std::string_view bytes) const {
    std::u16string out;
    if (singleByte_) {
      out.resize(bytes.size());
      for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = toUnicode_[static_cast<unsigned char>(bytes[i])];
      return out;
    }
    Iconv cd("UTF-16LE", name_.c_str());
    out.reserve(bytes.size());
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    std::array<char16_t, 1024> buf;
    while (inLeft > 0) {
      char* o = reinterpret_cast<char*>(buf.data());
      std::size_t oLeft = sizeof(buf);
      const int err = cd.convert(in, inLeft, o, oLeft);
      out.append(buf.data(), (sizeof(buf) - oLeft) / 2);
      if (err == E2BIG) continue;
      if (err == EILSEQ || err == EINVAL) {  // invalid or truncated sequence: one "?" a byte
        out.push_back(u'?');
        ++in;
        --inLeft;
        cd.reset();
      } else if (err != 0) {
        break;
      }
    }
    return out;
  }

  std::string Encode(std::u16string_view text, bool& lossy) const {
    if (singleByte_) return EncodeSingleByte(text, lossy);
    return EncodeGeneral(text, lossy);
  }

  // Any code page, composing base characters with the marks that follow them.
  std::string EncodeGeneral(std::u16string_view text, bool& lossy) const {
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::unique_ptr<Iconv> cd;
    if (!singleByte_) cd = std::make_unique<Iconv>(name_.c_str(), "UTF-16LE");
    while (i < n) {
      char16_t c = text[i];
      std::size_t units = 1;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) units = 2;
      // Compose with the marks that follow while the code page holds the result.
      std::size_t next = i + units;
      if (units == 1) {
        while (next < n && IsNonSpacingMark(text[next])) {
          const char16_t composed = ComposeCharacters(c, text[next]);
          if (composed == 0 || !CanEncode(cd.get(), composed)) break;
          c = composed;
          ++next;
        }
      }
      if (units == 1 ? EncodeOne(cd.get(), c, out) : EncodeUnits(cd.get(), text.substr(i, 2), out)) {
        // done
      } else if (units == 1 && IsNonSpacingMark(c) && !out.empty()) {
        lossy = true;  // a mark that fits nowhere is dropped
      } else {
        out.push_back('?');
        lossy = true;
      }
      i = next;
      // Marks that could not be composed are kept when the code page has them, else dropped.
      while (i < n && IsNonSpacingMark(text[i])) {
        if (!EncodeOne(cd.get(), text[i], out)) lossy = true;
        ++i;
      }
    }
    return out;
  }

private:
  // The common case of single-byte code pages: one table lookup per character, with the
  // general path only for characters followed by combining marks.
  std::string EncodeSingleByte(std::u16string_view text, bool& lossy) const {
    std::string out(text.size(), '\0');
    // Locals, because stores through char* could otherwise alias the tables.
    char* dst = out.data();
    const char16_t* src = text.data();
    const std::int16_t* table = fromUnicode_.data();
    std::size_t o = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
      const char16_t c = src[i];
      if (i + 1 < n && IsMark(src[i + 1])) {
        std::size_t end = i + 1;
        while (end < n && IsMark(src[end])) ++end;
        for (char b : EncodeGeneral(text.substr(i, end - i), lossy)) dst[o++] = b;
        i = end - 1;
        continue;
      }
      const std::int16_t b = table[c];
      if (b >= 0) {
        dst[o++] = static_cast<char>(b);
        continue;
      }
      lossy = true;
      if (IsMark(c) && o > 0) continue;  // a mark that fits nowhere is dropped
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) ++i;
      dst[o++] = '?';
    }
    out.resize(o);
    return out;
  }

  bool BuildTables(Iconv& cd) {
    std::array<bool, 256> defined{};
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      const char* in = &byte;
      std::size_t inLeft = 1;
      char16_t u[4];
      char* o = reinterpret_cast<char*>(u);
      std::size_t oLeft = sizeof(u);
      cd.reset();
      const int err = cd.convert(in, inLeft, o, oLeft);
      if (err == EINVAL) return false;  // a lead byte: the code page is multi-byte
      const std::size_t produced = (sizeof(u) - oLeft) / 2;
      if (err == 0 && produced == 0) cd.flush(o, oLeft);  // a stateful converter holds the byte back
      const std::size_t got = (sizeof(u) - oLeft) / 2;
      defined[b] = err == 0 && got == 1;
      toUnicode_[b] = defined[b] ? u[0] : static_cast<char16_t>(b);
    }
    fromUnicode_.assign(0x10000, -1);
    // A character the code page defines keeps its own byte even where an undefined byte
    // stands for the same number (so in 857 "Õ" stays 0xE5, not 0xD5). Among defined
    // bytes the lower wins, so ASCII keeps its place when a code page repeats a character.
    for (int pass = 0; pass < 2; ++pass)
      for (int b = 255; b >= 0; --b)
        if (defined[b] == (pass == 1)) fromUnicode_[toUnicode_[b]] = static_cast<std::int16_t>(b);
    return true;
  }

  bool CanEncode(Iconv* cd, char16_t c) const {
    if (singleByte_) return fromUnicode_[c] >= 0;
    std::string scratch;
    return EncodeOne(cd, c, scratch);
  }

  bool EncodeOne(Iconv* cd, char16_t c, std::string& out) const {
    return EncodeUnits(cd, std::u16string_view(&c, 1), out);
  }

  // One character: a code unit, or a surrogate pair (which only multi-byte code pages,
  // such as UTF-8 and GB18030, can hold).
  bool EncodeUnits(Iconv* cd, std::u16string_view units, std::string& out) const {
    if (singleByte_) {
      if (units.size() != 1) return false;
      const std::int16_t b = fromUnicode_[units[0]];
      if (b < 0) return false;
      out.push_back(static_cast<char>(b));
      return true;
    }
    if (units.size() == 1 && units[0] >= 0xD800 && units[0] <= 0xDFFF) return false;
    const char* in = reinterpret_cast<const char*>(units.data());
    std::size_t inLeft = units.size() * 2;
    char buf[16];
    char* o = buf;
    std::size_t oLeft = sizeof(buf);
    cd->reset();
    if (cd->convert(in, inLeft, o, oLeft) != 0) {
      cd->reset();
      return false;
    }
    // Each character starts from the initial shift state (see reset), so a stateful code
    // page must also return to it, or the next character is read in the wrong state.
    cd->flush(o, oLeft);
    out.append(buf, sizeof(buf) - oLeft);
    return true;
  }

  std::string name_;
  bool available_ = false;
  bool singleByte_ = false;
  std::array<char16_t, 256> toUnicode_{};
  std::vector<std::int16_t> fromUnicode_;
};

const CodePageConverter& ConverterFor(TPGCodePage cp) {
  static std::mutex mutex;
  static std::map<TPGCodePage, std::unique_ptr<CodePageConverter>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto& slot = cache[cp];
  if (!slot) slot = std::make_unique<CodePageConverter>(cp);
  return *slot;
}

// The converter for a code page, or the ANSI code page's (and at last 1252's) when the
// code page cannot be converted here.
const CodePageConverter& UsableConverter(TPGCodePage codePage) {
  const CodePageConverter& c = ConverterFor(ResolveCodePage(codePage));
  if (c.available()) return c;
  const CodePageConverter& ansi = ConverterFor(g_ansiCodePage);
  if (ansi.available()) return ansi;
  return ConverterFor(1252);
}

}  // namespace

void SetSystemAnsiCodePage(TPGCodePage codePage) noexcept {
  if (codePage > 3) g_ansiCodePage = codePage;
}

TPGCodePage SystemAnsiCodePage() noexcept { return g_ansiCodePage; }

TPGCodePage ResolveCodePage(TPGCodePage codePage) noexcept {
  switch (codePage) {
    case CP_ACP:
    case 3: return g_ansiCodePage;
    case CP_OEMCP: return 437;
    case CP_MACCP: return 10000;
    default: return codePage;
  }
}

bool IsCodePageAvailable(TPGCodePage codePage) {
  return ConverterFor(ResolveCodePage(codePage)).available();
}

std::u16string CodePageToUTF16(TPGCodePage codePage, std::string_view bytes) {
  return UsableConverter(codePage).Decode(bytes);
}

std::string UTF16ToCodePage(TPGCodePage codePage, std::u16string_view text, bool* lossy) {
  bool lost = false;
  std::string out = UsableConverter(codePage).Encode(text, lost);
  if (lossy) *lossy = lost;
  return out;
}

char16_t ComposeCharacters(char16_t base, char16_t mark) noexcept {
  const CompositionEntry key{base, mark, 0};
  const auto* end = std::end(kCompositions);
  const auto* it = std::lower_bound(std::begin(kCompositions), end, key, [](const CompositionEntry& a, const CompositionEntry& b) {
    return a.Base != b.Base ? a.Base < b.Base : a.Mark < b.Mark;
  });
  return (it != end && it->Base == base && it->Mark == mark) ? it->Composed : 0;
}

bool IsNonSpacingMark(char16_t c) noexcept { return IsMark(c); }

}  // namespace pagora
