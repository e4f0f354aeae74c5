// Building, loading and saving large plain-text documents: throughput, and the memory a
// document takes per character of text.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "model/CPGData.h"
#include "model/PGStyle.h"
#include "model/PlainText.h"
#include "platform/TextEncoding.h"

namespace pagora {
namespace {

constexpr int kParagraphs = 100000;
constexpr int kParagraphChars = 100;

// 100 printable characters, varied so that no converter finds a shortcut.
std::string Paragraph8(int i) {
  std::string p;
  p.reserve(kParagraphChars);
  static const char words[] = "the quick brown fox jumps over a lazy dog while caf\xE9 owners count ";
  for (int k = 0; static_cast<int>(p.size()) < kParagraphChars; ++k) p.push_back(words[(i + k) % (sizeof words - 1)]);
  return p;
}

std::u16string ParagraphW(int i) {
  std::u16string p;
  static const char16_t words[] = u"быстрая лиса прыгает через ленивую собаку, 日本語のテキスト too ";
  for (int k = 0; static_cast<int>(p.size()) < kParagraphChars; ++k) p.push_back(words[(i + k) % (std::size(words) - 1)]);
  return p;
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

struct Fixture {
  Fixture() {
    settings.Style = &sheet;
    TFontInfo& u = sheet.TextStyles.Add();  // style 6: Unicode
    u.Assign(sheet.TextStyles[0]);
    u.Unicode = true;
  }
  TPGStyle sheet;
  TPGDocumentSettings settings;
};

void BM_BuildByAppending8(benchmark::State& state) {
  Fixture f;
  std::size_t perChar = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    TCustomPGData doc(&f.settings);
    for (int i = 0; i < kParagraphs; ++i) doc.AppendText(Paragraph8(i), 0, 0);
    perChar = (HeapInUse() - before) * 100 / (static_cast<std::size_t>(kParagraphs) * kParagraphChars);
    benchmark::DoNotOptimize(doc.CountItems());
  }
  state.SetBytesProcessed(state.iterations() * kParagraphs * kParagraphChars);
  state.counters["heap_bytes_per_char"] = static_cast<double>(perChar) / 100.0;
}
BENCHMARK(BM_BuildByAppending8)->Unit(benchmark::kMillisecond);

void BM_BuildByAppendingUnicode(benchmark::State& state) {
  Fixture f;
  std::size_t perChar = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    TCustomPGData doc(&f.settings);
    for (int i = 0; i < kParagraphs; ++i) doc.AppendTextUTF16(ParagraphW(i), 6, 0);
    perChar = (HeapInUse() - before) * 100 / (static_cast<std::size_t>(kParagraphs) * kParagraphChars);
    benchmark::DoNotOptimize(doc.CountItems());
  }
  state.SetBytesProcessed(state.iterations() * kParagraphs * kParagraphChars * 2);
  state.counters["heap_bytes_per_char"] = static_cast<double>(perChar) / 100.0;
}
BENCHMARK(BM_BuildByAppendingUnicode)->Unit(benchmark::kMillisecond);

enum class Kind { EightBit, UTF16, UTF8 };

std::string TextFile(Kind kind, int paragraphs) {
  std::string out;
  if (kind == Kind::EightBit) {
    for (int i = 0; i < paragraphs; ++i) out += Paragraph8(i) + "\r\n";
    return out;
  }
  std::u16string w;
  for (int i = 0; i < paragraphs; ++i) w += ParagraphW(i) + u"\r\n";
  return kind == Kind::UTF16 ? "\xFF\xFE" + BytesFromU16(w) : UTF16ToUTF8(w);
}

void BM_LoadText(benchmark::State& state, Kind kind, int textStyle) {
  Fixture f;
  const std::string file = TextFile(kind, kParagraphs);
  TPGTextReadOptions o;
  o.TextStyle = textStyle;
  std::size_t perChar = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    TCustomPGData doc(&f.settings);
    bool ok = false;
    switch (kind) {
      case Kind::EightBit: ok = ReadPlainText8(doc, file, o); break;
      case Kind::UTF16: ok = ReadPlainTextUTF16(doc, file, o); break;
      case Kind::UTF8: ok = ReadPlainTextUTF8(doc, file, o); break;
    }
    perChar = (HeapInUse() - before) * 100 / (static_cast<std::size_t>(kParagraphs) * kParagraphChars);
    if (!ok || doc.CountItems() != kParagraphs) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
  state.counters["heap_bytes_per_char"] = static_cast<double>(perChar) / 100.0;
}
BENCHMARK_CAPTURE(BM_LoadText, eight_bit_into_8bit_style, Kind::EightBit, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadText, eight_bit_into_unicode_style, Kind::EightBit, 6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadText, utf16, Kind::UTF16, 6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadText, utf8, Kind::UTF8, 6)->Unit(benchmark::kMillisecond);

void BM_SaveText(benchmark::State& state, Kind loadAs, TPGTextEncoding saveAs, int textStyle) {
  Fixture f;
  TCustomPGData doc(&f.settings);
  TPGTextReadOptions ro;
  ro.TextStyle = textStyle;
  const std::string file = TextFile(loadAs, kParagraphs);
  const bool loaded = loadAs == Kind::EightBit ? ReadPlainText8(doc, file, ro) : ReadPlainTextUTF16(doc, file, ro);
  if (!loaded) state.SkipWithError("load failed");
  TPGTextWriteOptions o;
  o.Encoding = saveAs;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string out;
    out.reserve(file.size() * 2);
    if (!WritePlainText(doc, out, o)) state.SkipWithError("save failed");
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK_CAPTURE(BM_SaveText, eight_bit, Kind::EightBit, TPGTextEncoding::EightBit, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveText, unicode_as_eight_bit, Kind::UTF16, TPGTextEncoding::EightBit, 6)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveText, utf16, Kind::UTF16, TPGTextEncoding::UTF16, 6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SaveText, utf8, Kind::UTF16, TPGTextEncoding::UTF8, 6)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pagora
