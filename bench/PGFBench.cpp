// Saving and loading documents in the native format: throughput of 1 to 10 MB documents
// in text and binary form, and documents with many list markers.
#include <benchmark/benchmark.h>

#include <string>

#include "model/CPGData.h"
#include "model/MarkerList.h"
#include "model/PGFFormat.h"
#include "model/PGStyle.h"
#include "platform/TextEncoding.h"

namespace pagora {
namespace {

struct Fixture {
  explicit Fixture(bool binary) {
    settings.Style = &sheet;
    settings.PGFOptions = {pgfoSaveTextStyles, pgfoSaveParaStyles};
    if (binary) settings.PGFOptions.Include(pgfoSaveBinary);
    TFontInfo& u = sheet.TextStyles.Add();
    u.Assign(sheet.TextStyles[0]);
    u.Unicode = true;
  }
  TPGStyle sheet;
  TPGDocumentSettings settings;
};

// Paragraphs of 100 characters; a style change every other paragraph, so that records
// hold one or a few lines as in real documents; half of them Unicode.
void Build(TCustomPGData& doc, int megabytes) {
  const int paragraphs = megabytes * 10000;
  std::string p8(100, 'x');
  std::u16string pw(100, u'ж');
  for (int i = 0; i < paragraphs; ++i) {
    for (int k = 0; k < 100; k += 7) p8[static_cast<std::size_t>(k)] = static_cast<char>('a' + (i + k) % 26);
    if (i % 2 == 0) doc.AppendText(p8, i % 4 == 0 ? 0 : 1, 0);
    else doc.AppendTextUTF16(pw, 6, 0);
  }
}

void BM_SavePGF(benchmark::State& state, bool binary) {
  Fixture f(binary);
  TCustomPGData doc(&f.settings);
  Build(doc, static_cast<int>(state.range(0)));
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string out;
    if (!SavePGFToStream(doc, out)) state.SkipWithError("save failed");
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK_CAPTURE(BM_SavePGF, text, false)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SavePGF, binary, true)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_LoadPGF(benchmark::State& state, bool binary) {
  Fixture f(binary);
  std::string data;
  {
    TCustomPGData doc(&f.settings);
    Build(doc, static_cast<int>(state.range(0)));
    if (!SavePGFToStream(doc, data)) state.SkipWithError("save failed");
  }
  for (auto _ : state) {
    TCustomPGData doc(&f.settings);
    std::string error;
    if (!LoadPGFFromStream(doc, data, nullptr, nullptr, nullptr, &error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(doc.CountItems());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(data.size()));
}
BENCHMARK_CAPTURE(BM_LoadPGF, text, false)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadPGF, binary, true)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

// A numbered list of n paragraphs in three levels.
void BuildList(TCustomPGData& doc, TPGStyle& sheet, int n) {
  TPGListInfo& list = sheet.ListStyles.Add();
  for (int l = 0; l < 3; ++l) {
    TPGListLevel& level = list.AddLevel();
    level.ListType = l == 1 ? pglstLowerAlpha : pglstDecimal;
    level.FormatString = l == 0 ? "%0:s." : l == 1 ? "%0:s.%1:s" : "%0:s.%1:s.%2:s";
  }
  for (int i = 0; i < n; ++i) {
    doc.ApplyListToPara(-1, 0, (i % 7) % 3, 1, false, 0);
    doc.AppendText("list paragraph", 0, -1);
  }
}

void BM_LoadMarkers(benchmark::State& state) {
  Fixture f(true);
  std::string data;
  {
    TCustomPGData doc(&f.settings);
    BuildList(doc, f.sheet, static_cast<int>(state.range(0)));
    if (!SavePGFToStream(doc, data)) state.SkipWithError("save failed");
  }
  for (auto _ : state) {
    TCustomPGData doc(&f.settings);
    if (!LoadPGFFromStream(doc, data)) state.SkipWithError("load failed");
    if (!doc.GetMarkerList() || doc.GetMarkerList()->Count() != state.range(0)) state.SkipWithError("markers lost");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadMarkers)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveMarkers(benchmark::State& state) {
  Fixture f(true);
  TCustomPGData doc(&f.settings);
  BuildList(doc, f.sheet, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string out;
    if (!SavePGFToStream(doc, out)) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveMarkers)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pagora
