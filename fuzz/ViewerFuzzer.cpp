// Opens arbitrary bytes as a document in the viewer, as a user opening a file would, and
// uses it: formats at a width taken from the input, paints every part of it, selects with
// the mouse and by words, copies, scrolls and shrinks the window. Nothing may crash, hang
// or leave the selection outside the document.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/Pictures.h"
#include "layout/Pagora.h"
#include "model/PGStyle.h"
#include "support/FakeCanvas.h"
#include "support/FakeHost.h"
#include "support/MemoryClipboard.h"

using namespace pagora;

namespace {

constexpr int kMaxPaintedHeight = 20000;  // a long document is painted in part

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = [] {
    RegisterAllGraphicClasses();
    return true;
  }();
  (void)registered;
  if (size < 3) return 0;
  const std::uint8_t mode = data[0];
  const int width = 1 + data[1] * 4;  // 1..1021 pixels
  const std::string_view bytes(reinterpret_cast<const char*>(data + 3), size - 3);

  TPGStyle sheet;
  sheet.TextStyles[1].Unicode = true;
  sheet.SelectionMode = static_cast<TPGSelectionMode>(data[2] % 3);
  sheet.SelectionStyle = (data[2] & 4) ? pgssLines : pgssItems;
  test::FakeHost host;
  host.Client = {width, 1 + (data[2] >> 3) * 8};
  test::MemoryClipboard clipboard;
  TPagora viewer;
  viewer.SetStyle(&sheet);
  viewer.SetClipboard(&clipboard);
  viewer.PGFOptions = TPGFOptions::FromRaw((mode & 2) ? 0xFFFF : 0x2203);
  if (mode & 1) viewer.Options.Include(pgoTagsArePChars);
  if (mode & 4) viewer.Options.Include(pgoClientTextWidth);
  if (mode & 8) viewer.Options.Include(pgoShowSpecialCharacters);
  if (mode & 16) viewer.VAlign = tlCenter;
  viewer.AttachHost(&host);
  (void)viewer.LoadPGFFromStream(bytes);
  viewer.Format();

  TCustomPGFormattedData& doc = viewer.PGData();
  test::FakeCanvas canvas;
  const int height = std::min(doc.DocumentHeight(), kMaxPaintedHeight);
  for (int top = 0; top < height; top += 997) {
    viewer.ScrollToY(top);
    viewer.Paint(canvas, {0, 0, host.Client.cx, host.Client.cy});
    canvas.Log.clear();
  }
  viewer.SelectAll();
  viewer.Paint(canvas, {0, 0, host.Client.cx, host.Client.cy});
  (void)viewer.CopySelection();
  (void)viewer.GetSelectionTextW();

  // The mouse over the top of the document, in steps set by the input.
  viewer.ScrollToY(0);
  const int step = 3 + (mode >> 5) * 7;
  viewer.MouseDown(mbLeft, {}, step, step);
  for (int y = 0; y < 120; y += step) viewer.MouseMove({ssLeft}, (y * 7) % (width + 40) - 20, y);
  viewer.MouseUp(mbLeft, {}, width / 2, 60);
  viewer.DoubleClick({}, width / 3, 10);
  viewer.MouseUp(mbLeft, {}, width / 3, 10);
  viewer.MouseDown(mbLeft, {}, 2, 30);  // the left margin: whole lines
  viewer.MouseMove({ssLeft}, 2, 90);
  viewer.MouseUp(mbLeft, {}, 2, 90);
  viewer.MouseUp(mbRight, {}, width - 1, 5);
  (void)viewer.WordAtClientPoint(width / 4, 12);
  const TPGSelectionRange r = doc.NormalizedSelection();
  if (r.StartDraw >= doc.DrawItemCount() || r.EndDraw >= doc.DrawItemCount()) Fail("selection outside the layout");
  (void)viewer.GetSelectionText();
  viewer.MouseWheel(-3);
  viewer.KeyDown(VK_END, {});

  host.Client = {1, 1};
  viewer.Resized();
  viewer.Paint(canvas, {0, 0, 1, 1});
  viewer.DetachHost();
  return 0;
}
