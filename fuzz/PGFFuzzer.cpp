// Reads arbitrary bytes as native-format data (loading a whole document, and inserting
// into one), checks the document's structure, then saves it in both forms and reads that
// back: what was saved must read again and save to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "graphics/Pictures.h"
#include "model/CPGData.h"
#include "model/DocumentCheck.h"
#include "model/PGFFormat.h"
#include "model/PGStyle.h"

using namespace pagora;

namespace {

void Check(const TCustomPGData& doc, const char* when) {
  std::string why;
  if (!CheckDocumentStructure(doc, &why)) {
    std::fprintf(stderr, "broken document %s: %s\n", when, why.c_str());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = [] {
    RegisterAllGraphicClasses();
    return true;
  }();
  (void)registered;
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  TPGStyle sheet;
  sheet.TextStyles[1].Unicode = true;
  sheet.ListStyles.Add().AddLevel().ListType = pglstDecimal;
  TPGDocumentSettings settings;
  settings.Style = &sheet;
  if (mode & 1) settings.Options.Include(pgoTagsArePChars);
  settings.PGFOptions = TPGFOptions::FromRaw((mode & 2) ? 0xFFFF : 0x2203);
  settings.PGFTextStylesReadMode = (mode & 4) ? pgf_sInsertMap : pgf_sInsertMerge;
  TCustomPGData doc(&settings);

  if (mode & 8) {
    doc.AppendText("before", 0, 0);
    doc.AppendText("after", 0, 0);
    int position = 1;
    TPGFReadArgs args;
    args.Inserting = true;
    (void)ReadPGF(doc, bytes, position, args);
  } else {
    TPGLayoutInfo layout;
    TPGBackground background;
    TColor color = clNone;
    (void)LoadPGFFromStream(doc, bytes, &color, &layout, &background);
  }
  Check(doc, "after reading");

  for (bool binary : {false, true}) {
    TPGFOptions o = settings.PGFOptions;
    o.Set(pgfoSaveBinary, binary);
    o.Exclude(pgfoUseStyleNames);  // two styles of one name are one style to a reader
    o.Include(pgfoSavePicturesBody);
    o.Include(pgfoSaveControlsBody);
    settings.PGFOptions = o;
    std::string first;
    if (!SavePGFToStream(doc, first)) std::abort();
    TPGStyle sheet2;  // the same styles, for a document read with none of its own
    sheet2.TextStyles.Assign(sheet.TextStyles);
    sheet2.ParaStyles.Assign(sheet.ParaStyles);
    sheet2.ListStyles.Assign(sheet.ListStyles);
    TPGDocumentSettings settings2 = settings;
    settings2.Style = &sheet2;
    TCustomPGData again(&settings2);
    std::string error;
    if (!LoadPGFFromStream(again, first, nullptr, nullptr, nullptr, &error)) {
      std::fprintf(stderr, "what was saved does not read: %s\n", error.c_str());
      std::abort();
    }
    Check(again, "after reading what was saved");
    std::string second;
    if (!SavePGFToStream(again, second)) std::abort();
    if (second != first) {
      std::fprintf(stderr, "saving what was read back gives other bytes\n");
      std::abort();
    }
  }
  return 0;
}
