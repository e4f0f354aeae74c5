#include "qt/QtClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <algorithm>
#include <cstring>

#include "platform/CodePages.h"
#include "platform/TextEncoding.h"

namespace pagora {

namespace {

// None without a GUI application (a plain QCoreApplication has no clipboard).
QClipboard* SystemClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

QByteArray ToByteArray(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToStdString(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The core's clipboard text ends in a zero; nothing after it is text.
std::string_view UpToZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

std::u16string UpToZero(std::u16string text) {
  text.resize(std::min(text.size(), text.find(u'\0')));
  return text;
}

QString ToQString(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) { return {text.utf16(), text.utf16() + text.size()}; }

}  // namespace

TQtClipboard::TQtClipboard() = default;
TQtClipboard::~TQtClipboard() = default;

bool TQtClipboard::Open() {
  if (!SystemClipboard()) return false;
  pending_ = std::make_unique<QMimeData>();
  changed_ = false;
  hasUnicodeText_ = false;
  return true;
}

void TQtClipboard::Clear() {
  if (!pending_) return;
  pending_ = std::make_unique<QMimeData>();
  changed_ = true;
  hasUnicodeText_ = false;
}

void TQtClipboard::SetData(TClipFormat format, std::string bytes) {
  if (!pending_) return;
  changed_ = true;
  switch (format) {
    case TClipFormat::PGF: pending_->setData(kPGFMimeType, ToByteArray(bytes)); break;
    case TClipFormat::RTF:
      pending_->setData(kRTFMimeType, ToByteArray(bytes));
      pending_->setData(kRTFAltMimeType, ToByteArray(bytes));
      break;
    case TClipFormat::HTML: pending_->setData(kHTMLMimeType, ToByteArray(bytes)); break;
    case TClipFormat::Text:
      if (!hasUnicodeText_) pending_->setText(ToQString(CodePageToUTF16(CP_ACP, UpToZero(bytes))));
      break;
    case TClipFormat::UnicodeText:
      pending_->setText(ToQString(UpToZero(U16FromBytes(bytes))));
      hasUnicodeText_ = true;
      break;
    case TClipFormat::Bitmap: {
      const QImage image = QImage::fromData(ToByteArray(bytes));
      if (!image.isNull()) pending_->setImageData(image);
      break;
    }
  }
}

void TQtClipboard::SetImage(const TRasterImage& image) {
  if (!pending_ || image.Empty()) return;
  // The pixels are 0xAARRGGBB with straight alpha, which is QImage's ARGB32.
  QImage copy(image.Width, image.Height, QImage::Format_ARGB32);
  for (int y = 0; y < image.Height; ++y)
    std::memcpy(copy.scanLine(y), &image.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width)],
                static_cast<std::size_t>(image.Width) * sizeof(std::uint32_t));
  pending_->setImageData(copy);
  changed_ = true;
}

void TQtClipboard::Close() {
  if (!pending_) return;
  QClipboard* clipboard = SystemClipboard();
  if (changed_ && clipboard) clipboard->setMimeData(pending_.release());
  pending_.reset();
}

bool TQtClipboard::HasFormat(TClipFormat format) const {
  const QClipboard* clipboard = SystemClipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data) return false;
  switch (format) {
    case TClipFormat::PGF: return data->hasFormat(kPGFMimeType);
    case TClipFormat::RTF:
      return data->hasFormat(kRTFMimeType) || data->hasFormat(kRTFAltMimeType) || data->hasFormat(kRichTextMimeType);
    case TClipFormat::HTML: return data->hasFormat(kHTMLMimeType);
    case TClipFormat::Text:
    case TClipFormat::UnicodeText: return data->hasText();
    case TClipFormat::Bitmap: return data->hasImage();
  }
  return false;
}

std::string TQtClipboard::GetData(TClipFormat format) const {
  const QClipboard* clipboard = SystemClipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data) return {};
  switch (format) {
    case TClipFormat::PGF: return ToStdString(data->data(kPGFMimeType));
    case TClipFormat::RTF:
      for (const char* type : {kRTFMimeType, kRTFAltMimeType, kRichTextMimeType})
        if (data->hasFormat(type)) return ToStdString(data->data(type));
      return {};
    case TClipFormat::HTML: return ToStdString(data->data(kHTMLMimeType));
    case TClipFormat::Text:
      return data->hasText() ? UTF16ToCodePage(CP_ACP, ToU16(data->text())) : std::string();
    case TClipFormat::UnicodeText: {
      if (!data->hasText()) return {};
      std::string bytes = BytesFromU16(ToU16(data->text()));
      bytes.append(2, '\0');
      return bytes;
    }
    case TClipFormat::Bitmap: {
      const QImage image = qvariant_cast<QImage>(data->imageData());
      if (image.isNull()) return {};
      QByteArray bmp;
      QBuffer buffer(&bmp);
      buffer.open(QIODevice::WriteOnly);
      if (!image.save(&buffer, "BMP")) return {};
      return ToStdString(bmp);
    }
  }
  return {};
}

}  // namespace pagora
