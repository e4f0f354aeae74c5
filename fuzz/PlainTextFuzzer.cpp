// Loads arbitrary bytes as plain text in every encoding, checks the document's structure,
// and saves it again in every encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/CPGData.h"
#include "model/DocumentCheck.h"
#include "model/PGStyle.h"
#include "model/PlainText.h"

using namespace pagora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the reader and its options; the rest is the file.
  const std::uint8_t mode = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  TPGStyle sheet;
  sheet.TextStyles[1].Unicode = true;
  sheet.TextStyles[2].Charset = SHIFTJIS_CHARSET;
  TPGDocumentSettings settings;
  settings.Style = &sheet;
  TCustomPGData doc(&settings);
  doc.AppendText("before", 0, 0);

  TPGTextReadOptions o;
  o.TextStyle = (mode >> 2) % 3;
  o.ParaStyle = (mode & 0x20) ? -1 : 1;
  o.AsSingleParagraph = (mode & 0x40) != 0;
  o.CodePage = (mode & 0x80) ? 932 : -1;
  switch (mode & 3) {
    case 0: (void)ReadPlainText8(doc, bytes, o); break;
    case 1: (void)ReadPlainTextUTF16(doc, bytes, o); break;
    case 2: (void)ReadPlainTextUTF8(doc, bytes, o); break;
    default: break;
  }
  std::string why;
  if (!CheckDocumentStructure(doc, &why)) {
    fprintf(stderr, "broken document: %s\n", why.c_str());
    abort();
  }
  if (doc.TextOf(0) != "before") abort();  // what was there stays
  for (TPGTextEncoding e : {TPGTextEncoding::EightBit, TPGTextEncoding::UTF16, TPGTextEncoding::UTF8}) {
    TPGTextWriteOptions w;
    w.Encoding = e;
    std::string out;
    if (!WritePlainText(doc, out, w)) abort();
  }
  return 0;
}
