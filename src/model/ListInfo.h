// List styles: the levels of a bulleted or numbered list, each saying what its marker
// shows and where it stands.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/StyleInfo.h"
#include "model/StyleTypes.h"
#include "platform/Charsets.h"
#include "platform/Colors.h"

namespace pagora {

class TGraphic;
class TPGImageList;

enum TPGListType : std::uint8_t {
  pglstBullet,
  pglstPicture,
  pglstImageList,
  pglstDecimal,
  pglstLowerAlpha,
  pglstUpperAlpha,
  pglstLowerRoman,
  pglstUpperRoman,
  pglstImageListCounter,
  pglstUnicodeBullet,
};

[[nodiscard]] constexpr bool IsNumberedListType(TPGListType t) noexcept { return t >= pglstDecimal && t <= pglstImageListCounter; }
[[nodiscard]] constexpr bool HasNumberText(TPGListType t) noexcept { return t >= pglstDecimal && t <= pglstUpperRoman; }
[[nodiscard]] constexpr bool IsTextMarkerType(TPGListType t) noexcept {
  return t == pglstBullet || HasNumberText(t) || t == pglstUnicodeBullet;
}

enum TPGMarkerAlignment : std::uint8_t { pgmaLeft, pgmaRight, pgmaCenter };

enum TPGListLevelOption : std::uint8_t { pgloContinuous, pgloLevelReset, pgloLegalStyleNumbering };
using TPGListLevelOptions = TSet<TPGListLevelOption, std::uint8_t>;

// The font of text markers.
struct TPGMarkerFont {
  std::string Name = "Arial";
  int Size = 8;  // points
  TColor Color = clWindowText;
  TFontStyles Style;
  TFontCharset Charset = DEFAULT_CHARSET;

  // Arial 8 pt, window text, default charset, no style bits.
  [[nodiscard]] bool IsDefault() const;
  // Same height, style, colour, charset, and names equal without regard to case.
  [[nodiscard]] bool SameAs(const TPGMarkerFont& other) const;
};

class TPGListLevel {
public:
  TPGListLevel();
  ~TPGListLevel();
  TPGListLevel(const TPGListLevel& other);
  TPGListLevel& operator=(const TPGListLevel& other);

  TPGListType ListType = pglstBullet;
  TPGImageList* ImageList = nullptr;  // not owned
  int ImageIndex = 0;
  std::string FormatString = "\xB7";  // 8-bit: the bullet, or the format of the number text
  std::u16string FormatStringW;       // the text of a Unicode bullet
  int LeftIndent = 0;
  int FirstIndent = 10;
  int MarkerIndent = 0;
  TPGMarkerAlignment MarkerAlignment = pgmaLeft;
  TPGListLevelOptions Options{pgloContinuous, pgloLevelReset};
  int StartFrom = 1;

  // The picture of a picture marker; created on first use, stored only when it exists.
  [[nodiscard]] bool HasPicture() const noexcept { return picture_ != nullptr; }
  [[nodiscard]] const TGraphic* Picture() const noexcept { return picture_.get(); }
  // Takes a copy of the graphic and makes it transparent; an empty graphic clears it.
  void SetPicture(const TGraphic* graphic);

  // The font of text markers; created on first use, stored only when it exists.
  [[nodiscard]] bool HasFont() const noexcept { return font_ != nullptr; }
  [[nodiscard]] TPGMarkerFont& Font();
  [[nodiscard]] const TPGMarkerFont* FontIfAny() const noexcept { return font_.get(); }
  // No font, or one equal to the default.
  [[nodiscard]] bool HasDefaultFont() const;

  [[nodiscard]] bool IsEqual(const TPGListLevel& other) const;
  [[nodiscard]] int Likeness(const TPGListLevel& other) const;

private:
  bool SamePicture(const TPGListLevel& other) const;
  bool SameFont(const TPGListLevel& other) const;

  std::unique_ptr<TGraphic> picture_;
  std::unique_ptr<TPGMarkerFont> font_;
};

class TPGListInfo : public TCustomPGInfo {
public:
  TPGListInfo() { StyleName = "List Style"; }

  std::vector<TPGListLevel> Levels;
  bool OneLevelPreview = false;

  // Drawn at random from 1 to 2147483646 when first needed; never 0 afterwards.
  [[nodiscard]] std::int32_t ListID() const;
  void SetListID(std::int32_t id) noexcept { listId_ = id; }
  [[nodiscard]] bool HasListID() const noexcept { return listId_ != 0; }

  TPGListLevel& AddLevel();

  [[nodiscard]] bool HasNumberedLevel() const noexcept;
  [[nodiscard]] bool AllLevelsNumbered() const noexcept;
  [[nodiscard]] bool HasNumberTextLevel() const noexcept;

  // Copies the levels, OneLevelPreview and the base fields; the copy draws its own ID.
  void Assign(const TCustomPGInfo& source) override;
  [[nodiscard]] std::unique_ptr<TCustomPGInfo> CreateEmpty() const override;

  [[nodiscard]] bool EqualsStyle(const TCustomPGInfo& other, bool ignoreReferences) const override;
  [[nodiscard]] bool EqualsStyleEx(const TPGListInfo& other, bool ignoreID) const;
  [[nodiscard]] bool EqualsStyleMapped(const TCustomPGInfo& other, const TPGStyleMap& map) const override;
  [[nodiscard]] int Likeness(const TCustomPGInfo& other) const override;

private:
  mutable std::int32_t listId_ = 0;
};

// The generator of list identifiers; tests may seed it for repeatable files.
void SeedListIDs(std::uint32_t seed);

}  // namespace pagora
