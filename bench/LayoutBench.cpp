// Formatting on the fake canvas (fixed character widths, so the figures are the engine's
// own cost): full formats of 1, 3 and 10 MB, the reformat after one keystroke at the start,
// the middle and the end of a 100,000-paragraph document, and the memory of the layout.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "LayoutBenchDocuments.h"
#include "layout/CPGFData.h"
#include "support/FakeCanvas.h"

namespace pagora::bench {
namespace {

std::size_t HeapInUse() { return mallinfo2().uordblks; }

struct TBenchDocument {
  explicit TBenchDocument(TBenchText kind, int paragraphs) {
    SetUpBenchSheet(sheet);
    settings.Style = &sheet;
    doc.Canvas = &canvas;
    doc.Layout.AreaWidth = kAreaWidth;
    doc.Layout.OwnerFlags = TPGOwnerFlags{pgofTrimSpaceAtWrap, pgofEditor, pgofRoot};
    FillBenchDocument(doc, kind, paragraphs);
  }
  TPGStyle sheet;
  TPGDocumentSettings settings;
  test::FakeCanvas canvas;
  TCustomPGFormattedData doc{&settings};
};

// Arguments: megabytes of text, kind of text.
void BM_FullFormat(benchmark::State& state) {
  const int paragraphs = static_cast<int>(state.range(0)) * 1000000 / kParagraphChars;
  const auto kind = static_cast<TBenchText>(state.range(1));
  TBenchDocument b(kind, paragraphs);
  std::size_t layoutBytes = 0;
  for (auto _ : state) {
    b.doc.ClearFormatting();
    const std::size_t before = HeapInUse();
    b.doc.Format();
    layoutBytes = HeapInUse() - before;
    benchmark::DoNotOptimize(b.doc.DocumentHeight());
  }
  const double chars = static_cast<double>(paragraphs) * kParagraphChars;
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * chars));
  state.counters["layout_bytes_per_char"] = static_cast<double>(layoutBytes) / chars;
  state.counters["draw_items_per_char"] = b.doc.DrawItemCount() / chars;
  state.SetLabel(Name(kind));
}
BENCHMARK(BM_FullFormat)
    ->ArgsProduct({{1, 3, 10}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One paragraph of one text item, as a text file without line ends becomes: the cost must
// grow with its length, not with its square. Argument: characters.
void BM_OneLongItem(benchmark::State& state) {
  TBenchDocument b(TBenchText::Plain, 0);
  std::string text;
  for (int i = 0; static_cast<std::int64_t>(text.size()) < state.range(0); ++i) text += BenchParagraph(i) + " ";
  text.resize(static_cast<std::size_t>(state.range(0)));
  b.doc.AppendText(text, 0, 0);
  for (auto _ : state) {
    b.doc.ClearFormatting();
    b.doc.Format();
    benchmark::DoNotOptimize(b.doc.DocumentHeight());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OneLongItem)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);

// Keystrokes in a 100,000-paragraph document (see TimeKeystrokes).
void BM_Keystroke(benchmark::State& state) {
  TBenchDocument b(TBenchText::Plain, 100000);
  b.doc.Format();
  TimeKeystrokes(state, b.doc);
}
BENCHMARK(BM_Keystroke)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A keystroke that adds a line: the paragraph grows by a line and everything after it
// moves down.
void BM_KeystrokeNewLine(benchmark::State& state) {
  TBenchDocument b(TBenchText::Plain, 100000);
  b.doc.Format();
  const int at = state.range(0) == 0 ? 0 : b.doc.CountItems() - 1;
  const std::string original = b.doc.TextOf(at);
  const std::string longer = original + original;
  bool grown = false;
  for (auto _ : state) {
    grown = !grown;
    b.doc.SetTextOf(at, grown ? longer : original);
    b.doc.FormatParagraphs(at, at);
  }
  state.SetLabel(state.range(0) == 0 ? "start" : "end");
}
BENCHMARK(BM_KeystrokeNewLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Enter in the middle of a paragraph, then the two halves joined again: the paragraph
// count changes, and every later paragraph moves. Argument: 0 start, 1 middle, 2 end.
void BM_EnterAndJoin(benchmark::State& state) {
  TBenchDocument b(TBenchText::Plain, 100000);
  b.doc.Format();
  const int count = b.doc.CountItems();
  const int at = state.range(0) == 0 ? 0 : state.range(0) == 1 ? count / 2 : count - 1;
  const std::string original = b.doc.TextOf(at);
  bool split = false;
  for (auto _ : state) {
    split = !split;
    if (split) {
      b.doc.SetTextOf(at, original.substr(0, 50));
      auto second = CreateItem(0, &b.doc);
      second->ParaNo = 0;
      b.doc.InsertItemAt(at + 1, original.substr(50), std::move(second));
      b.doc.FormatParagraphs(at, at + 1);
    } else {
      b.doc.RemoveItems(at + 1, 1);
      b.doc.SetTextOf(at, original);
      b.doc.FormatParagraphs(at, at);
    }
  }
  state.SetLabel(state.range(0) == 0 ? "start" : state.range(0) == 1 ? "middle" : "end");
}
BENCHMARK(BM_EnterAndJoin)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pagora::bench
