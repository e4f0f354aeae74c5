// Loads arbitrary bytes as a BMP picture and decodes them.
#include "PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return pagora::fuzz::FuzzPicture<pagora::TBitmap>(data, size, pagora::TPictureFormat::BMP);
}
