// Style collections in the component stream: the property tables of text, paragraph and
// list styles, and the collection values (first byte 14) that native documents embed.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class TCustomPGInfos;
class TPGImageList;
struct TClassInfo;

// What list levels reach through the document they are written or read with. Without a
// context, levels neither write nor read their image lists.
struct TPGStreamContext {
  // The image list with this tag, or nullptr (the container's OnPGFImageListNeeded).
  std::function<TPGImageList*(int tag)> ImageListNeeded;
};

// The collection value of the styles: byte 14, each style's non-default properties, 0.
[[nodiscard]] std::string WriteStyleCollection(const TCustomPGInfos& styles, const TPGStreamContext* context = nullptr);

// Replaces the styles of into (a TFontInfos, TParaInfos or TPGListInfos) by those in data.
// Unknown properties and values that do not fit are skipped and added to problems, and
// the rest is still read. False when the data cannot be read to its end (the reason is
// the last problem); the styles read completely before that stay. Empty data reads as
// no styles. Never throws.
bool ReadStyleCollection(std::string_view data, TCustomPGInfos& into, const TPGStreamContext* context,
                         std::vector<std::string>* problems);

// The property tables, for streams that hold single styles; the object pointer handed to
// them points to a TFontInfo, TParaInfo, TPGListInfo or TPGListLevel.
[[nodiscard]] const TClassInfo& FontInfoClass() noexcept;
[[nodiscard]] const TClassInfo& ParaInfoClass() noexcept;
[[nodiscard]] const TClassInfo& ListInfoClass() noexcept;
[[nodiscard]] const TClassInfo& ListLevelClass() noexcept;

}  // namespace pagora
