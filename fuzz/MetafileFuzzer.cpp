// Loads arbitrary bytes as a WMF or EMF picture, decodes them (the wrapped bitmap or the
// placeholder), and asks for everything a writer would.
#include "PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pagora;
  const int result = fuzz::FuzzPicture<TMetafile>(data, size, TPictureFormat::WMF, TPictureFormat::EMF);
  if (result != 0) return result;
  TMetafile mf;
  if (!mf.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  (void)mf.MMWidth();
  (void)mf.MMHeight();
  if (mf.WMFRecords().size() > size) fuzz::Broken("records larger than the file");
  if (const auto bitmap = mf.ExtractBitmap()) (void)bitmap->Pixels();
  mf.SetInch(1);
  (void)mf.Width();
  return 0;
}
