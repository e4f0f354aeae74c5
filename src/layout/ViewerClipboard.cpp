// Copying the viewer's selection: the native format, text and pictures, in the order
// readers look for them.
#include <new>

#include "layout/Pagora.h"
#include "model/PGFFormat.h"
#include "model/PGItem.h"
#include "model/PGStyle.h"
#include "model/PlainText.h"
#include "platform/PagoraError.h"

namespace pagora {

namespace {

constexpr const char* kNoMemory = "No memory";

}  // namespace

std::string TCustomPagora::GetSelectionText() const {
  TPGTextRange range;
  if (!data_->SelectionAsItemRange(range)) return {};
  TPGTextWriteOptions o;
  o.Range = &range;
  std::string out;
  if (!WritePlainText(*data_, out, o)) return {};
  return out;
}

std::u16string TCustomPagora::GetSelectionTextW() const {
  TPGTextRange range;
  if (!data_->SelectionAsItemRange(range)) return {};
  TPGTextWriteOptions o;
  o.Encoding = TPGTextEncoding::UTF16;
  o.Range = &range;
  std::string bytes;
  if (!WritePlainText(*data_, bytes, o)) return {};
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return text;
}

bool TCustomPagora::SelectionHasUnicodeText(const TPGTextRange& range) const {
  if (!Style) return false;
  for (int i = range.FirstItem; i <= range.LastItem; ++i)
    if (data_->ItemAt(i).IsText() && Style->TextStyles[data_->EffectiveStyleOf(i)].Unicode) return true;
  return false;
}

bool TCustomPagora::CopySelection() {
  const bool pgf = Options.Contains(pgoAutoCopyPGF);
  const bool unicode = Options.Contains(pgoAutoCopyUnicodeText);
  const bool text = Options.Contains(pgoAutoCopyText);
  const bool image = Options.Contains(pgoAutoCopyImage);
  const bool rtf = Options.Contains(pgoAutoCopyRTF);
  if (!(pgf || unicode || text || image || rtf || OnCopy)) return false;
  TPGTextRange range;
  if (!data_->SelectionAsItemRange(range) || !clipboard_) return false;
  if (!clipboard_->Open()) return false;
  try {
    clipboard_->Clear();
    if (OnCopy) OnCopy(*this);
    if (pgf) {
      std::string stream;
      if (SavePGFToStream(stream, true) && !stream.empty())
        clipboard_->SetData(TClipFormat::PGF, WrapPGFForClipboard(stream));
    }
    // Every system here has wide characters, so Unicode text replaces 8-bit text.
    if (text && !unicode) clipboard_->SetData(TClipFormat::Text, GetSelectionText());
    if (image)
      if (const TGraphic* picture = GetSelectionPicture()) {
        const TRasterImage& pixels = picture->DisplayPixels();
        if (!pixels.Empty()) clipboard_->SetImage(pixels);
      }
    // 8-bit text cannot hold every script: Unicode text goes along when the selection has it.
    if (unicode || (text && SelectionHasUnicodeText(range))) {
      const std::u16string w = GetSelectionTextW();
      std::string bytes;
      bytes.reserve(w.size() * 2 + 2);
      for (char16_t c : w) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
      }
      bytes.append(2, '\0');
      clipboard_->SetData(TClipFormat::UnicodeText, std::move(bytes));
    }
    // RTF joins here once the RTF writer exists.
  } catch (const std::bad_alloc&) {
    clipboard_->Close();
    throw EPagoraError(kNoMemory);
  }
  clipboard_->Close();
  return true;
}

}  // namespace pagora
