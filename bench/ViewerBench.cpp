// The viewer on real fonts (offscreen): opening a 10 MB document (reading its PGF,
// formatting, the first paint of an 800 x 600 window) and paging through it, each page
// scrolled and painted. Peak memory is the process's high-water mark after opening.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <sys/resource.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "LayoutBenchDocuments.h"
#include "layout/Pagora.h"
#include "model/PGFFormat.h"
#include "qt/QtCanvas.h"

namespace pagora::bench {
namespace {

constexpr int kWindowWidth = 800, kWindowHeight = 600;

QImage ScreenImage(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);  // 96 pixels per inch
  image.setDotsPerMeterY(3780);
  return image;
}

// A window that paints into an image whenever the control asks for it at once, as a
// scrolled window repaints the uncovered part before the next event.
class TBenchHost : public IHost {
public:
  explicit TBenchHost(TCustomPagora& viewer) : viewer_(viewer) {}
  TSize ClientSize() const override { return {kWindowWidth, kWindowHeight}; }
  void Invalidate(const TRect& r) override { dirty_ = dirty_.Union(r); }
  void InvalidateAll() override { dirty_ = {0, 0, kWindowWidth, kWindowHeight}; }
  void UpdateNow() override { PaintDirty(); }
  void ScrollContents(int dx, int dy) override {
    // What scrolled into view must be painted; the rest is moved pixels.
    TRect uncovered{0, 0, kWindowWidth, kWindowHeight};
    if (dy < 0) uncovered.Top = std::max(kWindowHeight + dy, 0);
    if (dy > 0) uncovered.Bottom = std::min(dy, kWindowHeight);
    if (dx != 0) uncovered = {0, 0, kWindowWidth, kWindowHeight};
    Invalidate(uncovered);
  }
  void SetScrollBar(TScrollBarKind, const TScrollBarInfo&) override {}
  ICanvas& MeasureCanvas() override { return measure_; }
  void StartTimer(int, int) override {}
  void StopTimer(int) override {}
  void Post(std::unique_ptr<IPostedMessage>) override {}
  void SetFocus() override {}
  bool HasFocus() const override { return true; }
  void FocusNextControl(bool) override {}
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  TPoint CursorPos() const override { return {-1, -1}; }
  TShiftState KeyboardState() const override { return {}; }
  TPoint ClientToScreen(TPoint p) const override { return p; }
  void SetCursor(TCursorId) override {}
  void Beep() override {}
  void ShowHint(const std::string&) override {}
  void CancelHint() override {}
  bool PopupMenu(TPoint) override { return false; }

  void PaintDirty() {
    if (dirty_.IsEmpty()) return;
    QPainter painter(&window_);
    TQtCanvas canvas(painter, &fonts_);
    viewer_.Paint(canvas, dirty_);
    dirty_ = {};
  }

private:
  TCustomPagora& viewer_;
  QImage device_ = ScreenImage(1, 1);
  TQtFontCache fonts_;
  TQtCanvas measure_{device_, &fonts_};
  QImage window_ = ScreenImage(kWindowWidth, kWindowHeight);
  TRect dirty_;
};

// A 10 MB document in PGF, made once.
const std::string& TenMegabytePGF(TBenchText kind) {
  static std::string pgf[3];
  std::string& s = pgf[static_cast<int>(kind)];
  if (s.empty()) {
    TPGStyle sheet;
    SetUpBenchSheet(sheet);
    TPGDocumentSettings settings;
    settings.Style = &sheet;
    TCustomPGData doc(&settings);
    FillBenchDocument(doc, kind, 10 * 1000000 / kParagraphChars);
    if (!SavePGFToStream(doc, s)) std::abort();
  }
  return s;
}

// Resident memory now, from the kernel's page count.
double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

long PeakRssKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

struct TOpenViewer {
  explicit TOpenViewer(TBenchText kind) {
    SetUpBenchSheet(sheet);
    viewer.SetStyle(&sheet);
    viewer.AttachHost(&host);
    if (!viewer.LoadPGFFromStream(TenMegabytePGF(kind))) std::abort();
    viewer.Format();
    host.PaintDirty();
  }
  ~TOpenViewer() { viewer.DetachHost(); }
  TPGStyle sheet;
  TPagora viewer;
  TBenchHost host{viewer};
};

// Arguments: kind of text.
void BM_ViewerOpen10MB(benchmark::State& state) {
  const auto kind = static_cast<TBenchText>(state.range(0));
  const std::string& pgf = TenMegabytePGF(kind);
  double opened = 0;
  for (auto _ : state) {
    const double before = ResidentMegabytes();
    TOpenViewer open(kind);
    opened = std::max(opened, ResidentMegabytes() - before);  // later rounds reuse freed memory
    benchmark::DoNotOptimize(open.viewer.PGData().DocumentHeight());
  }
  // What the open viewer holds (document, layout, fonts), and the process's high-water mark,
  // which includes making the PGF data.
  state.counters["viewer_MB"] = opened;
  state.counters["peak_MB"] = static_cast<double>(PeakRssKilobytes()) / 1024.0;
  state.counters["pgf_MB"] = static_cast<double>(pgf.size()) / 1e6;
  state.SetLabel(Name(kind));
}
BENCHMARK(BM_ViewerOpen10MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// One page down and its paint, through the whole document and back to the top.
void BM_ViewerPageDown(benchmark::State& state) {
  const auto kind = static_cast<TBenchText>(state.range(0));
  TOpenViewer open(kind);
  TCustomPagora& v = open.viewer;
  long pages = 0;
  for (auto _ : state) {
    if (v.VPos() + v.VPageUnits() >= v.VUnits()) v.SetVPos(0);
    v.ScrollAction(TScrollBarKind::Vertical, TScrollAction::PageDown);
    open.host.PaintDirty();
    ++pages;
  }
  state.counters["pages_in_document"] = static_cast<double>(v.VUnits()) / std::max(v.VPageUnits(), 1);
  state.SetItemsProcessed(pages);
  state.SetLabel(Name(kind));
}
BENCHMARK(BM_ViewerPageDown)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One line down: a small strip is painted.
void BM_ViewerLineDown(benchmark::State& state) {
  TOpenViewer open(TBenchText::Styled);
  TCustomPagora& v = open.viewer;
  for (auto _ : state) {
    if (v.VPos() + v.VPageUnits() >= v.VUnits()) v.SetVPos(0);
    v.ScrollAction(TScrollBarKind::Vertical, TScrollAction::LineDown);
    open.host.PaintDirty();
  }
}
BENCHMARK(BM_ViewerLineDown)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pagora::bench
