// The settings, warnings and side records of the native document format.
#pragma once

#include <cstdint>
#include <memory>

#include "model/StyleInfo.h"
#include "model/StyleTypes.h"
#include "platform/EnumSet.h"

namespace pagora {

class TGraphic;

enum TPGFOption : std::uint8_t {
  pgfoSavePicturesBody,
  pgfoSaveControlsBody,
  pgfoIgnoreUnknownPicFmt,
  pgfoIgnoreUnknownCtrls,
  pgfoConvUnknownStylesToZero,
  pgfoConvLargeImageIdxToZero,
  pgfoSaveBinary,
  pgfoUseStyleNames,
  pgfoSaveBack,
  pgfoLoadBack,
  pgfoSaveTextStyles,
  pgfoSaveParaStyles,
  pgfoSaveLayout,
  pgfoLoadLayout,
  pgfoSaveDocProperties,
  pgfoLoadDocProperties,
};
using TPGFOptions = TSet<TPGFOption, std::uint32_t>;

// A viewer's default: pictures and controls with their data, binary, with document properties.
inline constexpr TPGFOptions kDefaultPGFOptions{pgfoSavePicturesBody, pgfoSaveControlsBody, pgfoSaveBinary,
                                                pgfoSaveDocProperties, pgfoLoadDocProperties};

enum TPGFReaderStyleMode : std::uint8_t { pgf_sIgnore, pgf_sInsertMap, pgf_sInsertMerge };

enum TPGReadWarning : std::uint8_t {
  pgrwPictureClassUnknown,
  pgrwControlClassUnknown,
  pgrwStyleOutOfRange,
  pgrwImageIndexOutOfRange,
  pgrwTextMadeUnicode,
  pgrwTextMadeAnsi,
  pgrwPictureUnreadable,
  pgrwStylePropertyUnknown,
  pgrwRecordSkipped,  // a record of a kind no item class is registered for (tables, until they come)
};
using TPGReadWarnings = TSet<TPGReadWarning, std::uint16_t>;

// The page layout of a viewer as a document stores it.
struct TPGLayoutInfo {
  int LeftMargin = 0;
  int RightMargin = 0;
  int TopMargin = 0;
  int BottomMargin = 0;
  int MinTextWidth = 0;
  int MaxTextWidth = 0;
  TPGBiDiMode BiDiMode = pgbdUnspecified;
  int HeadParaCut = 0;  // the stored part begins inside a paragraph
  int TailParaCut = 0;  // it ends inside one
  int HeadMarkerListNo = -1;
  int HeadMarkerLevel = 0;
  bool WasRead = false;
};

// How incoming style numbers translate while data is inserted; kept by the top document so
// that nested documents read in the same insertion use them too.
struct TPGFStyleMaps {
  bool HasText = false, HasPara = false, HasList = false;
  TPGStyleMap Text, Para, List;
  int Depth = 0;  // reads in progress
};

enum TBackgroundStyle : std::uint8_t { bsNoBitmap, bsStretched, bsTiled, bsTiledAndScrolled, bsCentered };

// A viewer's background picture and how it is drawn.
struct TPGBackground {
  TPGBackground();
  ~TPGBackground();
  TBackgroundStyle Style = bsNoBitmap;
  std::unique_ptr<TGraphic> Picture;
};

}  // namespace pagora
