// Formatting on the Qt canvas (real fonts, offscreen): full formats of 1, 3 and 10 MB, and
// the same plain text laid out by QTextDocument at the same width and font in the same run,
// reported as the ratio of the two times.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>

#include <chrono>

#include "LayoutBenchDocuments.h"
#include "layout/CPGFData.h"
#include "qt/QtCanvas.h"

namespace pagora::bench {
namespace {

QImage ScreenDevice() {
  QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
  device.setDotsPerMeterX(3780);  // 96 pixels per inch
  device.setDotsPerMeterY(3780);
  return device;
}

struct TQtBenchDocument {
  TQtBenchDocument(TBenchText kind, int paragraphs) : kind(kind), paragraphs(paragraphs) {
    SetUpBenchSheet(sheet);
    settings.Style = &sheet;
    doc.Canvas = &canvas;
    doc.Layout.AreaWidth = kAreaWidth;
    doc.Layout.OwnerFlags = TPGOwnerFlags{pgofTrimSpaceAtWrap, pgofEditor, pgofRoot};
    FillBenchDocument(doc, kind, paragraphs);
  }
  TBenchText kind;
  int paragraphs;
  TPGStyle sheet;
  TPGDocumentSettings settings;
  QImage device = ScreenDevice();
  TQtCanvas canvas{device};
  TCustomPGFormattedData doc{&settings};
};

int Paragraphs(const benchmark::State& state) { return static_cast<int>(state.range(0)) * 1000000 / kParagraphChars; }

// Arguments: megabytes of text, kind of text.
void BM_QtFullFormat(benchmark::State& state) {
  const auto kind = static_cast<TBenchText>(state.range(1));
  TQtBenchDocument b(kind, Paragraphs(state));
  for (auto _ : state) {
    b.doc.ClearFormatting();
    b.doc.Format();
    benchmark::DoNotOptimize(b.doc.DocumentHeight());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(b.paragraphs) * kParagraphChars);
  state.SetLabel(Name(kind));
}
BENCHMARK(BM_QtFullFormat)->ArgsProduct({{1, 3, 10}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->UseRealTime();

// Keystrokes in a 100,000-paragraph document (see TimeKeystrokes).
void BM_QtKeystroke(benchmark::State& state) {
  TQtBenchDocument b(TBenchText::Plain, 100000);
  b.doc.Format();
  TimeKeystrokes(state, b.doc);
}
BENCHMARK(BM_QtKeystroke)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The plain text in QTextDocument: set, width, size (which lays out every block), with
// the font and the width the Pagora document is formatted with.
double LayOutWithQTextDocument(const QString& text, int& height) {
  const auto start = std::chrono::steady_clock::now();
  QTextDocument qdoc;
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);  // 10 pt at 96 pixels per inch
  qdoc.setDefaultFont(font);
  qdoc.setDocumentMargin(0);
  qdoc.setPlainText(text);
  qdoc.setTextWidth(kAreaWidth - 10);  // the wrap width between Pagora's default margins
  height = static_cast<int>(qdoc.size().height());
  benchmark::DoNotOptimize(qdoc.documentLayout()->blockBoundingRect(qdoc.lastBlock()).bottom());
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Pagora's full format and QTextDocument's layout of the same plain text, timed one after
// the other in each iteration. Argument: megabytes.
void BM_RatioToQTextDocument(benchmark::State& state) {
  TQtBenchDocument b(TBenchText::Plain, Paragraphs(state));
  QString text;
  text.reserve(b.paragraphs * (kParagraphChars + 1));
  for (int i = 0; i < b.paragraphs; ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += QString::fromStdString(BenchParagraph(i));
  }
  double pagora = 0, qt = 0;
  int qtHeight = 0;
  for (auto _ : state) {
    b.doc.ClearFormatting();
    const auto start = std::chrono::steady_clock::now();
    b.doc.Format();
    pagora += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    qt += LayOutWithQTextDocument(text, qtHeight);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["pagora_ms"] = pagora / n * 1e3;
  state.counters["qtextdocument_ms"] = qt / n * 1e3;
  state.counters["pagora_over_qtextdocument"] = pagora / qt;
  state.counters["pagora_height"] = b.doc.DocumentHeight();
  state.counters["qtextdocument_height"] = qtHeight;
}
BENCHMARK(BM_RatioToQTextDocument)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace pagora::bench
