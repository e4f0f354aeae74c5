// render and layout: documents formatted on the Qt canvas, without a window (the offscreen
// platform unless the caller chose another).
#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtGlobal>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "Commands.h"
#include "JsonWriter.h"
#include "ToolDocument.h"
#include "layout/DocumentPainting.h"
#include "platform/FileIO.h"
#include "qt/QtCanvas.h"
#include "qt/QtSystemColors.h"

namespace pagora::cli {

namespace {

// Pictures larger than this are cut off at the bottom (256 MB of pixels).
constexpr std::int64_t kMaxPixels = 64 * 1024 * 1024;
constexpr int kScreenDotsPerMeter = 3780;  // 96 pixels per inch

// Qt's own messages go to stderr, but not the notice that a headless session has no
// runtime folder, which says nothing about the document.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
  (void)type;
  (void)context;
  std::cerr << message.toStdString() << '\n';
}

// The application object the Qt canvas needs, for the length of one command: it must
// outlive every font and go before the process ends, or the font library's caches leak.
class TGuiSession {
public:
  TGuiSession() {
    qInstallMessageHandler(FilterQtMessages);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }

private:
  int argc_ = 1;
  char name_[11] = "pagora-cli";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

QImage ScreenImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.setDotsPerMeterX(kScreenDotsPerMeter);
  image.setDotsPerMeterY(kScreenDotsPerMeter);
  return image;
}

// The input, read and formatted at the width asked for on a screen of 96 pixels per inch.
// Usage is checked on construction (UsageError), before any file is read.
struct FormattedDocument {
  explicit FormattedDocument(const CliArgs& args)
      : args(args), from(ChooseFormat(args.from, args.input, true)), codePage(CodePageOf(args)), doc(codePage) {}

  // False, with the exit status, when the file cannot be read.
  bool Load(std::ostream& err, int& status) {
    std::string error;
    if (!ReadDocument(doc.data, args.input, from, codePage, error)) {
      status = FileError(err, "read", args.input, error);
      return false;
    }
    canvas = std::make_unique<TQtCanvas>(device, &fonts);
    doc.data.Canvas = canvas.get();
    doc.data.Layout.AreaWidth = args.width;
    doc.data.Layout.AreaHeight = 0;
    doc.data.Format();
    return true;
  }

  const CliArgs& args;
  Format from;
  TPGCodePage codePage;
  ToolDocument doc;
  QImage device = ScreenImage(1, 1);
  TQtFontCache fonts;
  std::unique_ptr<TQtCanvas> canvas;
};

int LineCount(const TCustomPGFormattedData& data) {
  int lines = 0;
  for (int d = 0; d < data.DrawItemCount(); ++d) lines += data.DrawItem(d).StartsLine ? 1 : 0;
  return lines;
}

}  // namespace

int RunRender(const CliArgs& args, std::ostream& err) {
  TGuiSession gui;
  FormattedDocument f(args);
  int status = kExitOk;
  if (!f.Load(err, status)) return status;

  int height = std::max(1, f.doc.data.DocumentHeight());
  if (static_cast<std::int64_t>(height) * args.width > kMaxPixels) {
    height = static_cast<int>(kMaxPixels / args.width);
    err << "pagora-cli: warning: '" << args.output << "': the document is " << f.doc.data.DocumentHeight()
        << " pixels tall; the picture shows the first " << height << '\n';
  }
  QImage image = ScreenImage(args.width, height);
  if (image.isNull()) return FileError(err, "write", args.output, "not enough memory for the picture");
  image.fill(ToQColor(f.doc.style.Color));
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter, &f.fonts);
    TPGPaintSettings paint;
    paint.Clip = {0, 0, args.width, height};
    PaintFormattedData(f.doc.data, canvas, paint);
  }
  std::string error;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return FileError(err, "write", args.output, "the picture could not be encoded");
  if (!WriteFileAtomically(args.output, std::string(png.constData(), static_cast<std::size_t>(png.size())), error))
    return FileError(err, "write", args.output, error);
  return kExitOk;
}

int RunLayout(const CliArgs& args, std::ostream& out, std::ostream& err) {
  TGuiSession gui;
  FormattedDocument f(args);
  int status = kExitOk;
  if (!f.Load(err, status)) return status;
  const TCustomPGFormattedData& data = f.doc.data;
  JsonWriter json(out);
  json.BeginObject();
  json.IntField("width", args.width);
  json.IntField("height", data.DocumentHeight());
  json.IntField("documentWidth", data.LeftMarginPixels() + data.DocumentWidth() + data.RightMarginPixels());
  json.IntField("lines", LineCount(data));
  json.IntField("paragraphs", data.Blocks().Count());
  json.IntField("drawItems", data.DrawItemCount());
  json.EndObject();
  json.Finish();
  if (!out) return FileError(err, "write", "standard output", "write error");
  return kExitOk;
}

}  // namespace pagora::cli
