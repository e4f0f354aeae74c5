// The system clipboard through QClipboard: the formats the core writes become MIME types of
// one QMimeData, published on Close.
#pragma once

#include <memory>

#include "platform/Clipboard.h"

class QMimeData;

namespace pagora {

inline constexpr const char* kPGFMimeType = "application/x-pagora-pgf";  // with its length prefix
inline constexpr const char* kRTFMimeType = "text/rtf";
inline constexpr const char* kRTFAltMimeType = "application/rtf";
inline constexpr const char* kRichTextMimeType = "text/richtext";  // read only
inline constexpr const char* kHTMLMimeType = "text/html";

// Text and Unicode text both become text/plain (UTF-8); Unicode text wins when both are set.
// A bitmap is read back as the bytes of a BMP file.
class TQtClipboard : public IClipboard {
public:
  TQtClipboard();
  ~TQtClipboard() override;
  TQtClipboard(const TQtClipboard&) = delete;
  TQtClipboard& operator=(const TQtClipboard&) = delete;

  bool Open() override;
  void Clear() override;
  void SetData(TClipFormat format, std::string bytes) override;
  void SetImage(const TRasterImage& image) override;
  void Close() override;

  [[nodiscard]] bool HasFormat(TClipFormat format) const override;
  [[nodiscard]] std::string GetData(TClipFormat format) const override;

private:
  std::unique_ptr<QMimeData> pending_;  // between Open and Close
  bool changed_ = false;                // Close publishes only what Clear or a Set began
  bool hasUnicodeText_ = false;
};

}  // namespace pagora
