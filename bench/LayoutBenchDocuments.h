// The documents the layout benchmarks format: paragraphs of 100 characters of prose, in
// one run or in runs of 20 characters that alternate between two styles, left-aligned or
// justified.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "layout/CPGFData.h"
#include "model/PGStyle.h"

namespace pagora::bench {

inline constexpr int kParagraphChars = 100;
inline constexpr int kStyleRunChars = 20;
inline constexpr int kAreaWidth = 600;

enum class TBenchText { Plain, Styled, Justified };

inline const char* Name(TBenchText t) {
  switch (t) {
    case TBenchText::Plain: return "plain";
    case TBenchText::Styled: return "styled";
    case TBenchText::Justified: return "justified";
  }
  return "";
}

// 100 characters of words, varied by paragraph so that no two lines are alike.
inline std::string BenchParagraph(int i) {
  static const char words[] =
      "the quick brown fox jumps over a lazy dog while the bakers count their loaves and sing ";
  std::string p;
  p.reserve(kParagraphChars);
  for (int k = 0; static_cast<int>(p.size()) < kParagraphChars; ++k)
    p.push_back(words[static_cast<std::size_t>(i * 7 + k) % (sizeof words - 1)]);
  return p;
}

// The sheet: style 0 for the text, style 1 (bold) for the alternate runs, paragraph style 0
// left-aligned and 1 justified.
inline void SetUpBenchSheet(TPGStyle& sheet) {
  sheet.TextStyles[1].Assign(sheet.TextStyles[0]);
  sheet.TextStyles[1].Style.Include(fsBold);
  sheet.ParaStyles[1].Assign(sheet.ParaStyles[0]);
  sheet.ParaStyles[1].Alignment = pgaJustify;
}

inline void FillBenchDocument(TCustomPGData& doc, TBenchText kind, int paragraphs) {
  const int para = kind == TBenchText::Justified ? 1 : 0;
  for (int i = 0; i < paragraphs; ++i) {
    const std::string p = BenchParagraph(i);
    if (kind != TBenchText::Styled) {
      doc.AppendText(p, 0, para);
      continue;
    }
    for (int k = 0; k < kParagraphChars; k += kStyleRunChars)
      doc.AppendText(p.substr(static_cast<std::size_t>(k), kStyleRunChars), (k / kStyleRunChars) % 2,
                     k == 0 ? para : -1);
  }
}

// One typed character and its reformat, then the character taken back out (so the
// paragraph keeps its length); each counts as a keystroke, timed alone. state.range(0):
// 0 start, 1 middle, 2 end of the formatted document. Reports the median and the 99th
// percentile.
inline void TimeKeystrokes(benchmark::State& state, TCustomPGFormattedData& doc) {
  const int count = doc.CountItems();
  const int at = state.range(0) == 0 ? 0 : state.range(0) == 1 ? count / 2 : count - 1;
  const std::string original = doc.TextOf(at);
  std::string typed = original;
  typed.insert(typed.begin() + 37, 'x');
  std::vector<double> times;
  bool inserted = false;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    inserted = !inserted;
    doc.SetTextOf(at, inserted ? typed : original);
    doc.FormatParagraphs(at, at);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    times.push_back(seconds);
  }
  std::sort(times.begin(), times.end());
  auto percentile = [&](double p) { return times[static_cast<std::size_t>(p * static_cast<double>(times.size() - 1))]; };
  state.counters["median_us"] = percentile(0.5) * 1e6;
  state.counters["p99_us"] = percentile(0.99) * 1e6;
  state.SetLabel(state.range(0) == 0 ? "start" : state.range(0) == 1 ? "middle" : "end");
}

}  // namespace pagora::bench
