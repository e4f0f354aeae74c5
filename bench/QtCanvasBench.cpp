// Text measurement on the Qt canvas: what formatting pays per run and per font change.
#include <benchmark/benchmark.h>

#include <QImage>

#include <string>
#include <vector>

#include "qt/QtCanvas.h"

namespace pagora {
namespace {

// 100 characters of ordinary prose.
const std::u16string kRun =
    u"Formatting measures every run of text it places, and prefix widths tell it where to break the lines.";
const std::u16string kArabicRun =
    u"مرحبا بالعالم، هذا نص عربي طويل بما يكفي لقياس العرض عند كل موضع في السطر الواحد من الفقرة الأولى هنا";

TFontSpec Spec(const char* name, int px) {
  TFontSpec f;
  f.Name = name;
  f.PixelSize = px;
  return f;
}

struct TMeasuring {
  QImage Device{16, 16, QImage::Format_ARGB32_Premultiplied};
  TQtCanvas Canvas{Device};
  TMeasuring() { Canvas.SetFont(Spec("Arial", 13)); }
};

void BM_TextExtent(benchmark::State& state) {
  TMeasuring m;
  for (auto _ : state) benchmark::DoNotOptimize(m.Canvas.TextExtent(kRun));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRun.size()));
}
BENCHMARK(BM_TextExtent);

void BM_PrefixWidths(benchmark::State& state) {
  TMeasuring m;
  std::vector<int> widths(kRun.size());
  for (auto _ : state) {
    m.Canvas.PrefixWidths(kRun, widths);
    benchmark::DoNotOptimize(widths.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRun.size()));
}
BENCHMARK(BM_PrefixWidths);

// The generic way, one extent per prefix, for comparison.
void BM_PrefixWidthsByExtents(benchmark::State& state) {
  TMeasuring m;
  std::vector<int> widths(kRun.size());
  for (auto _ : state) {
    m.Canvas.ICanvas::PrefixWidths(kRun, widths);
    benchmark::DoNotOptimize(widths.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRun.size()));
}
BENCHMARK(BM_PrefixWidthsByExtents);

// A script whose glyphs depend on their neighbours measures every prefix.
void BM_PrefixWidthsArabic(benchmark::State& state) {
  TMeasuring m;
  std::vector<int> widths(kArabicRun.size());
  for (auto _ : state) {
    m.Canvas.PrefixWidths(kArabicRun, widths);
    benchmark::DoNotOptimize(widths.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kArabicRun.size()));
}
BENCHMARK(BM_PrefixWidthsArabic);

// Two selections and metrics per iteration, both fonts in the cache.
void BM_SelectCachedFont(benchmark::State& state) {
  TMeasuring m;
  const TFontSpec a = Spec("Arial", 13);
  TFontSpec b = Spec("Times New Roman", 16);
  b.Weight = FW_BOLD;
  TTextMetrics tm;
  for (auto _ : state) {
    m.Canvas.SetFont(a);
    m.Canvas.GetTextMetrics(tm);
    m.Canvas.SetFont(b);
    m.Canvas.GetTextMetrics(tm);
    benchmark::DoNotOptimize(tm);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_SelectCachedFont);

// What a miss costs: the font is built again each time.
void BM_SelectUncachedFont(benchmark::State& state) {
  QImage device(16, 16, QImage::Format_ARGB32_Premultiplied);
  TQtFontCache cache;
  const TFontSpec a = Spec("Arial", 13);
  for (auto _ : state) {
    cache.Clear();
    benchmark::DoNotOptimize(cache.Get(a, 0, device));
  }
}
BENCHMARK(BM_SelectUncachedFont);

}  // namespace
}  // namespace pagora
