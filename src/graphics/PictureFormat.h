// The formats pictures come in, told apart by their first bytes. A picture object keeps
// the class name a document stored, but decodes its bytes by what they really are.
#pragma once

#include <string_view>

namespace pagora {

enum class TPictureFormat { None, BMP, PNG, JPEG, GIF, ICO, WMF, EMF };

// The format whose magic bytes begin the data; None when no format matches. A WMF is
// recognised with and without its 22-byte placeable header.
[[nodiscard]] TPictureFormat SniffPictureFormat(std::string_view bytes) noexcept;

[[nodiscard]] bool IsRasterFormat(TPictureFormat format) noexcept;
[[nodiscard]] bool IsMetafileFormat(TPictureFormat format) noexcept;
[[nodiscard]] const char* PictureFormatName(TPictureFormat format) noexcept;

}  // namespace pagora
