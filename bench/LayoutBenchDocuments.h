// The documents the layout benchmarks format: paragraphs of 100 characters of prose, in
// one run or in runs of 20 characters that alternate between two styles, left-aligned or
// justified.
#pragma once

#include <string>

#include "model/CPGData.h"
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

}  // namespace pagora::bench
